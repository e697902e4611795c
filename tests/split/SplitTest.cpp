// zelqua-split against the window: banks with genres of 0, 5, 8, 300, 301 and 65,535
// questions and with awkward genre names are split by the tool, and every file it writes is
// compared byte for byte with what the window saves when its genre is added to a fresh
// question table, the part's range set and the convert and save buttons pressed. Then the
// file names, the files that must not be overwritten, damaged banks, a file size limit and
// the arguments.

#include "app/TForm1.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/TestText.h"
#include "widgets/Button.h"
#include "widgets/LineEdit.h"
#include "widgets/grid/StringGrid.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTableView>
#include <QtTest>

#include <sys/resource.h>

#include <csignal>
#include <map>
#include <string>
#include <vector>

using support::ScriptedPrompts;
using support::TestFolder;
using support::sj;

namespace {

const QColor kLime(0, 255, 0);

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the tool as a shell starts it (SIGXFSZ at its default), under a file size limit
// when one is given.
Run runTool(const QStringList& arguments, rlim_t fileSizeLimit = 0)
{
    QProcess process;
    process.setChildProcessModifier([fileSizeLimit] {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit size{fileSizeLimit, fileSizeLimit};
        if (fileSizeLimit > 0)
            ::setrlimit(RLIMIT_FSIZE, &size);
    });
    process.start(QStringLiteral(ZQ_SPLIT_TOOL), arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

// A file the tool should write: its name, the questions of its genre it holds, and the
// title and genre fields it holds where they are not those the window proposes.
struct Expected {
    QString name;
    int genre;
    int first;
    int last;
    std::string title = {};
    std::string genreField = {};
};

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void clickRow(widgets::StringGrid& grid, int row)
{
    const int col = grid.Row() == row && grid.Col() == 1 ? 2 : 1;
    const QRect cell = grid.view()->visualRect(grid.view()->model()->index(row - 1, col - 1));
    QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cell.center());
}

// Splits the bank with the tool into a folder that already holds `existing` files, then
// converts and saves each expected file's rows through the window and compares the bytes.
void splitAndCompare(const std::vector<support::BankGenre>& genres, const std::vector<Expected>& expected,
                     const std::map<QString, std::string>& existing, const QStringList& skipped)
{
    TestFolder folder;
    const QString bank = folder.write(QStringLiteral("bank.5TQ"), support::bankBytes(genres));
    const QString out = folder.path(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(out));
    for (const auto& [name, bytes] : existing)
        folder.write(QStringLiteral("out/") + name, bytes);

    QElapsedTimer timer;
    timer.start();
    const Run run = runTool({bank, QStringLiteral("-o"), out});
    qInfo("tool: %lld ms", static_cast<long long>(timer.elapsed()));
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));

    // One line per file written, naming it; the skipped genres reported.
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), qsizetype(expected.size()));
    QStringList names;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QVERIFY2(lines[qsizetype(i)].startsWith(QDir(out).filePath(expected[i].name) + QStringLiteral(": ")),
                 qPrintable(lines[qsizetype(i)]));
        names << expected[i].name;
    }
    for (const auto& [name, bytes] : existing) {
        names << name;
        QCOMPARE(folder.read(QStringLiteral("out/") + name), bytes);
    }
    names.sort();
    QCOMPARE(entries(out), names);
    const QStringList reports = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(reports.size(), skipped.size());
    for (qsizetype i = 0; i < skipped.size(); ++i)
        QVERIFY2(reports[i].startsWith(skipped[i]), qPrintable(reports[i]));

    timer.restart();
    std::unique_ptr<app::TForm1> form;
    ScriptedPrompts prompts;
    int genre = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Expected& file = expected[i];
        if (file.genre != genre) {
            // A fresh window for each genre: its title and genre are those proposed for
            // the first genre added.
            genre = file.genre;
            form = std::make_unique<app::TForm1>(&prompts);
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            prompts.acceptOpen(TestFolder::bytesOf(bank), 1);
            QTest::mouseClick(form->Button1, Qt::LeftButton);
            clickRow(*form->StringGrid1, genre);
        }
        form->Edit6->setText(std::to_string(file.first));
        form->Edit8->setText(std::to_string(file.last));
        QCOMPARE(form->Edit7->Text(), std::to_string(file.last - file.first + 1));
        QCOMPARE(form->Edit7->Color(), kLime);
        if (!file.title.empty()) {
            form->Edit4->setText(file.title);
            form->Edit5->setText(file.genreField);
        }
        QTest::mouseClick(form->Button5, Qt::LeftButton);
        const QString saved = QStringLiteral("window-%1.mon").arg(i);
        prompts.acceptSave(TestFolder::bytesOf(folder.path(saved)), 1);
        QTest::mouseClick(form->Button6, Qt::LeftButton);
        const std::string tool = folder.read(QStringLiteral("out/") + file.name);
        const std::string window = folder.read(saved);
        if (tool != window)
            QFAIL(qPrintable(QStringLiteral("%1 differs from the window's conversion of genre %2, %3-%4")
                                 .arg(file.name).arg(file.genre).arg(file.first).arg(file.last)));
    }
    qInfo("window: %lld ms for %d files", static_cast<long long>(timer.elapsed()), int(expected.size()));
    QVERIFY(prompts.errorTexts().empty());
    QCOMPARE(prompts.beeps(), 0);
    QVERIFY(prompts.unexpected().empty());
}

} // namespace

class SplitTest : public QObject {
    Q_OBJECT

private slots:
    void genreSizes();
    void fileNames();
    void badBanks_data();
    void badBanks();
    void arguments_data();
    void arguments();
};

void SplitTest::genreSizes()
{
    support::BankGenre history = support::numberedGenre(4, 300, sj(u8"歴史・地理"));
    // Texts the memo pad and the codec rewrite on their way to the file: line breaks of
    // every kind, a code with a second code for its character, bytes that are no character
    // (alone, as an undefined pair, a lead byte before the closing quote), a quote and a
    // comma, and a question that fills its 116 bytes.
    history.questions[0].question = "Q\r\nR";
    history.questions[1].question = "X\nY";
    history.questions[2].question = "X\rY\r";
    history.questions[3].answer = "say \"no\", ok";
    history.questions[4].question = "\xED\x40" + sj(u8"は何？");
    history.questions[5].question = "x\x85\x40y\xA0\xFD";
    history.questions[6].question = std::string(116, 'q');
    history.questions[7].answer = "ab\x82";
    history.questions[8].answer = sj(u8"東京");

    const std::vector<support::BankGenre> genres{
        support::numberedGenre(1, 0, "Zero"),
        support::numberedGenre(2, 5, "Five"),
        support::numberedGenre(3, 8, "Eight"),
        history,
        support::numberedGenre(5, 301, "Science"),
        support::numberedGenre(6, 65535, "Sixteen-byte-nam"),
        support::numberedGenre(7, 8, "a/b:c*?"),
        support::numberedGenre(8, 8, "Eight"),
    };
    std::vector<Expected> expected{
        {QStringLiteral("Eight (2).mon"), 3, 1, 8},
        {u"歴史・地理.mon"_qs, 4, 1, 300},
        {QStringLiteral("Science_1.mon"), 5, 1, 151},
        {QStringLiteral("Science_2.mon"), 5, 152, 301},
    };
    // 65,535 questions: 219 parts, 54 of 300 and then 165 of 299.
    for (int part = 1, first = 1; part <= 219; ++part) {
        const int size = part <= 54 ? 300 : 299;
        expected.push_back({QStringLiteral("Sixteen-byte-nam_%1.mon").arg(part, 3, 10, QLatin1Char('0')), 6, first,
                            first + size - 1});
        first += size;
    }
    QCOMPARE(expected.back().last, 65535);
    expected.push_back({QStringLiteral("a_b_c__.mon"), 7, 1, 8});
    expected.push_back({QStringLiteral("Eight (3).mon"), 8, 1, 8});

    splitAndCompare(genres, expected, {{QStringLiteral("Eight.mon"), "an older file"}},
                    {QStringLiteral("skipped genre 1 \"Zero\": no questions / "),
                     QStringLiteral("skipped genre 2 \"Five\": 5 questions, fewer than 8 / ")});
}

void SplitTest::fileNames()
{
    // Name bytes -> file name. Taken names are numbered, also against files already there.
    const std::vector<std::pair<std::string, QString>> names{
        {"", u"ジャンル1"_qs},
        {"CON", QStringLiteral("CON_")},
        {".hidden", QStringLiteral("_hidden")},
        {" dots..", QStringLiteral("dots")},
        {"x\x85\x40y\tz", QStringLiteral("x_@y_z")},
        {sj(u8"ｼﾞｬﾝﾙ"), u"ｼﾞｬﾝﾙ"_qs},
        {"lpt1.txt", QStringLiteral("lpt1_.txt")},
        {sj(u8"ｼﾞｬﾝﾙ"), u"ｼﾞｬﾝﾙ (3)"_qs},
    };
    std::vector<support::BankGenre> genres;
    std::vector<Expected> expected;
    for (std::size_t i = 0; i < names.size(); ++i) {
        genres.push_back(support::numberedGenre(int(i + 1), 8, names[i].first));
        expected.push_back({names[i].second + QStringLiteral(".mon"), int(i + 1), 1, 8});
    }
    splitAndCompare(genres, expected, {{u"ｼﾞｬﾝﾙ (2).mon"_qs, "kept"}}, {});

    // The other device names of Windows; and line breaks, which the title and genre lose
    // as the file name does: the file is the window's with those fields typed so.
    const std::vector<std::pair<std::string, QString>> more{
        {"CONIN$", QStringLiteral("CONIN$_")}, {"conout$.x", QStringLiteral("conout$_.x")},
        {"COM0", QStringLiteral("COM0_")},     {"lpt0", QStringLiteral("lpt0_")},
        {"\r\nX", QStringLiteral("__X")},     {"A\rB\n", QStringLiteral("A_B_")},
    };
    genres.clear();
    expected.clear();
    for (std::size_t i = 0; i < more.size(); ++i) {
        genres.push_back(support::numberedGenre(int(i + 1), 8, more[i].first));
        expected.push_back({more[i].second + QStringLiteral(".mon"), int(i + 1), 1, 8});
    }
    expected[4].title = "__X";
    expected[4].genreField = "__X" + sj(u8"■");
    expected[5].title = "A_B_";
    expected[5].genreField = "A_B_" + sj(u8"■");
    splitAndCompare(genres, expected, {}, {});
}

void SplitTest::badBanks_data()
{
    QTest::addColumn<QString>("kind");      // "missing", "folder", "bytes", or "limit": bytes
                                            // split under a file size limit of 4096 bytes
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");   // the start of the first line on stderr
    QTest::addColumn<int>("files");         // files written

    const auto bank = [](std::vector<support::BankGenre> genres, std::size_t cut = 0, std::string tail = {}) {
        std::string bytes = support::bankBytes(genres);
        bytes.resize(bytes.size() - cut);
        return QByteArray::fromStdString(bytes + tail);
    };
    support::BankGenre overcounted = support::numberedGenre(2, 8, "G2");
    overcounted.countOverride = 9;
    QTest::newRow("missing") << "missing" << QByteArray() << 1 << "zelqua-split: error: cannot open %1: no such file / " << 0;
    QTest::newRow("a folder") << "folder" << QByteArray() << 1 << "zelqua-split: error: %1 is not a file / " << 0;
    QTest::newRow("empty") << "bytes" << QByteArray() << 1
                           << "zelqua-split: error: %1 is no five-choice bank: 0 bytes, shorter than the 2048-byte genre directory / " << 0;
    QTest::newRow("directory cut") << "bytes" << bank({}, 1) << 1
                                   << "zelqua-split: error: %1 is no five-choice bank: 2047 bytes, " << 0;
    QTest::newRow("count past the end") << "bytes" << bank({support::numberedGenre(1, 8, "G1"), overcounted}) << 1
                                        << "zelqua-split: error: %1 is cut short: its genres count 17 questions, 6400 bytes, but the file holds 6144 / " << 0;
    QTest::newRow("last record cut") << "bytes" << bank({support::numberedGenre(1, 8, "G1")}, 1) << 1
                                     << "zelqua-split: error: %1 is cut short: its genres count 8 questions, 4096 bytes, but the file holds 4095 / " << 0;
    QTest::newRow("bytes after the records") << "bytes" << bank({support::numberedGenre(1, 8, "G1")}, 0, "xyz") << 0
                                             << "note: the 3 bytes after the last question are not read / " << 1;
    QTest::newRow("file size limit: error, no file left") << "limit" << bank({support::numberedGenre(1, 300, "G1")}) << 1
                                                        << "zelqua-split: error: cannot write " << 0;
    QTest::newRow("only small genres") << "bytes" << bank({support::numberedGenre(1, 7, "G1")}) << 0
                                       << "skipped genre 1 \"G1\": 7 questions, fewer than 8 / " << 0;
}

void SplitTest::badBanks()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(int, files);

    TestFolder folder;
    QString bank = folder.path(QStringLiteral("bank.5TQ"));
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(bank));
    else if (kind == QLatin1String("bytes") || kind == QLatin1String("limit"))
        folder.write(QStringLiteral("bank.5TQ"), bytes.toStdString());
    const QString out = folder.path(QStringLiteral("new/out"));
    const Run run = runTool({bank, QStringLiteral("-o"), out}, kind == QLatin1String("limit") ? 4096 : 0);
    QCOMPARE(run.exitCode, exitCode);
    if (message.contains(QLatin1String("%1")))
        message = message.arg(bank);
    QVERIFY2(run.err.startsWith(message), qPrintable(run.err));
    QCOMPARE(int(entries(out).size()), files);
    QCOMPARE(int(run.out.count(QLatin1Char('\n'))), files);
}

void SplitTest::arguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutStart");
    QTest::addColumn<QString>("stderrStart");

    QTest::newRow("help") << QStringList{"--help"} << 0 << u"使い方: zelqua-split 問題集.5TQ [-o フォルダ]\n"_qs << QString();
    QTest::newRow("-h before a bank") << QStringList{"-h", "x.5TQ"} << 0 << u"使い方:"_qs << QString();
    QTest::newRow("nothing") << QStringList{} << 2 << QString() << u"zelqua-split: no bank given / 問題集 (.5TQ) を指定してください\nzelqua-split --help\n"_qs;
    QTest::newRow("two banks") << QStringList{"a.5TQ", "b.5TQ"} << 2 << QString() << u"zelqua-split: only one bank at a time / "_qs;
    QTest::newRow("unknown option") << QStringList{"-x", "a.5TQ"} << 2 << QString() << u"zelqua-split: unknown option -x / "_qs;
    QTest::newRow("-o without a folder") << QStringList{"a.5TQ", "-o"} << 2 << QString() << u"zelqua-split: -o needs a folder / "_qs;
}

void SplitTest::arguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutStart);
    QFETCH(QString, stderrStart);

    const Run run = runTool(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.out.startsWith(stdoutStart), qPrintable(run.out));
    QVERIFY2(run.err.startsWith(stderrStart), qPrintable(run.err));
    QCOMPARE(run.out.isEmpty(), stdoutStart.isEmpty());
    QCOMPARE(run.err.isEmpty(), stderrStart.isEmpty());
    if (exitCode == 0)
        QVERIFY(run.out.contains(QStringLiteral("\nUsage: zelqua-split BANK.5TQ [-o DIR]\n")));
}

QTEST_MAIN(SplitTest)
#include "SplitTest.moc"
