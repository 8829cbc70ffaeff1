#include "dendron/document.hpp"

#include <string_view>
#include <tuple>
#include <utility>

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

// Appends `text` to `out`, turning every white space run into one space and
// dropping white space at the very start; `out` may end with one space.
void append_collapsed(std::string& out, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        // A run of printable ASCII characters, with single spaces after
        // some of them, stays as it is: it goes in at once.
        std::size_t run = i;
        while (run < text.size()) {
            const auto byte = static_cast<unsigned char>(text[run]);
            const bool single_space = byte == ' ' && run != i && text[run - 1] != ' ';
            if (byte - 0x21u >= 0x5eu && !single_space) break;
            ++run;
        }
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

// Walks the lists with an explicit stack of the lists to go back to, so that
// the depth of an imported tree never becomes the depth of the call stack;
// only a nested item adds to it, so a flat lemma allocates nothing for it.
std::string inline_plain_text(const std::vector<Inline>& inlines) {
    std::string out;
    std::vector<std::pair<const std::vector<Inline>*, std::size_t>> outer;
    const std::vector<Inline>* list = &inlines;
    std::size_t index = 0;
    while (true) {
        if (index == list->size()) {
            if (outer.empty()) break;
            std::tie(list, index) = outer.back();
            outer.pop_back();
            continue;
        }
        const Inline& item = (*list)[index++];
        const std::vector<Inline>* children = nullptr;
        if (const auto* text = std::get_if<Inline::Text>(&item.node)) {
            append_collapsed(out, text->text);
        } else if (const auto* enlexis = std::get_if<Inline::Enlexis>(&item.node)) {
            append_collapsed(out, enlexis->text);
        } else if (const auto* simmere = std::get_if<Inline::EndoSimmere>(&item.node)) {
            children = &simmere->children;
        } else if (const auto* diaphane = std::get_if<Inline::Diaphane>(&item.node)) {
            children = &diaphane->children;
        }
        if (children != nullptr) {
            outer.emplace_back(list, index);
            list = children;
            index = 0;
        }
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace ilvex
