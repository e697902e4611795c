#pragma once

// Memory straight from the system, whole pages at a time, given back at once when released
// (the string grid's arena cuts its blocks from these).

#include <cstddef>

namespace platform {

inline constexpr std::size_t kPageSize = 4096;

// `size` bytes (a multiple of kPageSize), zeroed, page-aligned. Throws std::bad_alloc.
char* allocatePages(std::size_t size);
// Gives back pages from allocatePages() or allocateBulkPages() with the same size.
void releasePages(char* base, std::size_t size);

// `size` bytes (a multiple of kPageSize) for a large buffer that is filled at once and then
// kept, such as a genre's records: made present in one call, since a fault on every fresh
// page as it is first written costs far more than the copy itself (in a virtual machine
// above all). Not zeroed where the system does not zero it anyway. Throws std::bad_alloc.
char* allocateBulkPages(std::size_t size);

} // namespace platform
