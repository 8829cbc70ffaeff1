#include "endo/html/html_text.hpp"

#include <algorithm>
#include <limits>
#include <utility>
#include <variant>

#include "dialektos/unicode.hpp"
#include "endo/whitespace.hpp"
#include "endo/writable.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

// Joins each run of `Text` items into its first one, leaving no empty text.
void join_texts(std::vector<Inline>& inlines) {
    std::size_t kept = 0;
    for (Inline& item : inlines) {
        auto* text = std::get_if<Inline::Text>(&item.node);
        if (text && text->text.empty()) continue;
        auto* before = kept == 0 ? nullptr : std::get_if<Inline::Text>(&inlines[kept - 1].node);
        if (text && before) {
            before->text += text->text;
            continue;
        }
        if (&inlines[kept] != &item) inlines[kept] = std::move(item);
        ++kept;
    }
    inlines.erase(inlines.begin() + static_cast<std::ptrdiff_t>(kept), inlines.end());
}

// Applies `change` to every text of `inlines` and of the children of its
// markup, after joining texts side by side at each level.
template <class Change>
void change_texts(std::vector<Inline>& inlines, const Change& change) {
    join_texts(inlines);
    for (Inline& item : inlines) {
        if (auto* text = std::get_if<Inline::Text>(&item.node)) {
            change(text->text);
        } else if (auto* markup = std::get_if<Inline::EndoSimmere>(&item.node)) {
            change_texts(markup->children, change);
        }
    }
}

// The end of the white-space run that begins at `i` (`i` itself when none).
std::size_t whitespace_run_end(std::string_view text, std::size_t i) {
    while (i < text.size()) {
        std::size_t next = i;
        if (!unicode::is_whitespace(unicode::next_char(text, next))) break;
        i = next;
    }
    return i;
}

// Whether the white-space run that begins at the line feed at `feed` holds
// another line feed.
bool feeds_again(std::string_view text, std::size_t feed) {
    const std::size_t end = whitespace_run_end(text, feed + 1);
    return std::string_view(text).substr(feed + 1, end - feed - 1).find('\n') != std::string_view::npos;
}

// Every white-space run of `text` that holds two or more line feeds as one
// line feed. Most texts hold none: only the runs that begin at a line feed
// are looked at until one is found.
void single_line_feeds(std::string& text) {
    std::size_t feed = text.find('\n');
    while (feed != std::string::npos && !feeds_again(text, feed)) feed = text.find('\n', feed + 1);
    if (feed == std::string::npos) return;
    // The run holding that line feed may begin before it.
    std::size_t run = feed;
    while (run > 0) {
        std::size_t before = run;
        if (!unicode::is_whitespace(unicode::prev_char(text, before))) break;
        run = before;
    }
    std::string out(text, 0, run);
    std::size_t i = run;
    while (i < text.size()) {
        const std::size_t end = whitespace_run_end(text, i);
        if (end > i) {
            const std::string_view white = std::string_view(text).substr(i, end - i);
            if (std::count(white.begin(), white.end(), '\n') >= 2) {
                out += '\n';
            } else {
                out += white;
            }
            i = end;
            continue;
        }
        const std::size_t start = i;
        unicode::next_char(text, i);
        out.append(text, start, i - start);
    }
    text = std::move(out);
}

}  // namespace

std::optional<std::uint64_t> read_html_number(std::string_view text) {
    if (text.starts_with('+')) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char b : text) {
        if (b < '0' || b > '9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(b - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::vector<std::string_view> html_class_words(const std::vector<XmlAttribute>& attrs) {
    std::vector<std::string_view> words;
    const std::optional<std::string_view> value = attribute_value(attrs, "class");
    if (!value) return words;
    std::size_t i = 0;
    std::size_t start = 0;
    while (i < value->size()) {
        std::size_t next = i;
        if (unicode::is_whitespace(unicode::next_char(*value, next))) {
            if (i > start) words.push_back(value->substr(start, i - start));
            start = next;
        }
        i = next;
    }
    if (value->size() > start) words.push_back(value->substr(start));
    return words;
}

std::vector<std::string> html_class_genoses(const std::vector<std::string_view>& words) {
    std::vector<std::string> genoses;
    for (const std::string_view word : words) {
        if (auto genos = writable_genos(word)) genoses.push_back(std::move(*genos));
    }
    return genoses;
}

bool is_white_space_only(std::string_view text) { return unicode::trim(text).empty(); }

void as_running_text(std::vector<Inline>& inlines) { change_texts(inlines, single_line_feeds); }

void as_single_line(std::vector<Inline>& inlines) {
    change_texts(inlines, [](std::string& text) { text = collapse_whitespace(text); });
    trim_inlines(inlines);
}

void as_verse_line(std::vector<Inline>& inlines) {
    change_texts(inlines, [](std::string& text) { std::replace(text.begin(), text.end(), '\n', ' '); });
}

}  // namespace ilvex
