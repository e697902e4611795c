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

char* allocateBulkPages(std::size_t size)
{
    // Large pages need a privilege users do not have.
    return allocatePages(size);
}

void releasePages(char* base, std::size_t /*size: the whole reservation goes*/)
{
    VirtualFree(base, 0, MEM_RELEASE);
}

} // namespace platform
