#pragma once

// One row of grid cells, as a plain 8-byte handle of one of three kinds.
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
    static StringGridRow shared(std::uint32_t block, std::uint32_t index);
    // `base` is a shared row.
    static StringGridRow patch(StringGridArena& arena, StringGridRow base, int slot, std::string_view text);

    bool isShared() const { return (m_bits & kSharedBit) != 0; }
    std::uint32_t sharedBlock() const { return static_cast<std::uint32_t>((m_bits & ~kSharedBit) >> 32); }
    std::uint32_t sharedIndex() const { return static_cast<std::uint32_t>(m_bits); }

    bool isPatched() const { return m_bits != 0 && !isShared() && (header(0) & kPatchMark) != 0; }
    // For patched rows only.
    StringGridRow patchBase() const;
    int patchedSlot() const { return static_cast<int>(header(0) & ~kPatchMark); }
    std::string_view patchText() const;

    // For packed and patched rows: gives back the block (not the shared row a patch refers to).
    void release(StringGridArena& arena);
    // For packed rows only.
    // Number of stored slots; every slot from here on is empty.
    int slotCount() const;
    std::string_view slot(int index) const;
    // Bytes of its block (header and text), for packed and patched rows; 0 for a row of
    // empty slots.
    std::size_t byteSize() const;

    bool operator==(const StringGridRow&) const = default;

private:
    static constexpr std::uint64_t kSharedBit = std::uint64_t(1) << 63;  // never set in a user address
    static constexpr std::uint32_t kPatchMark = std::uint32_t(1) << 31;  // never set in a slot count

    char* block() const { return reinterpret_cast<char*>(static_cast<std::uintptr_t>(m_bits)); }
    std::uint32_t header(int index) const;

    std::uint64_t m_bits = 0;  // a packed block's address, or kSharedBit | block << 32 | index
};

} // namespace widgets
