#pragma once

// Memory straight from the system, whole pages at a time, given back at once when released
// (the string grid's arena cuts its blocks from these).

#include <cstddef>

namespace platform {

inline constexpr std::size_t kPageSize = 4096;

// `size` bytes (a multiple of kPageSize), zeroed, page-aligned. Throws std::bad_alloc.
char* allocatePages(std::size_t size);
// Gives back pages from allocatePages() with the same size.
void releasePages(char* base, std::size_t size);

} // namespace platform
