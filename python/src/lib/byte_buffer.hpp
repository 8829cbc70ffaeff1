// Growable bytes for the large texts a call holds only for its own duration:
// the UTF-8 of a caller's `str`, the pieces of a result being written.
#pragma once

#include <cstddef>
#include <string_view>

namespace ilvex::py {

// Bytes that grow at the end. Their memory comes either from the allocator
// (Heap: reused call after call, cheap for small and medium sizes) or
// straight from the system (Mapped: given back to it the moment the buffer
// is released, whatever the allocator would have kept). Reserved room that is
// never written costs no memory in either mode once it is large. An
// allocation failure throws std::bad_alloc.
class ByteBuffer {
public:
    enum class Memory { Heap, Mapped };

    explicit ByteBuffer(Memory memory = Memory::Heap) : memory_(memory) {}
    ~ByteBuffer() { release(); }
    ByteBuffer(ByteBuffer&& other) noexcept;
    ByteBuffer& operator=(ByteBuffer&& other) noexcept;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    char* data() { return data_; }
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
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

    // Frees the memory; the buffer is then empty.
    void release();

private:
    Memory memory_;
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace ilvex::py
