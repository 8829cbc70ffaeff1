#include "endo/light_markup/inline_converter.hpp"

#include <iterator>
#include <string>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/light_markup/light_markup.hpp"
#include "endo/tree_builders.hpp"
#include "endo/writable.hpp"

namespace ilvex {

LightInlineConverter::LightInlineConverter(std::string_view text, std::string_view constructs,
                                           bool escapes)
    : text_(text), starts_(constructs), escapes_(escapes) {
    if (escapes) starts_.add('\\');
}

std::vector<Inline> LightInlineConverter::convert(std::size_t begin, std::size_t end) const {
    const std::string_view range = text_.substr(0, end);
    std::vector<Inline> out;
    // Room for the items a text of this size usually gives, so that a
    // paragraph's list is not grown (and its items moved) several times.
    out.reserve((end - begin) / 32 + 1);
    std::string pending;
    std::size_t i = begin;
    while (i < end) {
        const std::size_t next = starts_.find_in(range, i);
        pending.append(range.substr(i, next - i));
        i = next;
        if (i == end) break;
        const char c = text_[i];
        if (c == '\\' && escapes_) {
            // An escaped ASCII punctuation character is text; any other
            // backslash is text itself.
            if (i + 1 < end && is_ascii_punctuation(static_cast<unsigned char>(text_[i + 1]))) {
                pending.push_back(text_[i + 1]);
                i += 2;
            } else {
                pending.push_back(c);
                ++i;
            }
            continue;
        }
        std::optional<Construct> construct = construct_at(i, begin, end);
        if (!construct) {
            pending.push_back(c);
            ++i;
            continue;
        }
        if (!pending.empty()) {
            out.emplace_back(Inline::Text{std::move(pending)});
            pending.clear();
        }
        std::move(construct->items.begin(), construct->items.end(), std::back_inserter(out));
        i = construct->end;
    }
    if (!pending.empty()) out.emplace_back(Inline::Text{std::move(pending)});
    isolate_trailing_backslashes(out);
    return out;
}

// The range is the text the span is read in: its start counts as the start
// of a text, where a delimiter may open. A closer found in the whole text
// is the same as one found in the range: a range ends before a closing
// delimiter or a "]", both ASCII punctuation, as the end of a text would.
std::optional<std::size_t> LightInlineConverter::flanking_closer(const ClosingDelimiterIndex& closers,
                                                                 std::size_t i, std::size_t begin,
                                                                 std::size_t end) const {
    if (!opens_emphasis(text_.substr(begin, end - begin), i - begin)) return std::nullopt;
    const auto close = closers.find_closing_delimiter(i);
    if (!close || *close >= end) return std::nullopt;
    return close;
}

std::optional<LightInlineConverter::Construct> LightInlineConverter::code_span(
    std::size_t i, std::size_t end) const {
    const auto close = backticks_.first(i + 1, end);
    if (!close) return std::nullopt;
    return Construct{*close + 1, literal_inlines(text_.substr(i + 1, *close - i - 1))};
}

// The characters from the "<" up to the first ">", decoded for autolink_at.
// The scan stops, as autolink_at's own does, at the first white space or
// "<", either of which rules the autolink out: trying every "<" of a text
// stays linear.
std::optional<LightInlineConverter::Construct> LightInlineConverter::autolink(
    std::size_t i, std::size_t end) const {
    const std::string_view range = text_.substr(0, end);
    std::u32string candidate(1, U'<');
    std::size_t k = i + 1;
    while (k < range.size()) {
        const char32_t c = unicode::next_char(range, k);
        candidate.push_back(c);
        if (c == U'>' || c == U'<' || unicode::is_whitespace(c)) break;
    }
    const auto found = autolink_at(candidate, 0);
    if (!found) return std::nullopt;
    std::vector<Inline> items;
    items.push_back(link_inline(found->target));
    return Construct{k, std::move(items)};
}

// The text runs to the first "]", the url from the "(" right after it to
// the first ")".
std::optional<LightInlineConverter::Construct> LightInlineConverter::link(
    std::size_t i, std::size_t begin, std::size_t end) const {
    if (i > begin && text_[i - 1] == '!') return std::nullopt;
    const auto text_end = close_brackets_.first(i + 1, end);
    if (!text_end || *text_end + 1 >= end || text_[*text_end + 1] != '(') return std::nullopt;
    const auto url_end = close_parens_.first(*text_end + 2, end);
    if (!url_end) return std::nullopt;
    const std::string_view url = unicode::trim(text_.substr(*text_end + 2, *url_end - *text_end - 2));
    std::vector<Inline> items;
    if (url.empty()) {
        items = convert(i + 1, *text_end);
    } else {
        const std::string_view trimmed = unicode::trim(text_.substr(i + 1, *text_end - i - 1));
        if (trimmed.empty() || trimmed == url) {
            items.push_back(link_inline(url));
        } else {
            items = convert(i + 1, *text_end);
            items.emplace_back(Inline::Text{" ("});
            items.push_back(link_inline(url));
            items.emplace_back(Inline::Text{")"});
        }
    }
    return Construct{*url_end + 1, std::move(items)};
}

}  // namespace ilvex
