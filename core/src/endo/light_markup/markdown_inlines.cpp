#include "endo/light_markup/markdown_inlines.hpp"

#include <optional>
#include <string>
#include <utility>

#include "dendron/writer_forms.hpp"
#include "dialektos/lexical.hpp"
#include "endo/light_markup/inline_converter.hpp"
#include "endo/light_markup/light_blocks.hpp"
#include "endo/light_markup/next_occurrence.hpp"
#include "endo/tree_builders.hpp"

namespace ilvex {
namespace {

using Kind = FlatInline::Kind;

// Reads ranges of a text into a flat list: the shared constructs, "*" and
// "**" spans and footnote references. Since a span holds no closer of its
// kind and a link text no "]", the ranges read nest only a few deep.
class MarkdownInlineReader final : public LightInlineScanner {
public:
    MarkdownInlineReader(std::string_view text, FlatInlines& out) : LightInlineScanner(text, starts), out_(out) {}

    // Appends the items of [begin, end) to the list.
    void read(std::size_t begin, std::size_t end) const;

private:
    static constexpr Starts starts{"`*<[", true};

    // The construct that the byte at `i` begins in [begin, end): its items
    // appended, and the index after it; or nothing, the list left as it
    // was: the byte is text.
    std::optional<std::size_t> construct_at(std::size_t i, std::size_t begin, std::size_t end) const;
    std::optional<std::size_t> star_span(std::size_t i, std::size_t end) const;
    std::optional<std::size_t> footnote_reference(std::size_t i, std::size_t end) const;
    std::optional<std::size_t> code_span(std::size_t i, std::size_t end) const;
    std::optional<std::size_t> autolink(std::size_t i, std::size_t end) const;
    std::optional<std::size_t> link(std::size_t i, std::size_t begin, std::size_t end) const;

    void push(Kind kind, std::string_view text, std::string_view target = {}) const {
        out_.items.push_back({kind, false, true, text, target, nullptr});
    }
    // The link sim holding `target` as its one text.
    void push_link(std::string_view target) const {
        push(Kind::Open, link_symbol);
        push(Kind::Text, target);
        push(Kind::Close, {});
    }

    NextOccurrence stars_{text_, "*"};
    NextOccurrence star_pairs_{text_, "**"};  // the first star of a "**", overlapping ones included
    FlatInlines& out_;
};

// The runs of text between two constructs make one text of the tree: a run
// right after the one before it in the text extends it, any other (an
// escaped character) joins it.
void MarkdownInlineReader::read(std::size_t begin, std::size_t end) const {
    std::vector<FlatInline>& items = out_.items;
    std::size_t texts_from = items.size();  // the items from here on are texts of the current run
    const auto text = [&](std::size_t from, std::size_t to) {
        const std::string_view piece = text_.substr(from, to - from);
        if (items.size() == texts_from) {
            push(Kind::Text, piece);
            return;
        }
        FlatInline& last = items.back();
        if (last.text.data() + last.text.size() == piece.data()) {
            last.text = std::string_view(last.text.data(), last.text.size() + piece.size());
        } else {
            items.push_back({Kind::Text, true, true, piece, {}, nullptr});
        }
    };
    const auto construct = [&](std::size_t i) {
        const std::optional<std::size_t> after = construct_at(i, begin, end);
        if (after) texts_from = items.size();
        return after;
    };
    scan(begin, end, text, construct);
}

std::optional<std::size_t> MarkdownInlineReader::construct_at(std::size_t i, std::size_t begin,
                                                              std::size_t end) const {
    switch (text_[i]) {
        case '`': return code_span(i, end);
        case '*': return star_span(i, end);
        case '<': return autolink(i, end);
        case '[':
            if (auto reference = footnote_reference(i, end)) return reference;
            return link(i, begin, end);
        default: return std::nullopt;
    }
}

// "**" when a second star follows, else "*"; the closer is the next
// occurrence of the same delimiter, with no flanking rules.
std::optional<std::size_t> MarkdownInlineReader::star_span(std::size_t i, std::size_t end) const {
    const bool strong = i + 1 < end && text_[i + 1] == '*';
    const std::size_t width = strong ? 2 : 1;
    std::optional<std::size_t> close;
    if (!strong) {
        close = stars_.first(i + 1, end);
    } else if (i + 4 <= end) {
        close = star_pairs_.first(i + 2, end - 1);  // both stars before the end
    }
    if (!close) return std::nullopt;
    push(Kind::Open, strong ? "**" : "*");
    read(i + width, *close);
    push(Kind::Close, {});
    return *close + width;
}

// "[^label]": a label that is not a valid onym (empty, or holding white
// space) could not be written as a deixis target, and the bracket is read
// as any other.
std::optional<std::size_t> MarkdownInlineReader::footnote_reference(std::size_t i, std::size_t end) const {
    if (i + 1 >= end || text_[i + 1] != '^') return std::nullopt;
    // The first "]" after the "[" is after the "^": asked from the "[", as
    // the link reader asks next, the question does not go back.
    const auto close = close_bracket(i + 1, end);
    if (!close) return std::nullopt;
    const std::string_view label = text_.substr(i + 2, *close - i - 2);
    if (!is_valid_onym(label)) return std::nullopt;
    push(Kind::Deixis, "^", label);
    return *close + 1;
}

std::optional<std::size_t> MarkdownInlineReader::code_span(std::size_t i, std::size_t end) const {
    const auto close = code_span_close(i, end);
    if (!close) return std::nullopt;
    push(Kind::Enlexis, text_.substr(i + 1, *close - i - 1));
    return *close + 1;
}

std::optional<std::size_t> MarkdownInlineReader::autolink(std::size_t i, std::size_t end) const {
    const auto found = find_autolink(i, end);
    if (!found) return std::nullopt;
    push_link(found->in_text ? found->target : std::string_view(out_.made.emplace_back(found->target)));
    return found->end;
}

std::optional<std::size_t> MarkdownInlineReader::link(std::size_t i, std::size_t begin, std::size_t end) const {
    const auto found = find_link(i, begin, end);
    if (!found) return std::nullopt;
    if (found->form != Link::Form::Target) read(i + 1, found->text_end);
    if (found->form == Link::Form::Text) return found->end;
    if (found->form == Link::Form::TextAndTarget) push(Kind::Text, " (");
    push_link(found->url);
    if (found->form == Link::Form::TextAndTarget) push(Kind::Text, ")");
    return found->end;
}

// Appends the inlines of `text` to `out`. Every text they hold is a piece
// of `text`, a constant without bytes written otherwise or an autolink's
// target, decoded from the text's own characters: one search of `text`
// answers for them all.
void append_inlines(std::string_view text, FlatInlines& out) {
    MarkdownInlineReader(text, out).read(0, text.size());
    out.texts_as_they_stand = writing::written_otherwise.find_in(text) == text.size();
}

}  // namespace

void read_markdown_inlines(std::string_view text, FlatInlines& out) {
    out.clear();
    append_inlines(text, out);
}

void read_markdown_heading(std::size_t level, std::string_view text, FlatInlines& out) {
    static constexpr std::string_view hashes = "######";
    out.clear();
    std::vector<FlatInline>& items = out.items;
    items.push_back({Kind::Open, false, true, hashes.substr(0, level), {}, nullptr});
    append_inlines(text, out);
    const bool empty = items.size() == 1;
    const bool text_first = !empty && items[1].kind == Kind::Text;
    if (heading_needs_space(level, empty, text_first ? items[1].text : std::string_view())) {
        // The first text goes on after the space as one text.
        if (text_first) items[1].joins = true;
        items.insert(items.begin() + 1, {Kind::Text, false, true, " ", {}, nullptr});
    }
    items.push_back({Kind::Close, false, true, {}, {}, nullptr});
}

}  // namespace ilvex
