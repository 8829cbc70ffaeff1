#include "endo/light_markup/markdown_inlines.hpp"

#include <optional>
#include <string>
#include <utility>

#include "dialektos/lexical.hpp"
#include "endo/light_markup/inline_converter.hpp"
#include "endo/light_markup/next_occurrence.hpp"

namespace ilvex {
namespace {

// Adds to the shared constructs "*" and "**" spans and footnote references.
// Since a span holds no closer of its kind and a link text no "]", the
// ranges converted nest only a few deep.
class MarkdownInlineConverter final : public LightInlineConverter {
public:
    explicit MarkdownInlineConverter(std::string_view text) : LightInlineConverter(text, starts) {}

private:
    static constexpr Starts starts{"`*<[", true};

    std::optional<std::size_t> construct_at(std::size_t i, std::size_t begin, std::size_t end,
                                            std::vector<Inline>& out) const override;
    std::optional<std::size_t> star_span(std::size_t i, std::size_t end, std::vector<Inline>& out) const;
    std::optional<std::size_t> footnote_reference(std::size_t i, std::size_t end, std::vector<Inline>& out) const;

    NextOccurrence stars_{text_, "*"};
    NextOccurrence star_pairs_{text_, "**"};  // the first star of a "**", overlapping ones included
};

std::optional<std::size_t> MarkdownInlineConverter::construct_at(std::size_t i, std::size_t begin,
                                                                 std::size_t end, std::vector<Inline>& out) const {
    switch (text_[i]) {
        case '`': return code_span(i, end, out);
        case '*': return star_span(i, end, out);
        case '<': return autolink(i, end, out);
        case '[':
            if (auto reference = footnote_reference(i, end, out)) return reference;
            return link(i, begin, end, out);
        default: return std::nullopt;
    }
}

// "**" when a second star follows, else "*"; the closer is the next
// occurrence of the same delimiter, with no flanking rules.
std::optional<std::size_t> MarkdownInlineConverter::star_span(std::size_t i, std::size_t end,
                                                              std::vector<Inline>& out) const {
    const bool strong = i + 1 < end && text_[i + 1] == '*';
    const std::size_t width = strong ? 2 : 1;
    std::optional<std::size_t> close;
    if (!strong) {
        close = stars_.first(i + 1, end);
    } else if (i + 4 <= end) {
        close = star_pairs_.first(i + 2, end - 1);  // both stars before the end
    }
    if (!close) return std::nullopt;
    out.emplace_back(Inline::EndoSimmere{strong ? "**" : "*", convert(i + width, *close), {}, true});
    return *close + width;
}

// "[^label]": a label that is not a valid onym (empty, or holding white
// space) could not be written as a deixis target, and the bracket is read
// as any other.
std::optional<std::size_t> MarkdownInlineConverter::footnote_reference(std::size_t i, std::size_t end,
                                                                       std::vector<Inline>& out) const {
    if (i + 1 >= end || text_[i + 1] != '^') return std::nullopt;
    // The first "]" after the "[" is after the "^": asked from the "[", as
    // the link reader asks next, the question does not go back.
    const auto close = close_bracket(i + 1, end);
    if (!close) return std::nullopt;
    std::string label(text_.substr(i + 2, *close - i - 2));
    if (!is_valid_onym(label)) return std::nullopt;
    out.emplace_back(Inline::Deixis{"^", std::move(label), {}});
    return *close + 1;
}

}  // namespace

std::vector<Inline> markdown_inlines(std::string_view text) {
    const MarkdownInlineConverter converter(text);
    return converter.convert(0, converter.size());
}

}  // namespace ilvex
