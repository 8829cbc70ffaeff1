#include "endo/light_markup/org_inlines.hpp"

#include <optional>
#include <string>
#include <utility>

#include "endo/light_markup/inline_converter.hpp"
#include "endo/light_markup/light_markup.hpp"
#include "endo/light_markup/next_occurrence.hpp"
#include "endo/tree_builders.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

constexpr std::string_view span_delimiters = "*/_+=~";

bool is_ascii_alphanumeric(char b) {
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9');
}

// A span's content holds no closer of its own delimiter (its closer is the
// first one after the opener), so spans of one kind never nest inside each
// other and link descriptions are not converted: the converted ranges nest
// at most four deep whatever the input.
class OrgInlineConverter final : public LightInlineConverter {
public:
    explicit OrgInlineConverter(std::string_view text)
        : LightInlineConverter(text, starts), closers_(text, span_delimiters) {}

private:
    static constexpr Starts starts{"*/_+=~[", false};

    std::optional<std::size_t> construct_at(std::size_t i, std::size_t begin, std::size_t end,
                                            std::vector<Inline>& out) const override;
    std::optional<std::size_t> span(std::size_t i, std::size_t begin, std::size_t end,
                                    std::vector<Inline>& out) const;
    std::optional<std::size_t> bracket_link(std::size_t i, std::size_t end, std::vector<Inline>& out) const;
    std::optional<std::size_t> footnote_reference(std::size_t i, std::size_t end, std::vector<Inline>& out) const;

    ClosingDelimiterIndex closers_;
    NextOccurrence link_ends_{text_, "]]"};
    NextOccurrence separators_{text_, "]["};
    NextOccurrence brackets_{text_, "]"};
};

std::optional<std::size_t> OrgInlineConverter::construct_at(std::size_t i, std::size_t begin, std::size_t end,
                                                            std::vector<Inline>& out) const {
    if (text_[i] != '[') return span(i, begin, end, out);
    if (i + 1 < end && text_[i + 1] == '[') {
        if (auto link = bracket_link(i, end, out)) return link;
    }
    return footnote_reference(i, end, out);
}

// "=" and "~" hold literal text; the others hold converted content.
std::optional<std::size_t> OrgInlineConverter::span(std::size_t i, std::size_t begin, std::size_t end,
                                                    std::vector<Inline>& out) const {
    const auto close = flanking_closer(closers_, i, begin, end);
    if (!close) return std::nullopt;
    const char delimiter = text_[i];
    if (delimiter == '=' || delimiter == '~') {
        append_literal(text_.substr(i + 1, *close - i - 1), out);
        return *close + 1;
    }
    out.emplace_back(Inline::EndoSimmere{std::string(1, delimiter), convert(i + 1, *close), {}, true});
    return *close + 1;
}

// "[[" up to the first "]]": the target and the description split at the
// first "][" inside, or the target alone when no "]" is inside at all; a
// stray "]" makes no link.
std::optional<std::size_t> OrgInlineConverter::bracket_link(std::size_t i, std::size_t end,
                                                            std::vector<Inline>& out) const {
    const std::size_t start = i + 2;
    const auto close = link_ends_.first(start, end);
    if (!close) return std::nullopt;
    if (const auto separator = separators_.first(start, *close)) {
        std::string described(text_.substr(*separator + 2, *close - *separator - 2));
        described += " (";
        out.emplace_back(Inline::Text{std::move(described)});
        out.push_back(link_inline(text_.substr(start, *separator - start)));
        out.emplace_back(Inline::Text{")"});
    } else if (brackets_.first(start, *close)) {
        return std::nullopt;
    } else {
        out.push_back(link_inline(text_.substr(start, *close - start)));
    }
    return *close + 2;
}

// "[fn:label]", the label ASCII letters and digits.
std::optional<std::size_t> OrgInlineConverter::footnote_reference(std::size_t i, std::size_t end,
                                                                  std::vector<Inline>& out) const {
    if (text_.substr(i, end - i).substr(0, 4) != "[fn:") return std::nullopt;
    const std::size_t start = i + 4;
    std::size_t k = start;
    while (k < end && is_ascii_alphanumeric(text_[k])) ++k;
    // Only a label of letters and digits may stand before the "]".
    if (k == start || k == end || text_[k] != ']') return std::nullopt;
    out.emplace_back(Inline::Deixis{"^", std::string(text_.substr(start, k - start)), {}});
    return k + 1;
}

}  // namespace

std::vector<Inline> org_inlines(std::string_view text) {
    const OrgInlineConverter converter(text);
    return converter.convert(0, converter.size());
}

}  // namespace ilvex
