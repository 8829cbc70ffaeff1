// A queue of slots in fixed chunks, pushed at the back and dropped from the
// front, whose elements keep their address while it grows. Chunks emptied
// from the front are kept, a few at most, and filled again: an import that
// reads and lets go of tokens block after block reuses the same storage
// (and the strings its slots already hold) instead of freeing it and
// allocating it again for every block.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <utility>  // std::move
#include <vector>

namespace ilvex {

template <typename T>
class TeiSlotQueue {
public:
    std::size_t size() const { return size_; }

    T& operator[](std::size_t i) {
        const std::size_t at = head_ + i;
        return (*chunks_[at / chunk_size])[at % chunk_size];
    }

    T& back() { return (*this)[size_ - 1]; }

    // Adds a slot at the back and returns it for the caller to overwrite: a
    // slot of a reused chunk still holds its old value, so its buffers are
    // given back only as new ones come (or reused, where an assignment
    // can).
    T& push_back() {
        if (head_ + size_ == chunks_.size() * chunk_size) chunks_.push_back(take_chunk());
        ++size_;
        return back();
    }

    // Lets go of the first `count` elements; they stay in their slots until
    // overwritten.
    void drop_front(std::size_t count) {
        head_ += count;
        size_ -= count;
        const std::size_t emptied = size_ == 0 ? chunks_.size() : head_ / chunk_size;
        for (std::size_t k = 0; k < emptied; ++k) {
            if (spares_.size() < max_spares) spares_.push_back(std::move(chunks_[k]));
        }
        chunks_.erase(chunks_.begin(), chunks_.begin() + static_cast<std::ptrdiff_t>(emptied));
        head_ = size_ == 0 ? 0 : head_ % chunk_size;
    }

private:
    static constexpr std::size_t chunk_size = 256;
    static constexpr std::size_t max_spares = 4;
    using Chunk = std::array<T, chunk_size>;

    std::unique_ptr<Chunk> take_chunk() {
        if (spares_.empty()) return std::make_unique<Chunk>();
        std::unique_ptr<Chunk> chunk = std::move(spares_.back());
        spares_.pop_back();
        return chunk;
    }

    std::vector<std::unique_ptr<Chunk>> chunks_;  // in order; the first holds the front at head_
    std::vector<std::unique_ptr<Chunk>> spares_;
    std::size_t head_ = 0;
    std::size_t size_ = 0;
};

}  // namespace ilvex
