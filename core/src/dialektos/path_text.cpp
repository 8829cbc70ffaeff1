#include "dialektos/path_text.hpp"

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

// Drops trailing separators and trailing "." components, keeping a root "/"
// and a leading ".".
std::string_view trim_trailing(std::string_view path) {
    while (true) {
        if (path.size() > 1 && path.back() == '/') {
            path.remove_suffix(1);
        } else if (path.size() >= 2 && path.ends_with("/.")) {
            path.remove_suffix(1);
        } else {
            return path;
        }
    }
}

struct Split {
    std::string_view before;  // everything before the last component
    std::string_view last;    // empty when the path has no component
};

Split split_last(std::string_view path) {
    path = trim_trailing(path);
    if (path.empty() || path == "/") return {};
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos) return {"", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

std::string replacing_invalid_utf8(std::string_view text) {
    if (unicode::is_valid_utf8(text)) return std::string(text);
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) unicode::append_utf8(out, unicode::next_char(text, i));
    return out;
}

}  // namespace

std::string file_stem(std::string_view path) {
    const std::string_view name = split_last(path).last;
    if (name.empty() || name == "." || name == "..") return "";
    const auto dot = name.rfind('.');
    const bool has_extension = dot != std::string_view::npos && dot != 0;
    return replacing_invalid_utf8(has_extension ? name.substr(0, dot) : name);
}

std::string parent_directory(std::string_view path) {
    return std::string(trim_trailing(split_last(path).before));
}

}  // namespace ilvex
