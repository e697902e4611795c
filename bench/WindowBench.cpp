// Figures for the main window with the largest inputs, run by hand:
//   QT_QPA_PLATFORM=offscreen ./bench_window
// Targets: a genre of 65,535 records added in 70 ms (median), all eight genres (524,280 rows)
// in 0.7 s with a peak of 400 MB; with 524,280 rows a page scroll, a row move and a range
// change in 16 ms each; converting 300 rows, and listing and adding a mon file of 300
// questions, in 20 ms each. Beyond the real inputs: nothing blocks the window for more than
// 0.5 s, and a refused file is told within 1 s.

#include "app/TForm1.h"
#include "formats/MonLimits.h"
#include "support/ScriptedPrompts.h"
#include "widgets/Button.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/ShiftJis.h"
#include "widgets/grid/StringGrid.h"

#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kGenreRecords = 65535;

// A decoded text of exactly `length` bytes, distinct per number: the number, then hiragana.
std::string decodedText(std::size_t length, long number, char tag)
{
    std::string text = std::string(1, tag) + std::to_string(number);
    while (text.size() + 2 <= length) {
        text += '\x82';
        text += static_cast<char>(0xA0 + (text.size() % 80));
    }
    text.resize(length, 'x');
    return text;
}

void putShifted(QByteArray& record, int at, const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        record[at + int(i)] = static_cast<char>(static_cast<unsigned char>(text[i]) - 0x80);
}

// Eight genres of 65,535 full-length, distinct records, written straight to the file.
QString writeLargestBank(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("largest.5TQ"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the bank");
    QByteArray directory(2048, '\0');
    for (int g = 0; g < 8; ++g) {
        const std::string name = "GENRE" + std::to_string(g + 1) + "-NAME-XYZ";
        for (std::size_t i = 0; i < 16; ++i)
            directory[g * 256 + int(i)] = i < name.size() ? name[i] : ' ';
        directory[g * 256 + 18] = char(0xFF);
        directory[g * 256 + 19] = char(0xFF);
    }
    file.write(directory);
    QByteArray record(256, '\0');
    for (long k = 1; k <= 8L * kGenreRecords; ++k) {
        putShifted(record, 0, decodedText(116, k, 'Q'));
        for (int slot = 0; slot < 5; ++slot)
            putShifted(record, 116 + 28 * slot, decodedText(28, k, char('A' + slot)));
        file.write(record);
    }
    return path;
}

double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void settle(app::TForm1& form)
{
    QCoreApplication::processEvents();
    form.StringGrid2->view()->viewport()->repaint();
}

// Median and worst time of `runs` runs of `step`, each followed by a repaint.
void report(const char* what, app::TForm1& form, int runs, const std::function<void(int)>& step)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        step(run);
        settle(form);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%s: median %.2f ms, worst %.2f ms (%d runs)\n", what, median(times),
                *std::max_element(times.begin(), times.end()), runs);
}

void selectGenre(app::TForm1& form, int row)
{
    bool canSelect = true;
    form.StringGrid1SelectCell(2, row, &canSelect);
}

// The window with the largest bank read in: eight genres of 65,535 records each.
struct LargestBankWindow {
    QTemporaryDir dir;
    support::ScriptedPrompts prompts;
    app::TForm1 form{&prompts};

    bool open()
    {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            return false;
        prompts.acceptOpen(sjis::fromUnicode(writeLargestBank(dir)).bytes, 1);
        form.Button1Click();
        return form.StringGrid1->Cells(2, 8) == "65535";
    }
};

} // namespace

class WindowBench final : public QObject {
    Q_OBJECT

private slots:
    void largestBank()
    {
        LargestBankWindow window;
        QVERIFY(window.open());
        app::TForm1& form = window.form;

        report("add one genre of 65,535 records", form, 7, [&](int) {
            form.Button4Click();
            selectGenre(form, 1);
        });
        QCOMPARE(form.StringGrid2->RowCount(), kGenreRecords + 2);
        form.Button4Click();
        settle(form);

        resetPeak();
        QElapsedTimer all;
        all.start();
        for (int genre = 1; genre <= 8; ++genre) {
            selectGenre(form, genre);
            settle(form);
        }
        const double allMs = double(all.nsecsElapsed()) / 1e6;
        QCOMPARE(form.StringGrid2->RowCount(), 8 * kGenreRecords + 2);
        std::printf("add all eight genres (524,280 rows): %.1f ms in all, peak resident %.1f MB\n", allMs,
                    peakMegabytes());

        QScrollBar* bar = form.StringGrid2->view()->verticalScrollBar();
        report("scroll one page", form, 15, [&](int run) { bar->setValue(bar->value() + bar->pageStep() + run * 30000); });
        report("move a row by 499,998 positions", form, 10, [&](int run) {
            if (run % 2 == 0)
                form.StringGrid2->moveRow(500000, 2);
            else
                form.StringGrid2->moveRow(2, 500000);
        });
        report("change the range end", form, 10, [&](int run) { form.Edit8->setText(std::to_string(300 + run)); });

        form.Edit6->setText("1");
        form.Edit8->setText("300");
        QCOMPARE(form.Edit7->Text(), std::string("300"));
        report("convert 300 rows", form, 15, [&](int) { form.Button5Click(); });
        QCOMPARE(form.RichEdit1->Count(), 302);
    }

    // What an undoable clear of the largest table costs, against the same clear with no
    // history: time, resident memory, and what the history counts.
    void undoableClear()
    {
        LargestBankWindow window;
        QVERIFY(window.open());
        app::TForm1& form = window.form;
        widgets::StringGrid& table = *form.StringGrid2;

        for (const bool kept : {true, false}) {
            table.setHistory(kept ? widgets::StringGrid::History::Kept : widgets::StringGrid::History::None);
            for (int genre = 1; genre <= 8; ++genre)
                selectGenre(form, genre);
            settle(form);
            QCOMPARE(table.RowCount(), 8 * kGenreRecords + 2);
            const double full = residentMegabytes();
            const std::size_t before = table.historyBytes();
            QElapsedTimer timer;
            timer.start();
            QTest::mouseClick(form.Button4, Qt::LeftButton);  // as a user action: one step
            settle(form);
            const double clearMs = double(timer.nsecsElapsed()) / 1e6;
            QCOMPARE(table.RowCount(), 2);
            std::printf("%s: clear 524,280 rows %.1f ms; resident %.1f MB before, %.1f MB after; "
                        "history %.1f MB before the clear, %.1f MB after\n",
                        kept ? "with undo" : "without undo", clearMs, full, residentMegabytes(),
                        double(before) / 1048576.0, double(table.historyBytes()) / 1048576.0);
            if (!kept)
                break;
            timer.restart();
            QVERIFY(table.undo());
            settle(form);
            std::printf("with undo: undo the clear %.1f ms, %d rows back; redo %s\n", double(timer.nsecsElapsed()) / 1e6,
                        table.RowCount() - 2, table.canRedo() ? "possible" : "impossible");
            timer.restart();
            QVERIFY(table.redo());
            settle(form);
            std::printf("with undo: redo the clear %.1f ms; resident %.1f MB\n", double(timer.nsecsElapsed()) / 1e6,
                        residentMegabytes());
        }
    }

    void monFileOf300()
    {
        QTemporaryDir dir;
        std::string text = "300,\"j42\",\"TITLE\"\r\n0,\"\",\"GENRE\"\r\n";
        for (int n = 1; n <= 300; ++n)
            text += "15,\"" + decodedText(28, n, 'A') + "\",\"" + decodedText(116, n, 'Q') + "\"\r\n";
        const QString path = dir.filePath(QStringLiteral("three-hundred.mon"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.data(), qint64(text.size()));
        file.close();

        support::ScriptedPrompts prompts;
        app::TForm1 form(&prompts);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        report("list a mon file of 300 questions and add them", form, 8, [&](int) {
            form.Button4Click();
            form.Button13Click();  // a fresh genre table each run
            form.Button13Click();
            prompts.acceptOpen(sjis::fromUnicode(path).bytes, 2);
            form.Button1Click();
            selectGenre(form, 1);
        });
        QCOMPARE(form.StringGrid2->RowCount(), 302);
    }

    // Files no collection could be: each is refused through the open dialog (the error box
    // shown), or, for the largest taken, listed and added.
    void beyondRealInputs()
    {
        QTemporaryDir dir;
        const auto write = [&](const char* name, const std::string& text, qint64 sparseSize = 0) {
            const QString path = dir.filePath(QString::fromLatin1(name));
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(text.data(), qint64(text.size()));
            if (sparseSize > 0)
                file.resize(sparseSize);
            return sjis::fromUnicode(path).bytes;
        };
        const std::string header = "1,\"j42\",\"T\"\r\n0,\"\",\"G\"\r\n";
        std::string longestLines = header;  // lines of the longest length taken, up to the size taken
        const std::string longest = "15,\"a\",\"" + std::string(formats::kMaxMonLineBytes - 10, 'x') + "\"\r\n";
        while (longestLines.size() + longest.size() <= formats::kMaxMonFileBytes)
            longestLines += longest;
        std::string shortLines = header;
        while (shortLines.size() + 13 <= formats::kMaxMonFileBytes)
            shortLines += "15,\"a\",\"q\"\r\n";
        struct Case { const char* what; std::string path; bool refused; };
        const std::vector<Case> cases{
            {"refuse a mon file of 1 MiB + 1 byte", write("big.mon", shortLines + std::string(2048, 'x') + "\r\n"), true},
            {"refuse a mon file of 1 GiB", write("huge.mon", header, qint64(1) << 30), true},
            {"refuse a mon file with a line of 1,000,000 bytes", write("line.mon", header + std::string(1000000, 'x')), true},
            {"list and add 1 MiB of 16 KiB questions", write("longest.mon", longestLines), false},
            {"list and add 1 MiB of short questions", write("short.mon", shortLines), false},
        };
        for (const Case& c : cases) {
            support::ScriptedPrompts prompts;
            app::TForm1 form(&prompts);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            report(c.what, form, 3, [&](int) {
                form.Button4Click();
                form.Button13Click();
                form.Button13Click();
                prompts.clearRecords();
                prompts.acceptOpen(c.path, 2);
                QTest::mouseClick(form.Button1, Qt::LeftButton);
                if (!c.refused)
                    selectGenre(form, 1);
            });
            QCOMPARE(prompts.errorTexts().size(), std::size_t(c.refused ? 1 : 0));
        }
    }

    // A bank file of 1 GiB read with the range typed as 1 to 2147483647: no more than the
    // 524,280 records a bank can count.
    void typedRangeOverHugeBank()
    {
        QTemporaryDir dir;
        const QString path = writeLargestBank(dir);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.resize(qint64(1) << 30));
        }
        support::ScriptedPrompts prompts;
        app::TForm1 form(&prompts);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        prompts.acceptOpen(sjis::fromUnicode(path).bytes, 1);
        form.Button1Click();
        resetPeak();
        report("add records 1 to 2147483647 of a 1 GiB bank", form, 3, [&](int) {
            form.Button4Click();
            form.StringGrid1->setCells(3, 1, "1");
            form.StringGrid1->setCells(4, 1, "2147483647");
            selectGenre(form, 1);
        });
        std::printf("  rows %d, peak resident %.1f MB\n", form.StringGrid2->RowCount() - 2, peakMegabytes());
    }
};

QTEST_MAIN(WindowBench)
#include "WindowBench.moc"
