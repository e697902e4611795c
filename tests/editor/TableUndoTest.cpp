// Undo and redo in the question table, from the keyboard of the real window: every kind of
// user action is one step, Ctrl+Z gives back the table exactly as it was, Ctrl+Y and
// Ctrl+Shift+Z make the action again, and nothing but the table changes on the way (but the
// renumber button, which follows the numbers). A clear the history cannot keep is asked
// about first.

#include "app/TForm1.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/WindowDriver.h"
#include "widgets/Button.h"
#include "widgets/HelpMemo.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/grid/StringGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

#include <string>
#include <vector>

using support::ScriptedPrompts;
using support::TestFolder;

namespace {

using Lines = std::vector<std::string>;

Lines table(const widgets::StringGrid& grid)
{
    Lines cells = support::allCells(grid);
    cells.push_back(std::to_string(grid.ColCount()) + " columns");
    return cells;
}

// What the undo must leave alone: the genre table, the fields with the count's colour and
// the memo pad.
Lines everythingElse(const app::TForm1& form)
{
    Lines seen = support::allCells(*form.StringGrid1);
    for (const widgets::LineEdit* edit : {form.Edit3, form.Edit4, form.Edit5, form.Edit6, form.Edit7, form.Edit8})
        seen.push_back(edit->Text());
    seen.push_back(form.Edit7->Color().name().toStdString());
    const Lines memo = form.RichEdit1->Lines();
    seen.insert(seen.end(), memo.begin(), memo.end());
    return seen;
}

// The renumber button is shown exactly while the numbers are out of order.
bool renumberFollows(const app::TForm1& form)
{
    bool inOrder = true;
    for (int row = 1; row < form.StringGrid2->RowCount() - 1; ++row)
        inOrder = inOrder && form.StringGrid2->Cells(0, row) == std::to_string(row);
    return form.Button7->isVisible() != inOrder;
}

bool viewFollows(const widgets::StringGrid& grid)
{
    const QTableView* view = grid.view();
    if (view->model()->rowCount() != grid.RowCount() - 1)
        return false;
    for (const QHeaderView* header : {view->horizontalHeader(), view->verticalHeader()})
        for (int section = 0; section < header->count(); ++section)
            if (header->visualIndex(section) != section)
                return false;
    return true;
}

// Drags a number cell (rows) or a header cell (columns) from one place to another, in the
// row-moving mode that hovering over the table installs.
void drag(widgets::StringGrid& grid, Qt::Orientation orientation, int from, int to)
{
    support::hover(grid.view()->viewport(), support::cellCenter(grid, 2, 1));
    QHeaderView* header = orientation == Qt::Vertical ? grid.view()->verticalHeader() : grid.view()->horizontalHeader();
    QWidget* surface = header->viewport();
    QTest::mousePress(surface, Qt::LeftButton, {}, support::sectionCenter(header, from - 1));
    QTest::mouseMove(surface, support::sectionCenter(header, (from + to) / 2 - 1));
    QTest::mouseMove(surface, support::sectionCenter(header, to - 1));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, support::sectionCenter(header, to - 1));
}

void press(widgets::StringGrid& grid, QKeyCombination keys)
{
    grid.view()->setFocus();
    QTest::keyClick(grid.view(), keys.key(), keys.keyboardModifiers());
}

enum Action { kClear, kAddGenre, kAddMonFile, kReadAgain, kDragRow, kDragColumn, kEditCell, kRenumber };

} // namespace

class TableUndoTest final : public QObject {
    Q_OBJECT

private slots:
    void eachActionIsOneStep_data();
    void eachActionIsOneStep();
    void clearTooLargeToKeepIsAskedFirst_data();
    void clearTooLargeToKeepIsAskedFirst();
};

void TableUndoTest::eachActionIsOneStep_data()
{
    QTest::addColumn<int>("action");
    QTest::newRow("clear ④") << int(kClear);
    QTest::newRow("add a genre") << int(kAddGenre);
    QTest::newRow("add a mon file") << int(kAddMonFile);
    QTest::newRow("read ①, which restarts the header") << int(kReadAgain);
    QTest::newRow("drag a row") << int(kDragRow);
    QTest::newRow("drag a column") << int(kDragColumn);
    QTest::newRow("edit a cell in place") << int(kEditCell);
    QTest::newRow("renumber ⑤") << int(kRenumber);
}

void TableUndoTest::eachActionIsOneStep()
{
    QFETCH(int, action);

    TestFolder folder;
    // Question texts with bytes that are not Shift-JIS: they must come back unchanged.
    support::BankGenre odd{"Odd", {{"Q\x81\xFF", "A\xA0", {"W1", "W2", "W3", "W4"}}, {"Q2", "A2", {}}}};
    const QString bank = folder.write("undo.5TQ", support::bankBytes({support::numberedGenre(1, 3, "First"), odd}));
    const QString mon = folder.write("extra.mon", support::monText("1", "Extra", "More", {{"MA1", "MQ1"}, {"MA2", "MQ2"}}));
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    widgets::StringGrid& grid = *form.StringGrid2;
    support::readFile(form, prompts, bank, 1);
    support::clickRow(*form.StringGrid1, 2);
    support::clickRow(*form.StringGrid1, 1);
    if (action == kAddMonFile)
        support::readFile(form, prompts, mon, 2);
    if (action == kRenumber)
        drag(grid, Qt::Vertical, 1, 3);

    const Lines before = table(grid);
    const int steps = grid.undoSteps();
    switch (action) {
    case kClear:
        QTest::mouseClick(form.Button4, Qt::LeftButton);
        break;
    case kAddGenre:
        support::clickRow(*form.StringGrid1, 2);
        break;
    case kAddMonFile:
        support::clickRow(*form.StringGrid1, form.state().MonFileCount);
        break;
    case kReadAgain:
        support::readFile(form, prompts, bank, 1);
        break;
    case kDragRow:
        drag(grid, Qt::Vertical, 1, 4);
        break;
    case kDragColumn:
        drag(grid, Qt::Horizontal, 2, 4);
        break;
    case kEditCell: {
        support::realDoubleClick(grid.view()->viewport(), support::cellCenter(grid, 1, 2));
        QLineEdit* editor = grid.inplaceEditor();
        QVERIFY(editor);
        // While the editor is open, Ctrl+Z is the editor's own and leaves the table alone.
        const QString shown = editor->text();
        QTest::keyClicks(editor, u"xy"_qs);
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor->text(), shown);
        QCOMPARE(table(grid), before);
        QCOMPARE(grid.undoSteps(), steps);
        editor->selectAll();
        QTest::keyClicks(editor, u"Edited"_qs);
        // Moving to another cell stores the text; Escape then closes the editor opened there.
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, support::cellCenter(grid, 2, 3));
        if (QLineEdit* reopened = grid.inplaceEditor())
            QTest::keyClick(reopened, Qt::Key_Escape);
        QVERIFY(!grid.EditorMode());
        QCOMPARE(grid.Cells(1, 2), std::string("Edited"));
        break;
    }
    case kRenumber:
        QTest::mouseClick(form.Button7, Qt::LeftButton);
        break;
    }
    const Lines after = table(grid);
    const Lines rest = everythingElse(form);
    QVERIFY(after != before);
    QCOMPARE(grid.undoSteps(), steps + 1);

    press(grid, Qt::CTRL | Qt::Key_Z);
    QCOMPARE(table(grid), before);
    QCOMPARE(everythingElse(form), rest);
    QVERIFY(viewFollows(grid));
    QVERIFY(renumberFollows(form));
    press(grid, Qt::CTRL | Qt::Key_Y);
    QCOMPARE(table(grid), after);
    QVERIFY(renumberFollows(form));
    press(grid, Qt::CTRL | Qt::Key_Z);
    QCOMPARE(table(grid), before);
    press(grid, Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    QCOMPARE(table(grid), after);
    QCOMPARE(everythingElse(form), rest);
    QVERIFY(viewFollows(grid));
    QVERIFY(renumberFollows(form));
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void TableUndoTest::clearTooLargeToKeepIsAskedFirst_data()
{
    QTest::addColumn<std::size_t>("historyBytes");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("kept: no question") << std::size_t(1024) << int(-1) << true;
    QTest::newRow("too large, answered yes") << std::size_t(64) << int(widgets::MessageAnswer::Yes) << true;
    QTest::newRow("too large, answered no") << std::size_t(64) << int(widgets::MessageAnswer::No) << false;
}

void TableUndoTest::clearTooLargeToKeepIsAskedFirst()
{
    QFETCH(std::size_t, historyBytes);
    QFETCH(int, answer);
    QFETCH(bool, cleared);

    TestFolder folder;
    const QString bank = folder.write("large.5TQ", support::bankBytes({support::numberedGenre(1, 3000, "Many")}));
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    widgets::StringGrid& grid = *form.StringGrid2;
    // A bound in KiB above or below what this table's clear keeps (3,000 rows of about 80
    // bytes, and their handles).
    grid.setHistory(widgets::StringGrid::History::Kept, {100, historyBytes << 10});
    support::readFile(form, prompts, bank, 1);
    support::clickRow(*form.StringGrid1, 1);
    const Lines before = table(grid);
    if (answer >= 0)
        prompts.answer(widgets::MessageAnswer(answer));
    QTest::mouseClick(form.Button4, Qt::LeftButton);

    const auto asked = prompts.callsOf(ScriptedPrompts::Kind::Message);
    QCOMPARE(asked.size(), std::size_t(answer >= 0 ? 1 : 0));
    if (!asked.empty())
        QCOMPARE(asked.front().messageKind, widgets::MessageKind::Confirmation);
    QCOMPARE(grid.RowCount(), cleared ? 2 : 3002);
    if (cleared) {
        // A clear the history kept comes back; the one the user was warned about does not.
        press(grid, Qt::CTRL | Qt::Key_Z);
        QCOMPARE(table(grid) == before, answer < 0);
    }
    QVERIFY(prompts.unexpected().empty());
}

QTEST_MAIN(TableUndoTest)
#include "TableUndoTest.moc"
