#pragma once

// Decoding of one genre entry and one question record from bytes read out of a bank.
// The spans may be short or empty (the file ended early); nothing is read beyond them.

#include "formats/BankLayout.h"
#include "formats/FieldText.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace formats {

struct GenreEntry {
    std::string name;        // plain text
    std::uint16_t count = 0; // bytes 18-19, little-endian; bytes missing from the file count as 0
};

struct BankRecord {
    FieldBuffer<bank::kQuestionSize> question;                           // decoded shifted text
    std::array<FieldBuffer<bank::kAnswerSize>, bank::kAnswerSlots> answers; // slot 0 is the correct answer
};

// The part of `bytes` that lies at [offset, offset + size), cut to what `bytes` holds.
std::span<const std::uint8_t> clampedSlice(std::span<const std::uint8_t> bytes, std::size_t offset,
                                           std::size_t size);

GenreEntry decodeGenreEntry(std::span<const std::uint8_t> entry);
void decodeRecord(std::span<const std::uint8_t> record, BankRecord& out);

} // namespace formats
