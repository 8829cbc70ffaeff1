#include "endo/light_markup/rst_inlines.hpp"

#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "dialektos/unicode.hpp"
#include "dendron/writable_values.hpp"
#include "endo/light_markup/next_occurrence.hpp"
#include "endo/tree_builders.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

bool is_ascii_punctuation(char c) {
    return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
           (c >= 0x7B && c <= 0x7E);
}

// The bytes that may begin a construct. Every delimiter is ASCII and no
// byte of a multi-byte UTF-8 character is, so the text is scanned as bytes
// and every index below is a byte offset.
constexpr bool starts_construct(char b) { return b == '\\' || b == '`' || b == '*' || b == '['; }

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

// Converts ranges of one text. The content of a span or a link text is
// converted as a range of its own; a span holds no closer of its kind and a
// link text no backtick, so those ranges nest only a few deep.
class InlineConverter {
public:
    InlineConverter(std::string_view text, const ImportContext& context)
        : text_(text), context_(context) {}

    Result<std::vector<Inline>> convert(std::size_t begin, std::size_t end) const;

private:
    // What a construct at `i` gave: the index after it, the items to emit.
    struct Construct {
        std::size_t end;
        std::vector<Inline> items;
    };
    using Found = Result<std::optional<Construct>>;
    static Found no_construct() { return std::optional<Construct>(); }
    static Found found(Construct construct) { return std::optional<Construct>(std::move(construct)); }

    std::optional<Construct> literal(std::size_t i, std::size_t end) const;
    Found reference(std::size_t i, std::size_t end) const;
    Found star_span(std::size_t i, std::size_t end) const;
    Found footnote_reference(std::size_t i, std::size_t end) const;

    std::string_view text_;
    const ImportContext& context_;
    NextOccurrence literal_closers_{text_, "``"};
    NextOccurrence backticks_{text_, "`"};
    NextOccurrence stars_{text_, "*"};
    NextOccurrence star_pairs_{text_, "**"};
    NextOccurrence footnote_closers_{text_, "]_"};
};

Result<std::vector<Inline>> InlineConverter::convert(std::size_t begin, std::size_t end) const {
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
        if (c == '\\' && i + 1 < end && is_ascii_punctuation(text_[i + 1])) {
            pending.push_back(text_[i + 1]);
            i += 2;
            continue;
        }
        Found construct = no_construct();
        if (c == '`') {
            const bool doubled = i + 1 < end && text_[i + 1] == '`';
            construct = doubled ? Found(literal(i, end)) : reference(i, end);
        } else if (c == '*') {
            construct = star_span(i, end);
        } else if (c == '[') {
            construct = footnote_reference(i, end);
        }
        if (!construct) return std::move(construct).error();
        if (!construct.value()) {
            pending.push_back(c);
            ++i;
            continue;
        }
        if (!pending.empty()) {
            out.emplace_back(Inline::Text{std::move(pending)});
            pending.clear();
        }
        Construct& built = *construct.value();
        std::move(built.items.begin(), built.items.end(), std::back_inserter(out));
        i = built.end;
    }
    if (!pending.empty()) out.emplace_back(Inline::Text{std::move(pending)});
    isolate_trailing_backslashes(out);
    return out;
}

// "``" up to the first "``" that begins two characters later or after, so
// that "````" is an empty literal.
std::optional<InlineConverter::Construct> InlineConverter::literal(std::size_t i,
                                                                   std::size_t end) const {
    const auto close = literal_closers_.first(i + 2, end);
    if (!close) return std::nullopt;
    return Construct{*close + 2, literal_inlines(text_.substr(i + 2, *close - i - 2))};
}

// "`text <uri>`_" (or "`__"): the content runs to the next backtick, which
// must be followed by "_", and ends with "<uri>", the "<" at its start or
// after white space; the uri is not empty, holds no white space and does
// not end with "_". A link text that is empty or the uri itself gives the
// link alone, any other the text followed by the link in parentheses.
InlineConverter::Found InlineConverter::reference(std::size_t i, std::size_t end) const {
    const auto close = backticks_.first(i + 1, end);
    if (!close || *close + 1 >= end || text_[*close + 1] != '_') return no_construct();
    const std::string_view content = text_.substr(i + 1, *close - i - 1);
    if (!content.ends_with('>')) return no_construct();
    const std::size_t open = content.rfind('<', content.size() - 1);
    if (open == std::string_view::npos) return no_construct();
    if (open > 0 && !whitespace_before(content, open)) return no_construct();
    const std::string_view uri = content.substr(open + 1, content.size() - open - 2);
    if (uri.empty() || uri.ends_with('_') || holds_whitespace(uri)) return no_construct();
    const std::string_view label = unicode::trim(content.substr(0, open));
    std::size_t after = *close + 2;
    if (after < end && text_[after] == '_') ++after;  // an anonymous reference
    std::vector<Inline> items;
    if (label.empty() || label == uri) {
        items.push_back(link_inline(uri));
        return found(Construct{after, std::move(items)});
    }
    const std::size_t label_begin = static_cast<std::size_t>(label.data() - text_.data());
    Result<std::vector<Inline>> shown = convert(label_begin, label_begin + label.size());
    if (!shown) return std::move(shown).error();
    items = std::move(shown).value();
    items.emplace_back(Inline::Text{" ("});
    items.push_back(link_inline(uri));
    items.emplace_back(Inline::Text{")"});
    return found(Construct{after, std::move(items)});
}

// "**" up to the next "**", or "*" up to the next "*"; no flanking rules.
InlineConverter::Found InlineConverter::star_span(std::size_t i, std::size_t end) const {
    const bool strong = i + 1 < end && text_[i + 1] == '*';
    const std::size_t width = strong ? 2 : 1;
    const auto close = strong ? star_pairs_.first(i + 2, end) : stars_.first(i + 1, end);
    if (!close) return no_construct();
    Result<std::vector<Inline>> children = convert(i + width, *close);
    if (!children) return std::move(children).error();
    std::vector<Inline> items;
    items.emplace_back(
        Inline::EndoSimmere{strong ? "**" : "*", std::move(children).value(), {}, true});
    return found(Construct{*close + width, std::move(items)});
}

// "[#label]_", the label up to the first "]_". The label is the deixis
// target, which must be an onym to be written.
InlineConverter::Found InlineConverter::footnote_reference(std::size_t i, std::size_t end) const {
    if (i + 1 >= end || text_[i + 1] != '#') return no_construct();
    const auto close = footnote_closers_.first(i + 2, end);
    if (!close) return no_construct();
    Result<std::string> target = context_.onym(text_.substr(i + 2, *close - i - 2));
    if (!target) return std::move(target).error();
    std::vector<Inline> items;
    items.emplace_back(Inline::Deixis{"^", std::move(target).value(), {}});
    return found(Construct{*close + 2, std::move(items)});
}

}  // namespace

Result<std::vector<Inline>> rst_inlines(std::string_view text, const ImportContext& context) {
    return InlineConverter(text, context).convert(0, text.size());
}

}  // namespace ilvex
