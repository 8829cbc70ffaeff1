#include "str_builder.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <sys/mman.h>

namespace ilvex::py {
namespace {

// The size of each chunk after the first: large enough that starting one is
// rare, small enough that the last one's unused room is a small part of a
// large result.
constexpr std::size_t chunk_bytes = 1 << 20;

// A buffer of many megabytes is filled once, front to back, and usually
// freed soon after: faulting it in page by page costs more than writing it.
// Large pages for the part that holds whole ones make that a few faults.
void advise_large_pages(void* data, std::size_t size) {
    constexpr std::uintptr_t large_page = 2 * 1024 * 1024;
    if (size < 4 * large_page) return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + large_page - 1) & ~(large_page - 1);
    const std::uintptr_t end = (start + size) & ~(large_page - 1);
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

// The character count of UTF-8 `text` and its largest byte, which tells the
// widest character: below 0x80 ASCII, up to 0xC3 Latin-1, up to 0xEF the
// basic plane, above it the rest.
struct Utf8Extent {
    std::size_t characters = 0;
    unsigned char largest_byte = 0;

    void add(std::string_view text) {
        unsigned char largest = largest_byte;
        std::size_t continuation = 0;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            largest = std::max(largest, byte);
            continuation += (byte & 0xC0) == 0x80;
        }
        largest_byte = largest;
        characters += text.size() - continuation;
    }

    Py_UCS4 max_char() const {
        if (largest_byte < 0x80) return 0x7F;
        if (largest_byte <= 0xC3) return 0xFF;
        if (largest_byte <= 0xEF) return 0xFFFF;
        return 0x10FFFF;
    }
};

// The length of the longest prefix of `piece` that fits `room` bytes and
// ends on a character boundary.
std::size_t fitting_prefix(std::string_view piece, std::size_t room) {
    if (piece.size() <= room) return piece.size();
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(piece[cut]) & 0xC0) == 0x80) --cut;
    return cut;
}

}  // namespace

// A written text is about as long as its source, longer where sims are
// written by name or markup is added: the first buffer is reserved for
// twice the source, up to a chunk. It comes from the allocator, which keeps
// it for the next call of that size.
StrBuilder::StrBuilder(std::size_t source_size) {
    chunks_.emplace_back(ByteBuffer::Memory::Heap);
    chunks_.back().reserve(std::min(2 * source_size + 4096, chunk_bytes));
}

// Later chunks come straight from the system, so that each one's memory is
// gone the moment it has been decoded, whatever the allocator would keep.
void StrBuilder::start_chunk() {
    chunks_.emplace_back(ByteBuffer::Memory::Mapped);
    chunks_.back().reserve(chunk_bytes);
}

void StrBuilder::append(std::string_view piece) {
    while (!piece.empty()) {
        ByteBuffer& chunk = chunks_.back();
        const std::size_t fits = fitting_prefix(piece, chunk.room());
        if (fits == 0 && chunk.size() == 0) {
            // Only bytes that are not UTF-8 have no character boundary in
            // reach of a whole chunk: they are kept whole, for the decoding
            // to refuse.
            chunk.append(piece);
            return;
        }
        chunk.append(piece.substr(0, fits));
        piece.remove_prefix(fits);
        if (!piece.empty()) start_chunk();
    }
}

PyObject* StrBuilder::finish() && {
    if (chunks_.size() == 1) {
        const ByteBuffer& text = chunks_.front();
        return PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "strict");
    }
    return join_chunks();
}

PyObject* StrBuilder::join_chunks() {
    Utf8Extent extent;
    for (const ByteBuffer& chunk : chunks_) extent.add(chunk.view());
    PyObject* joined = PyUnicode_New(static_cast<Py_ssize_t>(extent.characters), extent.max_char());
    if (joined == nullptr) return nullptr;
    advise_large_pages(PyUnicode_DATA(joined), extent.characters * PyUnicode_KIND(joined));
    Py_ssize_t at = 0;
    for (ByteBuffer& chunk : chunks_) {
        if (extent.max_char() == 0x7F) {
            std::memcpy(PyUnicode_1BYTE_DATA(joined) + at, chunk.data(), chunk.size());
            at += static_cast<Py_ssize_t>(chunk.size());
        } else {
            PyObject* part = PyUnicode_DecodeUTF8(chunk.data(), static_cast<Py_ssize_t>(chunk.size()), "strict");
            const Py_ssize_t length = part == nullptr ? 0 : PyUnicode_GET_LENGTH(part);
            const bool copied = part != nullptr && PyUnicode_CopyCharacters(joined, at, part, 0, length) == length;
            Py_XDECREF(part);
            if (!copied) {
                Py_DECREF(joined);
                return nullptr;
            }
            at += length;
        }
        chunk.release();
    }
    return joined;
}

}  // namespace ilvex::py
