#include "widgets/grid/StringGridArena.h"

#include "platform/Pages.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace widgets {

namespace {

// Every block starts with the index of its chunk and its own size, so release() needs
// nothing but the pointer.
struct BlockHeader {
    std::uint32_t chunk;
    std::uint32_t size;
};
static_assert(sizeof(BlockHeader) == 8);

// Chunks grow from 64 KiB (a genre table's few cells) to 4 MiB (a question table's
// hundreds of thousands of rows).
constexpr std::size_t kFirstChunkSize = std::size_t(64) << 10;
constexpr std::size_t kChunkSize = std::size_t(4) << 20;
constexpr std::size_t kPage = platform::kPageSize;

std::size_t roundUp(std::size_t value, std::size_t step)
{
    return (value + step - 1) / step * step;
}

} // namespace

StringGridArena::~StringGridArena()
{
    for (const Chunk& chunk : m_chunks) {
        if (chunk.base)
            platform::releasePages(chunk.base, chunk.size);
    }
}

std::uint32_t StringGridArena::addChunk(std::size_t size)
{
    Chunk chunk;
    chunk.size = size;
    chunk.base = platform::allocatePages(size);
    if (!m_unusedIndexes.empty()) {
        const std::uint32_t index = m_unusedIndexes.back();
        m_unusedIndexes.pop_back();
        m_chunks[index] = chunk;
        return index;
    }
    m_chunks.push_back(chunk);
    return static_cast<std::uint32_t>(m_chunks.size() - 1);
}

void StringGridArena::dropChunk(std::uint32_t index)
{
    Chunk& chunk = m_chunks[index];
    platform::releasePages(chunk.base, chunk.size);
    chunk = Chunk{};
    m_unusedIndexes.push_back(index);
}

char* StringGridArena::allocate(std::size_t size)
{
    const std::size_t needed = roundUp(sizeof(BlockHeader) + size, alignof(BlockHeader));
    if (needed > 0xFFFFFFFFu)
        throw std::bad_alloc();

    std::uint32_t index = m_current;
    if (index == kNoChunk || m_chunks[index].size - m_chunks[index].used < needed) {
        // A block larger than a quarter chunk gets a chunk of its own, so a huge cell does
        // not strand the rest of the current chunk.
        if (needed > kChunkSize / 4) {
            index = addChunk(roundUp(needed, kPage));
        } else {
            if (m_current != kNoChunk && m_chunks[m_current].live == 0)
                dropChunk(m_current);
            // Never smaller than the block: a young arena's chunks are only 64 KiB.
            const std::size_t size = std::max(std::clamp(reservedBytes(), kFirstChunkSize, kChunkSize),
                                              roundUp(needed, kPage));
            index = addChunk(size);
            m_current = index;
        }
    }
    Chunk& chunk = m_chunks[index];
    char* const at = chunk.base + chunk.used;
    chunk.used += needed;
    chunk.live += needed;
    const BlockHeader header{index, static_cast<std::uint32_t>(needed)};
    std::memcpy(at, &header, sizeof header);
    return at + sizeof header;
}

void StringGridArena::release(char* block)
{
    BlockHeader header;
    std::memcpy(&header, block - sizeof header, sizeof header);
    Chunk& chunk = m_chunks[header.chunk];
    chunk.live -= header.size;
    if (chunk.live != 0)
        return;
    if (header.chunk == m_current)
        chunk.used = 0;  // empty again: keep filling it from the start
    else
        dropChunk(header.chunk);
}

std::size_t StringGridArena::reservedBytes() const
{
    std::size_t total = 0;
    for (const Chunk& chunk : m_chunks)
        total += chunk.size;
    return total;
}

} // namespace widgets
