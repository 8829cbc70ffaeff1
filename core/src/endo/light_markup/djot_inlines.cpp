#include "endo/light_markup/djot_inlines.hpp"

#include <optional>
#include <string>
#include <utility>

#include "endo/light_markup/inline_converter.hpp"
#include "endo/light_markup/light_markup.hpp"

namespace ilvex {
namespace {

// Adds "*" and "_" spans to the shared constructs. A span's content holds
// no closer of its own delimiter (its closer is the first one after the
// opener), so spans of one kind never nest inside each other: with two
// kinds and link texts that hold no "]", the converted ranges nest only a
// few deep whatever the input.
class DjotInlineConverter final : public LightInlineConverter {
public:
    explicit DjotInlineConverter(std::string_view text)
        : LightInlineConverter(text, starts), closers_(text, "*_") {}

private:
    static constexpr Starts starts{"*_<[`", true};

    std::optional<std::size_t> construct_at(std::size_t i, std::size_t begin, std::size_t end,
                                            std::vector<Inline>& out) const override;
    std::optional<std::size_t> span(std::size_t i, std::size_t begin, std::size_t end,
                                    std::vector<Inline>& out) const;

    ClosingDelimiterIndex closers_;
};

std::optional<std::size_t> DjotInlineConverter::construct_at(std::size_t i, std::size_t begin, std::size_t end,
                                                             std::vector<Inline>& out) const {
    switch (text_[i]) {
        case '*':
        case '_': return span(i, begin, end, out);
        case '<': return autolink(i, end, out);
        case '[':
            if (i + 1 < end && text_[i + 1] == '^') return std::nullopt;  // a footnote reference
            return link(i, begin, end, out);
        case '`': return code_span(i, end, out);
        default: return std::nullopt;
    }
}

std::optional<std::size_t> DjotInlineConverter::span(std::size_t i, std::size_t begin, std::size_t end,
                                                     std::vector<Inline>& out) const {
    const auto close = flanking_closer(closers_, i, begin, end);
    if (!close) return std::nullopt;
    out.emplace_back(Inline::EndoSimmere{std::string(1, text_[i]), convert(i + 1, *close), {}, true});
    return *close + 1;
}

}  // namespace

std::vector<Inline> djot_inlines(std::string_view text) {
    const DjotInlineConverter converter(text);
    return converter.convert(0, converter.size());
}

}  // namespace ilvex
