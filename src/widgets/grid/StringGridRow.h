#pragma once

// One row as the grid itself stores it in its table and undo history, where the other row
// types are what rows are inserted from: a plain 8-byte handle of one of three kinds.
//
// A packed row is a single block of the grid's arena: a row of five cells is one block and
// one pointer instead of five std::string objects with their own buffers, which is what lets
// half a million question rows fit in memory and be built quickly. Block layout:
// [uint32 count][uint32 end[count]][cell bytes...], where end[i] is the offset just past the
// bytes of slot i within the byte area. Trailing empty slots are not stored, and a row whose
// slots are all empty holds no block at all. The store that made it releases it into the
// same arena.
//
// A shared row is row `index` of a block of rows kept as their source gave them
// (SharedRows), which makes its cells only when they are read; the store that holds the
// block (by its number) reads and releases it.
//
// A patched row is a shared row with the text of one slot replaced: a small block of the
// arena holding the shared row's handle, the slot and its text, so that renumbering half a
// million bank rows decodes and copies none of their records. Block layout:
// [uint32 kPatchMark | slot][uint32 length][uint64 shared handle][text]. The store that made
// it counts it as one more user of the shared row's block.

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace widgets {

class StringGridArena;

class StringGridRow final {
public:
    StringGridRow() = default;  // a packed row of empty slots

    static StringGridRow pack(StringGridArena& arena, std::span<const std::string_view> slots);
    static StringGridRow shared(std::uint32_t block, std::uint32_t index);
    // `base` is a shared row.
    static StringGridRow patch(StringGridArena& arena, StringGridRow base, int slot, std::string_view text);

    bool isShared() const { return (m_bits & kSharedBit) != 0; }
    bool isPatched() const { return m_bits != 0 && !isShared() && (header(0) & kPatchMark) != 0; }

    // Each accessor below is for the kinds it names, and asserts it.
    // Shared rows:
    std::uint32_t sharedBlock() const { Q_ASSERT(isShared()); return std::uint32_t((m_bits & ~kSharedBit) >> 32); }
    std::uint32_t sharedIndex() const { Q_ASSERT(isShared()); return std::uint32_t(m_bits); }
    // Patched rows:
    StringGridRow patchBase() const;
    int patchedSlot() const { Q_ASSERT(isPatched()); return static_cast<int>(header(0) & ~kPatchMark); }
    std::string_view patchText() const;
    // Packed rows: the number of stored slots (every slot from there on is empty), and a
    // slot's text.
    int slotCount() const;
    std::string_view slot(int index) const;
    // Packed and patched rows: the bytes of the block (header and text), 0 for a row of
    // empty slots; and the block given back (not the shared row a patch refers to).
    std::size_t byteSize() const;
    void release(StringGridArena& arena);

    bool operator==(const StringGridRow&) const = default;

private:
    // A packed or patched row's handle is its block's address, a shared row's handle
    // kSharedBit | block << 32 | index. The two tell apart by bit 63, which no user-space
    // address sets on the 64-bit systems this runs on (their user space ends at 2^47, or
    // 2^56 with five-level paging) and a 32-bit address does not have. That leaves a shared
    // block 31 bits for its number: 2^31 insertions of shared rows into one grid.
    static constexpr std::uint64_t kSharedBit = std::uint64_t(1) << 63;
    static constexpr std::uint32_t kLastSharedBlock = 0x7FFFFFFFu;
    static constexpr std::uint32_t kPatchMark = std::uint32_t(1) << 31;  // never set in a slot count
    static_assert(sizeof(std::uintptr_t) <= sizeof(std::uint64_t));

    static StringGridRow ofBlock(char* block);
    char* block() const { return reinterpret_cast<char*>(static_cast<std::uintptr_t>(m_bits)); }
    std::uint32_t header(int index) const;

    std::uint64_t m_bits = 0;
};

} // namespace widgets
