// Advice to the system about the pages that hold a buffer: made present
// ahead of the writing, given back once no longer read, or backed by large
// pages. Each is one system call for a range; where the system cannot take
// the advice, the buffer works as before (its pages fault in as written).
#pragma once

#include <cstddef>
#include <utility>

namespace ilvex {

// The size of a large page on the systems this runs on (x86-64, aarch64
// with 4 KiB pages).
inline constexpr std::size_t large_page_size = 2 * 1024 * 1024;

// Makes present the pages that hold bytes [from, to) of the buffer at `data`.
void make_pages_present(const void* data, std::size_t from, std::size_t to);

// Gives back the whole pages within bytes [from, to) of the buffer at
// `data`, which read as zeros afterwards; returns the offset where the
// pages given back end, or `from` when there is none.
std::size_t release_whole_pages(void* data, std::size_t from, std::size_t to);

// Asks for large pages for the whole ones within bytes [from, to) of the
// buffer at `data`; returns the offsets of the range advised, empty when
// it holds no whole large page.
std::pair<std::size_t, std::size_t> advise_large_pages(void* data, std::size_t from, std::size_t to);

}  // namespace ilvex
