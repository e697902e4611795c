#include "app/GenreRows.h"

#include "app/TableLayout.h"
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

std::size_t GenreRows::pagesFor(std::size_t count)
{
    const std::size_t bytes = count * bank::kRecordSize;
    return (bytes + platform::kPageSize - 1) / platform::kPageSize * platform::kPageSize;
}

void GenreRows::expect(std::int64_t records)
{
    platform::prepareBulkPages(records > 0 ? pagesFor(static_cast<std::size_t>(records)) : 0);
}

std::shared_ptr<const GenreRows> GenreRows::read(BankFile& file, std::int64_t first, std::int64_t last,
                                                 std::int64_t firstNumber, std::string genre)
{
    const std::size_t count = last >= first ? static_cast<std::size_t>(last - first + 1) : 0;
    std::shared_ptr<GenreRows> rows(new GenreRows(count, firstNumber, std::move(genre)));
    if (count == 0)
        return rows;
    const std::size_t bytes = count * bank::kRecordSize;
    rows->m_pagesSize = pagesFor(count);
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

char* GenreRows::writeCell(std::size_t index, std::size_t column, char* at) const
{
    const std::span<const std::uint8_t> record = recordBytes(index);
    const auto field = [&](std::size_t offset, std::size_t size) {
        at += formats::decodeFieldInto(formats::clampedSlice(record, offset, size), formats::FieldCoding::Shifted, at);
    };
    switch (column) {
    case QuestionColumn::Number:
        return std::to_chars(at, at + 24, m_firstNumber + static_cast<std::int64_t>(index)).ptr;
    case QuestionColumn::Question:
        field(bank::kQuestionOffset, bank::kQuestionSize);
        return at;
    case QuestionColumn::Answer:
        field(bank::kAnswerOffset, bank::kAnswerSize);
        return at;
    case QuestionColumn::Genre:
        return std::copy(m_genre.begin(), m_genre.end(), at);
    case QuestionColumn::WrongAnswers: {
        const std::string& mark = texts::kWrongAnswerMark.str();
        for (int slot = 1; slot < bank::kAnswerSlots; ++slot) {
            at = std::copy(mark.begin(), mark.end(), at);
            field(bank::kAnswerOffset + std::size_t(slot) * bank::kAnswerSize, bank::kAnswerSize);
        }
        return at;
    }
    default:
        return at;
    }
}

std::size_t GenreRows::cellRoom()
{
    // The decoder may write its whole field's width before it knows where the text ends.
    return 24 + bank::kQuestionSize + bank::kAnswerSize
           + (bank::kAnswerSlots - 1) * (texts::kWrongAnswerMark.str().size() + bank::kAnswerSize);
}

void GenreRows::cells(std::size_t index, std::string& scratch, std::span<std::string_view> cells) const
{
    // The row's texts one after the other in `scratch`.
    scratch.resize(cellRoom() + m_genre.size());
    char* at = scratch.data();
    for (std::size_t column = 0; column < std::min(cells.size(), std::size_t(kQuestionColumns)); ++column) {
        char* const from = at;
        at = writeCell(index, column, at);
        cells[column] = std::string_view(from, std::size_t(at - from));
    }
}

std::string_view GenreRows::cell(std::size_t index, std::size_t column, std::string& scratch) const
{
    if (column == QuestionColumn::Genre)
        return m_genre;
    scratch.resize(cellRoom());
    char* const at = writeCell(index, column, scratch.data());
    return std::string_view(scratch.data(), std::size_t(at - scratch.data()));
}

} // namespace app
