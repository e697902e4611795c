// The memo pad: its lines interface (add, count, read, load, save), the plain-text switch,
// selection formatting and printing.

#include "text/EditorError.h"
#include "text/Messages.h"
#include "widgets/MemoPad.h"
#include "codec/ShiftJis.h"
#include "widgets/UnencodableTextError.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QtTest>

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

using widgets::MemoPad;

namespace {

std::string bytes(const QByteArray& data)
{
    return std::string(data.constData(), std::size_t(data.size()));
}

QByteArray sj(std::u8string_view text)
{
    return QByteArray::fromStdString(sjis::fromUtf8(text));
}

QList<QByteArray> linesOf(const MemoPad& memo)
{
    QList<QByteArray> lines;
    for (int i = 0; i < memo.Count(); ++i)
        lines.append(QByteArray::fromStdString(memo.Line(i)));
    return lines;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), data.size());
}

std::string message(std::u8string_view templ, const QString& path)
{
    return text::formatMessage(sjis::fromUtf8(templ), {sjis::fromUnicode(path).bytes});
}

int pdfPageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(QString::fromLatin1(pdf).count(page));
}

// The PDF text string of `title`: UTF-16BE after a byte-order mark, with the bytes "(",
// ")" and "\" escaped.
QByteArray pdfTitle(const QString& title)
{
    QByteArray text("\xFE\xFF", 2);
    for (QChar c : title) {
        for (char b : {char(c.unicode() >> 8), char(c.unicode() & 0xFF)}) {
            if (b == '(' || b == ')' || b == '\\')
                text += '\\';
            text += b;
        }
    }
    return "/Title (" + text + ")";
}

} // namespace

class MemoPadTest : public QObject {
    Q_OBJECT

private slots:
    void addedLinesSplitAtBreaks_data();
    void addedLinesSplitAtBreaks();
    void clearEmptiesAndOutOfRangeReadsEmpty();
    void addFollowsTypedTextWithoutBreak();
    void manyLinesStayCheap();
    void loadSplitsAtEveryBreak_data();
    void loadSplitsAtEveryBreak();
    void loadFailureKeepsContents_data();
    void loadFailureKeepsContents();
    void saveWritesCrLfLines_data();
    void saveWritesCrLfLines();
    void failedSaveLeavesOldFile_data();
    void failedSaveLeavesOldFile();
    void unencodableLineIsRefused_data();
    void unencodableLineIsRefused();
    void formattedModeSavesRichText();
    void selectionFontChangesSelectionOnly_data();
    void selectionFontChangesSelectionOnly();
    void selectionFontWithoutSelectionAppliesToTyping();
    void pasteAndShiftEnterMakeLines();
    void printedJobCarriesTitle_data();
    void printedJobCarriesTitle();
    void printPaginatesAndWraps_data();
    void printPaginatesAndWraps();
    void mouseMoveIsReported();
};

void MemoPadTest::addedLinesSplitAtBreaks_data()
{
    QTest::addColumn<QList<QByteArray>>("added");
    QTest::addColumn<QList<QByteArray>>("lines");

    QTest::newRow("one line") << QList<QByteArray>{"15,a,b"} << QList<QByteArray>{"15,a,b"};
    QTest::newRow("CR LF inside") << QList<QByteArray>{"a\r\nb"} << QList<QByteArray>{"a", "b"};
    QTest::newRow("CR LF at end") << QList<QByteArray>{"a\r\n"} << QList<QByteArray>{"a", ""};
    QTest::newRow("lone CR and LF") << QList<QByteArray>{"a\rb\nc"} << QList<QByteArray>{"a", "b", "c"};
    QTest::newRow("empty line") << QList<QByteArray>{""} << QList<QByteArray>{""};
    QTest::newRow("several with empty") << QList<QByteArray>{"a", "", "b"} << QList<QByteArray>{"a", "", "b"};
    QTest::newRow("Japanese with 5C trail") << QList<QByteArray>{sj(u8"表示"), sj(u8"ソ")}
                                            << QList<QByteArray>{sj(u8"表示"), sj(u8"ソ")};
    QTest::newRow("invalid bytes") << QList<QByteArray>{"a\x81", "\xFF"} << QList<QByteArray>{"a\x81", "\xFF"};
}

void MemoPadTest::addedLinesSplitAtBreaks()
{
    QFETCH(QList<QByteArray>, added);
    QFETCH(QList<QByteArray>, lines);

    MemoPad oneByOne;
    for (const QByteArray& line : added)
        oneByOne.Add(bytes(line));
    QCOMPARE(oneByOne.Count(), int(lines.size()));
    QCOMPARE(linesOf(oneByOne), lines);

    MemoPad batch;
    std::vector<std::string> all;
    for (const QByteArray& line : added)
        all.push_back(bytes(line));
    batch.AddLines(all);
    QCOMPARE(linesOf(batch), lines);
    // Adding after a batch goes on after its last line.
    batch.Add("next");
    QCOMPARE(batch.Line(batch.Count() - 1), std::string("next"));
    QCOMPARE(batch.Count(), int(lines.size()) + 1);
}

void MemoPadTest::clearEmptiesAndOutOfRangeReadsEmpty()
{
    MemoPad memo;
    QCOMPARE(memo.Count(), 0);
    memo.Add("a");
    memo.Add("b");
    memo.Clear();
    QCOMPARE(memo.Count(), 0);
    memo.Add("c");
    QCOMPARE(linesOf(memo), QList<QByteArray>{"c"});
    QCOMPARE(memo.Line(1), std::string());
    QCOMPARE(memo.Line(-1), std::string());
}

void MemoPadTest::addFollowsTypedTextWithoutBreak()
{
    MemoPad memo;
    QTest::keyClicks(memo.viewport(), "abc");
    QCOMPARE(memo.Count(), 1);
    QCOMPARE(memo.Line(0), std::string("abc"));
    memo.Add("x");
    QCOMPARE(linesOf(memo), (QList<QByteArray>{"abc", "x"}));
}

void MemoPadTest::manyLinesStayCheap()
{
    constexpr int kLines = 100000;
    std::vector<std::string> lines;
    lines.reserve(kLines);
    for (int i = 0; i < kLines; ++i)
        lines.push_back("15," + std::to_string(i) + sjis::fromUtf8(u8",\"問題文です\""));

    MemoPad memo;
    QElapsedTimer timer;
    timer.start();
    memo.AddLines(lines);
    const qint64 added = timer.restart();
    QCOMPARE(memo.Count(), kLines);
    std::size_t total = 0;
    for (int i = 0; i < kLines; ++i)
        total += memo.Line(i).size();
    const qint64 read = timer.restart();
    QCOMPARE(memo.Line(kLines - 1), lines.back());
    QCOMPARE(memo.Line(54321), lines[54321]);
    std::size_t expected = 0;
    for (const std::string& line : lines)
        expected += line.size();
    QCOMPARE(total, expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.mon"));
    memo.setPlainText(widgets::PlainTextSwitch::On);
    timer.restart();
    memo.SaveToFile(sjis::fromUnicode(path).bytes);
    const qint64 saved = timer.restart();
    MemoPad loaded;
    loaded.LoadFromFile(sjis::fromUnicode(path).bytes);
    const qint64 load = timer.restart();
    QCOMPARE(loaded.Count(), kLines);
    QCOMPARE(loaded.Line(kLines - 1), lines.back());
    qInfo("100000 lines: add %lld ms, read all %lld ms, save %lld ms, load %lld ms", added, read, saved, load);
}

void MemoPadTest::loadSplitsAtEveryBreak_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<QByteArray>>("lines");

    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QList<QByteArray>{"a", "b"};
    QTest::newRow("LF, no final break") << QByteArray("a\nb") << QList<QByteArray>{"a", "b"};
    QTest::newRow("CR") << QByteArray("a\rb\r") << QList<QByteArray>{"a", "b"};
    QTest::newRow("mixed with empty lines") << QByteArray("a\r\n\r\nb\n\rc") << QList<QByteArray>{"a", "", "b", "", "c"};
    QTest::newRow("empty file") << QByteArray() << QList<QByteArray>{};
    QTest::newRow("only a break") << QByteArray("\r\n") << QList<QByteArray>{""};
    QTest::newRow("Shift-JIS and invalid bytes")
        << sj(u8"120,\"j42\",\"表題\"\r\n") + QByteArray("0,\"\",\"\x81\"\r\n")
        << QList<QByteArray>{sj(u8"120,\"j42\",\"表題\""), QByteArray("0,\"\",\"\x81\"")};
}

void MemoPadTest::loadSplitsAtEveryBreak()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<QByteArray>, lines);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file.mon"));
    writeFile(path, file);
    MemoPad memo;
    memo.Add("previous");
    memo.LoadFromFile(sjis::fromUnicode(path).bytes);
    QCOMPARE(linesOf(memo), lines);
}

void MemoPadTest::loadFailureKeepsContents_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("missing file") << QStringLiteral("missing.mon");
    QTest::newRow("directory") << QStringLiteral("[folder.mon]");
    QTest::newRow("directory itself") << QStringLiteral("folder.mon");
}

void MemoPadTest::loadFailureKeepsContents()
{
    QFETCH(QString, name);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.mon")));
    const QString path = dir.filePath(name);
    MemoPad memo;
    memo.Add("kept");
    try {
        memo.LoadFromFile(sjis::fromUnicode(path).bytes);
        QFAIL("loading did not fail");
    } catch (const text::EditorError& error) {
        QCOMPARE(error.message(), message(u8"ﾌｧｲﾙ %s は開けません", path));
    }
    QCOMPARE(linesOf(memo), QList<QByteArray>{"kept"});
}

void MemoPadTest::saveWritesCrLfLines_data()
{
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("mon text") << QList<QByteArray>{"3,\"j42\",\"t\"", "0,\"\",\"g\"", "15,\"a\",\"q\""}
                              << QByteArray("3,\"j42\",\"t\"\r\n0,\"\",\"g\"\r\n15,\"a\",\"q\"\r\n");
    QTest::newRow("empty lines") << QList<QByteArray>{"", "a", ""} << QByteArray("\r\na\r\n\r\n");
    QTest::newRow("no lines") << QList<QByteArray>{} << QByteArray();
    QTest::newRow("Shift-JIS and invalid bytes") << QList<QByteArray>{sj(u8"　　タイトル☆☆"), "\x81\xFF"}
                                                 << sj(u8"　　タイトル☆☆\r\n") + QByteArray("\x81\xFF\r\n");
}

void MemoPadTest::saveWritesCrLfLines()
{
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QByteArray, file);

    MemoPad memo;
    for (const QByteArray& line : lines)
        memo.Add(bytes(line));
    memo.setPlainText(widgets::PlainTextSwitch::On);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.mon"));
    writeFile(path, "old contents that are longer than the new ones");
    memo.SaveToFile(sjis::fromUnicode(path).bytes);
    QCOMPARE(readFile(path), file);

    MemoPad reloaded;
    reloaded.LoadFromFile(sjis::fromUnicode(path).bytes);
    QCOMPARE(linesOf(reloaded), lines);
}

void MemoPadTest::failedSaveLeavesOldFile_data()
{
    QTest::addColumn<QString>("setup");

    QTest::newRow("path is a directory") << QStringLiteral("directory");
    QTest::newRow("missing folder") << QStringLiteral("missing folder");
    QTest::newRow("folder is a file") << QStringLiteral("folder is a file");
    QTest::newRow("name too long") << QStringLiteral("long name");
    QTest::newRow("read-only folder") << QStringLiteral("read-only");
}

void MemoPadTest::failedSaveLeavesOldFile()
{
    QFETCH(QString, setup);

    QTemporaryDir dir;
    const QByteArray oldContents("old contents\r\n");
    QString path;      // the save target
    QString oldFile;   // an existing file that must stay as it was
    if (setup == QLatin1String("directory")) {
        path = dir.filePath(QStringLiteral("target.mon"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("target.mon")));
        oldFile = path + QStringLiteral("/inside.mon");
    } else if (setup == QLatin1String("missing folder")) {
        path = dir.filePath(QStringLiteral("no/such/folder/target.mon"));
        oldFile = dir.filePath(QStringLiteral("target.mon"));
    } else if (setup == QLatin1String("folder is a file")) {
        oldFile = dir.filePath(QStringLiteral("plain.txt"));
        path = oldFile + QStringLiteral("/target.mon");
    } else if (setup == QLatin1String("long name")) {
        // A name longer than a file name may be; the file beside it stays as it was.
        path = dir.filePath(QString(256, QLatin1Char('n')));
        oldFile = dir.filePath(QStringLiteral("target.mon"));
    } else {
        if (geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        // A new name there: a writable file in such a folder is written in place.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
        path = dir.filePath(QStringLiteral("locked/target.mon"));
        oldFile = dir.filePath(QStringLiteral("locked/old.mon"));
    }
    writeFile(oldFile, oldContents);
    if (setup == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("locked")), QFile::ReadOwner | QFile::ExeOwner));

    MemoPad memo;
    memo.Add("new line");
    memo.setPlainText(widgets::PlainTextSwitch::On);
    try {
        memo.SaveToFile(sjis::fromUnicode(path).bytes);
        QFAIL("saving did not fail");
    } catch (const text::EditorError& error) {
        QCOMPARE(error.message(), message(u8"ﾌｧｲﾙ %s を作成できません", path));
    }
    QCOMPARE(readFile(oldFile), oldContents);
    QCOMPARE(QDir(QFileInfo(oldFile).path()).entryList(QDir::Files).size(), 1);
    QFile::setPermissions(dir.filePath(QStringLiteral("locked")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void MemoPadTest::unencodableLineIsRefused_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<uint>("character");
    QTest::addColumn<int>("line");

    QTest::newRow("accented letter on line 2") << QStringList{u"15,a,b"_qs, u"caf\u00E9"_qs} << uint(0xE9) << 2;
    QTest::newRow("emoji on line 1") << QStringList{u"x\U0001F600"_qs} << uint(0x1F600) << 1;
    QTest::newRow("hangul on line 3") << QStringList{u"a"_qs, u"b"_qs, u"\uD55C"_qs} << uint(0xD55C) << 3;
}

void MemoPadTest::unencodableLineIsRefused()
{
    QFETCH(QStringList, typed);
    QFETCH(uint, character);
    QFETCH(int, line);

    MemoPad memo;
    // Typed by the user: text that came through no Shift-JIS byte string.
    QTextCursor cursor(memo.document());
    cursor.insertText(typed.join(QLatin1Char('\n')));
    memo.setPlainText(widgets::PlainTextSwitch::On);

    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("old.mon"));
    const QString fresh = dir.filePath(QStringLiteral("new.mon"));
    writeFile(existing, "old\r\n");
    for (const QString& path : {existing, fresh}) {
        try {
            memo.SaveToFile(sjis::fromUnicode(path).bytes);
            QFAIL("saving did not refuse the text");
        } catch (const widgets::UnencodableTextError& error) {
            QCOMPARE(uint(error.character()), character);
            QCOMPARE(error.line(), line);
        }
    }
    QCOMPARE(readFile(existing), QByteArray("old\r\n"));
    QVERIFY(!QFile::exists(fresh));
    QVERIFY_THROWS_EXCEPTION(widgets::UnencodableTextError, memo.Line(line - 1));
}

void MemoPadTest::formattedModeSavesRichText()
{
    MemoPad memo;
    memo.Add("abc");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rich"));
    QVERIFY(!memo.PlainText());
    memo.SaveToFile(sjis::fromUnicode(path).bytes);
    const QByteArray rich = readFile(path);
    QVERIFY(rich.startsWith("<!DOCTYPE HTML"));
    QVERIFY(rich.contains("abc"));

    memo.setPlainText(widgets::PlainTextSwitch::On);
    QVERIFY(memo.PlainText());
    memo.SaveToFile(sjis::fromUnicode(path).bytes);
    QCOMPARE(readFile(path), QByteArray("abc\r\n"));
}

void MemoPadTest::selectionFontChangesSelectionOnly_data()
{
    QTest::addColumn<widgets::ChosenFont>("font");

    widgets::ChosenFont gothic{u"IPAPGothic"_qs, QColor(0x80, 0, 0), true, false, false, false, 20};
    widgets::ChosenFont mincho{u"IPAPMincho"_qs, QColor(0, 0, 0xFF), false, true, true, true, 8.5};
    QTest::newRow("bold gothic") << gothic;
    QTest::newRow("italic underlined struck mincho") << mincho;
}

void MemoPadTest::selectionFontChangesSelectionOnly()
{
    QFETCH(widgets::ChosenFont, font);

    MemoPad memo;
    memo.Add("abcd");
    QTextCursor cursor(memo.document());
    cursor.setPosition(1);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    memo.setTextCursor(cursor);
    const QTextCharFormat before = QTextCursor(memo.document()).charFormat();
    memo.setSelectionFont(font);

    auto formatAt = [&](int position) {
        QTextCursor at(memo.document());
        at.setPosition(position + 1); // the format of the character before the cursor
        return at.charFormat();
    };
    for (int position : {1, 2}) {
        const QTextCharFormat format = formatAt(position);
        QCOMPARE(format.fontFamilies().toStringList(), QStringList{font.family});
        QCOMPARE(format.foreground().color(), font.color);
        QCOMPARE(format.fontWeight() >= QFont::Bold, font.bold);
        QCOMPARE(format.fontItalic(), font.italic);
        QCOMPARE(format.fontUnderline(), font.underline);
        QCOMPARE(format.fontStrikeOut(), font.strikeOut);
        QCOMPARE(format.fontPointSize(), font.pointSize);
    }
    for (int position : {0, 3}) {
        const QTextCharFormat format = formatAt(position);
        QVERIFY(!format.hasProperty(QTextFormat::FontFamilies));
        QVERIFY(!format.hasProperty(QTextFormat::ForegroundBrush));
        QVERIFY(!format.hasProperty(QTextFormat::FontPointSize));
    }
}

void MemoPadTest::selectionFontWithoutSelectionAppliesToTyping()
{
    MemoPad memo;
    memo.Add("ab");
    QTextCursor caret(memo.document());
    caret.setPosition(1);
    memo.setTextCursor(caret);
    memo.setSelectionFont({u"IPAPMincho"_qs, QColor(0, 0x80, 0), false, false, false, false, 14});
    QTest::keyClicks(memo.viewport(), "x");
    QCOMPARE(memo.Line(0), std::string("axb"));

    QTextCursor at(memo.document());
    at.setPosition(2);
    QCOMPARE(at.charFormat().fontPointSize(), 14.0);
    QCOMPARE(at.charFormat().foreground().color(), QColor(0, 0x80, 0));
    for (int position : {1, 3}) {
        at.setPosition(position);
        QVERIFY(!at.charFormat().hasProperty(QTextFormat::FontPointSize));
    }
}

void MemoPadTest::pasteAndShiftEnterMakeLines()
{
    MemoPad memo;
    QGuiApplication::clipboard()->setText(QStringLiteral("p1\r\np2"));
    memo.paste();
    QTest::keyClick(memo.viewport(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(memo.viewport(), "q");
    QCOMPARE(linesOf(memo), (QList<QByteArray>{"p1", "p2", "q"}));
}

void MemoPadTest::printedJobCarriesTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QList<QByteArray>>("lines");

    QTest::newRow("listing job, 3 lines") << u"返済計算"_qs << QList<QByteArray>{"a", sj(u8"問題"), "c"};
    QTest::newRow("other title, empty memo") << u"Job (1)"_qs << QList<QByteArray>{};
}

void MemoPadTest::printedJobCarriesTitle()
{
    QFETCH(QString, title);
    QFETCH(QList<QByteArray>, lines);

    MemoPad memo;
    for (const QByteArray& line : lines)
        memo.Add(bytes(line));
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
    widgets::SilentProgress progress;
    memo.print(printer, title, progress);

    const QByteArray pdf = readFile(printer.outputFileName());
    QVERIFY(pdf.startsWith("%PDF"));
    QVERIFY2(pdf.contains(pdfTitle(title)), pdf.left(2000).constData());
    QCOMPARE(pdfPageCount(pdf), 1);
}

void MemoPadTest::printPaginatesAndWraps_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("lineLength");
    QTest::addColumn<int>("minPages");
    QTest::addColumn<int>("maxPages");
    QTest::addColumn<int>("stopAt");  // the page before which the user stops it, or -1

    QTest::newRow("empty memo: one empty page") << 0 << 0 << 1 << 1 << -1;
    QTest::newRow("3 short lines") << 3 << 10 << 1 << 1 << -1;
    QTest::newRow("300 lines") << 300 << 20 << 2 << 20 << -1;
    // On screen one line; on paper it wraps at the page width into many.
    QTest::newRow("one very long line") << 1 << 30000 << 2 << 200 << -1;
    QTest::newRow("300 lines, stopped before the second page") << 300 << 20 << 2 << 20 << 1;
}

void MemoPadTest::printPaginatesAndWraps()
{
    QFETCH(int, lineCount);
    QFETCH(int, lineLength);
    QFETCH(int, minPages);
    QFETCH(int, maxPages);
    QFETCH(int, stopAt);

    MemoPad memo;
    std::vector<std::string> lines;
    for (int i = 0; i < lineCount; ++i) {
        std::string line = std::to_string(i) + ' ';
        while (int(line.size()) < lineLength)
            line += sjis::fromUtf8(u8"問");
        lines.push_back(line);
    }
    memo.AddLines(lines);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
    // One report before each page, rising, and a last one when all went out.
    struct Reports final : widgets::Progress {
        int stopAt = -1;
        std::vector<std::pair<int, int>> seen;
        bool advance(int done, int total) override
        {
            seen.emplace_back(done, total);
            return int(seen.size()) - 1 != stopAt;
        }
    } progress;
    progress.stopAt = stopAt;
    const bool printed = memo.print(printer, u"返済計算"_qs, progress);

    QCOMPARE(memo.Count(), lineCount);
    QVERIFY(std::is_sorted(progress.seen.begin(), progress.seen.end()));
    if (stopAt >= 0) {
        QVERIFY(!printed);
        QCOMPARE(progress.seen.size(), std::size_t(stopAt + 1));
        QVERIFY(progress.seen.back().first < progress.seen.back().second);
        return;
    }
    QVERIFY(printed);
    const int pages = int(progress.seen.size()) - 1;
    QVERIFY2(pages >= minPages && pages <= maxPages, qPrintable(QString::number(pages)));
    QCOMPARE(progress.seen.back().first, progress.seen.back().second);
    QCOMPARE(pdfPageCount(readFile(printer.outputFileName())), pages);
}

void MemoPadTest::mouseMoveIsReported()
{
    QWidget window;
    window.setMouseTracking(true);
    auto* memo = new MemoPad(&window);
    memo->setGeometry(10, 10, 200, 150);
    window.resize(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    std::vector<QPoint> moves;
    connect(memo, &MemoPad::mouseMoved, [&](Qt::KeyboardModifiers, int x, int y) { moves.emplace_back(x, y); });
    QTest::mouseMove(memo->viewport(), QPoint(40, 30));
    QTRY_COMPARE(moves.size(), std::size_t(1));
    QCOMPARE(moves.front(), QPoint(40, 30));
}

QTEST_MAIN(MemoPadTest)
#include "MemoPadTest.moc"
