#include "formats/FieldText.h"

#include <bit>
#include <cstring>

namespace formats {

namespace {

constexpr std::uint8_t kPad = 0x20;
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
constexpr std::uint64_t kHigh = 0x8080808080808080ULL;

std::uint64_t load(const std::uint8_t* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Bit 7 of each byte of the result is set where that byte of `word` equals `value`
// (exact: no false positives from carries).
std::uint64_t bytesEqual(std::uint64_t word, std::uint8_t value)
{
    const std::uint64_t x = word ^ (kOnes * value);
    return ~(((x & kLow7) + kLow7) | x) & kHigh;
}

// A whole field, eight positions at a time: position i ends the text when stored bytes i
// and i+1 are both pad bytes, or when byte i decodes to zero. The words at i and i+1
// overlap, which catches a pad run across the word boundary.
template <std::size_t N>
std::size_t decodeWhole(const std::uint8_t* stored, std::uint8_t shift, char* out)
{
    static_assert(std::endian::native == std::endian::little);
    const auto zeroByte = static_cast<std::uint8_t>(0 - shift);
    std::size_t end = N;
    std::size_t i = 0;
    for (; i + 8 < N; i += 8) {
        const std::uint64_t here = load(stored + i);
        const std::uint64_t ends = (bytesEqual(here, kPad) & bytesEqual(load(stored + i + 1), kPad))
                                   | bytesEqual(here, zeroByte);
        if (ends != 0) {
            end = i + static_cast<std::size_t>(std::countr_zero(ends)) / 8;
            break;
        }
    }
    if (end == N) {
        for (; i < N; ++i) {
            const bool run = i + 1 < N && stored[i] == kPad && stored[i + 1] == kPad;
            if (run || stored[i] == zeroByte) {
                end = i;
                break;
            }
        }
    }
    // The whole field is transformed (a fixed-length loop the compiler vectorises); only
    // the first `end` bytes count.
    for (std::size_t j = 0; j < N; ++j)
        out[j] = static_cast<char>(static_cast<std::uint8_t>(stored[j] + shift));
    return end;
}

std::size_t decodePartial(std::span<const std::uint8_t> stored, std::uint8_t shift, char* out)
{
    std::size_t i = 0;
    for (; i < stored.size(); ++i) {
        if (stored[i] == kPad && i + 1 < stored.size() && stored[i + 1] == kPad)
            break;
        const auto byte = static_cast<std::uint8_t>(stored[i] + shift);
        if (byte == 0)
            break;
        out[i] = static_cast<char>(byte);
    }
    return i;
}

} // namespace

std::size_t decodeFieldInto(std::span<const std::uint8_t> stored, FieldCoding coding, char* out)
{
    const std::uint8_t shift = coding == FieldCoding::Shifted ? 0x80 : 0x00;
    switch (stored.size()) {
    case 16:
        return decodeWhole<16>(stored.data(), shift, out);
    case 28:
        return decodeWhole<28>(stored.data(), shift, out);
    case 116:
        return decodeWhole<116>(stored.data(), shift, out);
    default:
        return decodePartial(stored, shift, out);
    }
}

std::string decodeField(std::span<const std::uint8_t> stored, FieldCoding coding)
{
    std::string text(stored.size(), '\0');
    text.resize(decodeFieldInto(stored, coding, text.data()));
    return text;
}

} // namespace formats
