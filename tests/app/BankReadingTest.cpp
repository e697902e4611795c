// Five-choice banks opened through the real window: the genre directory in the genre table,
// the first record in the hidden fields, genre names and counts as stored, shifted text,
// adding genres to the question table, damaged and short banks, record numbers outside the
// bank, a file that cannot be opened and a second bank.

#include "app/TForm1.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "widgets/Button.h"
#include "widgets/DirectoryList.h"
#include "widgets/DriveList.h"
#include "widgets/FileList.h"
#include "widgets/HelpMemo.h"
#include "widgets/LineEdit.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"

#include <QElapsedTimer>
#include <QTableView>
#include <QtTest>

#include <string>
#include <vector>

using support::BankGenre;
using support::ScriptedPrompts;
using support::TestFolder;

namespace {

constexpr int kDirectory = 2048;
constexpr int kRecord = 256;
constexpr int kQuestionField = 116;

std::string sj(const QByteArray& utf8)
{
    return sjis::fromUtf8(std::u8string_view(reinterpret_cast<const char8_t*>(utf8.constData()),
                                             std::size_t(utf8.size())));
}

std::string bytes(const QByteArray& data)
{
    return std::string(data.constData(), std::size_t(data.size()));
}

QByteArray toArray(const std::string& text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

// Shows the window; a test then opens banks through it.
struct Window {
    ScriptedPrompts prompts;
    app::TForm1 form{&prompts};
};

bool show(Window& window)
{
    window.form.show();
    return QTest::qWaitForWindowExposed(&window.form);
}

// Scripts the open dialog for `path` with the bank filter and presses the read button.
void openBank(Window& window, const QString& path)
{
    window.prompts.acceptOpen(TestFolder::bytesOf(path), 1);
    QTest::mouseClick(window.form.Button1, Qt::LeftButton);
}

// Clicks a normal cell of a grid, as the user does.
void clickCell(widgets::StringGrid* grid, int col, int row)
{
    QTableView* view = grid->view();
    const QRect cell = view->visualRect(view->model()->index(row - 1, col - 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

QStringList rowOf(const widgets::StringGrid* grid, int row)
{
    QStringList cells;
    for (int col = 0; col < grid->ColCount(); ++col)
        cells << sjis::toUnicode(grid->Cells(col, row));
    return cells;
}

QStringList columnOf(const widgets::StringGrid* grid, int col, int firstRow, int lastRow)
{
    QStringList cells;
    for (int row = firstRow; row <= lastRow; ++row)
        cells << sjis::toUnicode(grid->Cells(col, row));
    return cells;
}

QStringList numbered(const QString& prefix, int genre, int from, int to)
{
    QStringList texts;
    for (int n = from; n <= to; ++n)
        texts << QStringLiteral("%1%2-%3").arg(prefix).arg(genre).arg(n);
    return texts;
}

QStringList numbers(int from, int to)
{
    QStringList texts;
    for (int n = from; n <= to; ++n)
        texts << QString::number(n);
    return texts;
}

const std::string& thirdName()
{
    static const std::string name = sjis::fromUtf8(u8"ジャンル三");   // 10 bytes
    return name;
}

const std::string& firstName()
{
    static const std::string name = sjis::fromUtf8(u8"Xあいうえおか"); // 13 bytes
    return name;
}

// Genres 1 to 3 with 10, 0 and 5 questions; the others are empty. Records 1..10 belong to
// genre 1, records 11..15 to genre 3.
std::string standardBank()
{
    return support::bankBytes({support::numberedGenre(1, 10, firstName()), support::numberedGenre(2, 0, "Empty"),
                               support::numberedGenre(3, 5, thirdName())});
}

} // namespace

class BankReadingTest : public QObject {
    Q_OBJECT

private slots:
    void genreTableListsDirectory_data();
    void genreTableListsDirectory();
    void openingShowsHeadersAndFirstRecord();
    void genreNames_data();
    void genreNames();
    void countIsLittleEndian_data();
    void countIsLittleEndian();
    void shiftedText_data();
    void shiftedText();
    void selectingGenresAppendsQuestions();
    void shortBanks_data();
    void shortBanks();
    void recordNumbersOutsideBank_data();
    void recordNumbersOutsideBank();
    void rangeBeyondWhatABankCounts();
    void nonIntegerRecordNumber_data();
    void nonIntegerRecordNumber();
    void unopenableFileKeepsBank();
    void secondBankReplacesStream();
    void fullGenreTableStartsAfresh();
};

void BankReadingTest::genreTableListsDirectory_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("genre 1") << 1
                             << QStringList{u"ジャンル1"_qs, sjis::toUnicode(firstName()), u"10"_qs, u"1"_qs, u"10"_qs};
    QTest::newRow("empty genre 2") << 2 << QStringList{u"ジャンル2"_qs, u"Empty"_qs, u"0"_qs, u"11"_qs, u"10"_qs};
    QTest::newRow("genre 3") << 3
                             << QStringList{u"ジャンル3"_qs, sjis::toUnicode(thirdName()), u"5"_qs, u"11"_qs, u"15"_qs};
    for (int row = 4; row <= 8; ++row) {
        QTest::addRow("missing genre %d", row)
            << row << QStringList{QStringLiteral("ジャンル%1").arg(row), QString(), u"0"_qs, u"16"_qs, u"15"_qs};
    }
}

void BankReadingTest::genreTableListsDirectory()
{
    QFETCH(int, row);
    QFETCH(QStringList, cells);

    TestFolder folder;
    const QString path = folder.write("bank.5TQ", standardBank());
    Window window;
    QVERIFY(show(window));
    openBank(window, path);

    QCOMPARE(rowOf(window.form.StringGrid1, row), cells);
    QVERIFY(window.prompts.errorTexts().empty());
}

void BankReadingTest::openingShowsHeadersAndFirstRecord()
{
    TestFolder folder;
    const QString path = folder.write("bank.5TQ", standardBank());
    Window window;
    QVERIFY(show(window));
    app::TForm1& form = window.form;
    openBank(window, path);

    QCOMPARE(rowOf(form.StringGrid1, 0), (QStringList{u"五択5TQ"_qs, u"ジャンル名"_qs, u"問題数"_qs, u"始No"_qs, u"終No"_qs}));
    QCOMPARE(rowOf(form.StringGrid2, 0),
             (QStringList{u"内容"_qs, u"問題・・・"_qs, u"解答"_qs, u"ジャンル"_qs, u"参考誤答等"_qs}));
    QCOMPARE(form.Memo2->Text(), sjis::fromUtf8(u8"②の表に8つのジャンルが表示。ジャンルの各［問題数］部分をクリック"));
    QCOMPARE(form.Edit1->Text(), std::string("Q1-1"));
    QCOMPARE(form.Edit2->Text(), std::string("A1-1"));
    QCOMPARE(form.SaveDialog1.filterIndex, 1);
    QCOMPARE(form.SaveDialog1.fileName, TestFolder::bytesOf(path));
    QCOMPARE(form.Edit3->Text(), TestFolder::bytesOf(folder.path("bank.mon")));
    QVERIFY(form.state().BankStream);

    // The dialog was shown once, preset to the bank filter.
    const auto opens = window.prompts.callsOf(ScriptedPrompts::Kind::Open);
    QCOMPARE(int(opens.size()), 1);
    QCOMPARE(opens[0].filterIndex, 1);
    QCOMPARE(int(window.prompts.calls().size()), 1);
}

void BankReadingTest::genreNames_data()
{
    QTest::addColumn<QByteArray>("stored"); // Shift-JIS, padded with blanks to 16 bytes
    QTest::addColumn<QByteArray>("name");

    const QByteArray kana = toArray(sjis::fromUtf8(u8"あいうえおかきく"));
    QTest::newRow("16 bytes without blanks") << QByteArray("ABCDEFGHIJKLMNOP") << QByteArray("ABCDEFGHIJKLMNOP");
    QTest::newRow("16 bytes of kana") << kana << kana;
    QTest::newRow("two blanks end it") << QByteArray("AB  CD") << QByteArray("AB");
    QTest::newRow("one blank inside") << QByteArray("AB CD") << QByteArray("AB CD");
    QTest::newRow("15 bytes keep the last blank") << QByteArray("ABCDEFGHIJKLMNO") << QByteArray("ABCDEFGHIJKLMNO ");
    QTest::newRow("zero byte ends it") << QByteArray("AB\0CD", 5) << QByteArray("AB");
    QTest::newRow("leading blanks") << QByteArray("  AB") << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void BankReadingTest::genreNames()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, name);

    TestFolder folder;
    BankGenre genre = support::numberedGenre(1, 2, bytes(stored));
    const QString path = folder.write("names.5TQ", support::bankBytes({genre}));
    Window window;
    QVERIFY(show(window));
    openBank(window, path);

    QCOMPARE(toArray(window.form.StringGrid1->Cells(1, 1)), name);
    // The name travels on into the question table.
    clickCell(window.form.StringGrid1, 2, 1);
    QCOMPARE(toArray(window.form.Edit4->Text()), name);
    QCOMPARE(toArray(window.form.StringGrid2->Cells(3, 1)), name);
    QVERIFY(window.prompts.errorTexts().empty());
}

void BankReadingTest::countIsLittleEndian_data()
{
    QTest::addColumn<int>("count");     // written into bytes 18 and 19
    QTest::addColumn<int>("records");   // questions the file holds
    QTest::addColumn<QString>("shown");

    QTest::newRow("0x34 0x12") << 0x1234 << 3 << u"4660"_qs;
    QTest::newRow("high byte only") << 0x0100 << 2 << u"256"_qs;
    QTest::newRow("largest") << 0xFFFF << 1 << u"65535"_qs;
}

void BankReadingTest::countIsLittleEndian()
{
    QFETCH(int, count);
    QFETCH(int, records);
    QFETCH(QString, shown);

    TestFolder folder;
    BankGenre genre = support::numberedGenre(1, records, "Short");
    genre.countOverride = count;
    const QString path = folder.write("count.5TQ", support::bankBytes({genre}));
    Window window;
    QVERIFY(show(window));
    app::TForm1& form = window.form;
    openBank(window, path);

    QCOMPARE(rowOf(form.StringGrid1, 1), (QStringList{u"ジャンル1"_qs, u"Short"_qs, shown, u"1"_qs, shown}));
    QCOMPARE(rowOf(form.StringGrid1, 2).mid(2), (QStringList{u"0"_qs, QString::number(count + 1), shown}));

    // Only the records the file holds are added.
    clickCell(form.StringGrid1, 2, 1);
    QCOMPARE(form.StringGrid2->RowCount(), records + 2);
    QCOMPARE(columnOf(form.StringGrid2, 1, 1, records), numbered("Q", 1, 1, records));
    QCOMPARE(columnOf(form.StringGrid2, 0, 1, records), numbers(1, records));
    QCOMPARE(form.Edit7->Text(), std::to_string(records));
    QVERIFY(window.prompts.errorTexts().empty());
}

void BankReadingTest::shiftedText_data()
{
    QTest::addColumn<QByteArray>("stored"); // the question field's first bytes; blanks follow
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("shift undone, blank pair ends") << QByteArray("\x82\x20\x41\x20\x20") << QByteArray("\x02\xA0\xC1");
    QTest::newRow("stored 0x80 ends") << QByteArray("\xC1\xC2\x80\xC3") << QByteArray("AB");
    QTest::newRow("stored 0x80 first") << QByteArray("\x80\xC1") << QByteArray();
    QTest::newRow("one stored blank is text") << QByteArray("\xC1\x20\xC2") << QByteArray("A\xA0" "B");
    QTest::newRow("blank pair across eight bytes") << QByteArray(7, '\xC1') + QByteArray("\x20\x20\xC3")
                                                    << QByteArray(7, 'A');
    QTest::newRow("stored 0x80 in second eight") << QByteArray(9, '\xC1') + QByteArray("\x80\xC2")
                                                  << QByteArray(9, 'A');
    QTest::newRow("whole field") << QByteArray(kQuestionField, '\xC1') << QByteArray(kQuestionField, 'A');
    QTest::newRow("last byte a blank") << QByteArray(kQuestionField - 1, '\xC1') + QByteArray("\x20")
                                       << QByteArray(kQuestionField - 1, 'A') + QByteArray("\xA0");
    QByteArray kanji = toArray(sjis::fromUtf8(u8"問題ですか"));
    QByteArray storedKanji = kanji;
    for (char& c : storedKanji)
        c = char(static_cast<unsigned char>(c) - 0x80);
    QTest::newRow("double-byte text") << storedKanji << kanji;
}

void BankReadingTest::shiftedText()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, text);

    std::string bank = support::bankBytes({support::numberedGenre(1, 1, "Shift")});
    bank.replace(kDirectory, kQuestionField, std::string(kQuestionField, ' '));
    bank.replace(kDirectory, std::size_t(stored.size()), bytes(stored));
    TestFolder folder;
    const QString path = folder.write("shifted.5TQ", bank);
    Window window;
    QVERIFY(show(window));
    app::TForm1& form = window.form;
    openBank(window, path);

    QCOMPARE(toArray(app::bufferText(form.state().QuestionText)), text);
    QCOMPARE(toArray(form.Edit1->Text()), text);
    QCOMPARE(form.Edit2->Text(), std::string("A1-1"));

    clickCell(form.StringGrid1, 2, 1);
    QCOMPARE(toArray(form.StringGrid2->Cells(1, 1)), text);
    QCOMPARE(form.StringGrid2->Cells(2, 1), std::string("A1-1"));
    QVERIFY(window.prompts.errorTexts().empty());
}

void BankReadingTest::selectingGenresAppendsQuestions()
{
    TestFolder folder;
    const QString path = folder.write("bank.5TQ", standardBank());
    Window window;
    QVERIFY(show(window));
    app::TForm1& form = window.form;
    openBank(window, path);
    const QString name3 = sjis::toUnicode(thirdName());
    const QString name1 = sjis::toUnicode(firstName());

    clickCell(form.StringGrid1, 2, 3);
    QCOMPARE(form.StringGrid2->RowCount(), 7);
    for (int n = 1; n <= 5; ++n) {
        const QString tag = QStringLiteral("3-%1").arg(n);
        QCOMPARE(rowOf(form.StringGrid2, n),
                 (QStringList{QString::number(n), "Q" + tag, "A" + tag, name3,
                              QStringLiteral("★W%1-1★W%1-2★W%1-3★W%1-4").arg(tag)}));
    }
    QCOMPARE(rowOf(form.StringGrid2, 6), QStringList(5, QString()));
    QCOMPARE(form.Edit6->Text(), std::string("1"));
    QCOMPARE(form.Edit8->Text(), std::string("5"));
    QCOMPARE(form.Edit7->Text(), std::string("5"));
    QCOMPARE(form.Edit7->Color(), QColor(255, 0, 0));
    QCOMPARE(form.StringGrid2->Cells(1, 0), sjis::fromUtf8(u8"問題・・・") + thirdName() + sjis::fromUtf8(u8"■"));
    QCOMPARE(form.Edit4->Text(), thirdName());
    QCOMPARE(form.Edit5->Text(), thirdName() + sjis::fromUtf8(u8"■"));
    QCOMPARE(form.Memo2->Text(),
             sjis::fromUtf8(u8"下表に内容表示。加算したいジャンルを複数指定可。限度300問だが後で作成対象指定で設定可"));
    QCOMPARE(form.Edit1->Text(), std::string("Q3-5"));
    QCOMPARE(form.Edit2->Text(), std::string("A3-5"));

    clickCell(form.StringGrid1, 2, 1);
    QCOMPARE(form.StringGrid2->RowCount(), 17);
    QCOMPARE(columnOf(form.StringGrid2, 0, 1, 15), numbers(1, 15));
    QCOMPARE(columnOf(form.StringGrid2, 1, 6, 15), numbered("Q", 1, 1, 10));
    QCOMPARE(columnOf(form.StringGrid2, 2, 6, 15), numbered("A", 1, 1, 10));
    QCOMPARE(columnOf(form.StringGrid2, 3, 6, 15), QStringList(10, name1));
    QCOMPARE(columnOf(form.StringGrid2, 1, 1, 5), numbered("Q", 3, 1, 5));
    QCOMPARE(rowOf(form.StringGrid2, 16), QStringList(5, QString()));
    QCOMPARE(form.Edit6->Text(), std::string("1"));
    QCOMPARE(form.Edit8->Text(), std::string("15"));
    QCOMPARE(form.Edit7->Text(), std::string("15"));
    QCOMPARE(form.Edit7->Color(), QColor(0, 255, 0));
    const std::string header = sjis::fromUtf8(u8"問題・・・") + thirdName() + sjis::fromUtf8(u8"■") + firstName()
                               + sjis::fromUtf8(u8"■");
    QCOMPARE(form.StringGrid2->Cells(1, 0), header);
    QCOMPARE(form.Edit4->Text(), firstName());
    // Bytes 11 to 34 of the header; "か" would stand on bytes 34 and 35, so it is left out.
    QCOMPARE(form.Edit5->Text(), thirdName() + sjis::fromUtf8(u8"■Xあいうえお"));
    QCOMPARE(form.Edit1->Text(), std::string("Q1-10"));
    QCOMPARE(form.Edit2->Text(), std::string("A1-10"));
    QVERIFY(window.prompts.errorTexts().empty());
}

void BankReadingTest::shortBanks_data()
{
    QTest::addColumn<QByteArray>("bank");
    QTest::addColumn<int>("genre");            // the genre-table row selected
    QTest::addColumn<QStringList>("counts");   // genre table, rows 1 to 8
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("firstQuestion"); // Edit1 after opening
    QTest::addColumn<QStringList>("questions"); // rows added by the selection
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("wrong");

    const QStringList noNames(8, QString());
    const QStringList zeros(8, u"0"_qs);
    const QString none = u"★★★★"_qs;
    const auto wrongOf = [](int genre, int n) { return QStringLiteral("★W%1-%2-1★W%1-%2-2★W%1-%2-3★W%1-%2-4").arg(genre).arg(n); };
    const std::string five = support::bankBytes({support::numberedGenre(1, 5, "Five")});
    const QStringList fiveCounts{u"5"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs};
    QStringList fiveNames = noNames;
    fiveNames[0] = u"Five"_qs;

    QTest::newRow("cut in the answer of record 3")
        << toArray(five.substr(0, kDirectory + 2 * kRecord + kQuestionField + 2)) << 1 << fiveCounts << fiveNames
        << u"Q1-1"_qs << numbered("Q", 1, 1, 3) << QStringList{u"A1-1"_qs, u"A1-2"_qs, u"A1"_qs}
        << QStringList{wrongOf(1, 1), wrongOf(1, 2), none};
    QTest::newRow("cut in the question of record 3")
        << toArray(five.substr(0, kDirectory + 2 * kRecord + 2)) << 1 << fiveCounts << fiveNames << u"Q1-1"_qs
        << QStringList{u"Q1-1"_qs, u"Q1-2"_qs, u"Q1"_qs} << QStringList{u"A1-1"_qs, u"A1-2"_qs, QString()}
        << QStringList{wrongOf(1, 1), wrongOf(1, 2), none};
    QTest::newRow("cut after record 4")
        << toArray(five.substr(0, kDirectory + 4 * kRecord)) << 1 << fiveCounts << fiveNames << u"Q1-1"_qs
        << numbered("Q", 1, 1, 4) << numbered("A", 1, 1, 4)
        << QStringList{wrongOf(1, 1), wrongOf(1, 2), wrongOf(1, 3), wrongOf(1, 4)};

    // Cut after the low byte of genre 3's count (261): the missing high byte counts as 0.
    BankGenre third = support::numberedGenre(3, 0, "G3");
    third.countOverride = 261;
    const std::string directory = support::bankBytes(
        {support::numberedGenre(1, 10, "G1"), support::numberedGenre(2, 0, "G2"), third});
    QStringList directoryNames = noNames;
    directoryNames[0] = u"G1"_qs;
    directoryNames[1] = u"G2"_qs;
    directoryNames[2] = u"G3"_qs;
    QTest::newRow("cut inside the directory")
        << toArray(directory.substr(0, 2 * 256 + 19)) << 1
        << QStringList{u"10"_qs, u"0"_qs, u"5"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs} << directoryNames
        << QString() << QStringList() << QStringList() << QStringList();
    QTest::newRow("cut inside a genre name")
        << toArray(directory.substr(0, 256 + 1)) << 1
        << QStringList{u"10"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs}
        << QStringList{u"G1"_qs, u"G"_qs, QString(), QString(), QString(), QString(), QString(), QString()}
        << QString() << QStringList() << QStringList() << QStringList();
    QTest::newRow("no bytes") << QByteArray() << 1 << zeros << noNames << QString() << QStringList() << QStringList()
                              << QStringList();
    QTest::newRow("no bytes, last genre") << QByteArray() << 8 << zeros << noNames << QString() << QStringList()
                                          << QStringList() << QStringList();
}

void BankReadingTest::shortBanks()
{
    QFETCH(QByteArray, bank);
    QFETCH(int, genre);
    QFETCH(QStringList, counts);
    QFETCH(QStringList, names);
    QFETCH(QString, firstQuestion);
    QFETCH(QStringList, questions);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, wrong);

    TestFolder folder;
    const QString path = folder.write("short.5TQ", bytes(bank));
    Window window;
    QVERIFY(show(window));
    app::TForm1& form = window.form;
    openBank(window, path);
    QVERIFY(form.state().BankStream);

    QCOMPARE(columnOf(form.StringGrid1, 2, 1, 8), counts);
    QCOMPARE(columnOf(form.StringGrid1, 1, 1, 8), names);
    QCOMPARE(sjis::toUnicode(form.Edit1->Text()), firstQuestion);

    clickCell(form.StringGrid1, 2, genre);
    const int added = int(questions.size());
    QCOMPARE(form.StringGrid2->RowCount(), added + 2);
    if (added > 0) {
        QCOMPARE(columnOf(form.StringGrid2, 0, 1, added), numbers(1, added));
        QCOMPARE(columnOf(form.StringGrid2, 1, 1, added), questions);
        QCOMPARE(columnOf(form.StringGrid2, 2, 1, added), answers);
        QCOMPARE(columnOf(form.StringGrid2, 4, 1, added), wrong);
    }
    QCOMPARE(rowOf(form.StringGrid2, added + 1), QStringList(5, QString()));
    QCOMPARE(form.Edit7->Text(), std::to_string(added));
    QCOMPARE(form.Edit7->Color(), QColor(255, 0, 0));
    QVERIFY(window.prompts.errorTexts().empty());
}

void BankReadingTest::recordNumbersOutsideBank_data()
{
    QTest::addColumn<QByteArray>("first"); // typed into the genre table's start and end cells
    QTest::addColumn<QByteArray>("last");
    QTest::addColumn<QStringList>("questions");

    const QStringList all = numbered("Q", 1, 1, 10) + numbered("Q", 3, 1, 5);
    QTest::newRow("below the first record") << QByteArray("-5") << QByteArray("2") << numbered("Q", 1, 1, 2);
    QTest::newRow("far beyond the end") << QByteArray("1") << QByteArray("2000000000") << all;
    QTest::newRow("largest number") << QByteArray("1") << QByteArray("2147483647") << all;
    QTest::newRow("across the end") << QByteArray("14") << QByteArray("16") << numbered("Q", 3, 4, 5);
    QTest::newRow("hexadecimal") << QByteArray("$B") << QByteArray("$C") << numbered("Q", 3, 1, 2);
    QTest::newRow("only record 0") << QByteArray("0") << QByteArray("0") << QStringList();
    QTest::newRow("wholly beyond the end") << QByteArray("16") << QByteArray("20") << QStringList();
    QTest::newRow("smallest numbers") << QByteArray("-2147483648") << QByteArray("0") << QStringList();
    QTest::newRow("end before start") << QByteArray("5") << QByteArray("3") << QStringList();
}

// A file of 1 GiB holds over four million records' worth of bytes, but a bank counts at
// most 8 x 65,535 questions: a range typed as 1 to 2147483647 reads no more than those.
void BankReadingTest::rangeBeyondWhatABankCounts()
{
    TestFolder folder;
    const QString path = folder.write("bank.5TQ", standardBank());
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.resize(qint64(1) << 30));  // sparse
    }
    Window window;
    QVERIFY(show(window));
    app::TForm1& form = window.form;
    openBank(window, path);
    form.StringGrid1->setCells(3, 1, "1");
    form.StringGrid1->setCells(4, 1, "2147483647");
    clickCell(form.StringGrid1, 2, 1);

    QCOMPARE(form.StringGrid2->RowCount(), 8 * 65535 + 2);
    QCOMPARE(columnOf(form.StringGrid2, 1, 1, 2), numbered("Q", 1, 1, 2));
    QCOMPARE(form.StringGrid2->Cells(0, 8 * 65535), std::to_string(8 * 65535));
    QCOMPARE(form.Edit7->Text(), std::to_string(8 * 65535));
    QVERIFY(window.prompts.errorTexts().empty());
}

void BankReadingTest::recordNumbersOutsideBank()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, last);
    QFETCH(QStringList, questions);

    TestFolder folder;
    const QString path = folder.write("bank.5TQ", standardBank());
    Window window;
    QVERIFY(show(window));
    app::TForm1& form = window.form;
    openBank(window, path);

    form.StringGrid1->setCells(3, 1, bytes(first));
    form.StringGrid1->setCells(4, 1, bytes(last));
    QElapsedTimer timer;
    timer.start();
    clickCell(form.StringGrid1, 2, 1);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));

    const int added = int(questions.size());
    QCOMPARE(form.StringGrid2->RowCount(), added + 2);
    if (added > 0) {
        QCOMPARE(columnOf(form.StringGrid2, 1, 1, added), questions);
        QCOMPARE(columnOf(form.StringGrid2, 0, 1, added), numbers(1, added));
    }
    QCOMPARE(form.Edit7->Text(), std::to_string(added));
    QVERIFY(window.prompts.errorTexts().empty());
}

void BankReadingTest::nonIntegerRecordNumber_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<QByteArray>("error");

    QTest::newRow("letter as start") << 3 << QByteArray("x") << QByteArray("'x' は整数ではありません.");
    QTest::newRow("empty end") << 4 << QByteArray() << QByteArray("'' は整数ではありません.");
    QTest::newRow("end beyond 32 bits") << 4 << QByteArray("2147483648")
                                        << QByteArray("'2147483648' は整数ではありません.");
}

void BankReadingTest::nonIntegerRecordNumber()
{
    QFETCH(int, col);
    QFETCH(QByteArray, typed);
    QFETCH(QByteArray, error);

    TestFolder folder;
    const QString path = folder.write("bank.5TQ", standardBank());
    Window window;
    QVERIFY(show(window));
    app::TForm1& form = window.form;
    openBank(window, path);

    form.StringGrid1->setCells(col, 3, bytes(typed));
    clickCell(form.StringGrid1, 2, 3);

    QCOMPARE(window.prompts.errorTexts(), std::vector<std::string>{sj(error)});
    QCOMPARE(form.StringGrid2->RowCount(), 2);
    QCOMPARE(rowOf(form.StringGrid2, 1), QStringList(5, QString()));
    QCOMPARE(form.Edit7->Text(), std::string());
    // The steps before the conversion have been made.
    QCOMPARE(form.Edit4->Text(), thirdName());
    QCOMPARE(form.StringGrid2->Cells(1, 0), sjis::fromUtf8(u8"問題・・・") + thirdName() + sjis::fromUtf8(u8"■"));

    // The window goes on: another genre is added as usual.
    clickCell(form.StringGrid1, 2, 1);
    QCOMPARE(form.StringGrid2->RowCount(), 12);
    QCOMPARE(int(window.prompts.errorTexts().size()), 1);
}

void BankReadingTest::unopenableFileKeepsBank()
{
    TestFolder folder;
    const QString path = folder.write("bank.5TQ", standardBank());
    Window window;
    QVERIFY(show(window));
    app::TForm1& form = window.form;
    openBank(window, path);
    const app::BankFile* opened = form.state().BankStream.get();
    QVERIFY(opened);
    const std::string saveName = form.Edit3->Text();

    const QString missing = folder.path("missing.5TQ");
    openBank(window, missing);

    QCOMPARE(window.prompts.errorTexts(),
             std::vector<std::string>{sjis::fromUtf8(u8"ﾌｧｲﾙ ") + TestFolder::bytesOf(missing)
                                      + sjis::fromUtf8(u8" は開けません.")});
    QCOMPARE(form.state().BankStream.get(), opened);
    QCOMPARE(rowOf(form.StringGrid1, 1),
             (QStringList{u"ジャンル1"_qs, sjis::toUnicode(firstName()), u"10"_qs, u"1"_qs, u"10"_qs}));
    QCOMPARE(rowOf(form.StringGrid1, 3),
             (QStringList{u"ジャンル3"_qs, sjis::toUnicode(thirdName()), u"5"_qs, u"11"_qs, u"15"_qs}));
    QCOMPARE(form.Edit3->Text(), saveName);

    // The bank opened before is still the one read.
    clickCell(form.StringGrid1, 2, 3);
    QCOMPARE(columnOf(form.StringGrid2, 1, 1, 5), numbered("Q", 3, 1, 5));
    QCOMPARE(int(window.prompts.errorTexts().size()), 1);
}

void BankReadingTest::secondBankReplacesStream()
{
    TestFolder folder;
    const QString firstPath = folder.write("first.5TQ", standardBank());
    const QString secondPath = folder.write("second.5TQ", support::bankBytes({support::numberedGenre(7, 4, "Second")}));
    Window window;
    QVERIFY(show(window));
    app::TForm1& form = window.form;
    openBank(window, firstPath);
    const app::BankFile* first = form.state().BankStream.get();
    QVERIFY(first);

    openBank(window, secondPath);
    QVERIFY(form.state().BankStream);
    QVERIFY(form.state().BankStream.get() != first);
    QCOMPARE(rowOf(form.StringGrid1, 1), (QStringList{u"ジャンル1"_qs, u"Second"_qs, u"4"_qs, u"1"_qs, u"4"_qs}));
    QCOMPARE(rowOf(form.StringGrid1, 3).mid(1), (QStringList{QString(), u"0"_qs, u"5"_qs, u"4"_qs}));
    QCOMPARE(form.Edit1->Text(), std::string("Q7-1"));
    QCOMPARE(form.Edit3->Text(), TestFolder::bytesOf(folder.path("second.mon")));

    clickCell(form.StringGrid1, 2, 1);
    QCOMPARE(columnOf(form.StringGrid2, 1, 1, 4), numbered("Q", 7, 1, 4));
    QVERIFY(window.prompts.errorTexts().empty());
}

void BankReadingTest::fullGenreTableStartsAfresh()
{
    // All eight genres named: the next read empties the genre table first, through the
    // browser toggle, and hides the browser again once the bank is listed.
    std::vector<BankGenre> genres;
    for (int g = 1; g <= 8; ++g)
        genres.push_back(support::numberedGenre(g, 1, "Full" + std::to_string(g)));
    TestFolder folder;
    const QString fullPath = folder.write("full.5TQ", support::bankBytes(genres));
    const QString secondPath = folder.write("second.5TQ", support::bankBytes({support::numberedGenre(7, 4, "Second")}));
    Window window;
    QVERIFY(show(window));
    app::TForm1& form = window.form;
    openBank(window, fullPath);
    QCOMPARE(rowOf(form.StringGrid1, 8), (QStringList{u"ジャンル8"_qs, u"Full8"_qs, u"1"_qs, u"8"_qs, u"8"_qs}));

    openBank(window, secondPath);
    QCOMPARE(rowOf(form.StringGrid1, 1), (QStringList{u"ジャンル1"_qs, u"Second"_qs, u"4"_qs, u"1"_qs, u"4"_qs}));
    QCOMPARE(rowOf(form.StringGrid1, 8), (QStringList{u"ジャンル8"_qs, QString(), u"0"_qs, u"5"_qs, u"4"_qs}));
    QCOMPARE(form.StringGrid1->Cells(0, 0), sjis::fromUtf8(u8"五択5TQ"));
    QVERIFY(form.DirectoryListBox1->isHidden());
    QVERIFY(form.FileListBox1->isHidden());
    QVERIFY(form.DriveComboBox1->isHidden());
    QCOMPARE(sjis::fromUnicode(form.Button13->text()).bytes, sjis::fromUtf8(u8"Zelqua用読込"));
    QCOMPARE(form.state().MonFileCount, 0);
    QVERIFY(window.prompts.errorTexts().empty());
    QCOMPARE(window.prompts.pending(), std::size_t(0));
}

QTEST_MAIN(BankReadingTest)
#include "BankReadingTest.moc"
