#pragma once

// Memory for the packed rows of a string grid. Blocks are cut from large chunks one after
// the other, so inserting a genre's 65,535 rows costs a handful of chunk mappings instead of
// 65,535 heap allocations and the page faults of their scattered memory. A chunk goes back
// to the system as soon as every block cut from it has been released, so dropping rows
// (emptying the question table) gives its memory back.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace widgets {

class StringGridArena final {
public:
    StringGridArena() = default;
    ~StringGridArena();
    StringGridArena(const StringGridArena&) = delete;
    StringGridArena& operator=(const StringGridArena&) = delete;

    // A block of `size` bytes, aligned to 4 bytes. Throws std::bad_alloc.
    char* allocate(std::size_t size);
    // Gives back a block from allocate().
    void release(char* block);

    // Bytes held from the system, for measurements.
    std::size_t reservedBytes() const;

private:
    struct Chunk {
        char* base = nullptr;
        std::size_t size = 0;
        std::size_t used = 0;
        std::size_t live = 0;  // bytes of blocks not yet released
    };

    std::uint32_t addChunk(std::size_t size);
    void dropChunk(std::uint32_t index);

    std::vector<Chunk> m_chunks;
    std::vector<std::uint32_t> m_unusedIndexes;
    std::uint32_t m_current = kNoChunk;

    static constexpr std::uint32_t kNoChunk = 0xFFFFFFFFu;
};

} // namespace widgets
