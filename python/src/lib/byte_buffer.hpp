// Growable bytes for the texts a call holds only for its own duration: the
// UTF-8 of a caller's `str`, the pieces of a result being written.
#pragma once

#include <cstddef>
#include <string_view>

namespace ilvex::py {

// Bytes that grow at the end, in memory from the allocator, which keeps a
// buffer of the same size for the next call. Reserved room that is never
// written costs no memory once it is large. Unlike a std::string it never
// writes its room (no fill, no terminator), and release() frees it at once.
// An allocation failure throws std::bad_alloc.
class ByteBuffer {
public:
    ByteBuffer() = default;
    ~ByteBuffer() { release(); }
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    char* data() { return data_; }
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::size_t room() const { return capacity_ - size_; }
    std::string_view view() const { return {data_, size_}; }

    // Makes room for at least `capacity` bytes in all, keeping the content.
    void reserve(std::size_t capacity);

    // Room for `count` more bytes at the end, to be written there and then
    // counted in with commit().
    char* end_with_room(std::size_t count);
    void commit(std::size_t count) { size_ += count; }

    void append(std::string_view bytes);
    void truncate(std::size_t size) { size_ = size < size_ ? size : size_; }

    // Makes the pages of the room up to `end` bytes in present, a step at a
    // time: one call for many pages costs less than faulting each in as it
    // is first written. Where the system cannot, the writing faults them in.
    void populate(std::size_t end);

    // Gives the memory of the whole pages among the first `bytes` back to
    // the system, once they make a good step more than was given back
    // before: for a text read front to back whose reader is done with those
    // bytes, which would read as zeros from then on.
    void discard_front(std::size_t bytes);

    // Frees the memory; the buffer is then empty.
    void release();

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    std::size_t populated_ = 0;  // where the pages made present end, from data_
    std::size_t discarded_ = 0;  // where the pages given back end, from data_
};

}  // namespace ilvex::py
