#include "endo/whitespace.hpp"

#include <algorithm>
#include <variant>

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

Inline::Text* as_text(Inline& item) { return std::get_if<Inline::Text>(&item.node); }

bool is_blank_text(const Inline& item) {
    const auto* text = std::get_if<Inline::Text>(&item.node);
    return text != nullptr && unicode::trim(text->text).empty();
}

void trim_start_of(std::string& text) {
    text.erase(0, text.size() - unicode::trim_start(text).size());
}

void trim_end_of(std::string& text) { text.resize(unicode::trim_end(text).size()); }

}  // namespace

std::string collapse_whitespace(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool in_run = false;
    std::size_t i = 0;
    while (i < text.size()) {
        // Runs of ASCII that is not white space are copied whole, undecoded.
        const std::size_t start = i;
        while (i < text.size() && static_cast<unsigned char>(text[i]) > ' ' &&
               static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
        }
        if (i > start) {
            out.append(text.substr(start, i - start));
            in_run = false;
            continue;
        }
        const char32_t c = unicode::next_char(text, i);
        if (unicode::is_whitespace(c)) {
            if (!in_run) out.push_back(' ');
            in_run = true;
        } else {
            out.append(text.substr(start, i - start));
            in_run = false;
        }
    }
    return out;
}

void trim_inlines(std::vector<Inline>& inlines) {
    // One erase per end, so that a long blank run costs one move of the rest.
    const auto first = std::find_if_not(inlines.begin(), inlines.end(), is_blank_text);
    inlines.erase(inlines.begin(), first);
    const auto last = std::find_if_not(inlines.rbegin(), inlines.rend(), is_blank_text);
    inlines.erase(last.base(), inlines.end());
    if (inlines.empty()) return;
    if (Inline::Text* text = as_text(inlines.front())) trim_start_of(text->text);
    if (Inline::Text* text = as_text(inlines.back())) trim_end_of(text->text);
}

void trim_run_edges(std::vector<Inline>& inlines) {
    if (!inlines.empty()) {
        if (Inline::Text* text = as_text(inlines.front())) {
            trim_start_of(text->text);
            if (text->text.empty()) inlines.erase(inlines.begin());
        }
    }
    if (!inlines.empty()) {
        if (Inline::Text* text = as_text(inlines.back())) {
            trim_end_of(text->text);
            if (text->text.empty()) inlines.pop_back();
        }
    }
}

}  // namespace ilvex
