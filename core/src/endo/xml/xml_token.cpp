#include "endo/xml/xml_token.hpp"

#include <string_view>

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

void append_escaped_code_point(std::string& out, char32_t c) {
    constexpr std::string_view digits = "0123456789abcdef";
    std::string hex;
    do {
        hex.insert(hex.begin(), digits[c & 0xF]);
        c >>= 4;
    } while (c != 0);
    out += "\\u{";
    out += hex;
    out += '}';
}

// Writes `text` between double quotes so that the result is one line of
// valid UTF-8 whatever the input: line breaks, quotes, backslashes and
// invisible or combining characters are escaped; ill-formed bytes show as
// U+FFFD.
void append_quoted(std::string& out, std::string_view text) {
    out += '"';
    std::size_t i = 0;
    while (i < text.size()) {
        const char32_t c = unicode::next_char(text, i);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\0': out += "\\0"; break;
            default:
                if (unicode::is_grapheme_extend(c) || !unicode::is_printable(c)) {
                    append_escaped_code_point(out, c);
                } else {
                    unicode::append_utf8(out, c);
                }
        }
    }
    out += '"';
}

struct TokenWriter {
    std::string& out;

    void operator()(const XmlOpen& open) const {
        out += "Open { name: ";
        append_quoted(out, open.name);
        out += ", attrs: [";
        for (std::size_t k = 0; k < open.attrs.size(); ++k) {
            if (k > 0) out += ", ";
            out += '(';
            append_quoted(out, open.attrs[k].name);
            out += ", ";
            append_quoted(out, open.attrs[k].value);
            out += ')';
        }
        out += "], self_closing: ";
        out += open.self_closing ? "true" : "false";
        out += " }";
    }

    void operator()(const XmlClose& close) const {
        out += "Close(";
        append_quoted(out, close.name);
        out += ')';
    }

    void operator()(const XmlText& text) const {
        out += "Text(";
        append_quoted(out, text.text);
        out += ')';
    }
};

}  // namespace

std::string format_xml_token(const XmlToken& token) {
    std::string out;
    std::visit(TokenWriter{out}, token);
    return out;
}

}  // namespace ilvex
