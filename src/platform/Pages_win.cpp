#include "platform/Pages.h"

#include <new>

#include <windows.h>

namespace platform {

char* allocatePages(std::size_t size)
{
    void* area = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!area)
        throw std::bad_alloc();
    return static_cast<char*>(area);
}

char* reservePages(std::size_t size)
{
    // Committed pages are made present when first touched anyway.
    return allocatePages(size);
}

void releasePages(char* base, std::size_t /*size: the whole reservation goes*/)
{
    VirtualFree(base, 0, MEM_RELEASE);
}

void trimPages(char* base, std::size_t size, std::size_t keep)
{
    // The reservation stays whole (only all of it can be released); its pages beyond `keep`
    // are given back to the system.
    if (keep < size)
        VirtualFree(base + keep, size - keep, MEM_DECOMMIT);
}

} // namespace platform
