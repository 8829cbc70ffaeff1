// A set of bytes with a scan for the first member in a text.
//
// `std::string_view::find_first_of` searches its set once for every byte of
// the text; the parser and the writer scan megabytes of plain text for a
// handful of markup bytes, so they compare sixteen bytes at a time with each
// member instead (SSE2, which every x86-64 processor has), gather the 4 to
// 15 bytes of a short text into one block, and test the bytes of a shorter
// one against a bit table.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ilvex {

#ifdef __SSE2__
// Finds the first byte from `i` that `hits` marks: whole blocks of 16 bytes,
// then the last 16 bytes of the text for what is left (a block that
// overlaps the ones already searched), so a text of at least one block is
// never read byte by byte. `hits(block)` gives one bit for each marked byte
// of a block of 16. The text must hold at least 16 bytes.
template <class Hits>
[[gnu::always_inline]] inline std::size_t find_by_blocks(std::string_view text, std::size_t i, const Hits& hits) {
    const auto load = [&](std::size_t at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
    };
    for (; i + 16 <= text.size(); i += 16) {
        if (const unsigned found = hits(load(i))) return i + static_cast<std::size_t>(std::countr_zero(found));
    }
    if (i >= text.size()) return text.size();
    const std::size_t last = text.size() - 16;
    const unsigned found = hits(load(last)) >> (i - last);
    return found != 0 ? i + static_cast<std::size_t>(std::countr_zero(found)) : text.size();
}

// find_by_blocks for the 4 to 15 bytes from `i` to the end of a shorter
// text, which a block would overrun: the bytes go into one block as two
// halves of 8 (or 4) bytes, the first from `i` and the second ending at
// the text's end, overlapping where fewer than 16 (or 8) remain. Short texts
// between markup are many, and this is cheaper than a byte at a time.
template <class Hits>
[[gnu::always_inline]] inline std::size_t find_in_short(std::string_view text, std::size_t i, const Hits& hits) {
    const char* at = text.data() + i;
    const std::size_t left = text.size() - i;
    const bool wide = left >= 8;
    const std::size_t half = wide ? 8 : 4;
    __m128i block;
    if (wide) {
        std::uint64_t first, second;
        std::memcpy(&first, at, 8);
        std::memcpy(&second, at + left - 8, 8);
        block = _mm_set_epi64x(static_cast<long long>(second), static_cast<long long>(first));
    } else {
        std::uint32_t first, second;
        std::memcpy(&first, at, 4);
        std::memcpy(&second, at + left - 4, 4);
        block = _mm_set_epi32(0, 0, static_cast<int>(second), static_cast<int>(first));
    }
    const unsigned found = hits(block);
    const unsigned in_first = found & ((1u << half) - 1);
    if (in_first != 0) return i + static_cast<std::size_t>(std::countr_zero(in_first));
    const unsigned in_second = (found >> half) & ((1u << half) - 1);
    if (in_second != 0) return i + left - half + static_cast<std::size_t>(std::countr_zero(in_second));
    return text.size();
}

// Whether find_in_short can take the text from `i`.
inline bool fits_short_scan(std::string_view text, std::size_t i) {
    return i < text.size() && text.size() - i >= 4;
}
#endif

class ByteSet {
public:
    constexpr ByteSet() = default;
    constexpr explicit ByteSet(std::string_view bytes) {
        for (const char b : bytes) add(b);
    }

    constexpr void add(char b) {
        if (contains(b)) return;
        const auto byte = static_cast<unsigned char>(b);
        words_[byte >> 6] |= std::uint64_t{1} << (byte & 63);
        if (count_ < members_.size()) members_[count_] = b;
        ++count_;
    }
    constexpr bool contains(char b) const {
        const auto byte = static_cast<unsigned char>(b);
        return (words_[byte >> 6] >> (byte & 63)) & 1;
    }

    // The offset of the first member at or after `from`, or `text.size()`.
    std::size_t find_in(std::string_view text, std::size_t from = 0) const {
#ifdef __SSE2__
        if (count_ <= members_.size()) {
            if (text.size() >= 16) return find_by_blocks(text, from);
            if (fits_short_scan(text, from)) return find_in_short(text, from);
        }
#endif
        for (std::size_t i = from; i < text.size(); ++i) {
            if (contains(text[i])) return i;
        }
        return text.size();
    }

    // One bit for each member among the 64 bytes at `at`, the lowest for
    // the first byte: a scan that stops at many places reads each block once.
    std::uint64_t members_in_64(const char* at) const {
        std::uint64_t found = 0;
#ifdef __SSE2__
        if (count_ <= members_.size()) {
            const Needles needles = make_needles();
            for (std::size_t k = 0; k < 4; ++k) {
                const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * k));
                found |= std::uint64_t{hits(block, needles)} << (16 * k);
            }
            return found;
        }
#endif
        for (std::size_t k = 0; k < 64; ++k) found |= std::uint64_t{contains(at[k])} << k;
        return found;
    }

    // How many bytes of `text` are members.
    std::size_t count_in(std::string_view text) const {
        std::size_t count = 0;
        std::size_t i = 0;
#ifdef __SSE2__
        if (count_ <= members_.size()) count = count_blocks(text, i);
#endif
        for (; i < text.size(); ++i) count += contains(text[i]) ? 1 : 0;
        return count;
    }

private:
#ifdef __SSE2__
    struct Needles {
        __m128i bytes[8];  // a plain array: std::array drops the vector attributes
    };

    // Each member repeated over a block.
    Needles make_needles() const {
        Needles needles;
        for (std::size_t k = 0; k < count_; ++k) needles.bytes[k] = _mm_set1_epi8(members_[k]);
        return needles;
    }

    // 0xFF for each member among the 16 bytes of `block`, 0 for the others.
    __m128i block_matches(__m128i block, const __m128i* needles) const {
        __m128i matches = _mm_setzero_si128();
        for (std::size_t k = 0; k < count_; ++k) matches = _mm_or_si128(matches, _mm_cmpeq_epi8(block, needles[k]));
        return matches;
    }


    // Counts the members in the whole blocks from `i`, which it moves past
    // them: each block adds one to a byte counter per member, and the
    // counters are summed before any can reach 256.
    std::size_t count_blocks(std::string_view text, std::size_t& i) const {
        const Needles needles = make_needles();
        std::size_t count = 0;
        while (i + 16 <= text.size()) {
            __m128i counters = _mm_setzero_si128();
            for (int round = 0; round < 255 && i + 16 <= text.size(); ++round, i += 16) {
                const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
                counters = _mm_sub_epi8(counters, block_matches(block, needles.bytes));
            }
            const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
            count += static_cast<std::size_t>(_mm_cvtsi128_si64(sums)) +
                     static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
        }
        return count;
    }

    std::size_t find_by_blocks(std::string_view text, std::size_t i) const {
        const Needles needles = make_needles();
        return ilvex::find_by_blocks(text, i, [&](__m128i block) { return hits(block, needles); });
    }

    std::size_t find_in_short(std::string_view text, std::size_t i) const {
        const Needles needles = make_needles();
        return ilvex::find_in_short(text, i, [&](__m128i block) { return hits(block, needles); });
    }

    unsigned hits(__m128i block, const Needles& needles) const {
        return static_cast<unsigned>(_mm_movemask_epi8(block_matches(block, needles.bytes)));
    }
#endif

    // One bit a byte: small enough to build for every text scanned.
    std::array<std::uint64_t, 4> words_{};
    // The members in the order added, while there are few enough to compare
    // a block with each of them.
    std::array<char, 8> members_{};
    std::size_t count_ = 0;
};

// A scan for the first of four bytes (not necessarily distinct), for a scan
// that stops often on short texts: it sets up in a few instructions and
// compares each block with exactly four bytes, where a ByteSet loops over
// however many members it has.
class FourBytes {
public:
    FourBytes(char a, char b, char c, char d) : members_{a, b, c, d} {
#ifdef __SSE2__
        needles_[0] = repeated(a);
        needles_[1] = repeated(b);
        needles_[2] = repeated(c);
        needles_[3] = repeated(d);
#endif
    }

    // The offset of the first member at or after `from`, or `text.size()`.
    std::size_t find_in(std::string_view text, std::size_t from) const {
#ifdef __SSE2__
        const auto hits = [this](__m128i block) {
            const __m128i matches = _mm_or_si128(
                _mm_or_si128(_mm_cmpeq_epi8(block, needles_[0]), _mm_cmpeq_epi8(block, needles_[1])),
                _mm_or_si128(_mm_cmpeq_epi8(block, needles_[2]), _mm_cmpeq_epi8(block, needles_[3])));
            return static_cast<unsigned>(_mm_movemask_epi8(matches));
        };
        if (text.size() >= 16) return find_by_blocks(text, from, hits);
        if (fits_short_scan(text, from)) return find_in_short(text, from, hits);
#endif
        for (std::size_t i = from; i < text.size(); ++i) {
            const char b = text[i];
            if (b == members_[0] || b == members_[1] || b == members_[2] || b == members_[3]) return i;
        }
        return text.size();
    }

private:
#ifdef __SSE2__
    // `byte` in every byte of a block, spread by a multiplication in a
    // register: g++ makes _mm_set1_epi8 of a byte it has just stored load
    // four bytes over it, which stalls until the store is done.
    static __m128i repeated(char byte) {
        return _mm_set1_epi32(static_cast<int>(static_cast<unsigned char>(byte) * 0x01010101u));
    }
#endif

    std::array<char, 4> members_;
#ifdef __SSE2__
    __m128i needles_[4];
#endif
};

}  // namespace ilvex
