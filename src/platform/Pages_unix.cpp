#include "platform/Pages.h"

#include <cstdint>
#include <new>

#include <sys/mman.h>

namespace platform {

// Plain anonymous mappings. No transparent huge pages are asked for: with the kernel's
// defragmentation on demand, faulting them in stalls on compaction once memory fills up
// (adding the eighth genre took four times as long as the first). The pages are made
// present at once (MAP_POPULATE): the arena fills its chunks right away, and one call that
// maps them all costs far less than a fault on every page as it is first written.
char* allocatePages(std::size_t size)
{
    void* area = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (area == MAP_FAILED)
        throw std::bad_alloc();
    return static_cast<char*>(area);
}

char* allocateBulkPages(std::size_t size)
{
    // Aligned to a huge page within a mapping of a huge page more, the ends given back.
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    if (size < kHugePage)
        return allocatePages(size);
    void* area = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED)
        throw std::bad_alloc();
    char* const start = static_cast<char*>(area);
    char* const aligned = reinterpret_cast<char*>((reinterpret_cast<std::uintptr_t>(start) + kHugePage - 1) & ~(kHugePage - 1));
    if (aligned > start)
        munmap(start, std::size_t(aligned - start));
    char* const end = aligned + size;
    if (start + size + kHugePage > end)
        munmap(end, std::size_t(start + size + kHugePage - end));
    // Only a request: a system without huge pages to spare gives small ones.
    madvise(aligned, size, MADV_HUGEPAGE);
    return aligned;
}

void releasePages(char* base, std::size_t size)
{
    munmap(base, size);
}

} // namespace platform
