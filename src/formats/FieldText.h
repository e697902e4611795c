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

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace formats {

enum class FieldCoding { Plain, Shifted };

// Decodes into `out`, which has room for stored.size() bytes; returns the text's length.
// Decoding allocates nothing: a bank holds up to half a million records.
std::size_t decodeFieldInto(std::span<const std::uint8_t> stored, FieldCoding coding, char* out);

std::string decodeField(std::span<const std::uint8_t> stored, FieldCoding coding);

// A decoded field of at most N bytes, held inline.
template <std::size_t N>
struct FieldBuffer {
    std::array<char, N> bytes{};
    std::size_t size = 0;

    std::string_view view() const { return {bytes.data(), size}; }
    void decode(std::span<const std::uint8_t> stored, FieldCoding coding)
    {
        size = decodeFieldInto(stored.first(std::min(stored.size(), N)), coding, bytes.data());
    }
};

} // namespace formats
