#include "endo/light_markup/markdown_inlines.hpp"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"
#include "endo/light_markup/light_markup.hpp"
#include "endo/tree_builders.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

bool is_ascii_punctuation(char32_t c) {
    return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
           (c >= 0x7B && c <= 0x7E);
}

// The first occurrence of a byte, or of that byte doubled, at or after a
// position. The converter asks with positions that do not go back: it scans
// forward, a construct's content lies after its opener, and the scan resumes
// after the construct. So the last answer is kept and reused while the asked
// position has not passed it, and each byte of the text is searched about
// once however often an unclosed construct asks; a position that does go
// back is searched afresh, which costs time but never changes an answer.
class NextOccurrence {
public:
    NextOccurrence(std::string_view text, char byte, bool doubled)
        : text_(text), byte_(byte), doubled_(doubled) {}

    // The first occurrence at or after `from` and before `end`.
    std::optional<std::size_t> first(std::size_t from, std::size_t end) const {
        if (from < from_ || from > found_) {
            from_ = from;
            found_ = search(from);
        }
        if (found_ >= end) return std::nullopt;
        return found_;
    }

private:
    // The text's size when there is none.
    std::size_t search(std::size_t from) const {
        for (std::size_t k = text_.find(byte_, from); k != std::string_view::npos;
             k = text_.find(byte_, k + 1)) {
            if (!doubled_ || (k + 1 < text_.size() && text_[k + 1] == byte_)) return k;
        }
        return text_.size();
    }

    std::string_view text_;
    char byte_;
    bool doubled_;
    mutable std::size_t from_ = std::string_view::npos;  // the last search started here...
    mutable std::size_t found_ = 0;                      // ...and found this
};

// The bytes that may begin a construct. Every delimiter is ASCII and no
// byte of a multi-byte UTF-8 character is, so the text is scanned as bytes:
// a run of other bytes is copied into the pending text at once, and every
// index below is a byte offset.
constexpr bool starts_construct(char b) {
    return b == '\\' || b == '`' || b == '*' || b == '<' || b == '[';
}

// Converts ranges of one text. A construct's content (a span's, a link
// text's) is converted as a range of its own; since a span holds no closer
// of its kind and a link text no "]", those ranges nest only a few deep.
class InlineConverter {
public:
    explicit InlineConverter(std::string_view text);

    std::vector<Inline> convert(std::size_t begin, std::size_t end) const;
    std::size_t size() const { return text_.size(); }

private:
    // What a construct at `i` gave: the index after it, the items to emit.
    struct Construct {
        std::size_t end;
        std::vector<Inline> items;
    };

    std::optional<Construct> code_span(std::size_t i, std::size_t end) const;
    std::optional<Construct> star_span(std::size_t i, std::size_t end) const;
    std::optional<Construct> autolink(std::size_t i, std::size_t end) const;
    std::optional<Construct> footnote_reference(std::size_t i, std::size_t end) const;
    std::optional<Construct> link(std::size_t i, std::size_t begin, std::size_t end) const;

    std::string_view text_;
    NextOccurrence backticks_{text_, '`', false};
    NextOccurrence stars_{text_, '*', false};
    NextOccurrence star_pairs_{text_, '*', true};  // the first star of a "**", overlapping ones included
    NextOccurrence close_brackets_{text_, ']', false};
    NextOccurrence close_parens_{text_, ')', false};
};

InlineConverter::InlineConverter(std::string_view text) : text_(text) {}

std::vector<Inline> InlineConverter::convert(std::size_t begin, std::size_t end) const {
    std::vector<Inline> out;
    std::string pending;
    std::size_t i = begin;
    while (i < end) {
        const char c = text_[i];
        if (!starts_construct(c)) {
            std::size_t run = i + 1;
            while (run < end && !starts_construct(text_[run])) ++run;
            pending.append(text_.substr(i, run - i));
            i = run;
            continue;
        }
        if (c == '\\' && i + 1 < end && is_ascii_punctuation(static_cast<unsigned char>(text_[i + 1]))) {
            pending.push_back(text_[i + 1]);
            i += 2;
            continue;
        }
        std::optional<Construct> construct;
        switch (c) {
            case '`': construct = code_span(i, end); break;
            case '*': construct = star_span(i, end); break;
            case '<': construct = autolink(i, end); break;
            case '[':
                construct = footnote_reference(i, end);
                if (!construct) construct = link(i, begin, end);
                break;
            default: break;
        }
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

std::optional<InlineConverter::Construct> InlineConverter::code_span(std::size_t i,
                                                                     std::size_t end) const {
    const auto close = backticks_.first(i + 1, end);
    if (!close) return std::nullopt;
    return Construct{*close + 1, literal_inlines(text_.substr(i + 1, *close - i - 1))};
}

// "**" when a second star follows, else "*"; the closer is the next
// occurrence of the same delimiter, with no flanking rules.
std::optional<InlineConverter::Construct> InlineConverter::star_span(std::size_t i,
                                                                     std::size_t end) const {
    const bool strong = i + 1 < end && text_[i + 1] == '*';
    const std::size_t width = strong ? 2 : 1;
    std::optional<std::size_t> close;
    if (!strong) {
        close = stars_.first(i + 1, end);
    } else if (i + 4 <= end) {
        close = star_pairs_.first(i + 2, end - 1);  // both stars before the end
    }
    if (!close) return std::nullopt;
    std::vector<Inline> items;
    items.emplace_back(Inline::EndoSimmere{strong ? "**" : "*", convert(i + width, *close), {}, true});
    return Construct{*close + width, std::move(items)};
}

// The characters from the "<" up to the first ">", decoded for autolink_at.
// The scan stops, as autolink_at's own does, at the first white space or
// "<", either of which rules the autolink out: trying every "<" of a text
// stays linear.
std::optional<InlineConverter::Construct> InlineConverter::autolink(std::size_t i,
                                                                    std::size_t end) const {
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

// "[^label]": a label that is not a valid onym (empty, or holding white
// space) could not be written as a deixis target, and the bracket is read
// as any other.
std::optional<InlineConverter::Construct> InlineConverter::footnote_reference(
    std::size_t i, std::size_t end) const {
    if (i + 1 >= end || text_[i + 1] != '^') return std::nullopt;
    // The first "]" after the "[" is after the "^": asked from the "[", as
    // the link reader asks next, the question does not go back.
    const auto close = close_brackets_.first(i + 1, end);
    if (!close) return std::nullopt;
    std::string label(text_.substr(i + 2, *close - i - 2));
    if (!is_valid_onym(label)) return std::nullopt;
    std::vector<Inline> items;
    items.emplace_back(Inline::Deixis{"^", std::move(label), {}});
    return Construct{*close + 1, std::move(items)};
}

// "[text](url)": the text runs to the first "]", the url from the "(" right
// after it to the first ")".
std::optional<InlineConverter::Construct> InlineConverter::link(std::size_t i, std::size_t begin,
                                                                std::size_t end) const {
    if (i > begin && text_[i - 1] == '!') return std::nullopt;  // an inline image stays text
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

}  // namespace

std::vector<Inline> markdown_inlines(std::string_view text) {
    const InlineConverter converter(text);
    return converter.convert(0, converter.size());
}

}  // namespace ilvex
