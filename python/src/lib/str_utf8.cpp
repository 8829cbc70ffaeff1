#include "str_utf8.hpp"

#include <cstdint>
#include <cstring>

namespace ilvex::py {
namespace {

// Bits that are set in one of eight Latin-1 characters, or four UCS-2
// characters, loaded as one word, when any of them is not ASCII.
constexpr std::uint64_t non_ascii_mask(std::size_t char_size) {
    return char_size == 1 ? 0x8080808080808080ull : 0xFF80FF80FF80FF80ull;
}

// Encodes `count` characters at `chars` to `out`, which has room for the
// longest encoding; the number of bytes written, or -1 at a lone surrogate.
template <class Char>
std::ptrdiff_t encode(const Char* chars, std::size_t count, char* out) {
    char* const begin = out;
    std::size_t i = 0;
    while (i < count) {
        // Runs of ASCII, a word at a time: most text is mostly ASCII.
        if constexpr (sizeof(Char) <= 2) {
            constexpr std::size_t per_word = 8 / sizeof(Char);
            std::uint64_t word;
            while (i + per_word <= count) {
                std::memcpy(&word, chars + i, 8);
                if ((word & non_ascii_mask(sizeof(Char))) != 0) break;
                for (std::size_t k = 0; k < per_word; ++k) out[k] = static_cast<char>(chars[i + k]);
                out += per_word;
                i += per_word;
            }
            if (i == count) break;
        }
        const std::uint32_t c = chars[i++];
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *out++ = static_cast<char>(0xC0 | (c >> 6));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return -1;
        } else if (c < 0x10000) {
            *out++ = static_cast<char>(0xE0 | (c >> 12));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *out++ = static_cast<char>(0xF0 | (c >> 18));
            *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out - begin;
}

}  // namespace

std::size_t utf8_bytes_per_char(PyObject* object) {
    switch (PyUnicode_KIND(object)) {
        case PyUnicode_1BYTE_KIND:
            return PyUnicode_IS_ASCII(object) ? 1 : 2;
        case PyUnicode_2BYTE_KIND:
            return 3;
        default:
            return 4;
    }
}

bool append_utf8(PyObject* object, Py_ssize_t start, Py_ssize_t end, ByteBuffer& out) {
    const auto count = static_cast<std::size_t>(end - start);
    char* target = out.end_with_room(count * utf8_bytes_per_char(object));
    const void* data = PyUnicode_DATA(object);
    std::ptrdiff_t written = -1;
    switch (PyUnicode_KIND(object)) {
        case PyUnicode_1BYTE_KIND:
            written = encode(static_cast<const Py_UCS1*>(data) + start, count, target);
            break;
        case PyUnicode_2BYTE_KIND:
            written = encode(static_cast<const Py_UCS2*>(data) + start, count, target);
            break;
        default:
            written = encode(static_cast<const Py_UCS4*>(data) + start, count, target);
            break;
    }
    if (written < 0) return false;
    out.commit(static_cast<std::size_t>(written));
    return true;
}

}  // namespace ilvex::py
