#include "formats/BankRecord.h"

namespace formats {

std::span<const std::uint8_t> clampedSlice(std::span<const std::uint8_t> bytes, std::size_t offset,
                                           std::size_t size)
{
    if (offset >= bytes.size())
        return {};
    return bytes.subspan(offset, std::min(size, bytes.size() - offset));
}

GenreEntry decodeGenreEntry(std::span<const std::uint8_t> entry)
{
    GenreEntry genre;
    genre.name = decodeField(clampedSlice(entry, bank::kGenreNameOffset, bank::kGenreNameSize),
                             FieldCoding::Plain);
    const auto count = clampedSlice(entry, bank::kGenreCountOffset, bank::kGenreCountSize);
    const unsigned low = count.size() > 0 ? count[0] : 0;
    const unsigned high = count.size() > 1 ? count[1] : 0;
    genre.count = static_cast<std::uint16_t>(low + 256 * high);
    return genre;
}

void decodeRecord(std::span<const std::uint8_t> record, BankRecord& out)
{
    out.question.decode(clampedSlice(record, bank::kQuestionOffset, bank::kQuestionSize), FieldCoding::Shifted);
    for (std::size_t slot = 0; slot < bank::kAnswerSlots; ++slot) {
        const std::size_t offset = bank::kAnswerOffset + slot * bank::kAnswerSize;
        out.answers[slot].decode(clampedSlice(record, offset, bank::kAnswerSize), FieldCoding::Shifted);
    }
}

} // namespace formats
