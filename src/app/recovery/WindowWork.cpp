#include "app/recovery/WindowWork.h"

#include "app/TForm1.h"
#include "app/recovery/RecoveredTable.h"
#include "widgets/Button.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/grid/StringGrid.h"

#include <QDateTime>
#include <QSignalBlocker>

namespace app::recovery {

namespace {

std::array<widgets::LineEdit*, 8> fieldsOf(TForm1& window)
{
    return {window.Edit1, window.Edit2, window.Edit3, window.Edit4,
            window.Edit5, window.Edit6, window.Edit7, window.Edit8};
}

} // namespace

WorkPicture takenFrom(TForm1& window)
{
    WorkPicture picture;
    picture.takenAt = QDateTime::currentMSecsSinceEpoch();
    const auto fields = fieldsOf(window);
    for (std::size_t i = 0; i < fields.size(); ++i)
        picture.fields[i] = fields[i]->QLineEdit::text();
    picture.countColour = window.Edit7->Color().rgba();
    picture.memo = window.RichEdit1->wholeText();
    picture.renumberShown = !window.Button7->isHidden();

    const widgets::StringGrid& genres = *window.StringGrid1;
    picture.genreColumns = genres.ColCount();
    for (int row = 0; row < genres.RowCount(); ++row)
        for (int col = 0; col < genres.ColCount(); ++col)
            picture.genreCells.push_back(genres.Cells(col, row));
    const EditorState& state = window.state();
    picture.rangeLow = state.RangeLow;
    picture.rangeHigh = state.RangeHigh;
    picture.monFileCount = state.MonFileCount;
    picture.insertBlankLines = state.InsertBlankLines;
    if (state.BankStream)
        picture.bankPath = state.BankStream->path();

    const widgets::StringGrid& questions = *window.StringGrid2;
    for (int col = 0; col < questions.ColCount(); ++col)
        picture.columnWidths.push_back(questions.ColWidths(col));
    picture.table.columns = questions.ColCount();
    return picture;
}

void putInto(TForm1& window, WorkPicture picture)
{
    const auto fields = fieldsOf(window);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        // Quietly: the range fields' handlers would recount a range the picture holds counted.
        const QSignalBlocker quiet(fields[i]);
        fields[i]->QLineEdit::setText(picture.fields[i]);
    }
    window.Edit7->setColor(QColor::fromRgba(picture.countColour));
    window.RichEdit1->QPlainTextEdit::setPlainText(picture.memo);
    window.Button7->setVisible(picture.renumberShown);

    widgets::StringGrid& genres = *window.StringGrid1;
    const int genreColumns = picture.genreColumns;
    genres.setColCount(genreColumns);
    genres.setRowCount(static_cast<int>(picture.genreCells.size()) / genreColumns);
    for (std::size_t i = 0; i < picture.genreCells.size(); ++i)
        genres.setCells(static_cast<int>(i) % genreColumns, static_cast<int>(i) / genreColumns, picture.genreCells[i]);
    EditorState& state = window.state();
    state.RangeLow = picture.rangeLow;
    state.RangeHigh = picture.rangeHigh;
    state.MonFileCount = picture.monFileCount;
    state.InsertBlankLines = picture.insertBlankLines;
    // The bank opens again where it still is; its genres already added come from the picture.
    state.BankStream = picture.bankPath.isEmpty() ? nullptr : BankFile::open(picture.bankPath);

    widgets::StringGrid& questions = *window.StringGrid2;
    const widgets::TableMakeup& table = picture.table;
    questions.setColCount(table.columns);
    questions.setRowCount(1);
    for (int col = 0; col < table.columns; ++col)
        questions.setCells(col, 0, table.text(table.rows.front().text + static_cast<std::size_t>(col)));
    if (table.rows.size() > 1)
        questions.insertRows(1, std::make_shared<const RecoveredTable>(std::move(picture.table), 1));
    for (int col = 0; col < static_cast<int>(picture.columnWidths.size()); ++col)
        questions.setColWidths(col, picture.columnWidths[static_cast<std::size_t>(col)]);
    // What was undone before is gone; the restore itself is no step to undo.
    questions.setHistory(widgets::StringGrid::History::Kept);
}

} // namespace app::recovery
