#pragma once

// One row of grid cells packed into a single block of the grid's arena: a row of five cells
// is one block and one pointer instead of five std::string objects with their own buffers,
// which is what lets half a million question rows fit in memory and be built quickly.
//
// Block layout: [uint32 count][uint32 end[count]][cell bytes...], where end[i] is the offset
// just past the bytes of slot i within the byte area. Trailing empty slots are not stored,
// and a row whose slots are all empty holds no block at all.
//
// A row is a plain handle: the store that made it releases it into the same arena.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace widgets {

class StringGridArena;

class StringGridRow final {
public:
    StringGridRow() = default;  // every slot empty

    static StringGridRow pack(StringGridArena& arena, std::span<const std::string_view> slots);
    void release(StringGridArena& arena);

    // Number of stored slots; every slot from here on is empty.
    int slotCount() const;
    std::string_view slot(int index) const;
    // Bytes of its block (header and text); 0 for a row of empty slots.
    std::size_t byteSize() const;

private:
    explicit StringGridRow(char* block) : m_block(block) {}
    std::uint32_t header(int index) const;

    char* m_block = nullptr;
};

} // namespace widgets
