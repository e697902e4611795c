// The printable list of the target range, printing the memo pad, and the memo pad's font.

#include "app/TForm1.h"
#include "app/TableLayout.h"
#include "app/WindowTexts.h"
#include "text/FileNames.h"
#include "text/IntegerConversion.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/Prompts.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"

#include <QPrinter>

namespace app {

void TForm1::Button12Click()
{
    if (!rangeIsValid()) {
        refuseInvalidRange();
        return;
    }
    // As the conversion: a title or genre Shift-JIS cannot hold refuses before anything changes.
    const std::optional<TitleAndGenre> named = titleAndGenre();
    if (!named)
        return;
    const widgets::MessageAnswer answer = m_prompts->messageBox(
        texts::kBlankLinesQuestion, widgets::MessageKind::Confirmation, widgets::MessageButtons::YesNo);
    m_state.InsertBlankLines = answer == widgets::MessageAnswer::Yes ? 1 : 0;
    Edit3->setText(text::replaceExtension(SaveDialog1.fileName, ".TXT"));
    SaveDialog1.filterIndex = 2;
    RichEdit1->Clear();
    RichEdit1->Add(texts::kListingTitleOpen + named->title + texts::kListingTitleToGenre + named->genre
                   + texts::kListingGenreClose);

    const std::int32_t start = text::toInt32(Edit6->Text());
    const std::int32_t end = text::toInt32(Edit8->Text());
    if (end < start)
        return;
    std::vector<std::string> lines;
    for (std::int64_t row = start; row <= end; ++row) {
        const int r = static_cast<int>(row);
        if (m_state.InsertBlankLines == 1)
            lines.emplace_back();
        const auto cell = [this, r](int column) { return StringGrid2->Cells(column, r); };
        using namespace texts;
        lines.push_back(cell(QuestionColumn::Number) + kListingAfterNumber + cell(QuestionColumn::Question)
                        + kListingBeforeAnswer + cell(QuestionColumn::Answer) + kListingBetweenCells
                        + cell(QuestionColumn::Genre) + kListingBetweenCells + cell(QuestionColumn::WrongAnswers));
    }
    RichEdit1->AddLines(lines);
}

void TForm1::Button11Click()
{
    if (!rangeIsValid()) {
        refuseInvalidRange();
        return;
    }
    // One printer for the whole run: the printer and settings chosen in the print dialog
    // (landscape paper, say) stay the current printer for the next print.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    if (!m_prompts->execPrint(PrintDialog1, *m_printer))
        return;
    // A memo pad of thousands of pages prints with its progress shown, and may be stopped.
    const std::unique_ptr<widgets::Progress> progress = m_prompts->progress(texts::kPrinting);
    RichEdit1->print(*m_printer, sjis::toUnicode(texts::kPrintJobTitle), *progress);
}

void TForm1::Button8Click()
{
    RichEdit1->setPlainText(widgets::PlainTextSwitch::Off);
    // The memo pad's own base font, never the font chosen last.
    FontDialog1.font = m_state.SavedFont ? *m_state.SavedFont : RichEdit1->baseFont();
    FontDialog1.color = RichEdit1->palette().color(QPalette::Text);
    if (!m_prompts->execFont(FontDialog1))
        return;
    RichEdit1->setSelectionFont(FontDialog1.chosen);
}

} // namespace app
