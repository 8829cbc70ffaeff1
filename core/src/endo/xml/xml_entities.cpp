#include "endo/xml/xml_entities.hpp"

#include <array>
#include <optional>
#include <utility>

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

struct Decoded {
    char32_t c;
    std::size_t length;  // bytes of the reference, "&" and ";" included
};

constexpr std::array<std::pair<std::string_view, char32_t>, 5> predefined = {{
    {"&lt;", '<'},
    {"&gt;", '>'},
    {"&amp;", '&'},
    {"&quot;", '"'},
    {"&apos;", '\''},
}};

int digit_value(char b, bool hex) {
    if (b >= '0' && b <= '9') return b - '0';
    if (!hex) return -1;
    if (b >= 'a' && b <= 'f') return b - 'a' + 10;
    if (b >= 'A' && b <= 'F') return b - 'A' + 10;
    return -1;
}

bool is_scalar_value(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// "&#" digits ";" or "&#x" hex digits ";" at the start of `text`.
std::optional<Decoded> character_reference(std::string_view text) {
    if (text.size() < 3 || text[1] != '#') return std::nullopt;
    const bool hex = text[2] == 'x';
    const std::size_t base = hex ? 16 : 10;
    std::size_t i = hex ? 3 : 2;
    const std::size_t first_digit = i;
    char32_t value = 0;
    bool in_range = true;
    for (; i < text.size(); ++i) {
        const int digit = digit_value(text[i], hex);
        if (digit < 0) break;
        // Stop accumulating past the last code point, so that a long run of
        // digits cannot wrap back into range.
        if (in_range) value = static_cast<char32_t>(value * base + static_cast<char32_t>(digit));
        if (value > 0x10FFFF) in_range = false;
    }
    if (i == first_digit || i == text.size() || text[i] != ';') return std::nullopt;
    if (!in_range || value == 0 || !is_scalar_value(value)) return std::nullopt;
    return Decoded{value, i + 1};
}

std::optional<Decoded> reference_at(std::string_view text) {
    for (const auto& [name, c] : predefined) {
        if (text.starts_with(name)) return Decoded{c, name.size()};
    }
    return character_reference(text);
}

}  // namespace

std::string decode_xml_entities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t amp = text.find('&', i);
        if (amp == std::string_view::npos) break;
        out.append(text, i, amp - i);
        if (const auto decoded = reference_at(text.substr(amp))) {
            unicode::append_utf8(out, decoded->c);
            i = amp + decoded->length;
        } else {
            out += '&';
            i = amp + 1;
        }
    }
    if (i < text.size()) out.append(text, i);
    return out;
}

}  // namespace ilvex
