#include "platform/Pages.h"

#include <new>

#include <sys/mman.h>

namespace platform {

// Plain anonymous mappings. No transparent huge pages are asked for: with the kernel's
// defragmentation on demand, faulting them in stalls on compaction once memory fills up
// (adding the eighth genre took four times as long as the first).
char* allocatePages(std::size_t size)
{
    void* area = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED)
        throw std::bad_alloc();
    return static_cast<char*>(area);
}

void releasePages(char* base, std::size_t size)
{
    munmap(base, size);
}

} // namespace platform
