#include "platform/Pages.h"

#include <new>

#include <sys/mman.h>

namespace platform {

namespace {

char* mapPages(std::size_t size, int flags)
{
    void* area = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | flags, -1, 0);
    if (area == MAP_FAILED)
        throw std::bad_alloc();
    return static_cast<char*>(area);
}

} // namespace

// Plain anonymous mappings. No transparent huge pages are asked for: with the kernel's
// defragmentation on demand, faulting them in stalls on compaction once memory fills up
// (adding the eighth genre took four times as long as the first), and whether a process
// gets them at all varies (a genre's add took 7 ms in most processes and 35-40 ms in one of
// four; with small pages made present at once it takes 15-20 ms in every one). The pages are made
// present at once (MAP_POPULATE): the arena fills its chunks right away, and one call that
// maps them all costs far less than a fault on every page as it is first written.
char* allocatePages(std::size_t size)
{
    return mapPages(size, MAP_POPULATE);
}

char* reservePages(std::size_t size)
{
    return mapPages(size, 0);
}

void releasePages(char* base, std::size_t size)
{
    munmap(base, size);
}

void trimPages(char* base, std::size_t size, std::size_t keep)
{
    if (keep < size)
        munmap(base + keep, size - keep);
}

} // namespace platform
