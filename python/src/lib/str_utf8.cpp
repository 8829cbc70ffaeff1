#include "str_utf8.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ilvex::py {
namespace {

// The UTF-8 of every character below U+10000, for encoding sixteen-bit
// text by lookup rather than by branches, which text mixing another script
// with ASCII spaces and punctuation mispredicts at every change: the bytes
// in the low three bytes of an entry (the first lowest), their number in the
// top one. A surrogate, which has no UTF-8, has the number 0. Only the
// pages of the table that a text's characters fall in are ever read.
constexpr std::uint32_t utf8_entry(std::uint32_t c) {
    if (c < 0x80) return c | 1u << 24;
    if (c < 0x800) return (0xC0 | c >> 6) | (0x80 | (c & 0x3F)) << 8 | 2u << 24;
    if ((c & 0xF800) == 0xD800) return 0;
    return (0xE0 | c >> 12) | (0x80 | (c >> 6 & 0x3F)) << 8 | (0x80 | (c & 0x3F)) << 16 | 3u << 24;
}

constexpr std::array<std::uint32_t, 0x10000> make_utf8_table() {
    std::array<std::uint32_t, 0x10000> table{};
    for (std::uint32_t c = 0; c < table.size(); ++c) table[c] = utf8_entry(c);
    return table;
}

constexpr std::array<std::uint32_t, 0x10000> utf8_table = make_utf8_table();

// Bytes that encode_bmp may write beyond the encoding: an entry is stored
// whole, four bytes, at the end of the text.
constexpr std::size_t overwritten = 1;

// Writes `entry` of utf8_table at `out`; the number of its bytes, 0 for a
// surrogate. `lone` gains the top bit at a surrogate.
std::size_t put_entry(std::uint32_t entry, char* out, std::uint32_t& lone) {
    const unsigned char bytes[4] = {static_cast<unsigned char>(entry), static_cast<unsigned char>(entry >> 8),
                                    static_cast<unsigned char>(entry >> 16), 0};
    std::memcpy(out, bytes, 4);
    lone |= entry - (1u << 24);
    return entry >> 24;
}

// Encodes `count` sixteen-bit characters at `chars` to `out`, which has
// room for three bytes a character and `overwritten` more; the number of
// bytes written, or -1 when one of them is a surrogate.
template <class Char>
std::ptrdiff_t encode_bmp(const Char* chars, std::size_t count, char* out) {
    static_assert(sizeof(Char) == 2);
    char* const begin = out;
    std::uint32_t lone = 0;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        // Runs of ASCII four characters at a time, read as one word.
        std::uint64_t word;
        std::memcpy(&word, chars + i, 8);
        if ((word & 0xFF80FF80FF80FF80ull) == 0) {
            for (std::size_t k = 0; k < 4; ++k) out[k] = static_cast<char>(chars[i + k]);
            out += 4;
            continue;
        }
        for (std::size_t k = 0; k < 4; ++k) out += put_entry(utf8_table[chars[i + k]], out, lone);
    }
    for (; i < count; ++i) out += put_entry(utf8_table[chars[i]], out, lone);
    if ((lone & 0x80000000u) != 0) return -1;
    return out - begin;
}

// Bits that are set in one of eight Latin-1 characters, or four UCS-2
// characters, loaded as one word, when any of them is not ASCII.
constexpr std::uint64_t non_ascii_mask(std::size_t char_size) {
    return char_size == 1 ? 0x8080808080808080ull : 0xFF80FF80FF80FF80ull;
}

// Encodes `count` characters at `chars` to `out`, which has room for the
// longest encoding. With `Pairs` they are UTF-16 units, where a surrogate
// pair is one character; otherwise every surrogate is a lone one. The
// number of bytes written, or -1 at a lone surrogate.
template <class Char, bool Pairs = false>
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
        std::uint32_t c = chars[i++];
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (!Pairs || c >= 0xDC00 || i == count || (chars[i] & 0xFC00) != 0xDC00) return -1;
            c = 0x10000 + ((c - 0xD800) << 10) + (chars[i++] - 0xDC00u);
        }
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *out++ = static_cast<char>(0xC0 | (c >> 6));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
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

// The length of the run of ASCII bytes that `text` (up to `end`) starts with.
std::size_t ascii_run(const unsigned char* text, const unsigned char* end) {
    const unsigned char* at = text;
    // In text of another script most runs are empty, or a space.
    if (at == end || *at >= 0x80) return 0;
    if (end - at < 2 || at[1] >= 0x80) return 1;
#ifdef __SSE2__
    // Results are megabytes of mostly ASCII: 64 bytes a step, their top
    // bits gathered at once.
    const auto load = [&](std::size_t k) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * k)); };
    while (end - at >= 64) {
        const __m128i any = _mm_or_si128(_mm_or_si128(load(0), load(1)), _mm_or_si128(load(2), load(3)));
        if (_mm_movemask_epi8(any) != 0) break;
        at += 64;
    }
#endif
    std::uint64_t words[4];
    while (end - at >= 32) {
        std::memcpy(words, at, 32);
        if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080ull) != 0) break;
        at += 32;
    }
    while (at < end && *at < 0x80) ++at;
    return static_cast<std::size_t>(at - text);
}

bool continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The character of the well-formed UTF-8 sequence at `in`, whose lead byte
// is beyond ASCII and which has `left` bytes to the end of its text, and its
// length; a length of 0 when the sequence is ill-formed (cut short, overlong,
// a surrogate or beyond U+10FFFF).
struct Sequence {
    std::uint32_t c = 0;
    std::size_t length = 0;
};

Sequence read_sequence(const unsigned char* in, std::ptrdiff_t left) {
    const unsigned char lead = *in;
    if (lead >= 0xC2 && lead < 0xE0 && left >= 2 && continuation(in[1])) {
        return {(lead & 0x1Fu) << 6 | (in[1] & 0x3Fu), 2};
    }
    if (lead >= 0xE0 && lead < 0xF0 && left >= 3 && continuation(in[1]) && continuation(in[2])) {
        const std::uint32_t c = (lead & 0x0Fu) << 12 | (in[1] & 0x3Fu) << 6 | (in[2] & 0x3Fu);
        if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF)) return {};
        return {c, 3};
    }
    if (lead >= 0xF0 && lead < 0xF5 && left >= 4 && continuation(in[1]) && continuation(in[2]) &&
        continuation(in[3])) {
        const std::uint32_t c = (lead & 0x07u) << 18 | (in[1] & 0x3Fu) << 12 | (in[2] & 0x3Fu) << 6 | (in[3] & 0x3Fu);
        if (c < 0x10000 || c > 0x10FFFF) return {};
        return {c, 4};
    }
    return {};
}

// The maximum character of the PyUnicode width that holds `widest`.
Py_UCS4 width_of(std::uint32_t widest) {
    return widest < 0x80 ? 0x7F : widest < 0x100 ? 0xFF : widest < 0x10000 ? 0xFFFF : 0x10FFFF;
}

template <class Char>
void copy_ascii(const unsigned char* in, std::size_t count, Char* out) {
    if constexpr (sizeof(Char) == 1) {
        std::memcpy(out, in, count);
    } else {
        for (std::size_t k = 0; k < count; ++k) out[k] = in[k];
    }
}

template <class Char>
void decode(std::string_view text, Char* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* const end = in + text.size();
    while (in < end) {
        const std::size_t run = ascii_run(in, end);
        copy_ascii(in, run, out);
        in += run;
        out += run;
        if (in == end) break;
        const unsigned char lead = *in;
        std::uint32_t c;
        if (lead < 0x80) {
            c = lead;
            in += 1;
        } else if (lead < 0xE0) {
            c = (lead & 0x1Fu) << 6 | (in[1] & 0x3Fu);
            in += 2;
        } else if (lead < 0xF0) {
            c = (lead & 0x0Fu) << 12 | (in[1] & 0x3Fu) << 6 | (in[2] & 0x3Fu);
            in += 3;
        } else {
            c = (lead & 0x07u) << 18 | (in[1] & 0x3Fu) << 12 | (in[2] & 0x3Fu) << 6 | (in[3] & 0x3Fu);
            in += 4;
        }
        *out++ = static_cast<Char>(c);
    }
}

// decode_utf8_checked at one width.
template <class Char>
Utf8Decoded decode_checked(std::string_view text, Py_UCS4 held, Char* out, std::size_t room) {
    const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* in = begin;
    const unsigned char* const end = in + text.size();
    std::size_t written = 0;
    std::uint32_t widest = 0;
    while (in < end && written < room) {
        const std::size_t run = std::min(ascii_run(in, end), room - written);
        copy_ascii(in, run, out + written);
        in += run;
        written += run;
        if (in == end || written == room) break;
        const Sequence sequence = read_sequence(in, end - in);
        if (sequence.length == 0 || sequence.c > held) break;
        out[written++] = static_cast<Char>(sequence.c);
        in += sequence.length;
        widest = std::max(widest, sequence.c);
    }
    return {static_cast<std::size_t>(in - begin), {written, width_of(widest)}};
}

}  // namespace

std::optional<Utf8Extent> measure_utf8(std::string_view text) {
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* const end = in + text.size();
    Utf8Extent extent;
    std::uint32_t widest = 0;
    while (in < end) {
        const std::size_t run = ascii_run(in, end);
        in += run;
        extent.characters += run;
        if (in == end) break;
        const Sequence sequence = read_sequence(in, end - in);
        if (sequence.length == 0) return std::nullopt;
        in += sequence.length;
        widest = std::max(widest, sequence.c);
        ++extent.characters;
    }
    extent.max_char = width_of(widest);
    return extent;
}

void decode_utf8(std::string_view text, int kind, void* out) {
    switch (kind) {
        case PyUnicode_1BYTE_KIND:
            decode(text, static_cast<Py_UCS1*>(out));
            break;
        case PyUnicode_2BYTE_KIND:
            decode(text, static_cast<Py_UCS2*>(out));
            break;
        default:
            decode(text, static_cast<Py_UCS4*>(out));
            break;
    }
}

Utf8Decoded decode_utf8_checked(std::string_view text, Py_UCS4 max_char, void* out, std::size_t room) {
    if (max_char <= 0xFF) return decode_checked(text, max_char, static_cast<Py_UCS1*>(out), room);
    if (max_char <= 0xFFFF) return decode_checked(text, max_char, static_cast<Py_UCS2*>(out), room);
    return decode_checked(text, max_char, static_cast<Py_UCS4*>(out), room);
}

std::size_t utf8_room(PyObject* object, std::size_t count) {
    switch (PyUnicode_KIND(object)) {
        case PyUnicode_1BYTE_KIND:
            return count * (PyUnicode_IS_ASCII(object) ? 1 : 2) + overwritten;
        case PyUnicode_2BYTE_KIND:
            return count * 3 + overwritten;
        default:
            return count * 4 + overwritten;
    }
}

bool append_utf8(PyObject* object, Py_ssize_t start, Py_ssize_t end, ByteBuffer& out) {
    const auto count = static_cast<std::size_t>(end - start);
    char* target = out.end_with_room(utf8_room(object, count));
    const void* data = PyUnicode_DATA(object);
    std::ptrdiff_t written = -1;
    switch (PyUnicode_KIND(object)) {
        case PyUnicode_1BYTE_KIND:
            written = encode(static_cast<const Py_UCS1*>(data) + start, count, target);
            break;
        case PyUnicode_2BYTE_KIND:
            written = encode_bmp(static_cast<const Py_UCS2*>(data) + start, count, target);
            break;
        default:
            written = encode(static_cast<const Py_UCS4*>(data) + start, count, target);
            break;
    }
    if (written < 0) return false;
    out.commit(static_cast<std::size_t>(written));
    return true;
}

bool append_utf8(std::u16string_view text, ByteBuffer& out) {
    char* target = out.end_with_room(3 * text.size() + overwritten);
    std::ptrdiff_t written = encode_bmp(text.data(), text.size(), target);
    // Surrogates here are rare (pairs of supplementary characters): the
    // text is then encoded again, pair by pair.
    if (written < 0) written = encode<char16_t, true>(text.data(), text.size(), target);
    if (written < 0) return false;
    out.commit(static_cast<std::size_t>(written));
    return true;
}

}  // namespace ilvex::py
