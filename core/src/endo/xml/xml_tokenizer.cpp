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

// Appends the tokens of `text` to `tokens`, all at once or a construct at a
// time.
class Tokenizer {
public:
    Tokenizer(std::string_view text, const Mode& mode, std::vector<XmlToken>& tokens)
        : rest_(text), mode_(mode), tokens_(tokens) {}

    Status run() {
        while (!rest_.empty()) {
            read_text();
            if (rest_.empty()) break;
            if (Status read = markup(); !read) return read;
        }
        return {};
    }

    // Reads one construct: the text up to the next "<", or the markup that
    // begins there; it appends at most one token.
    Status step() {
        if (!rest_.starts_with('<')) {
            read_text();
            return {};
        }
        return markup();
    }

    std::string_view rest() const { return rest_; }

private:
    // Appends the text before the next "<" (or the end), if any.
    void read_text() {
        const std::size_t lt = std::min(rest_.find('<'), rest_.size());
        if (lt == 0) return;
        tokens_.push_back(XmlText{std::string(rest_.substr(0, lt))});
        rest_.remove_prefix(lt);
    }

    // Consumes the construct that begins with the "<" at the start of rest_.
    Status markup() {
        if (rest_.starts_with("<!--")) return skip_comment();
        if (mode_.markup_declarations && rest_.starts_with(cdata_open)) return read_cdata();
        if (rest_.starts_with("<!")) return skip_declaration(mode_.markup_declarations);
        if (mode_.processing_instructions && rest_.starts_with("<?")) {
            return skip_declaration(false);
        }
        return read_tag();
    }

    // Searching from the "<" itself makes "<!-->" a complete comment.
    Status skip_comment() {
        const std::size_t end = rest_.find("-->");
        if (end == std::string_view::npos) return mode_.error("unterminated comment");
        rest_.remove_prefix(end + 3);
        return {};
    }

    Status read_cdata() {
        const std::size_t end = rest_.find(cdata_close, cdata_open.size());
        if (end == std::string_view::npos) return mode_.error("unterminated declaration");
        const std::string_view content = rest_.substr(cdata_open.size(), end - cdata_open.size());
        if (!content.empty()) tokens_.push_back(XmlText{escape_markup(content)});
        rest_.remove_prefix(end + cdata_close.size());
        return {};
    }

    // A declaration ends at its first ">", unless `subset` allows a "["
    // before that ">" to open an internal subset, which ends at the next
    // "]>". A processing instruction has no subset: a "[" in it must not
    // swallow the document up to some later "]>". The "[" is looked for only
    // before the ">", so that each declaration costs only its own length.
    Status skip_declaration(bool subset) {
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
        return {};
    }

    Status read_tag() {
        const std::size_t gt = rest_.find('>');
        if (gt == std::string_view::npos) return mode_.error("unterminated tag");
        const std::string_view inner = rest_.substr(1, gt - 1);
        if (inner.starts_with('/')) {
            read_close(inner.substr(1));
        } else if (Status open = read_open(inner); !open) {
            return open;
        }
        rest_.remove_prefix(gt + 1);
        return {};
    }

    void read_close(std::string_view name) {
        tokens_.push_back(XmlClose{element_name(unicode::trim(name))});
    }

    Status read_open(std::string_view inner) {
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
        tokens_.push_back(XmlOpen{element_name(inner.substr(0, name_end)),
                                  std::move(attrs).value(), self_closing});
        return {};
    }

    std::string element_name(std::string_view name) const {
        return mode_.lowercase_names ? unicode::ascii_lowercase(name) : std::string(name);
    }

    std::string_view rest_;
    const Mode& mode_;
    std::vector<XmlToken>& tokens_;
};

Result<std::vector<XmlToken>> tokenize(std::string_view text, const Mode& mode) {
    std::vector<XmlToken> tokens;
    if (Status read = Tokenizer(text, mode, tokens).run(); !read) return std::move(read).error();
    return tokens;
}

}  // namespace

Result<std::vector<XmlToken>> tokenize_xml(std::string_view text) { return tokenize(text, xml_mode); }

Result<std::vector<XmlToken>> tokenize_html(std::string_view text) { return tokenize(text, html_mode); }

Result<std::optional<XmlToken>> XmlTokenReader::next() {
    while (read_.empty() && !rest_.empty()) {
        Tokenizer tokenizer(rest_, xml_mode, read_);
        Status read = tokenizer.step();
        if (!read) {
            rest_ = {};
            return std::move(read).error();
        }
        rest_ = tokenizer.rest();
    }
    if (read_.empty()) return std::optional<XmlToken>();
    std::optional<XmlToken> token(std::move(read_.back()));
    read_.pop_back();
    return token;
}

}  // namespace ilvex
