#include "endo/light_markup/inline_converter.hpp"

#include <string>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/light_markup/light_markup.hpp"
#include "endo/tree_builders.hpp"
#include "endo/writable.hpp"

namespace ilvex {

LightInlineScanner::LightInlineScanner(std::string_view text, const Starts& starts) : text_(text), starts_(starts) {
    const std::string_view constructs = starts.constructs;
    if (constructs.empty() || constructs.size() > 4) return;
    if (starts.escapes && text.find('\\') != std::string_view::npos) return;
    // The last construct stands in for any fourth that is missing.
    const auto at = [&](std::size_t k) { return constructs[k < constructs.size() ? k : constructs.size() - 1]; };
    few_starts_.emplace(at(0), at(1), at(2), at(3));
}

// The range is the text the span is read in: its start counts as the start
// of a text, where a delimiter may open. A closer found in the whole text
// is the same as one found in the range: a range ends before a closing
// delimiter or a "]", both ASCII punctuation, as the end of a text would.
std::optional<std::size_t> LightInlineScanner::flanking_closer(const ClosingDelimiterIndex& closers, std::size_t i,
                                                          std::size_t begin, std::size_t end) const {
    if (!opens_emphasis(text_.substr(begin, end - begin), i - begin)) return std::nullopt;
    const auto close = closers.find_closing_delimiter(i);
    if (!close || *close >= end) return std::nullopt;
    return close;
}

// The characters from the "<" up to the first ">", decoded for autolink_end.
// The scan stops, as autolink_end's own does, at the first white space or
// "<", either of which rules the autolink out: trying every "<" of a text
// stays linear. An ASCII target is its bytes as they stand; any other is
// encoded from the characters read, as a malformed sequence reads.
std::optional<LightInlineScanner::FoundAutolink> LightInlineScanner::find_autolink(std::size_t i, std::size_t end) const {
    const std::string_view range = text_.substr(0, end);
    // Reused from one "<" to the next: most autolinks are longer than a
    // string holds without an allocation of its own.
    std::u32string& candidate = autolink_candidate_;
    candidate.assign(1, U'<');
    bool ascii = true;
    std::size_t k = i + 1;
    while (k < range.size()) {
        const char32_t c = unicode::next_char(range, k);
        candidate.push_back(c);
        ascii = ascii && c < 0x80;
        if (c == U'>' || c == U'<' || unicode::is_whitespace(c)) break;
    }
    if (!autolink_end(candidate, 0)) return std::nullopt;
    // The candidate ends with the ">", and the text runs to it.
    if (ascii) return FoundAutolink{text_.substr(i + 1, k - i - 2), true, k};
    autolink_target_.clear();
    for (const char32_t c : std::u32string_view(candidate).substr(1, candidate.size() - 2)) {
        unicode::append_utf8(autolink_target_, c);
    }
    return FoundAutolink{autolink_target_, false, k};
}

// The text runs to the first "]", the url from the "(" right after it to
// the first ")".
std::optional<LightInlineScanner::Link> LightInlineScanner::find_link(std::size_t i, std::size_t begin,
                                                            std::size_t end) const {
    if (i > begin && text_[i - 1] == '!') return std::nullopt;
    const auto text_end = close_brackets_.first(i + 1, end);
    if (!text_end || *text_end + 1 >= end || text_[*text_end + 1] != '(') return std::nullopt;
    const auto url_end = close_parens_.first(*text_end + 2, end);
    if (!url_end) return std::nullopt;
    const std::string_view url = unicode::trim(text_.substr(*text_end + 2, *url_end - *text_end - 2));
    Link::Form form = Link::Form::Text;
    if (!url.empty()) {
        const std::string_view trimmed = unicode::trim(text_.substr(i + 1, *text_end - i - 1));
        form = trimmed.empty() || trimmed == url ? Link::Form::Target : Link::Form::TextAndTarget;
    }
    return Link{form, *text_end, url, *url_end + 1};
}

std::vector<Inline> LightInlineConverter::convert(std::size_t begin, std::size_t end) const {
    std::vector<Inline> out;
    // Room for the items a text of this size usually gives, so that a
    // paragraph's list is not grown (and its items moved) several times.
    out.reserve((end - begin) / 16 + 1);
    convert_into(begin, end, out);
    // Every text comes from the range or is a constant without a backslash:
    // a range without one has no text to isolate backslashes from.
    if (text_.substr(begin, end - begin).find('\\') != std::string_view::npos) isolate_trailing_backslashes(out);
    return out;
}

void LightInlineConverter::convert_into(std::size_t begin, std::size_t end, std::vector<Inline>& out) const {
    std::string pending;
    const auto text = [&](std::size_t from, std::size_t to) { pending.append(text_, from, to - from); };
    const auto construct = [&](std::size_t i) {
        // The text before a construct goes before its items: it is put in
        // the list first and taken back when the byte begins none, which is
        // rarer than a construct.
        const bool before = !pending.empty();
        if (before) {
            out.emplace_back(Inline::Text{std::move(pending)});
            pending.clear();
        }
        const std::optional<std::size_t> after = construct_at(i, begin, end, out);
        if (!after && before) {
            pending = std::move(std::get<Inline::Text>(out.back().node).text);
            out.pop_back();
        }
        return after;
    };
    scan(begin, end, text, construct);
    if (!pending.empty()) out.emplace_back(Inline::Text{std::move(pending)});
}

std::optional<std::size_t> LightInlineConverter::code_span(std::size_t i, std::size_t end,
                                                           std::vector<Inline>& out) const {
    const auto close = code_span_close(i, end);
    if (!close) return std::nullopt;
    append_literal(text_.substr(i + 1, *close - i - 1), out);
    return *close + 1;
}

std::optional<std::size_t> LightInlineConverter::autolink(std::size_t i, std::size_t end,
                                                          std::vector<Inline>& out) const {
    const auto found = find_autolink(i, end);
    if (!found) return std::nullopt;
    out.push_back(link_inline(found->target));
    return found->end;
}

std::optional<std::size_t> LightInlineConverter::link(std::size_t i, std::size_t begin, std::size_t end,
                                                      std::vector<Inline>& out) const {
    const auto found = find_link(i, begin, end);
    if (!found) return std::nullopt;
    if (found->form != Link::Form::Target) convert_into(i + 1, found->text_end, out);
    if (found->form == Link::Form::Text) return found->end;
    if (found->form == Link::Form::TextAndTarget) out.emplace_back(Inline::Text{" ("});
    out.push_back(link_inline(found->url));
    if (found->form == Link::Form::TextAndTarget) out.emplace_back(Inline::Text{")"});
    return found->end;
}

}  // namespace ilvex
