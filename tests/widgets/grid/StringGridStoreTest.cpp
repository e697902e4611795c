// The string grid's cell storage without any widget: packed rows, row and column moves,
// count changes, and memory going back when rows are dropped.

#include "widgets/grid/StringGridArena.h"
#include "widgets/grid/StringGridRow.h"
#include "widgets/grid/StringGridStore.h"

#include <QTest>

#include <memory>

#include <string>
#include <vector>

using widgets::StringGridArena;
using widgets::StringGridRow;
using widgets::StringGridStore;

Q_DECLARE_METATYPE(std::vector<std::string>)

namespace {

using Texts = std::vector<std::string>;

// A store of `cols` x `rows` whose cell (c, r) reads "c<c>r<r>".
void fillNamed(StringGridStore& store, int cols, int rows)
{
    store.setColCount(cols);
    store.setRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            store.setCell(c, r, ("c" + QByteArray::number(c) + "r" + QByteArray::number(r)).toStdString());
}

Texts column(const StringGridStore& store, int col)
{
    Texts texts;
    for (int r = 0; r < store.rowCount(); ++r)
        texts.emplace_back(store.cell(col, r));
    return texts;
}

Texts row(const StringGridStore& store, int r)
{
    Texts texts;
    for (int c = 0; c < store.colCount(); ++c)
        texts.emplace_back(store.cell(c, r));
    return texts;
}

// Shared rows whose cells are made on reading: row i of the block reads "s<col>:<i>".
class NamedRows final : public widgets::SharedRows {
public:
    explicit NamedRows(std::size_t count) : m_count(count) {}
    std::size_t rowCount() const override { return m_count; }
    std::size_t byteSize() const override { return m_count * 10; }
    void cells(std::size_t index, std::string& scratch, std::span<std::string_view> cells) const override
    {
        scratch.clear();
        std::vector<std::size_t> ends;
        for (std::size_t col = 0; col < cells.size(); ++col) {
            scratch += "s" + std::to_string(col) + ":" + std::to_string(index);
            ends.push_back(scratch.size());
        }
        for (std::size_t col = 0; col < cells.size(); ++col)
            cells[col] = std::string_view(scratch).substr(col ? ends[col - 1] : 0, ends[col] - (col ? ends[col - 1] : 0));
    }

private:
    std::size_t m_count;
};

} // namespace

class StringGridStoreTest final : public QObject {
    Q_OBJECT

private slots:
    void packedRowRoundTrip_data()
    {
        QTest::addColumn<Texts>("cells");
        QTest::newRow("five cells") << Texts{"1", "question", "answer", "genre", "wrong"};
        QTest::newRow("empty in the middle") << Texts{"a", "", "c"};
        QTest::newRow("trailing empty cells") << Texts{"a", "b", "", ""};
        QTest::newRow("all empty") << Texts{"", "", ""};
        QTest::newRow("nul and high bytes") << Texts{std::string("a\0b", 3), "\x82\xa0\xff\x80", "\r\n"};
        QTest::newRow("one large cell") << Texts{"x", std::string(3 << 20, 'q'), "y"};
        // Larger than a fresh arena's first chunk, smaller than a block with a chunk of its own.
        QTest::newRow("a cell beyond the first chunk") << Texts{"x", std::string(70000, 'q'), "y"};
        QTest::newRow("a cell of almost a quarter chunk") << Texts{std::string((1 << 20) - 64, 'r')};
    }

    void packedRowRoundTrip()
    {
        QFETCH(Texts, cells);
        StringGridArena arena;
        const std::vector<std::string_view> views(cells.begin(), cells.end());
        StringGridRow packed = StringGridRow::pack(arena, views);
        for (int i = 0; i < static_cast<int>(cells.size()); ++i)
            QCOMPARE(std::string(packed.slot(i)), cells[static_cast<std::size_t>(i)]);
        QCOMPARE(packed.slot(static_cast<int>(cells.size()) + 3), std::string_view());
        QVERIFY(packed.slotCount() <= static_cast<int>(cells.size()));
        packed.release(arena);
        QCOMPARE(packed.slotCount(), 0);
    }

    void setCellReportsChange_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<bool>("changed");
        QTest::newRow("same text") << QByteArray("abc") << QByteArray("abc") << false;
        QTest::newRow("other text") << QByteArray("abc") << QByteArray("abd") << true;
        QTest::newRow("emptied") << QByteArray("abc") << QByteArray() << true;
        QTest::newRow("empty again") << QByteArray() << QByteArray() << false;
    }

    void setCellReportsChange()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(bool, changed);
        StringGridStore store;
        fillNamed(store, 5, 3);
        store.setCell(2, 1, first.toStdString());
        QCOMPARE(store.setCell(2, 1, second.toStdString()), changed);
        QCOMPARE(std::string(store.cell(2, 1)), second.toStdString());
        // The neighbours of the written cell keep their text.
        QCOMPARE(std::string(store.cell(1, 1)), std::string("c1r1"));
        QCOMPARE(std::string(store.cell(3, 1)), std::string("c3r1"));
        QCOMPARE(std::string(store.cell(2, 2)), std::string("c2r2"));
    }

    void moveRow_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<Texts>("order");
        QTest::newRow("5 up to 2") << 5 << 2 << Texts{"c0r0", "c0r1", "c0r5", "c0r2", "c0r3", "c0r4", "c0r6"};
        QTest::newRow("2 down to 5") << 2 << 5 << Texts{"c0r0", "c0r1", "c0r3", "c0r4", "c0r5", "c0r2", "c0r6"};
        QTest::newRow("last to first") << 6 << 0 << Texts{"c0r6", "c0r0", "c0r1", "c0r2", "c0r3", "c0r4", "c0r5"};
        QTest::newRow("neighbours") << 3 << 4 << Texts{"c0r0", "c0r1", "c0r2", "c0r4", "c0r3", "c0r5", "c0r6"};
        QTest::newRow("onto itself") << 3 << 3 << Texts{"c0r0", "c0r1", "c0r2", "c0r3", "c0r4", "c0r5", "c0r6"};
    }

    void moveRow()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(Texts, order);
        StringGridStore store;
        fillNamed(store, 3, 7);
        store.moveRow(from, to);
        QCOMPARE(column(store, 0), order);
        // The whole row travels: its other cells stay beside its first one.
        for (int r = 0; r < store.rowCount(); ++r) {
            const std::string origin = order[static_cast<std::size_t>(r)].substr(3);
            QCOMPARE(std::string(store.cell(2, r)), "c2r" + origin);
        }
    }

    void moveColumnThenResize_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("shrinkFirst");
        QTest::addColumn<int>("newCount");
        QTest::addColumn<Texts>("row1");
        QTest::newRow("moved, same count") << 1 << 3 << 0 << 5 << Texts{"c0r1", "c2r1", "c3r1", "c1r1", "c4r1"};
        QTest::newRow("moved, last dropped") << 1 << 3 << 0 << 4 << Texts{"c0r1", "c2r1", "c3r1", "c1r1"};
        QTest::newRow("moved, shrunk, regrown") << 4 << 0 << 2 << 4 << Texts{"c4r1", "c0r1", "", ""};
        QTest::newRow("moved, shrunk to two") << 0 << 4 << 0 << 2 << Texts{"c1r1", "c2r1"};
        QTest::newRow("not moved, shrunk, regrown") << 2 << 2 << 3 << 5 << Texts{"c0r1", "c1r1", "c2r1", "", ""};
    }

    void moveColumnThenResize()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, shrinkFirst);
        QFETCH(int, newCount);
        QFETCH(Texts, row1);
        StringGridStore store;
        fillNamed(store, 5, 3);
        store.moveColumn(from, to);
        if (shrinkFirst > 0)
            store.setColCount(shrinkFirst);
        store.setColCount(newCount);
        QCOMPARE(store.colCount(), newCount);
        QCOMPARE(row(store, 1), row1);
        // Writing a regrown column must not disturb the others.
        store.setCell(newCount - 1, 1, "new");
        row1.back() = "new";
        QCOMPARE(row(store, 1), row1);
    }

    void rowCountDropsText()
    {
        StringGridStore store;
        fillNamed(store, 2, 6);
        store.setRowCount(3);
        store.setRowCount(6);
        QCOMPARE(column(store, 1), (Texts{"c1r0", "c1r1", "c1r2", "", "", ""}));
    }

    void insertRows_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<Texts>("order");
        QTest::newRow("front") << 0 << Texts{"n0", "n1", "c0r0", "c0r1", "c0r2"};
        QTest::newRow("middle") << 2 << Texts{"c0r0", "c0r1", "n0", "n1", "c0r2"};
        QTest::newRow("end") << 3 << Texts{"c0r0", "c0r1", "c0r2", "n0", "n1"};
    }

    void insertRows()
    {
        QFETCH(int, before);
        QFETCH(Texts, order);
        StringGridStore store;
        fillNamed(store, 3, 3);
        // One row short of the columns, one longer: missing cells are empty, extra ones ignored.
        store.insertRows(before, {{"n0", "x0"}, {"n1", "x1", "y1", "ignored"}});
        QCOMPARE(column(store, 0), order);
        QCOMPARE(std::string(store.cell(2, before)), std::string());
        QCOMPARE(std::string(store.cell(2, before + 1)), std::string("y1"));
        QCOMPARE(store.colCount(), 3);
    }

    // Shared rows read like packed ones whatever happens around them: columns moved before
    // and after they came in, a cell written (the row is packed from then on), the column
    // count lowered; and their block goes once the last of its rows is released.
    void sharedRows_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<Texts>("row2");
        QTest::newRow("as inserted") << "" << Texts{"c0r0", "s1:1", "s2:1", "s3:1"};
        QTest::newRow("column moved before") << "moved before" << Texts{"c0r0", "s1:1", "s2:1", "s3:1"};
        QTest::newRow("column moved after") << "moved after" << Texts{"c0r0", "s2:1", "s3:1", "s1:1"};
        QTest::newRow("cell written") << "written" << Texts{"c0r0", "s1:1", "new", "s3:1"};
        QTest::newRow("moved after, then written") << "moved after, written" << Texts{"c0r0", "s2:1", "new", "s1:1"};
        QTest::newRow("columns lowered") << "lowered" << Texts{"c0r0", "s1:1", "s2:1"};
        // A written shared row is a patch over it, until another of its cells is written.
        QTest::newRow("cell written twice") << "written twice" << Texts{"c0r0", "s1:1", "new", "s3:1"};
        QTest::newRow("two cells written") << "two written" << Texts{"c0r0", "one", "new", "s3:1"};
        QTest::newRow("written, then column moved") << "written, moved" << Texts{"c0r0", "new", "s3:1", "s1:1"};
        QTest::newRow("written, then columns lowered") << "written, lowered" << Texts{"c0r0", "s1:1", "new"};
    }

    void sharedRows()
    {
        QFETCH(QString, change);
        QFETCH(Texts, row2);
        StringGridStore store;
        fillNamed(store, 4, 1);
        if (change == "moved before")
            store.moveColumn(1, 3);
        auto block = std::make_shared<NamedRows>(3);
        const std::weak_ptr<NamedRows> alive = block;
        std::vector<StringGridRow> rows = store.prepareShared(block);
        block.reset();
        store.insertPrepared(1, std::move(rows));
        if (change.startsWith("moved after"))
            store.moveColumn(1, 3);
        if (change == "written twice")
            store.setCell(2, 2, "first");
        if (change.contains("written"))
            store.setCell(2, 2, "new");
        if (change == "two written")
            store.setCell(1, 2, "one");
        if (change == "written, moved")
            store.moveColumn(1, 3);
        if (change.endsWith("lowered"))
            store.setColCount(3);
        row2.front() = "s0:1";
        QCOMPARE(row(store, 2), row2);
        // Cells of two shared rows read one after the other stay each its own.
        QCOMPARE(std::string(store.cell(0, 1)) + std::string(store.cell(0, 3)), std::string("s0:0s0:2"));
        // Lowering the column count packs every row, so the block goes at once.
        QCOMPARE(alive.expired(), change.endsWith("lowered"));
        QCOMPARE(store.bytesOf(StringGridRow::shared(0, 0)), std::size_t(change.endsWith("lowered") ? 0 : 10));
        store.setRowCount(1);
        QVERIFY(alive.expired());
        // Row 0 alone is left: a count, and an end and four bytes for each of its cells.
        QCOMPARE(store.tableBytes(), std::size_t(4 + (change.endsWith("lowered") ? 3 : 4) * 8));
    }

    void droppedRowsGiveMemoryBack()
    {
        StringGridStore store;
        store.setColCount(5);
        store.setRowCount(1);
        std::vector<std::vector<std::string>> rows(100000, {"12345", std::string(116, 'q'), std::string(28, 'a'),
                                                            std::string(16, 'g'), std::string(120, 'w')});
        store.insertRows(1, rows);
        const std::size_t filled = store.reservedBytes();
        QVERIFY2(filled > 28u << 20, qPrintable(QString::number(filled)));
        store.setRowCount(1);
        // Only the chunk being filled may stay.
        QVERIFY2(store.reservedBytes() <= 4u << 20, qPrintable(QString::number(store.reservedBytes())));
        // Filling again reuses what was given back instead of piling up.
        store.insertRows(1, rows);
        QVERIFY(store.reservedBytes() <= filled + (4u << 20));
    }
};

QTEST_MAIN(StringGridStoreTest)
#include "StringGridStoreTest.moc"
