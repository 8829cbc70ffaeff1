#include "byte_buffer.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "dialektos/memory_pages.hpp"

namespace ilvex::py {

void ByteBuffer::reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    void* grown = std::realloc(data_, capacity);
    if (grown == nullptr) throw std::bad_alloc();
    if (grown != data_) populated_ = 0;
    data_ = static_cast<char*>(grown);
    capacity_ = capacity;
}

char* ByteBuffer::end_with_room(std::size_t count) {
    if (count > room()) reserve(std::max(size_ + count, capacity_ + capacity_ / 2));
    return data_ + size_;
}

void ByteBuffer::append(std::string_view bytes) {
    if (bytes.empty()) return;
    std::memcpy(end_with_room(bytes.size()), bytes.data(), bytes.size());
    size_ += bytes.size();
}

void ByteBuffer::release() {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
    populated_ = 0;
    discarded_ = 0;
}

// Pages are made present this many bytes at a time: few calls, and little
// present beyond the text when it ends.
constexpr std::size_t populate_step = 256 * 1024;

void ByteBuffer::populate(std::size_t end) {
    // A small buffer's few pages are not worth a call.
    if (capacity_ < populate_step) return;
    end = std::min(end, capacity_);
    if (end <= populated_) return;
    const std::size_t to = std::min(capacity_, std::max(end, populated_ + populate_step));
    make_pages_present(data_, populated_, to);
    populated_ = to;
}

// Pages go back a megabyte or more at a time: one call for each.
constexpr std::size_t discard_step = 1 << 20;

void ByteBuffer::discard_front(std::size_t bytes) {
    bytes = std::min(bytes, size_);
    if (bytes < discarded_ + discard_step) return;
    // Only whole pages of the buffer: the first may hold the allocator's
    // own record of the block.
    discarded_ = release_whole_pages(data_, discarded_, bytes);
}

}  // namespace ilvex::py
