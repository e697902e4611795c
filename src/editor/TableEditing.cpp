// The question table's editing: clearing, renumbering, row moves, the two mouse modes, and
// the target range fields with their count, and the refusal of a cell text Shift-JIS
// cannot hold.

#include "app/Colours.h"
#include "app/TForm1.h"
#include "app/TableLayout.h"
#include "app/WindowTexts.h"
#include "text/IntegerConversion.h"
#include "text/Messages.h"
#include "widgets/Button.h"
#include "widgets/grid/GridOptions.h"
#include "widgets/KeyCodes.h"
#include "widgets/LineEdit.h"
#include "widgets/Prompts.h"
#include "widgets/WidgetText.h"
#include "widgets/grid/StringGrid.h"

namespace app {

namespace {

bool isMainKeyboardDigit(int key)
{
    return key >= widgets::vk::kKey0 && key <= widgets::vk::kKey9;
}

} // namespace

void TForm1::Button4Click()
{
    // The history keeps a clear for Ctrl+Z unless the table is too large for it: then the
    // user is asked first, since this clear cannot be taken back.
    if (!StringGrid2->canUndoDroppingRowsFrom(kQuestionFrameRows)) {
        m_prompts->beep();
        if (m_prompts->messageBox(texts::kClearCannotBeUndone, widgets::MessageKind::Confirmation,
                                  widgets::MessageButtons::YesNo) != widgets::MessageAnswer::Yes)
            return;
    }
    StringGrid2->setCells(QuestionColumn::Question, kHeaderRow, texts::kQuestionHeader);
    StringGrid2->setCells(QuestionColumn::Answer, kHeaderRow, texts::kAnswerHeader);
    StringGrid2->setRowCount(kQuestionFrameRows);
    for (int col = 0; col < kQuestionColumns; ++col)
        StringGrid2->setCells(col, kFirstQuestionRow, "");
}

void TForm1::Button7Click()
{
    Button7->hide();
    // The whole number column in one write: half a million rows renumber as one change.
    const int questions = questionCount();
    std::vector<std::string> numbers;
    numbers.reserve(static_cast<std::size_t>(std::max(questions, 0)));
    for (int row = kFirstQuestionRow; row <= questions; ++row)
        numbers.push_back(std::to_string(row));
    StringGrid2->setColumnCells(QuestionColumn::Number, kFirstQuestionRow, numbers);
}

void TForm1::StringGrid2RowMoved(int /*FromIndex*/, int /*ToIndex*/)
{
    // The grid has moved the row already; the numbers now need renewing.
    Button7->show();
}

void TForm1::StringGrid2Replayed()
{
    // Undo and redo give back rows in another order, or take a renumbering back: the button
    // follows the numbers as they now stand.
    Button7->setVisible(!numbersInOrder());
}

void TForm1::cellTextRefused(char32_t character)
{
    m_prompts->beep();
    m_prompts->messageBox(text::formatMessage(texts::kUnstorableCellCharacter,
                                              {widgets::characterInMessage(character), widgets::codePointName(character)}),
                          widgets::MessageKind::Warning, widgets::MessageButtons::Ok);
}

int TForm1::questionCount() const
{
    return StringGrid2->RowCount() - kQuestionFrameRows;
}

bool TForm1::numbersInOrder() const
{
    const int questions = questionCount();
    for (int row = kFirstQuestionRow; row <= questions; ++row)
        if (StringGrid2->Cells(QuestionColumn::Number, row) != std::to_string(row))
            return false;
    return true;
}

void TForm1::StringGrid2DblClick()
{
    setQuestionTableMode(widgets::kCellEditingOptions.toInt());
    showHelp(texts::kCellEditing);
}

void TForm1::StringGrid2MouseMove(Qt::KeyboardModifiers, int, int)
{
    setQuestionTableMode(widgets::kRowMovingOptions.toInt());
    showHelp(texts::kHelpStringGrid2);
}

void TForm1::StringGrid2GetEditText(int, int, std::string* /*Value: left as the table supplies it*/)
{
    showHelp(texts::kCellEditing);
}

void TForm1::setQuestionTableMode(std::uint32_t options)
{
    // The grid ignores a set that is already installed and keeps an open editor open.
    StringGrid2->setOptions(widgets::GridOptions::fromInt(options));
}

void TForm1::Edit6Change()
{
    const std::int32_t end = text::toInt32(Edit8->Text());
    const std::int32_t start = text::toInt32(Edit6->Text());
    recountRange(start, end);
}

void TForm1::Edit8Change()
{
    const std::int32_t questions = questionCount();
    if (text::toInt32(Edit8->Text()) > questions)
        Edit8->setText(std::to_string(questions));  // runs this handler once more, nested
    const std::int32_t end = text::toInt32(Edit8->Text());
    const std::int32_t start = text::toInt32(Edit6->Text());
    recountRange(start, end);
}

void TForm1::recountRange(std::int32_t start, std::int32_t end)
{
    // 64-bit, so that no pair of 32-bit numbers wraps; a count beyond the 32-bit range is
    // then refused by the conversion below like any other number that is none, but only
    // after the field turned red: it must never stay lime green over a count it cannot be.
    const std::int64_t wide = std::int64_t(end) - start + 1;
    Edit7->setText(std::to_string(wide));
    if (!text::parseInt32(Edit7->Text()))
        Edit7->setColor(colours::countColour(wide));
    const std::int32_t count = text::toInt32(Edit7->Text());
    if (count >= 1) {
        m_state.RangeLow = Edit6->Text();
        m_state.RangeHigh = Edit8->Text();
    } else {
        m_state.RangeLow = Edit8->Text();
        m_state.RangeHigh = Edit6->Text();
    }
    Edit7->setColor(colours::countColour(count));
}

void TForm1::Edit6KeyDown(int* Key, Qt::KeyboardModifiers)
{
    if (!isMainKeyboardDigit(*Key))
        *Key = widgets::vk::kKey1;
}

void TForm1::Edit8KeyDown(int* Key, Qt::KeyboardModifiers)
{
    if (!isMainKeyboardDigit(*Key))
        *Key = widgets::vk::kKey9;
}

void TForm1::Edit6DblClick()
{
    Edit6->setText(StringGrid2->Cells(QuestionColumn::Number, StringGrid2->Row()));
    const std::string low = m_state.RangeLow;
    const std::string high = m_state.RangeHigh;
    Edit6->setText(low);
    Edit8->setText(high);
}

void TForm1::Edit8DblClick()
{
    Edit8->setText(StringGrid2->Cells(QuestionColumn::Number, StringGrid2->Row()));
    const std::string low = m_state.RangeLow;
    const std::string high = m_state.RangeHigh;
    Edit8->setText(high);
    Edit6->setText(low);
}

} // namespace app
