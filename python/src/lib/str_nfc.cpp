#include "str_nfc.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "dialektos/unicode.hpp"
#include "str_utf8.hpp"

namespace ilvex::py {
namespace {

// Four units at a time, read as one word: a lane masked to its top five
// bits and compared with D800 by exclusive or is zero at a surrogate.
bool has_surrogate(std::u16string_view text) {
    std::size_t i = 0;
    for (; i + 4 <= text.size(); i += 4) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        const std::uint64_t x = (word & 0xF800F800F800F800ull) ^ 0xD800D800D800D800ull;
        if (((x - 0x0001000100010001ull) & ~x & 0x8000800080008000ull) != 0) return true;
    }
    for (; i < text.size(); ++i) {
        if ((text[i] & 0xF800) == 0xD800) return true;
    }
    return false;
}

// Brings the bytes of `text` from `from` on into NFC, in place.
void normalize_tail(ByteBuffer& text, std::size_t from) {
    const std::string_view tail = text.view().substr(from);
    if (unicode::is_nfc(tail)) return;
    const std::string normalized = unicode::nfc(tail);
    text.truncate(from);
    text.append(normalized);
}

}  // namespace

bool NfcEncoder::append(PyObject* object, Py_ssize_t start, Py_ssize_t end, ByteBuffer& out) {
    if (PyUnicode_KIND(object) == PyUnicode_2BYTE_KIND) return append_ucs2(object, start, end, out);
    const std::size_t piece_start = out.size();
    if (!append_utf8(object, start, end, out)) return false;
    normalize_tail(out, piece_start);
    return true;
}

// A str of characters below U+10000 is UTF-16 already (unless it holds
// surrogates), the form the normalizer reads fastest: the prefix that is
// surely in NFC is encoded as it stands, the rest (from a point where it
// can be normalized on its own) normalized and then encoded.
bool NfcEncoder::append_ucs2(PyObject* object, Py_ssize_t start, Py_ssize_t end, ByteBuffer& out) {
    const std::u16string_view text(reinterpret_cast<const char16_t*>(PyUnicode_2BYTE_DATA(object)) + start,
                                   static_cast<std::size_t>(end - start));
    const std::size_t prefix = unicode::nfc_prefix(text);
    if (!append_utf8(object, start, start + static_cast<Py_ssize_t>(prefix), out)) return false;
    if (prefix == text.size()) return true;
    // A surrogate of the str is refused even where it pairs with another:
    // the str's characters have no UTF-8 then, while the normalizer would
    // read the pair as one character.
    const std::u16string_view rest = text.substr(prefix);
    if (has_surrogate(rest)) return false;
    return append_utf8(normalized(rest), out);
}

// The NFC of `text`, valid until the next call. Normalizing lengthens few
// texts, and little: room for half as much again is rarely outgrown, and
// when it is, the normalizer tells the length needed.
std::u16string_view NfcEncoder::normalized(std::u16string_view text) {
    reserve_scratch(text.size() + text.size() / 2 + 16);
    std::size_t length = unicode::nfc(text, scratch_.get(), scratch_room_);
    if (length > scratch_room_) {
        reserve_scratch(length);
        length = unicode::nfc(text, scratch_.get(), scratch_room_);
    }
    return {scratch_.get(), length};
}

void NfcEncoder::reserve_scratch(std::size_t room) {
    if (room <= scratch_room_) return;
    scratch_.reset(new char16_t[room]);
    scratch_room_ = room;
}

}  // namespace ilvex::py
