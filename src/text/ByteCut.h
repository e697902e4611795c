#pragma once

// Cutting Shift-JIS text by bytes without splitting a double-byte character.

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// True for a byte that starts a double-byte Shift-JIS character.
constexpr bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The characters of `text` that lie wholly within bytes [from, from + count). A character
// that the window would cut in two, at either end, is left out whole.
std::string cutWholeCharacters(std::string_view text, std::size_t from, std::size_t count);

} // namespace text
