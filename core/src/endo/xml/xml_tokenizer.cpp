#include "endo/xml/xml_tokenizer.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/import_errors.hpp"
#include "endo/xml/xml_attributes.hpp"

namespace ilvex {
namespace {

// The points in which the two modes differ.
struct Mode {
    bool processing_instructions;  // "<?" starts a declaration
    bool markup_declarations;      // internal subsets and CDATA sections are recognised
    bool lowercase_names;          // element names are ASCII-lower-cased
    Error (*error)(std::string_view message);
};

constexpr Mode xml_mode{true, true, false, tei_import_error};
constexpr Mode html_mode{false, false, true, html_import_error};

constexpr std::string_view cdata_open = "<![CDATA[";
constexpr std::string_view cdata_close = "]]>";

// Escapes CDATA content as markup-free text, the inverse of
// decode_xml_entities, so that converters can treat it like any other text.
std::string escape_markup(std::string_view content) {
    std::string out;
    out.reserve(content.size());
    for (const char b : content) {
        switch (b) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += b;
        }
    }
    return out;
}

using NextToken = Result<std::optional<XmlToken>>;

// Reads from the start of `rest` to the end of the next token and moves
// `rest` past it; comments and declarations on the way are dropped. Nothing
// at the end of the text.
class Tokenizer {
public:
    Tokenizer(std::string_view& rest, const Mode& mode) : rest_(rest), mode_(mode) {}

    NextToken next() {
        while (!rest_.empty()) {
            const std::size_t lt = rest_.find('<');
            if (lt == std::string_view::npos) {
                XmlText text{std::string(rest_)};
                rest_ = {};
                return std::optional<XmlToken>(std::move(text));
            }
            if (lt > 0) {
                XmlText text{std::string(rest_.substr(0, lt))};
                rest_.remove_prefix(lt);
                return std::optional<XmlToken>(std::move(text));
            }
            NextToken token = markup();
            if (!token || *token) return token;
        }
        return std::optional<XmlToken>();
    }

private:
    // Consumes the construct that begins with the "<" at the start of rest_.
    NextToken markup() {
        if (rest_.starts_with("<!--")) return skip_comment();
        if (mode_.markup_declarations && rest_.starts_with(cdata_open)) return read_cdata();
        if (rest_.starts_with("<!")) return skip_declaration(mode_.markup_declarations);
        if (mode_.processing_instructions && rest_.starts_with("<?")) {
            return skip_declaration(false);
        }
        return read_tag();
    }

    // Searching from the "<" itself makes "<!-->" a complete comment.
    NextToken skip_comment() {
        const std::size_t end = rest_.find("-->");
        if (end == std::string_view::npos) return mode_.error("unterminated comment");
        rest_.remove_prefix(end + 3);
        return std::optional<XmlToken>();
    }

    NextToken read_cdata() {
        const std::size_t end = rest_.find(cdata_close, cdata_open.size());
        if (end == std::string_view::npos) return mode_.error("unterminated declaration");
        const std::string_view content = rest_.substr(cdata_open.size(), end - cdata_open.size());
        std::optional<XmlToken> token;
        if (!content.empty()) token = XmlText{escape_markup(content)};
        rest_.remove_prefix(end + cdata_close.size());
        return token;
    }

    // A declaration ends at its first ">", unless `subset` allows a "["
    // before that ">" to open an internal subset, which ends at the next
    // "]>". A processing instruction has no subset: a "[" in it must not
    // swallow the document up to some later "]>". The "[" is looked for only
    // before the ">", so that each declaration costs only its own length.
    NextToken skip_declaration(bool subset) {
        const std::size_t gt = rest_.find('>');
        if (gt == std::string_view::npos) return mode_.error("unterminated declaration");
        std::size_t end = gt + 1;
        if (subset) {
            const std::size_t bracket = rest_.substr(0, gt).find('[');
            if (bracket != std::string_view::npos) {
                const std::size_t close = rest_.find("]>", bracket);
                if (close == std::string_view::npos) return mode_.error("unterminated declaration");
                end = close + 2;
            }
        }
        rest_.remove_prefix(end);
        return std::optional<XmlToken>();
    }

    NextToken read_tag() {
        const std::size_t gt = rest_.find('>');
        if (gt == std::string_view::npos) return mode_.error("unterminated tag");
        const std::string_view inner = rest_.substr(1, gt - 1);
        NextToken token = inner.starts_with('/') ? read_close(inner.substr(1)) : read_open(inner);
        if (token) rest_.remove_prefix(gt + 1);
        return token;
    }

    NextToken read_close(std::string_view name) {
        return std::optional<XmlToken>(XmlClose{element_name(unicode::trim(name))});
    }

    NextToken read_open(std::string_view inner) {
        const bool self_closing = inner.ends_with('/');
        if (self_closing) inner.remove_suffix(1);
        inner = unicode::trim(inner);
        if (inner.empty()) return mode_.error("empty tag");
        // The name ends at the first white-space character; the attributes
        // follow that one character.
        std::size_t name_end = 0;
        std::size_t attrs_start = inner.size();
        while (name_end < inner.size()) {
            std::size_t next = name_end;
            if (unicode::is_whitespace(unicode::next_char(inner, next))) {
                attrs_start = next;
                break;
            }
            name_end = next;
        }
        auto attrs = parse_tag_attributes(inner.substr(attrs_start));
        if (!attrs) return std::move(attrs).error();
        return std::optional<XmlToken>(
            XmlOpen{element_name(inner.substr(0, name_end)), std::move(attrs).value(), self_closing});
    }

    std::string element_name(std::string_view name) const {
        return mode_.lowercase_names ? unicode::ascii_lowercase(name) : std::string(name);
    }

    std::string_view& rest_;
    const Mode& mode_;
};

Result<std::vector<XmlToken>> tokenize(std::string_view text, const Mode& mode) {
    std::vector<XmlToken> tokens;
    // Room for a tag and a text per "<", taken once: growing the list step
    // by step would copy it and touch fresh memory again each time.
    tokens.reserve(2 * static_cast<std::size_t>(std::count(text.begin(), text.end(), '<')) + 1);
    Tokenizer tokenizer(text, mode);
    while (true) {
        NextToken token = tokenizer.next();
        if (!token) return std::move(token).error();
        if (!*token) return tokens;
        tokens.push_back(std::move(**token));
    }
}

}  // namespace

Result<std::vector<XmlToken>> tokenize_xml(std::string_view text) { return tokenize(text, xml_mode); }

Result<std::vector<XmlToken>> tokenize_html(std::string_view text) { return tokenize(text, html_mode); }

Result<std::optional<XmlToken>> XmlTokenReader::next() {
    return Tokenizer(rest_, html_ ? html_mode : xml_mode).next();
}

}  // namespace ilvex
