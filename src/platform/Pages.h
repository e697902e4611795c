#pragma once

// Memory straight from the system, whole pages at a time, given back at once when released
// (the string grid's arena cuts its blocks from these).

#include <cstddef>

namespace platform {

inline constexpr std::size_t kPageSize = 4096;

// `size` bytes (a multiple of kPageSize), zeroed, page-aligned. Throws std::bad_alloc.
char* allocatePages(std::size_t size);
// The same, but each page made present only when it is first touched: for pages touched on
// another thread (making them present in one call would hold the process's mappings locked
// all the while, and every other thread's mapping or unmapping would wait for it).
char* reservePages(std::size_t size);
// Gives back pages from allocatePages(), reservePages() or allocateBulkPages() with the same size.
void releasePages(char* base, std::size_t size);

// `size` bytes (a multiple of kPageSize) for a large buffer that is filled at once and then
// kept, such as a genre's records: made present before it is written, since a fault on every
// fresh page as it is first written costs far more than the copy itself (in a virtual machine
// above all). Taken from pages made ready on another thread when they are large enough (see
// BulkPages.cpp); the next ones are then made ready. Not zeroed where the system does not
// zero it anyway. Throws std::bad_alloc.
char* allocateBulkPages(std::size_t size);
// Bulk allocations of up to `size` bytes are coming (a bank was opened): pages of that size
// are made ready on another thread, and kept ready after each allocation. 0: none are
// coming, and pages made ready are given back.
void prepareBulkPages(std::size_t size);

// Of pages from allocatePages() or reservePages() with `size` bytes, gives back all beyond the first `keep`
// (both multiples of kPageSize); releasePages() then takes the `keep` bytes.
void trimPages(char* base, std::size_t size, std::size_t keep);

} // namespace platform
