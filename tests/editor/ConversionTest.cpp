// Conversion and saving through the window: the refusals of the convert button, the mon
// text it writes into the memo pad, saving the memo pad through the save dialog (bytes,
// filters, cancel, failures, characters Shift-JIS cannot hold), and whole round trips.

#include "app/TForm1.h"
#include "app/WindowTexts.h"
#include "formats/MonLimits.h"
#include "support/ScriptedPrompts.h"
#include "support/WindowDriver.h"
#include "support/TestFiles.h"
#include "support/TestText.h"
#include "widgets/Button.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "codec/ShiftJis.h"
#include "widgets/WidgetText.h"
#include "widgets/grid/StringGrid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTableView>
#include <QTextBlock>
#include <QTextCursor>
#include <QtTest>

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

using support::ScriptedPrompts;
using support::cellCenter;
using support::clickRow;
using support::loadMonFile;
using support::TestFolder;
using support::sj;
using support::bytes;

namespace {

using Kind = ScriptedPrompts::Kind;
using Lines = std::vector<std::string>;

const QColor kLime(0, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kOlive(128, 128, 0);

std::string number(int n)
{
    return std::to_string(n);
}

// "A7", "Q7": a prefix and a number.
std::string tagged(const char* prefix, int n)
{
    std::string text(prefix);
    text += std::to_string(n);
    return text;
}

// Replaces a field's text by typing: Ctrl+A, then each character as a keystroke.
void retype(widgets::LineEdit& edit, const QString& text)
{
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&edit, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&edit, &release);
    }
}

QString u(std::u8string_view text)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(text.data()), qsizetype(text.size()));
}

// The source of most tests: 15 questions "Q<n>" with answers "A<n>"; question 5 runs over
// two lines.
// The answer of question n of fifteenQuestions(); question 8's is long, double-byte
// characters among single bytes, as answers of real banks are.
std::string answerOf(int n)
{
    return n == 8 ? sj(u8"A8 ｱﾝｻｰ 東京都千代田区霞が関一丁目 (長い正解の途中で切れないこと) end") : tagged("A", n);
}

std::string fifteenQuestions()
{
    std::vector<std::string> lines{"15,\"j42\",\"Tsrc\"", "0,\"\",\"Gsrc\""};
    for (int n = 1; n <= 15; ++n) {
        if (n == 5) {
            lines.push_back("15,\"A5\",\"Q5");
            lines.push_back("second\"");
        } else {
            lines.push_back(std::string("15,\"") + answerOf(n) + "\",\"" + tagged("Q", n) + "\"");
        }
    }
    return support::crlfText(lines);
}

std::string plainQuestions(int count)
{
    std::vector<std::pair<std::string, std::string>> items;
    for (int n = 1; n <= count; ++n)
        items.emplace_back(tagged("A", n), tagged("Q", n));
    return support::monText(number(count), "T", "G", items);
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A memo line of one question, split where its texts hold line breaks.
void addQuestionLines(Lines& lines, const std::string& answer, const std::string& question)
{
    std::string text = "15,\"" + answer + "\",\"" + question + "\"";
    std::size_t start = 0;
    for (std::size_t br = text.find("\r\n"); br != std::string::npos; br = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, br - start));
        start = br + 2;
    }
    lines.push_back(text.substr(start));
}

} // namespace

class ConversionTest : public QObject {
    Q_OBJECT

private slots:
    void refusedForInvalidCount_data();
    void refusedForInvalidCount();
    void convertsRange_data();
    void convertsRange();
    void convertTakesSaveDialogName();
    void refusedForRangeOutsideRows_data();
    void refusedForRangeOutsideRows();
    void rangeFieldWithoutNumber_data();
    void rangeFieldWithoutNumber();
    void savesMemo_data();
    void savesMemo();
    void cancelledSaveWritesNothing();
    void failedSave_data();
    void failedSave();
    void unsavableCharacter_data();
    void unsavableCharacter();
    void invalidBytesRoundTrip();
    void bankRoundTrip();
    void largestFileReadsBack();
};

namespace {
enum CountSetup { kFresh, kFiveQuestions, kManyQuestions, kReversedRange };
}

void ConversionTest::refusedForInvalidCount_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("fresh window") << int(kFresh) << kOlive;
    QTest::newRow("five questions") << int(kFiveQuestions) << kRed;
    QTest::newRow("320 questions") << int(kManyQuestions) << kRed;
    QTest::newRow("reversed range") << int(kReversedRange) << kRed;
}

void ConversionTest::refusedForInvalidCount()
{
    QFETCH(int, setup);
    QFETCH(QColor, colour);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    if (setup == kFiveQuestions) {
        loadMonFile(form, prompts, folder.write("five.mon", plainQuestions(5)));
    } else if (setup == kManyQuestions) {
        const QString bank = folder.write("many.5TQ", support::bankBytes({support::numberedGenre(1, 120, "G1"),
                                                                          support::numberedGenre(2, 100, "G2"),
                                                                          support::numberedGenre(3, 100, "G3")}));
        support::readFile(form, prompts, bank, 1);
        for (int row = 1; row <= 3; ++row)
            clickRow(*form.StringGrid1, row);
        QCOMPARE(form.Edit7->Text(), std::string("320"));
    } else if (setup == kReversedRange) {
        loadMonFile(form, prompts, folder.write("fifteen.mon", fifteenQuestions()));
        form.Edit6->setText("9");
        form.Edit8->setText("8");
    }
    QCOMPARE(form.Edit7->Color(), colour);
    form.SaveDialog1.filterIndex = 2;
    const Lines memo = form.RichEdit1->Lines();
    const std::string edit3 = form.Edit3->Text();
    prompts.clearRecords();

    QTest::mouseClick(form.Button5, Qt::LeftButton);

    QCOMPARE(prompts.beeps(), 1);
    const std::vector<ScriptedPrompts::Call> messages = prompts.callsOf(Kind::Message);
    QCOMPARE(int(messages.size()), 1);
    QCOMPARE(messages[0].text, sj(u8"問題数が適正数でないため作動しません。作成対象No指定等して適正の問題数8～300にしてから実行して下さい"));
    QCOMPARE(messages[0].messageKind, widgets::MessageKind::Information);
    QCOMPARE(prompts.calls().front().kind, Kind::Beep);
    QCOMPARE(form.RichEdit1->Lines(), memo);
    QCOMPARE(form.Edit3->Text(), edit3);
    QCOMPARE(form.SaveDialog1.filterIndex, 2);
    QVERIFY(prompts.errorTexts().empty());
}

void ConversionTest::convertsRange_data()
{
    QTest::addColumn<int>("moveFrom");     // a row move before converting, or 0
    QTest::addColumn<int>("moveTo");
    QTest::addColumn<int>("columnFrom");   // a column move before converting, or 0
    QTest::addColumn<int>("columnTo");
    QTest::addColumn<QList<int>>("order"); // source questions at rows 3 to 12
    QTest::addColumn<int>("answerColumn"); // 1 question, 2 answer, 3 genre: what is written as answer
    QTest::addColumn<int>("questionColumn");

    const QList<int> inOrder{3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    QTest::newRow("rows 3 to 12") << 0 << 0 << 0 << 0 << inOrder << 2 << 1;
    QTest::newRow("row moved into the range") << 14 << 3 << 0 << 0 << QList<int>{14, 3, 4, 5, 6, 7, 8, 9, 10, 11} << 2
                                              << 1;
    QTest::newRow("row moved out of the range") << 3 << 15 << 0 << 0 << QList<int>{4, 5, 6, 7, 8, 9, 10, 11, 12, 13}
                                                << 2 << 1;
    QTest::newRow("questions moved to the answer column") << 0 << 0 << 1 << 2 << inOrder << 1 << 2;
    QTest::newRow("genres moved to the answer column") << 0 << 0 << 3 << 2 << inOrder << 3 << 1;
}

void ConversionTest::convertsRange()
{
    QFETCH(int, moveFrom);
    QFETCH(int, moveTo);
    QFETCH(int, columnFrom);
    QFETCH(int, columnTo);
    QFETCH(QList<int>, order);
    QFETCH(int, answerColumn);
    QFETCH(int, questionColumn);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadMonFile(form, prompts, folder.write("source.txt", fifteenQuestions()));
    QCOMPARE(form.StringGrid2->RowCount(), 17);
    if (moveFrom > 0)
        form.StringGrid2->moveRow(moveFrom, moveTo);
    if (columnFrom > 0)
        form.StringGrid2->moveColumn(columnFrom, columnTo);

    retype(*form.Edit4, u(u8"題名T"));
    retype(*form.Edit5, u(u8"分野G"));
    retype(*form.Edit6, "3");
    retype(*form.Edit8, "12");
    QCOMPARE(form.Edit7->Text(), std::string("10"));
    QCOMPARE(form.Edit7->Color(), kLime);
    retype(*form.Edit3, "elsewhere");
    form.SaveDialog1.filterIndex = 2;

    QTest::mouseClick(form.Button5, Qt::LeftButton);

    const auto text = [](int n, int column) {
        switch (column) {
        case 1: return n == 5 ? std::string("Q5\r\nsecond") : tagged("Q", n);
        case 2: return answerOf(n);
        default: return std::string("Gsrc");
        }
    };
    Lines expected{sj(u8"10,\"j42\",\"題名T\""), sj(u8"0,\"\",\"分野G\"")};
    for (const int n : order)
        addQuestionLines(expected, text(n, answerColumn), text(n, questionColumn));
    QCOMPARE(form.RichEdit1->Lines(), expected);
    QCOMPARE(form.Edit3->Text(), TestFolder::bytesOf(folder.path("source.mon")));
    QCOMPARE(form.SaveDialog1.fileName, TestFolder::bytesOf(folder.path("source.txt")));
    QCOMPARE(form.SaveDialog1.filterIndex, 1);

    QTest::mouseClick(form.Button5, Qt::LeftButton);
    QCOMPARE(form.RichEdit1->Lines(), expected);
    QCOMPARE(prompts.beeps(), 0);
    QVERIFY(prompts.callsOf(Kind::Message).empty());
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void ConversionTest::convertTakesSaveDialogName()
{
    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadMonFile(form, prompts, folder.write("source.txt", plainQuestions(9)));
    QCOMPARE(form.Edit3->Text(), TestFolder::bytesOf(folder.path("source.mon")));

    // A save under another name and the text filter...
    const std::string saved = TestFolder::bytesOf(folder.path("saved.TXT"));
    prompts.acceptSave(saved, 2);
    QTest::mouseClick(form.Button6, Qt::LeftButton);
    QCOMPARE(form.SaveDialog1.fileName, saved);
    QCOMPARE(form.SaveDialog1.filterIndex, 2);

    // ...is what the next conversion proposes, as a mon file.
    QTest::mouseClick(form.Button5, Qt::LeftButton);
    QCOMPARE(form.Edit3->Text(), TestFolder::bytesOf(folder.path("saved.mon")));
    QCOMPARE(form.SaveDialog1.filterIndex, 1);

    prompts.cancelSave();
    QTest::mouseClick(form.Button6, Qt::LeftButton);
    const std::vector<ScriptedPrompts::Call> saves = prompts.callsOf(Kind::Save);
    QCOMPARE(int(saves.size()), 2);
    QCOMPARE(saves[1].fileName, TestFolder::bytesOf(folder.path("saved.mon")));
    QCOMPARE(saves[1].filterIndex, 1);
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void ConversionTest::refusedForRangeOutsideRows_data()
{
    QTest::addColumn<int>("questions");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("end");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("refused");

    QTest::newRow("start 0") << 10 << QByteArray("0") << QByteArray("9") << false << true;
    QTest::newRow("start -2") << 10 << QByteArray("-2") << QByteArray("7") << false << true;
    QTest::newRow("rows cleared after the range was set") << 15 << QByteArray("3") << QByteArray("12") << true << true;
    QTest::newRow("all rows") << 10 << QByteArray("1") << QByteArray("10") << false << false;
    QTest::newRow("last rows") << 15 << QByteArray("6") << QByteArray("15") << false << false;
}

void ConversionTest::refusedForRangeOutsideRows()
{
    QFETCH(int, questions);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, end);
    QFETCH(bool, cleared);
    QFETCH(bool, refused);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadMonFile(form, prompts, folder.write("rows.mon", plainQuestions(questions)));
    // Written by the program rather than typed: typing "-" first would already be refused
    // as no number.
    form.Edit8->setText(bytes(end));
    form.Edit6->setText(bytes(start));
    QCOMPARE(form.Edit6->Text(), bytes(start));
    QCOMPARE(form.Edit8->Text(), bytes(end));
    QCOMPARE(form.Edit7->Color(), kLime);
    if (cleared)
        QTest::mouseClick(form.Button4, Qt::LeftButton);
    const Lines memo = form.RichEdit1->Lines();
    const std::string edit3 = form.Edit3->Text();
    retype(*form.Edit3, "elsewhere");
    prompts.clearRecords();

    QTest::mouseClick(form.Button5, Qt::LeftButton);

    if (refused) {
        QCOMPARE(prompts.beeps(), 1);
        const std::vector<ScriptedPrompts::Call> messages = prompts.callsOf(Kind::Message);
        QCOMPARE(int(messages.size()), 1);
        QCOMPARE(messages[0].text, sj(u8"作成対象Noの範囲に問題のない行が含まれるため作動しません。作成対象Noを指定し直して下さい"));
        QCOMPARE(messages[0].messageKind, widgets::MessageKind::Information);
        QCOMPARE(form.RichEdit1->Lines(), memo);
        QCOMPARE(form.Edit3->Text(), std::string("elsewhere"));
    } else {
        QVERIFY(prompts.calls().empty());
        const int first = std::stoi(bytes(start));
        const int last = std::stoi(bytes(end));
        Lines expected{number(last - first + 1) + ",\"j42\",\"T\"", "0,\"\",\"G" + app::texts::kGenreEnd + "\""};
        for (int n = first; n <= last; ++n)
            addQuestionLines(expected, tagged("A", n), tagged("Q", n));
        QCOMPARE(form.RichEdit1->Lines(), expected);
        QCOMPARE(form.Edit3->Text(), edit3);
    }
    QVERIFY(prompts.errorTexts().empty());
}

void ConversionTest::rangeFieldWithoutNumber_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("start field") << 6 << QByteArray("1a");
    QTest::newRow("end field") << 8 << QByteArray("15a");
}

void ConversionTest::rangeFieldWithoutNumber()
{
    QFETCH(int, field);
    QFETCH(QByteArray, text);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadMonFile(form, prompts, folder.write("source.mon", fifteenQuestions()));
    const Lines memo = form.RichEdit1->Lines();

    // A letter typed at the end of a range field: the field refuses to count it, so the
    // count keeps its valid colour.
    widgets::LineEdit* edit = field == 6 ? form.Edit6 : form.Edit8;
    edit->setFocus();
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_A);
    QCOMPARE(edit->Text(), bytes(text));
    QCOMPARE(form.Edit7->Text(), std::string("15"));
    QCOMPARE(form.Edit7->Color(), kLime);
    prompts.clearRecords();

    QTest::mouseClick(form.Button5, Qt::LeftButton);

    QCOMPARE(prompts.errorTexts(), Lines{std::string("'") + bytes(text) + "' " + sj(u8"は整数ではありません.")});
    QCOMPARE(prompts.beeps(), 0);
    // The header lines are written before the range numbers are read, so the conversion
    // stops after them; no question line follows.
    QVERIFY(form.RichEdit1->Lines() != memo);
    QCOMPARE(form.RichEdit1->Lines(), (Lines{"15,\"j42\",\"" + form.Edit4->Text() + "\"",
                                              "0,\"\",\"" + form.Edit5->Text() + "\""}));
}

void ConversionTest::savesMemo_data()
{
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("typedName");  // typed into the save-name field first, or empty

    QTest::newRow("mon filter") << 1 << "out.mon" << false << QString();
    QTest::newRow("text filter") << 2 << "out.TXT" << false << QString();
    QTest::newRow("over an existing file") << 1 << "old.mon" << true << QString();
    QTest::newRow("name typed beforehand") << 1 << "typed.mon" << false << "typed.mon";
}

void ConversionTest::savesMemo()
{
    QFETCH(int, filterIndex);
    QFETCH(QString, name);
    QFETCH(bool, existing);
    QFETCH(QString, typedName);

    TestFolder folder;
    std::vector<std::pair<std::string, std::string>> items{{sj(u8"東京"), sj(u8"日本の首都は？")}};
    for (int n = 2; n <= 8; ++n)
        items.emplace_back(tagged("A", n), tagged("Q", n));
    const QString source = folder.write("source.mon", support::monText("8", "T", "G", items));
    if (existing)
        folder.write(name, "old contents that are longer than the new ones would ever be, surely\r\n" + std::string(4000, 'x'));

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadMonFile(form, prompts, source);
    retype(*form.Edit4, u(u8"題名"));
    retype(*form.Edit5, u(u8"分野"));
    QTest::mouseClick(form.Button5, Qt::LeftButton);
    if (!typedName.isEmpty())
        retype(*form.Edit3, folder.path(typedName));
    const std::string proposed = form.Edit3->Text();
    const QStringList before = entries(folder.path(""));
    prompts.clearRecords();

    const std::string target = TestFolder::bytesOf(folder.path(name));
    prompts.acceptSave(target, filterIndex);
    QTest::mouseClick(form.Button6, Qt::LeftButton);

    const std::vector<ScriptedPrompts::Call> saves = prompts.callsOf(Kind::Save);
    QCOMPARE(int(saves.size()), 1);
    QCOMPARE(saves[0].fileName, proposed);
    QCOMPARE(saves[0].filterIndex, 1);
    QCOMPARE(saves[0].filter, sj(u8"Zelqua形式(.mon)|*.mon|一般テキスト形式|*.TXT"));

    std::string expected = sj(u8"8,\"j42\",\"題名\"\r\n0,\"\",\"分野\"\r\n15,\"東京\",\"日本の首都は？\"\r\n");
    for (int n = 2; n <= 8; ++n)
        expected += std::string("15,\"") + tagged("A", n) + "\",\"" + tagged("Q", n) + "\"\r\n";
    QCOMPARE(folder.read(name), expected);
    QStringList after = before;
    if (!after.contains(name))
        after.append(name);
    after.sort();
    QCOMPARE(entries(folder.path("")), after);  // no temporary file left behind
    QCOMPARE(form.SaveDialog1.fileName, target);
    QCOMPARE(form.SaveDialog1.filterIndex, filterIndex);
    QVERIFY(!form.RichEdit1->PlainText());
    QVERIFY(prompts.errorTexts().empty());
    QCOMPARE(prompts.beeps(), 0);
    QVERIFY(prompts.unexpected().empty());
}

void ConversionTest::cancelledSaveWritesNothing()
{
    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadMonFile(form, prompts, folder.write("source.mon", plainQuestions(8)));
    QTest::mouseClick(form.Button5, Qt::LeftButton);
    const QStringList before = entries(folder.path(""));
    const Lines memo = form.RichEdit1->Lines();
    prompts.clearRecords();

    prompts.cancelSave();
    QTest::mouseClick(form.Button6, Qt::LeftButton);

    QCOMPARE(int(prompts.callsOf(Kind::Save).size()), 1);
    QCOMPARE(entries(folder.path("")), before);
    QCOMPARE(form.RichEdit1->Lines(), memo);
    QVERIFY(!form.RichEdit1->PlainText());
    QVERIFY(prompts.errorTexts().empty());
    QCOMPARE(prompts.beeps(), 0);
}

namespace {
enum FailedTarget { kMissingFolder, kExistingDirectory, kReadOnlyFolder };
}

void ConversionTest::failedSave_data()
{
    QTest::addColumn<int>("target");

    QTest::newRow("missing folder") << int(kMissingFolder);
    QTest::newRow("existing directory") << int(kExistingDirectory);
    QTest::newRow("new file in a read-only folder") << int(kReadOnlyFolder);
}

void ConversionTest::failedSave()
{
    QFETCH(int, target);

    if (target == kReadOnlyFolder && ::geteuid() == 0)
        QSKIP("running as root: folder permissions do not stop writes");

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadMonFile(form, prompts, folder.write("source.mon", plainQuestions(8)));
    QTest::mouseClick(form.Button5, Qt::LeftButton);

    QString path;
    QString watched;  // the folder whose entries must not change
    const std::string old = "old bytes\r\n";
    if (target == kMissingFolder) {
        path = folder.path("missing/out.mon");
        watched = folder.path("");
    } else if (target == kExistingDirectory) {
        QVERIFY(QDir(folder.path("")).mkdir("adir"));
        folder.write("adir/inside.txt", old);
        path = folder.path("adir");
        watched = folder.path("");
    } else {
        // A new name in a folder the user may not write (a writable file there is
        // written in place).
        QVERIFY(QDir(folder.path("")).mkdir("locked"));
        folder.write("locked/old.mon", old);
        path = folder.path("locked/new.mon");
        watched = folder.path("locked");
        QVERIFY(QFile::setPermissions(watched, QFile::ReadOwner | QFile::ExeOwner));
    }
    const QStringList before = entries(watched);
    prompts.clearRecords();

    prompts.acceptSave(TestFolder::bytesOf(path), 1);
    QTest::mouseClick(form.Button6, Qt::LeftButton);

    const QStringList after = entries(watched);
    if (target == kReadOnlyFolder)
        QFile::setPermissions(watched, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(prompts.errorTexts(), Lines{sj(u8"ﾌｧｲﾙ ") + TestFolder::bytesOf(path) + sj(u8" を作成できません.")});
    QCOMPARE(after, before);
    if (target == kMissingFolder)
        QVERIFY(!QFileInfo::exists(folder.path("missing")));
    if (target == kExistingDirectory) {
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(folder.read("adir/inside.txt"), old);
    }
    if (target == kReadOnlyFolder)
        QCOMPARE(folder.read("locked/old.mon"), old);
    QCOMPARE(prompts.beeps(), 0);
    QVERIFY(!form.RichEdit1->PlainText());
    QVERIFY(prompts.unexpected().empty());
}

void ConversionTest::unsavableCharacter_data()
{
    QTest::addColumn<int>("block");  // the memo line (from 0) that gets the character at its end
    QTest::addColumn<bool>("typed");
    QTest::addColumn<int>("line");   // the line the warning names

    QTest::newRow("inserted into the header line") << 0 << false << 1;
    QTest::newRow("inserted into a question line") << 4 << false << 5;
    QTest::newRow("typed into the last line") << 9 << true << 10;
    QTest::newRow("typed on a new last line") << 10 << true << 11;
}

void ConversionTest::unsavableCharacter()
{
    QFETCH(int, block);
    QFETCH(bool, typed);
    QFETCH(int, line);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadMonFile(form, prompts, folder.write("source.mon", plainQuestions(8)));
    QTest::mouseClick(form.Button5, Qt::LeftButton);
    QCOMPARE(form.RichEdit1->Count(), 10);
    const std::string old = "the file as it was\r\n";
    const QString target = folder.write("target.mon", old);
    const QStringList before = entries(folder.path(""));

    const QString smiley = QString::fromUcs4(U"\U0001F600");
    QTextCursor cursor(form.RichEdit1->document()->findBlockByNumber(block));
    cursor.movePosition(QTextCursor::EndOfBlock);
    form.RichEdit1->setTextCursor(cursor);
    if (typed) {
        form.RichEdit1->setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, smiley);
        QApplication::sendEvent(form.RichEdit1, &press);
    } else {
        form.RichEdit1->insertPlainText(smiley);
    }
    QVERIFY(form.RichEdit1->document()->findBlockByNumber(block).text().endsWith(smiley));
    prompts.clearRecords();

    prompts.acceptSave(TestFolder::bytesOf(target), 1);
    QTest::mouseClick(form.Button6, Qt::LeftButton);

    QCOMPARE(prompts.beeps(), 1);
    const std::vector<ScriptedPrompts::Call> messages = prompts.callsOf(Kind::Message);
    QCOMPARE(int(messages.size()), 1);
    QCOMPARE(widgets::messageText(messages[0].text),
             QString::number(line) + u"行目に、Shift-JISで表せない文字「😀」(U+1F600)があるため保存できません。"
                                     u"Shift-JISで表せる文字に直してから保存して下さい"_qs);
    QCOMPARE(messages[0].messageKind, widgets::MessageKind::Warning);
    QCOMPARE(folder.read("target.mon"), old);
    QCOMPARE(entries(folder.path("")), before);
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(!form.RichEdit1->PlainText());
    QVERIFY(prompts.unexpected().empty());
}

void ConversionTest::invalidBytesRoundTrip()
{
    // Bytes no Shift-JIS character starts with or ends in; the file is written exactly as
    // the conversion writes it, so the saved file must equal it byte for byte.
    const Lines lines{"8,\"j42\",\"T\xFD\x80\"",
                      "0,\"\",\"G\"",
                      "15,\"a\x80\",\"q\xA0\"",
                      "15,\"b\x82\",\"r\xFD\"",
                      "15,\"\xFE\",\"\xFF\"",
                      "15,\"c\x82\",\"x\x82\"",
                      "15,\"d\",\"e\xA0\xA0\"",
                      "15,\"\x80\x80\",\"f\"",
                      "15,\"g\",\"h\x82\"",
                      "15,\"i\xFD\",\"j\x81\""};
    const std::string file = support::crlfText(lines);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadMonFile(form, prompts, folder.write("odd.mon", file));
    QCOMPARE(form.StringGrid2->Cells(2, 2), std::string("b\x82"));
    retype(*form.Edit5, "G");
    QTest::mouseClick(form.Button5, Qt::LeftButton);
    QCOMPARE(form.RichEdit1->Lines(), lines);

    prompts.acceptSave(TestFolder::bytesOf(folder.path("copy.mon")), 1);
    QTest::mouseClick(form.Button6, Qt::LeftButton);

    QCOMPARE(folder.read("copy.mon"), file);
    QCOMPARE(prompts.beeps(), 0);
    QVERIFY(prompts.callsOf(Kind::Message).empty());
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void ConversionTest::bankRoundTrip()
{
    support::BankGenre genre = support::numberedGenre(1, 12, "Capitals");
    genre.questions[0].question = sj(u8"日本の首都は？");
    genre.questions[0].answer = sj(u8"東京");
    genre.questions[6].question = sj(u8"フランスの首都は、どこ？");
    genre.questions[6].answer = sj(u8"パリ");

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    support::readFile(form, prompts, folder.write("capitals.5TQ", support::bankBytes({genre})), 1);
    clickRow(*form.StringGrid1, 1);
    QCOMPARE(form.StringGrid2->RowCount(), 14);
    QCOMPARE(form.Edit7->Color(), kLime);

    QTest::mouseClick(form.Button5, Qt::LeftButton);
    const std::string title = form.Edit4->Text();
    const std::string genreText = form.Edit5->Text();
    QCOMPARE(title, std::string("Capitals"));
    const std::string saved = TestFolder::bytesOf(folder.path("capitals.mon"));
    QCOMPARE(form.Edit3->Text(), saved);
    prompts.acceptSave(saved, 1);
    QTest::mouseClick(form.Button6, Qt::LeftButton);

    QTest::mouseClick(form.Button4, Qt::LeftButton);
    support::readFile(form, prompts, folder.path("capitals.mon"), 2);
    QCOMPARE(form.StringGrid1->Cells(0, 1), title);
    QCOMPARE(form.StringGrid1->Cells(1, 1), genreText);
    QCOMPARE(form.StringGrid1->Cells(2, 1), std::string("12"));
    clickRow(*form.StringGrid1, 1);

    QCOMPARE(form.StringGrid2->RowCount(), 14);
    for (int row = 1; row <= 12; ++row) {
        QCOMPARE(form.StringGrid2->Cells(0, row), number(row));
        QCOMPARE(form.StringGrid2->Cells(1, row), genre.questions[row - 1].question);
        QCOMPARE(form.StringGrid2->Cells(2, row), genre.questions[row - 1].answer);
        QCOMPARE(form.StringGrid2->Cells(3, row), genreText);
    }
    QCOMPARE(prompts.beeps(), 0);
    QVERIFY(prompts.callsOf(Kind::Message).empty());
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

// What the editor writes from files it took, it reads back: 300 questions each at the
// longest line taken (with one-digit seconds, so each is written a byte longer).
void ConversionTest::largestFileReadsBack()
{
    std::vector<std::pair<std::string, std::string>> questions;
    const std::string head = "5,\"a\",\"";
    const std::size_t textBytes = formats::kMaxMonLineBytes - head.size() - 1;
    std::string text = "150,\"j42\",\"T\"\r\n0,\"\",\"G\"\r\n";
    for (int n = 1; n <= 150; ++n) {
        std::string question = tagged("Q", n);
        question.resize(textBytes, 'x');
        text += head + question + "\"\r\n";
    }
    TestFolder folder;
    const QString path = folder.write("long.mon", text);
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    loadMonFile(form, prompts, path);
    loadMonFile(form, prompts, path);
    QCOMPARE(form.StringGrid2->RowCount(), 302);
    QTest::mouseClick(form.Button5, Qt::LeftButton);
    const std::string saved = TestFolder::bytesOf(folder.path("all.mon"));
    prompts.acceptSave(saved, 1);
    QTest::mouseClick(form.Button6, Qt::LeftButton);
    QVERIFY(prompts.errorTexts().empty());

    QTest::mouseClick(form.Button4, Qt::LeftButton);
    loadMonFile(form, prompts, folder.path("all.mon"));
    QVERIFY(prompts.errorTexts().empty());
    QCOMPARE(form.StringGrid2->RowCount(), 302);
    QCOMPARE(form.StringGrid2->Cells(1, 300).substr(0, 4), std::string("Q150"));
    QCOMPARE(form.StringGrid2->Cells(1, 300).size(), textBytes);
}

QTEST_MAIN(ConversionTest)
#include "ConversionTest.moc"
