#include "dendron/document.hpp"

#include <string_view>

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

// Appends `text` to `out`, turning every white space run into one space and
// dropping white space at the very start; `out` may end with one space.
void append_collapsed(std::string& out, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        // A run of printable ASCII characters, which are no white space,
        // goes in at once.
        std::size_t run = i;
        while (run < text.size() && static_cast<unsigned char>(text[run]) - 0x21u < 0x5eu) ++run;
        if (run != i) {
            out.append(text.substr(i, run - i));
            i = run;
            continue;
        }
        const std::size_t start = i;
        const char32_t c = unicode::next_char(text, i);
        if (unicode::is_whitespace(c)) {
            if (!out.empty() && out.back() != ' ') out.push_back(' ');
        } else {
            out.append(text.substr(start, i - start));
        }
    }
}

}  // namespace

// Walks the lists with an explicit stack of (list, next index), so that the
// depth of an imported tree never becomes the depth of the call stack.
std::string inline_plain_text(const std::vector<Inline>& inlines) {
    std::string out;
    std::vector<std::pair<const std::vector<Inline>*, std::size_t>> stack{{&inlines, 0}};
    while (!stack.empty()) {
        auto& [list, index] = stack.back();
        if (index == list->size()) {
            stack.pop_back();
            continue;
        }
        const Inline& item = (*list)[index++];
        if (const auto* text = std::get_if<Inline::Text>(&item.node)) {
            append_collapsed(out, text->text);
        } else if (const auto* enlexis = std::get_if<Inline::Enlexis>(&item.node)) {
            append_collapsed(out, enlexis->text);
        } else if (const auto* simmere = std::get_if<Inline::EndoSimmere>(&item.node)) {
            stack.emplace_back(&simmere->children, 0);
        } else if (const auto* diaphane = std::get_if<Inline::Diaphane>(&item.node)) {
            stack.emplace_back(&diaphane->children, 0);
        }
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace ilvex
