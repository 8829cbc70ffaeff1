#include "byte_buffer.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include <sys/mman.h>

namespace ilvex::py {

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : memory_(other.memory_),
      data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
    if (this != &other) {
        release();
        memory_ = other.memory_;
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

void ByteBuffer::reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    void* grown = nullptr;
    if (memory_ == Memory::Heap) {
        grown = std::realloc(data_, capacity);
    } else if (data_ == nullptr) {
        grown = mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (grown == MAP_FAILED) grown = nullptr;
    } else {
        // Moves the pages rather than copying them.
        grown = mremap(data_, capacity_, capacity, MREMAP_MAYMOVE);
        if (grown == MAP_FAILED) grown = nullptr;
    }
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
    if (data_ != nullptr) {
        if (memory_ == Memory::Heap) {
            std::free(data_);
        } else {
            munmap(data_, capacity_);
        }
    }
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
}

}  // namespace ilvex::py
