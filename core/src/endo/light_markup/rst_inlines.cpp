#include "endo/light_markup/rst_inlines.hpp"

#include <optional>
#include <string>
#include <utility>

#include "dialektos/unicode.hpp"
#include "dendron/writable_values.hpp"
#include "endo/light_markup/inline_converter.hpp"
#include "endo/light_markup/next_occurrence.hpp"
#include "endo/tree_builders.hpp"

namespace ilvex {
namespace {

// Whether the character that ends just before byte `i` is white space.
bool whitespace_before(std::string_view text, std::size_t i) {
    if (i == 0) return false;
    return unicode::is_whitespace(unicode::prev_char(text, i));
}

bool holds_whitespace(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (unicode::is_whitespace(unicode::next_char(text, i))) return true;
    }
    return false;
}

// The content of a span or a link text is converted as a range of its own;
// a span holds no closer of its kind and a link text no backtick, so those
// ranges nest only a few deep.
class RstInlineConverter final : public LightInlineConverter {
public:
    RstInlineConverter(std::string_view text, const ImportContext& context)
        : LightInlineConverter(text, starts), context_(context) {}

    // The first footnote label met that cannot be written, if any: the
    // converter reads on, and its inlines are then of no use.
    const std::optional<Error>& error() const { return error_; }

private:
    static constexpr Starts starts{"`*[", true};

    std::optional<std::size_t> construct_at(std::size_t i, std::size_t begin, std::size_t end,
                                            std::vector<Inline>& out) const override;
    std::optional<std::size_t> literal(std::size_t i, std::size_t end, std::vector<Inline>& out) const;
    std::optional<std::size_t> reference(std::size_t i, std::size_t end, std::vector<Inline>& out) const;
    std::optional<std::size_t> star_span(std::size_t i, std::size_t end, std::vector<Inline>& out) const;
    std::optional<std::size_t> footnote_reference(std::size_t i, std::size_t end, std::vector<Inline>& out) const;

    const ImportContext& context_;
    mutable std::optional<Error> error_;
    NextOccurrence literal_closers_{text_, "``"};
    NextOccurrence backticks_{text_, "`"};
    NextOccurrence stars_{text_, "*"};
    NextOccurrence star_pairs_{text_, "**"};
    NextOccurrence footnote_closers_{text_, "]_"};
};

std::optional<std::size_t> RstInlineConverter::construct_at(std::size_t i, std::size_t, std::size_t end,
                                                            std::vector<Inline>& out) const {
    switch (text_[i]) {
        case '`':
            return i + 1 < end && text_[i + 1] == '`' ? literal(i, end, out) : reference(i, end, out);
        case '*': return star_span(i, end, out);
        default: return footnote_reference(i, end, out);
    }
}

// "``" up to the first "``" that begins two characters later or after, so
// that "````" is an empty literal.
std::optional<std::size_t> RstInlineConverter::literal(std::size_t i, std::size_t end,
                                                       std::vector<Inline>& out) const {
    const auto close = literal_closers_.first(i + 2, end);
    if (!close) return std::nullopt;
    append_literal(text_.substr(i + 2, *close - i - 2), out);
    return *close + 2;
}

// "`text <uri>`_" (or "`__"): the content runs to the next backtick, which
// must be followed by "_", and ends with "<uri>", the "<" at its start or
// after white space; the uri is not empty, holds no white space and does
// not end with "_". A link text that is empty or the uri itself gives the
// link alone, any other the text followed by the link in parentheses.
std::optional<std::size_t> RstInlineConverter::reference(std::size_t i, std::size_t end,
                                                         std::vector<Inline>& out) const {
    const auto close = backticks_.first(i + 1, end);
    if (!close || *close + 1 >= end || text_[*close + 1] != '_') return std::nullopt;
    const std::string_view content = text_.substr(i + 1, *close - i - 1);
    if (!content.ends_with('>')) return std::nullopt;
    const std::size_t open = content.rfind('<', content.size() - 1);
    if (open == std::string_view::npos) return std::nullopt;
    if (open > 0 && !whitespace_before(content, open)) return std::nullopt;
    const std::string_view uri = content.substr(open + 1, content.size() - open - 2);
    if (uri.empty() || uri.ends_with('_') || holds_whitespace(uri)) return std::nullopt;
    const std::string_view label = unicode::trim(content.substr(0, open));
    std::size_t after = *close + 2;
    if (after < end && text_[after] == '_') ++after;  // an anonymous reference
    if (label.empty() || label == uri) {
        out.push_back(link_inline(uri));
        return after;
    }
    const auto label_begin = static_cast<std::size_t>(label.data() - text_.data());
    convert_into(label_begin, label_begin + label.size(), out);
    out.emplace_back(Inline::Text{" ("});
    out.push_back(link_inline(uri));
    out.emplace_back(Inline::Text{")"});
    return after;
}

// "**" up to the next "**", or "*" up to the next "*"; no flanking rules.
std::optional<std::size_t> RstInlineConverter::star_span(std::size_t i, std::size_t end,
                                                         std::vector<Inline>& out) const {
    const bool strong = i + 1 < end && text_[i + 1] == '*';
    const std::size_t width = strong ? 2 : 1;
    const auto close = strong ? star_pairs_.first(i + 2, end) : stars_.first(i + 1, end);
    if (!close) return std::nullopt;
    out.emplace_back(Inline::EndoSimmere{strong ? "**" : "*", convert(i + width, *close), {}, true});
    return *close + width;
}

// "[#label]_", the label up to the first "]_". The label is the deixis
// target, which must be an onym to be written.
std::optional<std::size_t> RstInlineConverter::footnote_reference(std::size_t i, std::size_t end,
                                                                  std::vector<Inline>& out) const {
    if (i + 1 >= end || text_[i + 1] != '#') return std::nullopt;
    const auto close = footnote_closers_.first(i + 2, end);
    if (!close) return std::nullopt;
    Result<std::string> target = context_.onym(text_.substr(i + 2, *close - i - 2));
    if (!target) {
        if (!error_) error_ = std::move(target).error();
        return std::nullopt;
    }
    out.emplace_back(Inline::Deixis{"^", std::move(target).value(), {}});
    return *close + 2;
}

}  // namespace

Result<std::vector<Inline>> rst_inlines(std::string_view text, const ImportContext& context) {
    const RstInlineConverter converter(text, context);
    std::vector<Inline> inlines = converter.convert(0, text.size());
    if (converter.error()) return *converter.error();
    return inlines;
}

}  // namespace ilvex
