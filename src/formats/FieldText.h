#pragma once

// Decoding of the fixed-size text fields of a bank.
//
// A field of N bytes holds its text from its first byte, padded with stored 0x20 bytes.
// The text ends at the first position i (0 <= i <= N-2) where stored bytes i and i+1 are
// both 0x20; a single 0x20 in the last position belongs to the text. It also ends at the
// first byte that is zero after decoding. Shifted text stores every byte plus 0x80; the
// padding test is made on the stored bytes, before the shift is undone.
//
// The span passed in may be shorter than the field (a record cut off by the end of the
// file): the rules then apply to the bytes there are.

#include <cstdint>
#include <span>
#include <string>

namespace formats {

enum class FieldCoding { Plain, Shifted };

std::string decodeField(std::span<const std::uint8_t> stored, FieldCoding coding);

} // namespace formats
