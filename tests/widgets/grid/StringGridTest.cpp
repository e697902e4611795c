// The string grid driven through its view: cells and counts, selectCell against the current
// cell, the in-place editor and getEditText, moving rows and columns by call and by dragging
// a fixed cell, double clicks, mouse moves, batch insertion and unencodable edits.

#include "text/EditorError.h"
#include "support/ControlDriver.h"
#include "support/ScriptedPrompts.h"
#include "widgets/Dispatch.h"
#include "widgets/grid/GridRows.h"
#include "widgets/LineEdit.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTableView>
#include <QScrollBar>
#include <QtTest>

#include <functional>
#include <iterator>
#include <set>

#include <cstdio>
#include <numeric>

#include <sys/resource.h>
#include <unistd.h>
#include <string>
#include <vector>

using support::cellCenter;
using support::realDoubleClick;
using support::sectionCenter;
using widgets::StringGrid;

namespace {

enum Surface { kCells, kNumberColumn, kHeaderRow, kCorner };

std::string label(int col, int row)
{
    return QStringLiteral("c%1r%2").arg(col).arg(row).toStdString();
}

QString at(int col, int row)
{
    return QStringLiteral("%1,%2").arg(col).arg(row);
}

void fill(StringGrid& grid)
{
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            grid.setCells(col, row, label(col, row));
}

void show(StringGrid& grid)
{
    grid.resize(600, 400);
    grid.show();
}

// The widget that gets the mouse over a part of the grid, and where its origin lies in grid
// coordinates. The corner is whatever widget sits over the fixed cell (0,0).
std::pair<QWidget*, QPoint> surfaceOf(const StringGrid& grid, int surface)
{
    const QTableView* view = grid.view();
    switch (surface) {
    case kCells:
        return {view->viewport(), QPoint(grid.ColWidths(0), grid.RowHeights(0))};
    case kNumberColumn:
        return {view->verticalHeader()->viewport(), QPoint(0, grid.RowHeights(0))};
    case kHeaderRow:
        return {view->horizontalHeader()->viewport(), QPoint(grid.ColWidths(0), 0)};
    default:
        return {view->childAt(view->verticalHeader()->x() + 2, view->horizontalHeader()->y() + 2), QPoint()};
    }
}

} // namespace

class StringGridTest : public QObject {
    Q_OBJECT

private slots:
    void cells_data();
    void cells();
    void rowCountAppendsAndDrops();
    void selectCell_data();
    void selectCell();
    void editorShowsGetEditTextAndStoresTyping_data();
    void editorShowsGetEditTextAndStoresTyping();
    void moveRowOrColumn_data();
    void moveRowOrColumn();
    void movesOutsideTheLinesAreRefused_data();
    void movesOutsideTheLinesAreRefused();
    void sizesAndScrollBars_data();
    void sizesAndScrollBars();
    void linesAndFocusFramePainted_data();
    void linesAndFocusFramePainted();
    void columnSetTellsItsCells_data();
    void columnSetTellsItsCells();
    void rowsInsertedAfterAColumnMove();
    void dragsMoveTheCurrentCellAndScrollOnlyPastTheEdge();
    void doubleClick_data();
    void doubleClick();
    void mouseMovesAreReported_data();
    void mouseMovesAreReported();
    void insertRowsKeepsCurrentCell_data();
    void insertRowsKeepsCurrentCell();
    void unencodableEditIsRefused_data();
    void unencodableEditIsRefused();
    void insertionOutOfMemoryChangesNothing();
    void gestureErrorsEndAtTheBoundary_data();
    void gestureErrorsEndAtTheBoundary();
    void longTextIsNeverCut();
};

void StringGridTest::cells_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("inside");

    QTest::newRow("corner") << 0 << 0 << true;
    QTest::newRow("fixed row") << 2 << 0 << true;
    QTest::newRow("fixed column") << 0 << 3 << true;
    QTest::newRow("normal") << 3 << 2 << true;
    QTest::newRow("last") << 4 << 4 << true;
    QTest::newRow("column -1") << -1 << 0 << false;
    QTest::newRow("row -1") << 0 << -1 << false;
    QTest::newRow("column past end") << 5 << 1 << false;
    QTest::newRow("row past end") << 1 << 5 << false;
}

void StringGridTest::cells()
{
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(bool, inside);

    StringGrid grid;
    fill(grid);
    const std::string text = sjis::fromUtf8(u8"第1問") + "\x81";
    if (inside) {
        grid.setCells(col, row, text);
        QCOMPARE(grid.Cells(col, row), text);
    } else {
        QCOMPARE(grid.Cells(col, row), std::string());
        QVERIFY_THROWS_EXCEPTION(text::EditorError, grid.setCells(col, row, text));
        QCOMPARE(grid.Cells(col, row), std::string());
    }
    for (int r = 0; r < grid.RowCount(); ++r)
        for (int c = 0; c < grid.ColCount(); ++c)
            if (c != col || r != row)
                QCOMPARE(grid.Cells(c, r), label(c, r));

    // Row 0 and column 0 are the view's headers, the other cells its items.
    const QAbstractItemModel* model = grid.view()->model();
    const QString shown = sjis::toUnicode(text);
    if (inside && row == 0 && col > 0)
        QCOMPARE(model->headerData(col - 1, Qt::Horizontal).toString(), shown);
    else if (inside && col == 0 && row > 0)
        QCOMPARE(model->headerData(row - 1, Qt::Vertical).toString(), shown);
    else if (inside && col > 0)
        QCOMPARE(model->index(row - 1, col - 1).data().toString(), shown);
}

void StringGridTest::rowCountAppendsAndDrops()
{
    StringGrid grid;
    fill(grid);
    grid.setRowCount(7);
    QCOMPARE(grid.RowCount(), 7);
    QCOMPARE(grid.view()->model()->rowCount(), 6);
    QCOMPARE(grid.Cells(2, 4), label(2, 4));
    QCOMPARE(grid.Cells(2, 5), std::string());
    QCOMPARE(grid.Cells(0, 6), std::string());

    grid.setRowCount(3);
    QCOMPARE(grid.Cells(1, 2), label(1, 2));
    QCOMPARE(grid.Cells(1, 3), std::string());
    grid.setRowCount(5);
    for (int col = 0; col < grid.ColCount(); ++col) {
        QCOMPARE(grid.Cells(col, 2), label(col, 2));
        QCOMPARE(grid.Cells(col, 3), std::string());
        QCOMPARE(grid.Cells(col, 4), std::string());
    }
}

void StringGridTest::selectCell_data()
{
    QTest::addColumn<QPoint>("start");   // (col,row), set by program
    QTest::addColumn<int>("key");        // 0: click the target cell
    QTest::addColumn<QPoint>("target");
    QTest::addColumn<bool>("editing");   // goEditing without goAlwaysShowEditor
    QTest::addColumn<bool>("refuse");    // the handler clears *canSelect
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QPoint>("end");
    QTest::addColumn<bool>("editor");

    const QPoint home(1, 1);
    const QStringList none;
    QTest::newRow("initial cell clicked") << home << 0 << home << false << false << none << home << false;
    QTest::newRow("other cell clicked") << home << 0 << QPoint(3, 2) << false << false
                                        << QStringList{u"3,2 from 1,1"_qs} << QPoint(3, 2) << false;
    QTest::newRow("current cell clicked") << QPoint(3, 3) << 0 << QPoint(3, 3) << false << false << none
                                          << QPoint(3, 3) << false;
    QTest::newRow("click refused") << home << 0 << QPoint(3, 3) << false << true
                                   << QStringList{u"3,3 from 1,1"_qs} << home << false;
    QTest::newRow("other cell clicked, editing") << home << 0 << QPoint(2, 3) << true << false
                                                 << QStringList{u"2,3 from 1,1"_qs} << QPoint(2, 3) << false;
    QTest::newRow("current cell clicked, editing") << QPoint(2, 3) << 0 << QPoint(2, 3) << true << false << none
                                                   << QPoint(2, 3) << true;
    QTest::newRow("right") << QPoint(2, 2) << int(Qt::Key_Right) << QPoint() << false << false
                           << QStringList{u"3,2 from 2,2"_qs} << QPoint(3, 2) << false;
    QTest::newRow("down") << QPoint(2, 2) << int(Qt::Key_Down) << QPoint() << false << false
                          << QStringList{u"2,3 from 2,2"_qs} << QPoint(2, 3) << false;
    QTest::newRow("left") << QPoint(2, 2) << int(Qt::Key_Left) << QPoint() << false << false
                          << QStringList{u"1,2 from 2,2"_qs} << QPoint(1, 2) << false;
    QTest::newRow("right refused") << home << int(Qt::Key_Right) << QPoint() << false << true
                                   << QStringList{u"2,1 from 1,1"_qs} << home << false;
    QTest::newRow("down refused") << home << int(Qt::Key_Down) << QPoint() << false << true
                                  << QStringList{u"1,2 from 1,1"_qs} << home << false;
    QTest::newRow("up into fixed row") << QPoint(2, 1) << int(Qt::Key_Up) << QPoint() << false << false << none
                                       << QPoint(2, 1) << false;
    QTest::newRow("left into fixed column") << QPoint(1, 3) << int(Qt::Key_Left) << QPoint() << false << false
                                            << none << QPoint(1, 3) << false;
}

void StringGridTest::selectCell()
{
    QFETCH(QPoint, start);
    QFETCH(int, key);
    QFETCH(QPoint, target);
    QFETCH(bool, editing);
    QFETCH(bool, refuse);
    QFETCH(QStringList, events);
    QFETCH(QPoint, end);
    QFETCH(bool, editor);

    StringGrid grid;
    fill(grid);
    if (editing)
        grid.setOptions(widgets::kGridLineOptions | widgets::goEditing);
    show(grid);
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(1, 1));
    QStringList seen;  // the cell asked for, and the current cell while asking
    connect(&grid, &StringGrid::selectCell, [&](int col, int row, bool* canSelect) {
        QVERIFY(*canSelect);
        seen << at(col, row) + u" from "_qs + at(grid.Col(), grid.Row());
        *canSelect = !refuse;
    });
    grid.setCol(start.x());
    grid.setRow(start.y());
    QCOMPARE(seen, QStringList());  // moving by program asks nobody

    if (key)
        QTest::keyClick(grid.view(), Qt::Key(key));
    else
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cellCenter(grid, target.x(), target.y()));
    QCOMPARE(seen, events);
    QCOMPARE(QPoint(grid.Col(), grid.Row()), end);
    QCOMPARE(grid.view()->currentIndex(), grid.view()->model()->index(end.y() - 1, end.x() - 1));
    QCOMPARE(grid.EditorMode(), editor);
    if (editor)
        QCOMPARE(grid.inplaceEditor()->text(), QString::fromStdString(label(end.x(), end.y())));
}

void StringGridTest::editorShowsGetEditTextAndStoresTyping_data()
{
    QTest::addColumn<bool>("switchToRowMoving");

    QTest::newRow("switched to row moving") << true;
    QTest::newRow("kept editing") << false;
}

void StringGridTest::editorShowsGetEditTextAndStoresTyping()
{
    QFETCH(bool, switchToRowMoving);

    StringGrid grid;
    grid.setCells(1, 1, sjis::fromUtf8(u8"問題"));
    grid.setCells(2, 2, "other");
    show(grid);
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QStringList asked;  // the cell asked about, and what an editor showed at that moment
    connect(&grid, &StringGrid::getEditText, [&](int col, int row, std::string* text) {
        asked << at(col, row) + u':' + (grid.inplaceEditor() ? grid.inplaceEditor()->text() : QString());
        *text += "!";
    });

    grid.setOptions(widgets::kCellEditingOptions);
    QVERIFY(grid.EditorMode());
    QPointer<QLineEdit> editor = grid.inplaceEditor();
    QCOMPARE(asked, QStringList{u"1,1:"_qs});
    QCOMPARE(editor->text(), u"問題!"_qs);
    QCOMPARE(editor->selectedText(), u"問題!"_qs);
    QCOMPARE(grid.Cells(1, 1), sjis::fromUtf8(u8"問題"));

    if (switchToRowMoving) {
        grid.setOptions(widgets::kRowMovingOptions);
        QVERIFY(grid.EditorMode());
        QCOMPARE(grid.inplaceEditor(), editor.data());
        QCOMPARE(asked.size(), 1);
    }
    QTest::keyClicks(editor, u"abc"_qs);
    QCOMPARE(editor->text(), u"abc"_qs);

    QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cellCenter(grid, 2, 2));
    QCOMPARE(grid.Cells(1, 1), std::string("abc"));
    QCOMPARE(grid.Cells(2, 2), std::string("other"));
    QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(2, 2));
    // Editing on, the editor opens again on the new cell.
    QCOMPARE(grid.EditorMode(), !switchToRowMoving);
    if (!switchToRowMoving) {
        QCOMPARE(asked, (QStringList{u"1,1:"_qs, u"2,2:"_qs}));
        QCOMPARE(grid.inplaceEditor()->text(), u"other!"_qs);
    }
}

void StringGridTest::moveRowOrColumn_data()
{
    QTest::addColumn<bool>("rows");
    QTest::addColumn<bool>("drag");
    QTest::addColumn<bool>("allowed");  // the drag's moving option is on
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");

    QTest::newRow("moveRow 5 to 2") << true << false << true << 5 << 2;
    QTest::newRow("moveRow 2 to 5") << true << false << true << 2 << 5;
    QTest::newRow("moveRow 1 to 6") << true << false << true << 1 << 6;
    QTest::newRow("drag row 5 to 2") << true << true << true << 5 << 2;
    QTest::newRow("drag row 2 to 6") << true << true << true << 2 << 6;
    QTest::newRow("drag row without goRowMoving") << true << true << false << 5 << 2;
    QTest::newRow("moveColumn 4 to 1") << false << false << true << 4 << 1;
    QTest::newRow("moveColumn 1 to 5") << false << false << true << 1 << 5;
    QTest::newRow("drag column 4 to 1") << false << true << true << 4 << 1;
    QTest::newRow("drag column 2 to 5") << false << true << true << 2 << 5;
    QTest::newRow("drag column without goColMoving") << false << true << false << 4 << 1;
}

void StringGridTest::moveRowOrColumn()
{
    QFETCH(bool, rows);
    QFETCH(bool, drag);
    QFETCH(bool, allowed);
    QFETCH(int, from);
    QFETCH(int, to);

    StringGrid grid;
    grid.setRowCount(7);
    grid.setColCount(6);
    fill(grid);
    grid.setOptions(widgets::kRowMovingOptions
                    & ~(allowed ? widgets::GridOptions() : rows ? widgets::goRowMoving : widgets::goColMoving));
    show(grid);
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    std::vector<int> order(std::size_t(rows ? grid.RowCount() : grid.ColCount()));
    std::iota(order.begin(), order.end(), 0);
    if (allowed) {
        order.erase(order.begin() + from);
        order.insert(order.begin() + to, from);
    }

    QStringList moves;  // each move with the text of cell 1 of the moved line as it then was
    connect(&grid, &StringGrid::rowMoved, [&](int f, int t) {
        moves << u"row "_qs + at(f, t) + u':' + QString::fromStdString(grid.Cells(1, t));
    });
    connect(&grid, &StringGrid::colMoved, [&](int f, int t) {
        moves << u"col "_qs + at(f, t) + u':' + QString::fromStdString(grid.Cells(t, 1));
    });

    if (drag) {
        QHeaderView* header = rows ? grid.view()->verticalHeader() : grid.view()->horizontalHeader();
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, sectionCenter(header, from - 1));
        QTest::mouseMove(header->viewport(), sectionCenter(header, (from + to) / 2 - 1));
        QTest::mouseMove(header->viewport(), sectionCenter(header, to - 1));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, sectionCenter(header, to - 1));
    } else if (rows) {
        grid.moveRow(from, to);
    } else {
        grid.moveColumn(from, to);
    }

    QStringList expectedMoves;
    if (allowed)
        expectedMoves << (rows ? u"row "_qs : u"col "_qs) + at(from, to) + u':'
                             + QString::fromStdString(rows ? label(1, from) : label(from, 1));
    QCOMPARE(moves, expectedMoves);
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            QCOMPARE(grid.Cells(col, row),
                     rows ? label(col, order[std::size_t(row)]) : label(order[std::size_t(col)], row));
    // The fixed cell moved along, and the header shows it.
    const int now = order[std::size_t(to)];
    QCOMPARE(grid.view()->model()->headerData(to - 1, rows ? Qt::Vertical : Qt::Horizontal).toString(),
             QString::fromStdString(rows ? label(0, now) : label(now, 0)));
}

void StringGridTest::movesOutsideTheLinesAreRefused_data()
{
    QTest::addColumn<bool>("rows");
    QTest::addColumn<bool>("pinned");  // the blank last row stays last
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("row from the header") << true << false << 0 << 2;
    QTest::newRow("row to the header") << true << false << 2 << 0;
    QTest::newRow("row from past the end") << true << false << 7 << 2;
    QTest::newRow("row to past the end") << true << false << 2 << 7;
    QTest::newRow("row to the pinned last row") << true << true << 2 << 6;
    QTest::newRow("pinned last row moved") << true << true << 6 << 2;
    QTest::newRow("column from the fixed one") << false << false << 0 << 2;
    QTest::newRow("column to past the end") << false << false << 2 << 6;
}

void StringGridTest::movesOutsideTheLinesAreRefused()
{
    QFETCH(bool, rows);
    QFETCH(bool, pinned);
    QFETCH(int, from);
    QFETCH(int, to);
    StringGrid grid;
    grid.setRowCount(7);
    grid.setColCount(6);
    fill(grid);
    grid.setLastRow(pinned ? StringGrid::LastRow::Pinned : StringGrid::LastRow::Movable);
    QCOMPARE(rows ? grid.canMoveRow(from, to) : grid.canMoveColumn(from, to), false);
    QVERIFY_THROWS_EXCEPTION(text::EditorError, rows ? grid.moveRow(from, to) : grid.moveColumn(from, to));
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            QCOMPARE(grid.Cells(col, row), label(col, row));
}

void StringGridTest::sizesAndScrollBars_data()
{
    QTest::addColumn<int>("bars");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<bool>("vertical");
    QTest::newRow("none") << int(StringGrid::ScrollBars::None) << false << false;
    QTest::newRow("horizontal") << int(StringGrid::ScrollBars::Horizontal) << true << false;
    QTest::newRow("vertical") << int(StringGrid::ScrollBars::Vertical) << false << true;
    QTest::newRow("both") << int(StringGrid::ScrollBars::Both) << true << true;
}

void StringGridTest::sizesAndScrollBars()
{
    QFETCH(int, bars);
    QFETCH(bool, horizontal);
    QFETCH(bool, vertical);
    StringGrid grid;
    QCOMPARE(grid.ColWidths(2), 64);  // a new grid's columns, as its kind has always had them
    // The fixed column is the row header; the others are the header's sections.
    grid.setColWidths(0, 41);
    grid.setColWidths(2, 93);
    grid.setRowHeights(0, 27);
    grid.setRowHeights(3, 31);
    QCOMPARE((QList<int>{grid.ColWidths(0), grid.ColWidths(1), grid.ColWidths(2), grid.RowHeights(0), grid.RowHeights(3)}),
             (QList<int>{41, 64, 93, 27, 31}));
    grid.setScrollBars(StringGrid::ScrollBars(bars));
    const auto shown = [](bool on) { return on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff; };
    QCOMPARE(grid.view()->horizontalScrollBarPolicy(), shown(horizontal));
    QCOMPARE(grid.view()->verticalScrollBarPolicy(), shown(vertical));
}

void StringGridTest::linesAndFocusFramePainted_data()
{
    QTest::addColumn<bool>("lines");
    QTest::newRow("grid lines") << true;
    QTest::newRow("no grid lines") << false;
}

void StringGridTest::linesAndFocusFramePainted()
{
    QFETCH(bool, lines);
    // Each cell's painting gives the painter back as it found it.
    QTest::failOnWarning(QRegularExpression(u"saved states"_qs));
    StringGrid grid;
    grid.setOptions(lines ? grid.Options() | widgets::kGridLineOptions : grid.Options() & ~widgets::kGridLineOptions);
    show(grid);
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QApplication::setActiveWindow(&grid);
    grid.view()->setFocus();
    grid.setCol(2);
    grid.setRow(2);
    QTRY_VERIFY(grid.view()->hasFocus());
    const QImage cells = grid.view()->viewport()->grab().toImage();
    const QImage header = grid.view()->horizontalHeader()->viewport()->grab().toImage();
    const auto colour = [](const QImage& image, QPoint at) { return image.pixelColor(at * image.devicePixelRatio()); };

    // A cell's right and bottom edges, between normal cells and between fixed ones.
    const QRect plain = grid.view()->visualRect(grid.view()->model()->index(2, 0));
    const QColor blank = colour(cells, plain.center());
    QCOMPARE(colour(cells, QPoint(plain.right(), plain.center().y())), lines ? QColor(192, 192, 192) : blank);
    QCOMPARE(colour(cells, QPoint(plain.center().x(), plain.bottom())), lines ? QColor(192, 192, 192) : blank);
    const int section = grid.view()->horizontalHeader()->sectionViewportPosition(0)
                        + grid.view()->horizontalHeader()->sectionSize(0) - 1;
    QCOMPARE(colour(header, QPoint(section, header.height() / 2)) == QColor(Qt::black), lines);

    // The focused current cell: a black frame two pixels wide inside its lines.
    const QRect current = grid.view()->visualRect(grid.view()->currentIndex());
    const int y = current.center().y();
    QCOMPARE((QList<QColor>{colour(cells, QPoint(current.left(), y)), colour(cells, QPoint(current.left() + 1, y)),
                            colour(cells, QPoint(current.left() + 2, y)), colour(cells, QPoint(current.right() - 2, y)),
                            colour(cells, QPoint(current.right() - 3, y))}),
             (QList<QColor>{Qt::black, Qt::black, blank, Qt::black, blank}));
}

void StringGridTest::columnSetTellsItsCells_data()
{
    QTest::addColumn<int>("col");
    QTest::newRow("number column (the row header)") << 0;
    QTest::newRow("a normal column") << 2;
}

void StringGridTest::columnSetTellsItsCells()
{
    // Whatever follows the model (the view, the duplicate marks) hears of every cell that a
    // column set changes, as it is made and as it is undone and redone.
    QFETCH(int, col);
    StringGrid grid;
    grid.setRowCount(7);
    grid.setColCount(4);
    fill(grid);
    grid.setHistory(StringGrid::History::Kept);
    const QAbstractItemModel* model = grid.view()->model();
    std::set<std::pair<int, int>> told;  // grid column and row
    connect(model, &QAbstractItemModel::dataChanged, [&](const QModelIndex& from, const QModelIndex& to) {
        for (int row = from.row(); row <= to.row(); ++row)
            for (int c = from.column(); c <= to.column(); ++c)
                told.insert({c + 1, row + 1});
    });
    connect(model, &QAbstractItemModel::headerDataChanged, [&](Qt::Orientation orientation, int first, int last) {
        for (int i = first; i <= last; ++i)
            told.insert(orientation == Qt::Vertical ? std::pair(0, i + 1) : std::pair(i + 1, 0));
    });
    const std::vector<std::string> texts{"x2", "x3", "x4", "x5"};
    const std::set<std::pair<int, int>> changed{{col, 2}, {col, 3}, {col, 4}, {col, 5}};
    const auto toldOf = [&](const std::function<void()>& action) {
        told.clear();
        action();
        std::set<std::pair<int, int>> missing;
        std::set_difference(changed.begin(), changed.end(), told.begin(), told.end(), std::inserter(missing, missing.end()));
        return missing.size();
    };
    QCOMPARE(toldOf([&] { grid.setColumnCells(col, 2, texts); }), std::size_t(0));
    QCOMPARE(toldOf([&] { QVERIFY(grid.undo()); }), std::size_t(0));
    QCOMPARE(grid.Cells(col, 5), label(col, 5));
    QCOMPARE(toldOf([&] { QVERIFY(grid.redo()); }), std::size_t(0));
    QCOMPARE(grid.Cells(col, 5), std::string("x5"));
}

void StringGridTest::rowsInsertedAfterAColumnMove()
{
    // Rows are given in the columns as shown, the fixed number column included.
    StringGrid grid;
    grid.setRowCount(3);
    grid.setColCount(4);
    fill(grid);
    grid.moveColumn(1, 3);
    grid.insertRows(2, std::vector<std::vector<std::string>>{{"n1", "a1", "b1", "c1"}, {"n2", "a2", "b2", "c2"}});
    QCOMPARE((std::vector<std::string>{grid.Cells(0, 2), grid.Cells(1, 2), grid.Cells(2, 2), grid.Cells(3, 2),
                                       grid.Cells(0, 3), grid.Cells(3, 3), grid.Cells(3, 4)}),
             (std::vector<std::string>{"n1", "a1", "b1", "c1", "n2", "c2", label(1, 2)}));
}

void StringGridTest::dragsMoveTheCurrentCellAndScrollOnlyPastTheEdge()
{
    StringGrid grid;
    grid.setRowCount(60);
    grid.setColCount(6);
    fill(grid);
    grid.setOptions(widgets::kRowMovingOptions & ~widgets::goRangeSelect);
    show(grid);
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QTableView* view = grid.view();

    // Without range selection the current cell follows a drag over the cells.
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, cellCenter(grid, 1, 1));
    QTest::mouseMove(view->viewport(), cellCenter(grid, 3, 4));
    QCOMPARE((QPoint(grid.Col(), grid.Row())), QPoint(3, 4));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, cellCenter(grid, 3, 4));

    // A row held by its number scrolls the table one row per move past the last one shown,
    // and not while the pointer is over the rows shown.
    QHeaderView* numbers = view->verticalHeader();
    QScrollBar* bar = view->verticalScrollBar();
    QCOMPARE(bar->value(), 0);
    QTest::mousePress(numbers->viewport(), Qt::LeftButton, {}, sectionCenter(numbers, 0));
    QTest::mouseMove(numbers->viewport(), sectionCenter(numbers, 3));
    QCOMPARE(bar->value(), 0);
    QTest::mouseMove(numbers->viewport(), QPoint(numbers->width() / 2, numbers->viewport()->height() + 4));
    QTest::mouseMove(numbers->viewport(), QPoint(numbers->width() / 2, numbers->viewport()->height() + 6));
    QCOMPARE(bar->value(), 2);
    QTest::mouseRelease(numbers->viewport(), Qt::LeftButton, {}, sectionCenter(numbers, 0));
}

void StringGridTest::doubleClick_data()
{
    QTest::addColumn<int>("surface");
    QTest::addColumn<bool>("secondPress");  // a press comes before the double-click event
    QTest::addColumn<bool>("editing");

    QTest::newRow("cell") << int(kCells) << true << false;
    QTest::newRow("cell, editing") << int(kCells) << true << true;
    QTest::newRow("cell, no second press") << int(kCells) << false << false;
    QTest::newRow("cell, no second press, editing") << int(kCells) << false << true;
    QTest::newRow("number column") << int(kNumberColumn) << true << false;
    QTest::newRow("header row") << int(kHeaderRow) << true << false;
    QTest::newRow("corner") << int(kCorner) << true << false;
}

void StringGridTest::doubleClick()
{
    QFETCH(int, surface);
    QFETCH(bool, secondPress);
    QFETCH(bool, editing);

    StringGrid grid;
    if (editing)
        grid.setOptions(widgets::kGridLineOptions | widgets::goEditing);
    show(grid);
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    int clicks = 0, doubleClicks = 0, selects = 0;
    connect(&grid, &StringGrid::clicked, [&] { ++clicks; });
    connect(&grid, &StringGrid::doubleClicked, [&] { ++doubleClicks; });
    connect(&grid, &StringGrid::selectCell, [&] { ++selects; });

    QWidget* target = surfaceOf(grid, surface).first;
    QVERIFY(target);
    const QPoint pos = surface == kCells ? cellCenter(grid, 3, 2) : QPoint(10, 10);
    if (secondPress) {
        realDoubleClick(target, pos);
    } else {
        QTest::mouseClick(target, Qt::LeftButton, {}, pos);
        QTest::mouseDClick(target, Qt::LeftButton, {}, pos);
        QTest::mouseRelease(target, Qt::LeftButton, {}, pos);
    }
    QCOMPARE(doubleClicks, 1);
    if (surface != kCells) {
        QCOMPARE(selects, 0);
        QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(1, 1));
        return;
    }
    // The first click moves to the cell; the second is only the double click, so it neither
    // counts as a click nor, as a click on the current cell would, opens the editor.
    QCOMPARE(clicks, 1);
    QCOMPARE(selects, 1);
    QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(3, 2));
    QVERIFY(!grid.EditorMode());

    QTest::mouseClick(target, Qt::LeftButton, {}, pos);
    QCOMPARE(clicks, 2);
    QCOMPARE(doubleClicks, 1);
    QCOMPARE(grid.EditorMode(), editing);
}

void StringGridTest::mouseMovesAreReported_data()
{
    QTest::addColumn<int>("surface");
    QTest::addColumn<QPoint>("pos");

    QTest::newRow("normal cell") << int(kCells) << QPoint(70, 30);
    QTest::newRow("number column") << int(kNumberColumn) << QPoint(12, 41);
    QTest::newRow("header row") << int(kHeaderRow) << QPoint(93, 9);
    QTest::newRow("corner") << int(kCorner) << QPoint(17, 13);
}

void StringGridTest::mouseMovesAreReported()
{
    QFETCH(int, surface);
    QFETCH(QPoint, pos);

    StringGrid grid;
    show(grid);
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QList<QPoint> moves;
    connect(&grid, &StringGrid::mouseMoved, [&](Qt::KeyboardModifiers, int x, int y) { moves << QPoint(x, y); });

    const auto [target, origin] = surfaceOf(grid, surface);
    QVERIFY(target);
    QTest::mouseMove(target, pos);
    QTRY_VERIFY2(moves.contains(origin + pos), qPrintable(QString::number(moves.size()) + u" moves"_qs));
}

void StringGridTest::insertRowsKeepsCurrentCell_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("currentRow");

    QTest::newRow("before last, current above") << 4 << 2;
    QTest::newRow("before last, current on last") << 4 << 4;
    QTest::newRow("before first, current below") << 1 << 3;
}

void StringGridTest::insertRowsKeepsCurrentCell()
{
    QFETCH(int, before);
    QFETCH(int, currentRow);

    StringGrid grid;
    fill(grid);
    show(grid);
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setCol(2);
    grid.setRow(currentRow);
    int selects = 0;
    connect(&grid, &StringGrid::selectCell, [&] { ++selects; });

    std::vector<std::vector<std::string>> inserted(3);
    for (std::size_t i = 0; i < inserted.size(); ++i)
        for (int col = 0; col < grid.ColCount(); ++col)
            inserted[i].push_back(QStringLiteral("new%1/%2").arg(i).arg(col).toStdString());
    grid.insertRows(before, inserted);

    QCOMPARE(grid.RowCount(), 8);
    QCOMPARE(grid.view()->model()->rowCount(), 7);
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            QCOMPARE(grid.Cells(col, row), row < before       ? label(col, row)
                                           : row < before + 3 ? inserted[std::size_t(row - before)][std::size_t(col)]
                                                              : label(col, row - 3));
    QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(2, currentRow));
    QCOMPARE(grid.view()->currentIndex(), grid.view()->model()->index(currentRow - 1, 1));
    QCOMPARE(selects, 0);
}

void StringGridTest::unencodableEditIsRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<uint>("character");
    QTest::addColumn<bool>("byReturn");

    const QString emoji = QString::fromUcs4(U"\U0001F600", 1);
    QTest::newRow("emoji, click elsewhere") << emoji << 0x1F600u << false;
    QTest::newRow("emoji after text, Return") << u"ab"_qs + emoji << 0x1F600u << true;
    QTest::newRow("e acute, click elsewhere") << u"\u00E9"_qs << 0xE9u << false;
}

void StringGridTest::unencodableEditIsRefused()
{
    QFETCH(QString, typed);
    QFETCH(uint, character);
    QFETCH(bool, byReturn);

    StringGrid grid;
    grid.setCells(1, 1, "old");
    show(grid);
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QStringList refused;
    connect(&grid, &StringGrid::unencodableText, [&](int col, int row, char32_t c) {
        refused << at(col, row) + u':' + QString::number(uint(c), 16);
    });
    grid.setOptions(widgets::kCellEditingOptions);
    QLineEdit* editor = grid.inplaceEditor();
    QVERIFY(editor);

    // One key per character; a character beyond U+FFFF comes as one key text of two units.
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const qsizetype units = typed.at(i).isHighSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, typed.mid(i, units), Qt::NoModifier);
        i += units - 1;
    }
    QCOMPARE(editor->text(), typed);

    if (byReturn)
        QTest::keyClick(editor, Qt::Key_Return);
    else
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cellCenter(grid, 2, 2));
    QTRY_COMPARE(refused, QStringList{u"1,1:"_qs + QString::number(character, 16)});
    QCOMPARE(grid.Cells(1, 1), std::string("old"));

    // Nothing typed is lost: the editor is open again on the cell, which is current again,
    // holding the text as typed with the caret before the refused character.
    editor = grid.inplaceEditor();
    QVERIFY(editor);
    QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(1, 1));
    QCOMPARE(editor->text(), typed);
    QCOMPARE(editor->cursorPosition(), int(typed.size() - (character > 0xFFFF ? 2 : 1)));
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(QString::fromStdString(grid.Cells(1, 1)), typed.left(typed.size() - (character > 0xFFFF ? 2 : 1)));
    QCOMPARE(refused.size(), 1);
}

// Rows that cannot be stored leave the grid, its model and its view agreeing on the rows
// they had, and the user is told in Japanese, not with std::bad_alloc's English.
void StringGridTest::insertionOutOfMemoryChangesNothing()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer's shadow memory does not live within an address-space limit");
#else
    StringGrid grid;
    grid.setColCount(5);
    grid.setRowCount(3);
    grid.setCells(1, 1, "kept");
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    widgets::GridRows rows(5);
    const std::string text(200, 'x');
    for (int i = 0; i < 200000; ++i)
        rows.append({"n", text, text, text, text});

    long pages = 0;
    QFile statm(QStringLiteral("/proc/self/statm"));
    QVERIFY(statm.open(QIODevice::ReadOnly));
    QVERIFY(std::sscanf(statm.readAll().constData(), "%ld", &pages) == 1);
    rlimit old {};
    QCOMPARE(getrlimit(RLIMIT_AS, &old), 0);
    // Room for a little more than the process holds now: far less than the rows need.
    rlimit tight = old;
    tight.rlim_cur = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (32u << 20);
    QCOMPARE(setrlimit(RLIMIT_AS, &tight), 0);
    support::ScriptedPrompts prompts;
    widgets::dispatch(prompts, [&] { grid.insertRows(2, rows); });
    QCOMPARE(setrlimit(RLIMIT_AS, &old), 0);

    QCOMPARE(prompts.errorTexts(), std::vector<std::string>{sjis::fromUtf8(u8"メモリが足りないため、処理を中止しました.")});
    QCOMPARE(grid.RowCount(), 3);
    QCOMPARE(grid.view()->model()->rowCount(), 2);
    QCOMPARE(grid.view()->verticalHeader()->count(), 2);
    QCOMPARE(grid.Cells(1, 1), std::string("kept"));
    // And the grid goes on working.
    grid.insertRows(2, widgets::GridRows::from({{"a", "b"}}));
    QCOMPARE(grid.RowCount(), 4);
    QCOMPARE(grid.view()->verticalHeader()->count(), 3);
    QCOMPARE(grid.Cells(1, 2), std::string("b"));
#endif
}

void StringGridTest::gestureErrorsEndAtTheBoundary_data()
{
    QTest::addColumn<bool>("edit");  // else a row dragged in the number column
    QTest::addColumn<bool>("boundary");
    QTest::newRow("edit stored as the editor closes, at the boundary") << true << true;
    QTest::newRow("edit stored as the editor closes, no boundary") << true << false;
    QTest::newRow("row dropped, at the boundary") << false << true;
    QTest::newRow("row dropped, no boundary") << false << false;
}

// What the grid does on its own at a gesture (storing an edit, moving a dropped row) runs
// inside Qt's event handling; an error thrown there (memory running out, or a handler's)
// must end at the grid's error boundary, never in Qt's event loop, and the grid goes on.
void StringGridTest::gestureErrorsEndAtTheBoundary()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the error is made by a slot, so it unwinds through Qt's signal emission, which leaks its arguments");
#endif
    QFETCH(bool, edit);
    QFETCH(bool, boundary);
    StringGrid grid;
    grid.setRowCount(5);
    fill(grid);
    support::ScriptedPrompts prompts;
    if (boundary)
        grid.setErrorBoundary([&](const std::function<void()>& work) { widgets::dispatch(prompts, work); });
    grid.setOptions(edit ? widgets::kCellEditingOptions : widgets::kRowMovingOptions);
    show(grid);
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    bool fail = true;
    const auto throwOnce = [&] {
        if (std::exchange(fail, false))
            throw std::bad_alloc();
    };
    connect(grid.view()->model(), &QAbstractItemModel::dataChanged, &grid, throwOnce);
    connect(&grid, &StringGrid::rowMoved, &grid, throwOnce);

    if (edit) {
        QLineEdit* editor = grid.inplaceEditor();
        QVERIFY(editor);
        editor->setText(u"typed"_qs);
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cellCenter(grid, 2, 2));
    } else {
        QHeaderView* header = grid.view()->verticalHeader();
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, sectionCenter(header, 0));
        QTest::mouseMove(header->viewport(), sectionCenter(header, 2));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, sectionCenter(header, 2));
    }
    QVERIFY(!fail);
    const std::vector<std::string> told{sjis::fromUtf8(u8"メモリが足りないため、処理を中止しました.")};
    QCOMPARE(prompts.errorTexts(), boundary ? told : std::vector<std::string>{});
    // The work that threw is done as far as it went; the grid goes on working.
    grid.setCells(3, 3, "after");
    QCOMPARE(grid.Cells(3, 3), std::string("after"));
    QCOMPARE(grid.RowCount(), 5);
}

// Qt's line edits cut text at 32,767 characters unless told otherwise: neither a field
// nor a cell's editor may lose the end of a long text.
void StringGridTest::longTextIsNeverCut()
{
    const std::string longText(40000, 'a');
    widgets::LineEdit field;
    field.setText(longText);
    QCOMPARE(field.Text(), longText);
    field.insert(QStringLiteral("b"));
    QCOMPARE(field.Text().size(), longText.size() + 1);

    StringGrid grid;
    grid.setCells(1, 1, longText);
    show(grid);
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setOptions(widgets::kCellEditingOptions);
    QLineEdit* editor = grid.inplaceEditor();
    QVERIFY(editor);
    QCOMPARE(editor->text().size(), qsizetype(longText.size()));
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, u"b"_qs);
    QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cellCenter(grid, 2, 2));
    QCOMPARE(grid.Cells(1, 1), longText + "b");
}

QTEST_MAIN(StringGridTest)
#include "StringGridTest.moc"
