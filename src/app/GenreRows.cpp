#include "app/GenreRows.h"

#include "app/WindowTexts.h"
#include "formats/BankLayout.h"
#include "platform/Pages.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace app {

namespace bank = formats::bank;

GenreRows::GenreRows(std::size_t count, std::int64_t firstNumber, std::string genre)
    : m_count(count), m_firstNumber(firstNumber), m_genre(std::move(genre))
{
}

GenreRows::~GenreRows()
{
    if (m_pages)
        platform::releasePages(reinterpret_cast<char*>(m_pages), m_pagesSize);
}

std::shared_ptr<const GenreRows> GenreRows::read(BankFile& file, std::int64_t first, std::int64_t last,
                                                 std::int64_t firstNumber, std::string genre)
{
    const std::size_t count = last >= first ? static_cast<std::size_t>(last - first + 1) : 0;
    std::shared_ptr<GenreRows> rows(new GenreRows(count, firstNumber, std::move(genre)));
    if (count == 0)
        return rows;
    const std::size_t bytes = count * bank::kRecordSize;
    rows->m_pagesSize = (bytes + platform::kPageSize - 1) / platform::kPageSize * platform::kPageSize;
    rows->m_pages = reinterpret_cast<std::uint8_t*>(platform::allocateBulkPages(rows->m_pagesSize));
    rows->m_bytesRead = file.read(bank::recordOffset(first), std::span(rows->m_pages, bytes));
    return rows;
}

std::span<const std::uint8_t> GenreRows::recordBytes(std::size_t index) const
{
    return formats::clampedSlice(std::span<const std::uint8_t>(m_pages, m_bytesRead), index * bank::kRecordSize,
                                 bank::kRecordSize);
}

void GenreRows::decode(std::size_t index, formats::BankRecord& record) const
{
    formats::decodeRecord(recordBytes(index), record);
}

void GenreRows::cells(std::size_t index, std::string& scratch, std::span<std::string_view> cells) const
{
    // The row's texts one after the other in `scratch`, each field decoded in place (the
    // decoder may write its whole field's width before it knows where the text ends).
    const std::string& mark = texts::kWrongAnswerMark;
    scratch.resize(24 + bank::kQuestionSize + bank::kAnswerSize + m_genre.size()
                   + (bank::kAnswerSlots - 1) * (mark.size() + bank::kAnswerSize));
    char* const base = scratch.data();
    char* at = base;
    const std::span<const std::uint8_t> record = recordBytes(index);
    const auto field = [&](std::size_t offset, std::size_t size) {
        at += formats::decodeFieldInto(formats::clampedSlice(record, offset, size), formats::FieldCoding::Shifted, at);
    };
    const auto view = [&](char* from) { return std::string_view(from, std::size_t(at - from)); };

    at = std::to_chars(at, at + 24, m_firstNumber + static_cast<std::int64_t>(index)).ptr;
    const std::string_view number = view(base);
    char* from = at;
    field(bank::kQuestionOffset, bank::kQuestionSize);
    const std::string_view question = view(from);
    from = at;
    field(bank::kAnswerOffset, bank::kAnswerSize);
    const std::string_view answer = view(from);
    from = at;
    at = std::copy(m_genre.begin(), m_genre.end(), at);
    const std::string_view genre = view(from);
    from = at;
    for (int slot = 1; slot < bank::kAnswerSlots; ++slot) {
        at = std::copy(mark.begin(), mark.end(), at);
        field(bank::kAnswerOffset + std::size_t(slot) * bank::kAnswerSize, bank::kAnswerSize);
    }
    const std::string_view wrong = view(from);

    const std::string_view made[] = {number, question, answer, genre, wrong};
    std::copy_n(made, std::min(cells.size(), std::size(made)), cells.begin());
}

} // namespace app
