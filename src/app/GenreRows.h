#pragma once

// The SharedRows of one bank genre for the question table: its 256-byte records as the bank
// holds them, made into cells only when read (the number, the question, the correct answer,
// the genre, and the four wrong answers each after "★"). Adding a genre of 65,535 records
// reads them in one go and decodes nothing; the table decodes the rows it shows, converts,
// edits or saves.

#include "app/BankFile.h"
#include "formats/BankRecord.h"
#include "widgets/grid/SharedRows.h"

#include <cstdint>
#include <memory>
#include <string>

namespace app {

class GenreRows final : public widgets::SharedRows {
public:
    // Records `first` to `last` (numbered from 1 across the bank, first >= 1; none when last
    // < first) of `bank`, in rows numbered from `firstNumber`. A record the file cuts short
    // is decoded from the bytes it holds. Throws std::bad_alloc.
    static std::shared_ptr<const GenreRows> read(BankFile& bank, std::int64_t first, std::int64_t last,
                                                 std::int64_t firstNumber, std::string genre);
    // Genres of up to `records` records are about to be read (a bank was opened): the memory
    // for the largest is made ready meanwhile, so the add itself takes none fresh. None: no
    // genre is coming, and memory made ready is given back.
    static void expect(std::int64_t records);
    ~GenreRows() override;
    GenreRows(const GenreRows&) = delete;
    GenreRows& operator=(const GenreRows&) = delete;

    std::size_t rowCount() const override { return m_count; }
    std::size_t byteSize() const override { return m_pagesSize + m_genre.size(); }
    void cells(std::size_t index, std::string& scratch, std::span<std::string_view> cells) const override;
    std::string_view cell(std::size_t index, std::size_t column, std::string& scratch) const override;

    void decode(std::size_t index, formats::BankRecord& record) const;

private:
    GenreRows(std::size_t count, std::int64_t firstNumber, std::string genre);
    std::span<const std::uint8_t> recordBytes(std::size_t index) const;
    static std::size_t pagesFor(std::size_t count);
    // Room for every cell of a row but the genre.
    static std::size_t cellRoom();
    // Writes cell `column` of row `index` from `at` on and returns where it ends.
    char* writeCell(std::size_t index, std::size_t column, char* at) const;

    std::size_t m_count;
    std::int64_t m_firstNumber;
    std::string m_genre;
    std::uint8_t* m_pages = nullptr;
    std::size_t m_pagesSize = 0;
    std::size_t m_bytesRead = 0;
};

} // namespace app
