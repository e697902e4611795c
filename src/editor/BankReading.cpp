// Reading the open five-choice bank: the genre directory into the genre table, and one
// question record into the editor's state and the hidden fields Edit1 and Edit2.

#include "app/BankRecords.h"
#include "app/GenreRows.h"
#include "app/TForm1.h"
#include "app/TableLayout.h"
#include "app/WindowTexts.h"
#include "formats/BankLayout.h"
#include "formats/FieldText.h"
#include "widgets/LineEdit.h"
#include "widgets/grid/StringGrid.h"

#include <algorithm>
#include <cstring>

namespace app {

namespace bank = formats::bank;

void TForm1::janlu_list()
{
    StringGrid1->setCells(BankGenreColumn::Genre, kHeaderRow, texts::kGenreNameHeader);
    StringGrid1->setCells(BankGenreColumn::Count, kHeaderRow, texts::kCountHeader);
    StringGrid1->setCells(BankGenreColumn::First, kHeaderRow, texts::kFirstHeader);
    StringGrid1->setCells(BankGenreColumn::Last, kHeaderRow, texts::kLastHeader);
    if (!m_state.BankStream)
        return;

    std::int64_t total = 0;
    std::int64_t largest = 0;
    for (int g = 1; g <= bank::kGenreCount; ++g) {
        const std::int64_t entry = bank::genreEntryOffset(g);
        const std::vector<std::uint8_t> name = m_state.BankStream->read(entry, bank::kGenreNameSize);
        std::copy(name.begin(), name.end(), reinterpret_cast<std::uint8_t*>(m_state.QuestionText.data()));
        const std::string genreName = formats::decodeField(name, formats::FieldCoding::Plain);

        // Bytes 16 and 17 are read and discarded; the count follows, low byte first.
        const std::vector<std::uint8_t> unused = m_state.BankStream->read(entry + bank::kGenreNameSize, 2);
        std::copy(unused.begin(), unused.end(), m_state.HeaderWord.begin());
        const std::vector<std::uint8_t> count = m_state.BankStream->read(entry + bank::kGenreCountOffset, 2);
        std::copy(count.begin(), count.end(), m_state.HeaderWord.begin());
        // A count cut off by the end of the file has zero for its missing bytes.
        const int questions = (count.size() > 0 ? count[0] : 0) + 256 * (count.size() > 1 ? count[1] : 0);

        StringGrid1->setCells(BankGenreColumn::Label, g, texts::kGenreRowPrefix + std::to_string(g));
        StringGrid1->setCells(BankGenreColumn::Genre, g, genreName);
        StringGrid1->setCells(BankGenreColumn::Count, g, std::to_string(questions));
        StringGrid1->setCells(BankGenreColumn::First, g, std::to_string(total + 1));
        total += questions;
        StringGrid1->setCells(BankGenreColumn::Last, g, std::to_string(total));
        largest = std::max<std::int64_t>(largest, questions);
    }
    // No genre reads more records than the file holds.
    GenreRows::expect(std::min(largest, bank::recordsInFile(m_state.BankStream->size())));
}

void TForm1::tusitu(std::int32_t offset)
{
    if (!m_state.BankStream)
        return;
    const std::vector<std::uint8_t> record = m_state.BankStream->read(offset, bank::kRecordSize);
    storeRecord(m_state, record);
    Edit1->setText(bufferText(m_state.QuestionText));
    Edit2->setText(bufferText(m_state.ChoiceTexts[0]));
}

} // namespace app
