// The string grid's undo history: a long random run of every kind of change, grouped into
// steps, undone to the start and redone to the end with the grid compared byte for byte
// (and the view checked to follow) after every step; and the history's bounds.

#include "support/ControlDriver.h"
#include "widgets/grid/GridRows.h"
#include "widgets/grid/StringGrid.h"

#include <QHeaderView>
#include <QTableView>
#include <QtTest>

#include <random>
#include <string>
#include <vector>

using widgets::HistoryLimits;
using widgets::StringGrid;

namespace {

struct Snapshot {
    int cols = 0;
    std::vector<std::string> cells;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const StringGrid& grid)
{
    return {grid.ColCount(), support::allCells(grid)};
}

// The view shows what the grid holds: as many rows and columns, every header in place.
bool viewFollows(const StringGrid& grid)
{
    const QAbstractItemModel* model = grid.view()->model();
    if (model->rowCount() != grid.RowCount() - 1 || model->columnCount() != grid.ColCount() - 1)
        return false;
    const QHeaderView* header = grid.view()->horizontalHeader();
    for (int section = 0; section < header->count(); ++section)
        if (header->visualIndex(section) != section)
            return false;
    return true;
}

// Text with bytes that are not Shift-JIS, which must come back as they were.
std::string oddText(std::mt19937& random)
{
    static const std::string pieces[] = {"a", "\x81", "\x82\xA0", "\xFF", "\x83\x4E", "", "Q1", "\x8E\x9F", "\r\n"};
    std::string text;
    const int count = std::uniform_int_distribution<int>(0, 4)(random);
    for (int i = 0; i < count; ++i)
        text += pieces[std::uniform_int_distribution<int>(0, 8)(random)];
    return text;
}

// One random change of any kind the grid offers (columns never change count here).
void randomChange(StringGrid& grid, std::mt19937& random)
{
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const int rows = grid.RowCount();
    switch (pick(0, 5)) {
    case 0:
    case 1:
        grid.setCells(pick(0, grid.ColCount() - 1), pick(0, rows - 1), oddText(random));
        break;
    case 2: {
        widgets::GridRows added(grid.ColCount());
        for (int i = pick(1, 4); i > 0; --i)
            added.append({oddText(random), oddText(random), oddText(random), oddText(random)});
        grid.insertRows(pick(1, rows), added);
        break;
    }
    case 3:
        grid.setRowCount(pick(2, rows + 3));
        break;
    case 4:
        if (rows > 2)
            grid.moveRow(pick(1, rows - 1), pick(1, rows - 1));
        break;
    default:
        grid.moveColumn(pick(1, grid.ColCount() - 1), pick(1, grid.ColCount() - 1));
        break;
    }
}

} // namespace

class StringGridHistoryTest final : public QObject {
    Q_OBJECT

private slots:
    void randomStepsUndoAndRedoExactly();
    void boundsDropOldestSteps_data();
    void boundsDropOldestSteps();
    void noHistoryKeepsNothing();
};

void StringGridHistoryTest::randomStepsUndoAndRedoExactly()
{
    StringGrid grid;
    grid.setColCount(5);
    grid.setRowCount(4);
    grid.setHistory(StringGrid::History::Kept);
    grid.resize(500, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    std::mt19937 random(20261208);
    std::vector<Snapshot> states{snapshot(grid)};
    for (int step = 0; step < 90; ++step) {
        const int kept = grid.undoSteps();
        {
            const StringGrid::Step grouped(grid);
            const int changes = std::uniform_int_distribution<int>(1, 4)(random);
            for (int i = 0; i < changes; ++i)
                randomChange(grid, random);
        }
        // A step that changed nothing (a text written over itself, a row moved onto its
        // own place) is no step; any that changed the grid is one.
        const Snapshot now = snapshot(grid);
        QVERIFY(grid.undoSteps() == kept || grid.undoSteps() == kept + 1);
        if (now != states.back())
            QCOMPARE(grid.undoSteps(), kept + 1);
        if (grid.undoSteps() == kept + 1)
            states.push_back(now);
    }
    QVERIFY(grid.undoSteps() > 60);
    QCOMPARE(grid.undoSteps(), int(states.size()) - 1);

    for (int i = int(states.size()) - 2; i >= 0; --i) {
        QVERIFY(grid.undo());
        QVERIFY2(snapshot(grid) == states[std::size_t(i)], qPrintable(QStringLiteral("undo to state %1").arg(i)));
        QVERIFY(viewFollows(grid));
    }
    QVERIFY(!grid.undo());
    for (std::size_t i = 1; i < states.size(); ++i) {
        QVERIFY(grid.redo());
        QVERIFY2(snapshot(grid) == states[i], qPrintable(QStringLiteral("redo to state %1").arg(i)));
        QVERIFY(viewFollows(grid));
    }
    QVERIFY(!grid.redo());

    // A new change after some undos drops what could have been redone.
    QVERIFY(grid.undo() && grid.undo());
    grid.setCells(1, 1, "new");
    QVERIFY(!grid.canRedo());
    QVERIFY(grid.undo());
    QVERIFY(snapshot(grid) == states[states.size() - 3]);
}

void StringGridHistoryTest::boundsDropOldestSteps_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("textBytes");  // each step writes a cell text of this size
    QTest::addColumn<int>("edits");
    QTest::addColumn<int>("kept");       // steps that can be undone afterwards

    // A limit of 4 steps of any size.
    QTest::newRow("by count") << 4 << 10 << 9 << 4;
    // Each step keeps the row it replaced, with the text the step before wrote, and the table
    // holds the text written last: 64 KiB shared by both hold the table and two steps of
    // 20,000 bytes but not three.
    QTest::newRow("by bytes, shared with the table") << 100 << 20000 << 7 << 2;
    // A step over the limit alone is not kept, and nothing before it either.
    QTest::newRow("one step too large") << 100 << 70000 << 3 << 0;
}

void StringGridHistoryTest::boundsDropOldestSteps()
{
    QFETCH(int, steps);
    QFETCH(int, textBytes);
    QFETCH(int, edits);
    QFETCH(int, kept);

    const HistoryLimits limits{steps, std::size_t(64) << 10};
    StringGrid grid;
    grid.setColCount(3);
    grid.setRowCount(2);
    grid.setHistory(StringGrid::History::Kept, limits);

    std::vector<Snapshot> states{snapshot(grid)};
    for (int i = 0; i < edits; ++i) {
        grid.setCells(1, 1, std::string(std::size_t(textBytes), char('a' + i)));
        states.push_back(snapshot(grid));
        QVERIFY(grid.historyBytes() <= limits.bytes);
    }
    QCOMPARE(grid.undoSteps(), kept);
    for (int i = 0; i < kept; ++i) {
        QVERIFY(grid.undo());
        QVERIFY(snapshot(grid) == states[states.size() - 2 - std::size_t(i)]);
    }
    QVERIFY(!grid.undo());
    if (kept == 0)
        QCOMPARE(grid.historyBytes(), std::size_t(0));
}

void StringGridHistoryTest::noHistoryKeepsNothing()
{
    StringGrid grid;
    grid.setColCount(3);
    grid.setRowCount(3);
    grid.setCells(1, 1, "x");
    grid.moveRow(1, 2);
    QVERIFY(!grid.canUndo());
    QVERIFY(!grid.undo());
    QCOMPARE(grid.historyBytes(), std::size_t(0));
    QCOMPARE(grid.Cells(1, 2), std::string("x"));

    // Ctrl+Z reaches the grid only with a history.
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.view()->setFocus();
    QTest::keyClick(grid.view(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(grid.Cells(1, 2), std::string("x"));
}

QTEST_MAIN(StringGridHistoryTest)
#include "StringGridHistoryTest.moc"
