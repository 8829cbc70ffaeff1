#include "byte_buffer.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace ilvex::py {

void ByteBuffer::reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    void* grown = std::realloc(data_, capacity);
    if (grown == nullptr) throw std::bad_alloc();
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
}

}  // namespace ilvex::py
