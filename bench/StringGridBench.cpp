// Figures for the string grid with question-table sized data, run by hand:
//   QT_QPA_PLATFORM=offscreen ./bench_string_grid
// Each case prints its figures; the targets are 65,535 rows inserted in 70 ms (median),
// 524,280 rows in 0.7 s with a peak of 400 MB, and a page scroll, a row move and a change
// of the row count by one in 16 ms each with 524,280 rows.

#include "LargestInputs.h"

#include "widgets/grid/GridOptions.h"
#include "widgets/grid/StringGrid.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kGenreRows = 65535;
constexpr int kGenres = 8;

// A Shift-JIS text of exactly `length` bytes, distinct per row.
std::string filled(std::size_t length, int row, char tag)
{
    return bench::decodedText(length, row, tag);
}

std::vector<std::vector<std::string>> genreRows(int genre)
{
    std::vector<std::vector<std::string>> rows;
    rows.reserve(kGenreRows);
    for (int i = 0; i < kGenreRows; ++i) {
        const int row = genre * kGenreRows + i + 1;
        rows.push_back({std::to_string(row), filled(116, row, 'Q'), filled(28, row, 'A'), filled(16, genre, 'G'),
                        filled(120, row, 'W')});
    }
    return rows;
}

double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

void resetPeak()
{
    // Writing 5 to clear_refs resets VmHWM to the current resident size.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double elapsedMs(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The question table as the window lays it out.
std::unique_ptr<widgets::StringGrid> questionTable()
{
    auto grid = std::make_unique<widgets::StringGrid>();
    grid->resize(778, 165);
    grid->setColCount(5);
    grid->setRowCount(2);
    grid->setDefaultRowHeight(21);
    const int widths[] = {47, 463, 121, 72, 505};
    for (int col = 0; col < 5; ++col)
        grid->setColWidths(col, widths[col]);
    grid->setOptions(widgets::kRowMovingOptions);
    grid->show();
    return grid;
}

void settle(widgets::StringGrid& grid)
{
    QCoreApplication::processEvents();
    grid.view()->viewport()->repaint();
}

} // namespace

class StringGridBench final : public QObject {
    Q_OBJECT

private slots:
    void insertOneGenre()
    {
        const auto rows = genreRows(0);
        std::vector<double> runs;
        for (int run = 0; run < 7; ++run) {
            auto grid = questionTable();
            QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
            auto batch = rows;
            QElapsedTimer timer;
            timer.start();
            grid->insertRows(grid->RowCount() - 1, std::move(batch));
            settle(*grid);
            runs.push_back(elapsedMs(timer));
            QCOMPARE(grid->RowCount(), kGenreRows + 2);
        }
        std::printf("insert 65,535 rows: median %.1f ms (runs:", median(runs));
        for (double ms : runs)
            std::printf(" %.1f", ms);
        std::printf(")\n");
    }

    void fullTable()
    {
        resetPeak();
        const double before = peakMegabytes();
        auto grid = questionTable();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));

        double insertMs = 0;
        for (int genre = 0; genre < kGenres; ++genre) {
            auto batch = genreRows(genre);
            QElapsedTimer timer;
            timer.start();
            grid->insertRows(grid->RowCount() - 1, std::move(batch));
            settle(*grid);
            insertMs += elapsedMs(timer);
        }
        const int questions = kGenres * kGenreRows;
        QCOMPARE(grid->RowCount(), questions + 2);
        std::printf("insert 8 x 65,535 = %d rows: %.1f ms in total\n", questions, insertMs);
        std::printf("peak resident size: %.1f MB (%.1f MB before the grid was built)\n", peakMegabytes(), before);

        QScrollBar* bar = grid->view()->verticalScrollBar();
        std::vector<double> scrolls;
        for (int page = 0; page < 9; ++page) {
            QElapsedTimer timer;
            timer.start();
            bar->setValue(bar->value() + bar->pageStep() + page * 40000);
            settle(*grid);
            scrolls.push_back(elapsedMs(timer));
        }
        std::printf("scroll one page: median %.2f ms, worst %.2f ms\n", median(scrolls),
                    *std::max_element(scrolls.begin(), scrolls.end()));

        std::vector<double> moves;
        const std::string moved = grid->Cells(1, 500000);
        for (int run = 0; run < 9; ++run) {
            QElapsedTimer timer;
            timer.start();
            // From near the end to near the top and back: the longest shifts there are.
            if (run % 2 == 0)
                grid->moveRow(500000, 2);
            else
                grid->moveRow(2, 500000);
            settle(*grid);
            moves.push_back(elapsedMs(timer));
        }
        QCOMPARE(grid->Cells(1, 2), moved);
        std::printf("move a row by 499,998 positions: median %.2f ms, worst %.2f ms\n", median(moves),
                    *std::max_element(moves.begin(), moves.end()));

        std::vector<double> counts;
        for (int run = 0; run < 10; ++run) {
            const int change = run % 2 == 0 ? 1 : -1;
            QElapsedTimer timer;
            timer.start();
            grid->setRowCount(grid->RowCount() + change);
            settle(*grid);
            counts.push_back(elapsedMs(timer));
        }
        QCOMPARE(grid->RowCount(), questions + 2);
        std::printf("row count changed by one: median %.2f ms, worst %.2f ms\n", median(counts),
                    *std::max_element(counts.begin(), counts.end()));

        QElapsedTimer timer;
        timer.start();
        grid->setRowCount(2);
        settle(*grid);
        std::printf("row count 524,282 -> 2: %.1f ms\n", elapsedMs(timer));
    }
};

QTEST_MAIN(StringGridBench)
#include "StringGridBench.moc"
