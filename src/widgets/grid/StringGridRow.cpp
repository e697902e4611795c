#include "widgets/grid/StringGridRow.h"

#include "widgets/grid/StringGridArena.h"

#include <cstring>

namespace widgets {

namespace {

constexpr std::size_t kWord = sizeof(std::uint32_t);

void putWord(char* at, std::uint32_t value) { std::memcpy(at, &value, kWord); }

} // namespace

StringGridRow StringGridRow::pack(StringGridArena& arena, std::span<const std::string_view> slots)
{
    std::size_t count = slots.size();
    while (count > 0 && slots[count - 1].empty())
        --count;
    if (count == 0)
        return {};
    Q_ASSERT(count < kPatchMark);

    std::size_t bytes = 0;
    for (std::size_t i = 0; i < count; ++i)
        bytes += slots[i].size();

    const std::size_t headerSize = kWord * (1 + count);
    char* const block = arena.allocate(headerSize + bytes);
    putWord(block, static_cast<std::uint32_t>(count));
    char* const text = block + headerSize;
    std::uint32_t end = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!slots[i].empty())  // an empty view may hold no pointer at all
            std::memcpy(text + end, slots[i].data(), slots[i].size());
        end += static_cast<std::uint32_t>(slots[i].size());
        putWord(block + kWord * (1 + i), end);
    }
    return ofBlock(block);
}

StringGridRow StringGridRow::ofBlock(char* block)
{
    StringGridRow row;
    row.m_bits = reinterpret_cast<std::uintptr_t>(block);
    Q_ASSERT(!row.isShared());
    return row;
}

StringGridRow StringGridRow::shared(std::uint32_t block, std::uint32_t index)
{
    Q_ASSERT(block <= kLastSharedBlock);
    StringGridRow row;
    row.m_bits = kSharedBit | (std::uint64_t(block) << 32) | index;
    return row;
}

StringGridRow StringGridRow::patch(StringGridArena& arena, StringGridRow base, int slot, std::string_view text)
{
    Q_ASSERT(base.isShared() && slot >= 0);
    constexpr std::size_t kHeader = 2 * kWord + sizeof(std::uint64_t);
    char* const block = arena.allocate(kHeader + text.size());
    putWord(block, kPatchMark | static_cast<std::uint32_t>(slot));
    putWord(block + kWord, static_cast<std::uint32_t>(text.size()));
    std::memcpy(block + 2 * kWord, &base.m_bits, sizeof base.m_bits);
    if (!text.empty())
        std::memcpy(block + kHeader, text.data(), text.size());
    return ofBlock(block);
}

StringGridRow StringGridRow::patchBase() const
{
    Q_ASSERT(isPatched());
    StringGridRow base;
    std::memcpy(&base.m_bits, block() + 2 * kWord, sizeof base.m_bits);
    return base;
}

std::string_view StringGridRow::patchText() const
{
    Q_ASSERT(isPatched());
    return {block() + 2 * kWord + sizeof(std::uint64_t), header(1)};
}

void StringGridRow::release(StringGridArena& arena)
{
    Q_ASSERT(!isShared());
    if (m_bits != 0)
        arena.release(block());
    m_bits = 0;
}

std::uint32_t StringGridRow::header(int index) const
{
    std::uint32_t value;
    std::memcpy(&value, block() + kWord * static_cast<std::size_t>(index), kWord);
    return value;
}

int StringGridRow::slotCount() const
{
    Q_ASSERT(!isShared() && !isPatched());
    return m_bits != 0 ? static_cast<int>(header(0)) : 0;
}

std::string_view StringGridRow::slot(int index) const
{
    Q_ASSERT(index >= 0);
    const int count = slotCount();
    // A trailing empty slot is not stored; a slot before the first is never read, even
    // where asserts are off.
    if (index < 0 || index >= count)
        return {};
    const std::uint32_t begin = index == 0 ? 0 : header(index);
    const std::uint32_t end = header(index + 1);
    const char* const text = block() + kWord * (1 + static_cast<std::size_t>(count));
    return {text + begin, end - begin};
}

std::size_t StringGridRow::byteSize() const
{
    Q_ASSERT(!isShared());
    if (isPatched())
        return 2 * kWord + sizeof(std::uint64_t) + header(1);
    const int count = slotCount();
    return count == 0 ? 0 : kWord * (1 + static_cast<std::size_t>(count)) + header(count);
}

} // namespace widgets
