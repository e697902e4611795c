// Loading: reading a bank or listing a mon file through the open dialog, and adding the
// questions of a genre-table row to the question table.

#include "app/BankRecords.h"
#include "app/Colours.h"
#include "app/GenreRows.h"
#include "app/MonFile.h"
#include "app/TForm1.h"
#include "app/TableLayout.h"
#include "app/WindowTexts.h"
#include "formats/BankLayout.h"
#include "formats/BankRecord.h"
#include "formats/MonFields.h"
#include "formats/MonLines.h"
#include "text/ByteCut.h"
#include "text/EditorError.h"
#include "text/FileNames.h"
#include "text/IntegerConversion.h"
#include "text/Messages.h"
#include "widgets/DirectoryList.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/Prompts.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"
#include "widgets/WidgetText.h"

#include <algorithm>

namespace app {

namespace bank = formats::bank;

bool TForm1::genreTableFull() const
{
    // A ninth file also starts afresh when the eighth one had an empty genre.
    return !StringGrid1->Cells(MonFileColumn::Genre, kGenreTableRows - 1).empty() || m_state.MonFileCount >= kGenreTableRows - 1;
}

void TForm1::resetGenreTable()
{
    DirectoryListBox1->hide();
    Button13Click();
}

void TForm1::Button1Click()
{
    startLoading();
    OpenDialog1.filterIndex = 1;
    if (!m_prompts->execOpen(OpenDialog1))
        return;
    // The filter chosen decides the reader, not the file's extension.
    loadFile(OpenDialog1.fileName, OpenDialog1.filterIndex == 1 ? LoadedKind::Bank : LoadedKind::Mon);
}

void TForm1::startLoading()
{
    if (genreTableFull())
        resetGenreTable();

    setQuestionCaptions();
}

void TForm1::setQuestionCaptions()
{
    StringGrid2->setCells(QuestionColumn::Number, kHeaderRow, texts::kContentsHeader);
    StringGrid2->setCells(QuestionColumn::Question, kHeaderRow, texts::kQuestionHeader);
    StringGrid2->setCells(QuestionColumn::Answer, kHeaderRow, texts::kAnswerHeader);
    StringGrid2->setCells(QuestionColumn::WrongAnswers, kHeaderRow, texts::kWrongAnswersHeader);
}

void TForm1::markGenreTable(const std::string& marker)
{
    // A click in a table of mon files adds a file: the pages kept ready for a genre go back.
    if (marker != texts::kBankMarker)
        GenreRows::expect(0);
    StringGrid1->setCells(kMarkerColumn, kHeaderRow, marker);
    StringGrid2->setCells(QuestionColumn::Genre, kHeaderRow, texts::kGenreHeader);
}

void TForm1::loadFile(const std::string& path, LoadedKind kind)
{
    if (kind == LoadedKind::Bank) {
        markGenreTable(texts::kBankMarker);
        std::unique_ptr<BankFile> opened = BankFile::open(widgets::pathFromBytes(path));
        if (!opened)
            throw text::EditorError(text::formatMessage(texts::kCannotOpen, {path}));
        m_state.BankStream = std::move(opened);
        janlu_list();
        tusitu(bank::kFirstRecordOffset);
        showHelp(texts::kBankOpened);
        if (!DirectoryListBox1->isHidden())
            Button13Click();
    } else {
        mon_list(path);
    }

    SaveDialog1.filterIndex = 1;
    default_save_name(path);
}

void TForm1::mon_list(const std::string& path)
{
    const std::optional<std::string> text = readMonFile(path);
    const int r = ++m_state.MonFileCount;
    markGenreTable(texts::kMonMarker);
    if (!text)
        throwCannotOpen(path);
    RichEdit1->LoadText(*text);
    StringGrid1->setCells(MonFileColumn::Path, r, path);
    listHeaderLines(r);
}

void TForm1::listHeaderLines(int row)
{
    const std::string first = RichEdit1->Line(0);
    const std::string second = RichEdit1->Line(1);
    StringGrid1->setCells(MonFileColumn::Count, row, formats::ExtractField(first, 0));
    StringGrid1->setCells(MonFileColumn::Title, row, formats::StripQuotes(formats::ExtractField(first, 2)));
    StringGrid1->setCells(MonFileColumn::Genre, row, formats::StripQuotes(formats::ExtractField(second, 2)));
    if (formats::StripQuotes(formats::ExtractField(second, 0)) != "0") {
        m_prompts->beep();
        m_prompts->messageBox(texts::kGraphicModeWarning, widgets::MessageKind::Warning, widgets::MessageButtons::Ok);
    }
}

void TForm1::default_save_name(const std::string& path)
{
    SaveDialog1.fileName = path;
    Edit3->setText(text::replaceExtension(path, ".mon"));
}

void TForm1::StringGrid1SelectCell(int /*ACol: any cell stands for its row*/, int ARow, bool* /*CanSelect*/)
{
    if (StringGrid1->Cells(kMarkerColumn, kHeaderRow) == texts::kBankMarker)
        addBankGenre(ARow);
    else
        addMonFile(ARow);
}

void TForm1::addBankGenre(int row)
{
    const std::string genre = StringGrid1->Cells(BankGenreColumn::Genre, row);
    Edit4->setText(genre);
    appendGenreToHeader(genre);
    const std::int64_t first = text::toInt32(StringGrid1->Cells(BankGenreColumn::First, row));
    const std::int64_t last = text::toInt32(StringGrid1->Cells(BankGenreColumn::Last, row));

    // Only records that exist are read: none numbered below 1 (that would be the genre
    // directory), none wholly beyond the end of the bank and none beyond the most records
    // a bank can count, however large the file.
    // The new rows take the place of the blank last row and are numbered by position.
    const int firstPosition = StringGrid2->RowCount() - 1;
    if (m_state.BankStream && last >= first) {
        const std::int64_t from = std::max<std::int64_t>(first, 1);
        const std::int64_t to = std::min({last, bank::recordsInFile(m_state.BankStream->size()), bank::kMaxRecords});
        const std::shared_ptr<const GenreRows> rows = GenreRows::read(*m_state.BankStream, from, to, firstPosition, genre);
        StringGrid2->insertRows(firstPosition, rows);
        if (rows->rowCount() > 0) {
            // The state and the hidden fields end as reading each record in turn leaves them.
            formats::BankRecord last;
            rows->decode(rows->rowCount() - 1, last);
            storeRecord(m_state, last);
            Edit1->setText(bufferText(m_state.QuestionText));
            Edit2->setText(bufferText(m_state.ChoiceTexts[0]));
        }
    }
    showHelp(texts::kGenreAdded);
    resetRangeToAllRows();
}

void TForm1::addMonFile(int row)
{
    if (row < 1 || row > m_state.MonFileCount)
        return;
    const std::string path = StringGrid1->Cells(MonFileColumn::Path, row);
    const std::optional<std::string> text = readMonFile(path);
    if (!text)
        throwCannotOpen(path);
    RichEdit1->LoadText(*text);
    Edit4->setText(StringGrid1->Cells(MonFileColumn::Title, row));
    appendGenreToHeader(StringGrid1->Cells(MonFileColumn::Genre, row));
    default_save_name(StringGrid1->Cells(MonFileColumn::Path, m_state.MonFileCount));

    const std::string genre = StringGrid1->Cells(MonFileColumn::Genre, row);
    // The memo pad's lines are the file's lines: they are taken from the text just read,
    // which spares turning every block of the memo pad back into bytes.
    const std::vector<std::string> lines = formats::splitLines(*text);
    widgets::GridRows rows(kQuestionColumns);
    const int firstPosition = StringGrid2->RowCount() - 1;
    for (const std::string& line : formats::questionLines(lines, 2)) {
        const std::string number = std::to_string(firstPosition + static_cast<std::int64_t>(rows.size()));
        rows.append({number, formats::StripQuotes(formats::ExtractField(line, 2)),
                     formats::StripQuotes(formats::ExtractField(line, 1)), genre, std::string_view()});
    }
    StringGrid2->insertRows(firstPosition, rows);
    resetRangeToAllRows();
}

void TForm1::appendGenreToHeader(const std::string& genre)
{
    const std::string header = StringGrid2->Cells(QuestionColumn::Question, kHeaderRow) + genre + texts::kGenreEnd;
    StringGrid2->setCells(QuestionColumn::Question, kHeaderRow, header);
    // The 24 bytes after the 10 bytes of the header's own caption.
    Edit5->setText(text::cutWholeCharacters(header, 10, 24));
}

void TForm1::resetRangeToAllRows()
{
    const int blank = StringGrid2->RowCount() - 1;
    for (int col = 0; col < kQuestionColumns; ++col)
        StringGrid2->setCells(col, blank, "");
    const int questions = questionCount();
    Edit7->setText(std::to_string(questions));
    Edit6->setText("1");
    Edit8->setText(std::to_string(questions));
    // Coloured last, so this decides whatever the change handlers did.
    Edit7->setColor(colours::countColour(questions));
}

} // namespace app
