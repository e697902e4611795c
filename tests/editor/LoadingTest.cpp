// Loading through the window: listing mon files in the genre table, adding a listed file's
// questions to the question table, the fresh table after eight files, the browse button,
// a cancelled open dialog, a bank opened while the browser shows, and bytes that are not
// valid Shift-JIS.

#include "app/TForm1.h"
#include "app/WindowTexts.h"
#include "support/ScriptedPrompts.h"
#include "support/WindowDriver.h"
#include "support/TestFiles.h"
#include "support/TestText.h"
#include "widgets/Button.h"
#include "widgets/DirectoryList.h"
#include "widgets/DriveList.h"
#include "widgets/FileList.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"

#include <QFile>
#include <QTableView>
#include <QtTest>

#include <string>
#include <vector>

using support::ScriptedPrompts;
using support::allCells;
using support::browserVisible;
using support::cellCenter;
using support::clickCell;
using support::clickRow;
using support::TestFolder;
using support::sj;
using support::bytes;

namespace {

using Kind = ScriptedPrompts::Kind;
using Lines = std::vector<std::string>;

Lines toLines(const QList<QByteArray>& list)
{
    Lines lines;
    for (const QByteArray& line : list)
        lines.push_back(bytes(line));
    return lines;
}

QByteArray qb(const std::string& text)
{
    return QByteArray::fromStdString(text);
}

void listMonFile(app::TForm1& form, ScriptedPrompts& prompts, const QString& path)
{
    prompts.acceptOpen(TestFolder::bytesOf(path), 2);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
}

// Every cell below the header row.
Lines bodyCells(const widgets::StringGrid& grid)
{
    Lines cells;
    for (int row = 1; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            cells.push_back(grid.Cells(col, row));
    return cells;
}

std::string pathBytes(const TestFolder& folder, const QString& name)
{
    return TestFolder::bytesOf(folder.path(name));
}

std::string simpleMon(const std::string& title, const std::string& genre, int questions, const std::string& tag)
{
    std::vector<std::pair<std::string, std::string>> items;
    for (int n = 1; n <= questions; ++n)
        items.emplace_back("A" + tag + std::to_string(n), "Q" + tag + std::to_string(n));
    return support::monText(std::to_string(questions), title, genre, items);
}

bool browserHidden(const app::TForm1& form)
{
    return form.DirectoryListBox1->isHidden() && form.FileListBox1->isHidden() && form.DriveComboBox1->isHidden();
}

QString caption(const std::string& text)
{
    return sjis::toUnicode(text);
}

} // namespace

class LoadingTest : public QObject {
    Q_OBJECT

private slots:
    void listingFillsGenreRow_data();
    void listingFillsGenreRow();
    void selectedFileAddsQuestions_data();
    void selectedFileAddsQuestions();
    void selectionsAppendInOrder_data();
    void selectionsAppendInOrder();
    void selectionOutsideListedRowsDoesNothing_data();
    void selectionOutsideListedRowsDoesNothing();
    void selectingVanishedFileShowsError();
    void fullGenreTableStartsAfresh_data();
    void fullGenreTableStartsAfresh();
    void browseButtonToggles_data();
    void browseButtonToggles();
    void cancelledOpenChangesOnlyHeaders_data();
    void cancelledOpenChangesOnlyHeaders();
    void bankOpenHidesBrowser_data();
    void bankOpenHidesBrowser();
    void invalidShiftJisBytesSurvive_data();
    void invalidShiftJisBytesSurvive();
};

void LoadingTest::listingFillsGenreRow_data()
{
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("saveName");
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QByteArray>("genre");
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<bool>("warns");

    const auto q = [](std::u8string_view text) { return qb(sj(text)); };
    QTest::newRow("text collection") << QList<QByteArray>{"12,\"j42\",\"Title\"", "0,\"\",\"Genre\"", "15,\"A\",\"Q\""}
                                     << "plain.txt" << "plain.mon" << QByteArray("Title") << QByteArray("Genre")
                                     << QByteArray("12") << false;
    QTest::newRow("Japanese texts") << QList<QByteArray>{q(u8"8,\"j42\",\"日本史の問題\""), q(u8"0,\"\",\"歴史・文化\""),
                                                         q(u8"15,\"答え\",\"問い\"")}
                                    << "japan.mon" << "japan.mon" << q(u8"日本史の問題") << q(u8"歴史・文化")
                                    << QByteArray("8") << false;
    QTest::newRow("quoted count stays raw") << QList<QByteArray>{"\"12\",\"j42\",\"T\"", "0,\"\",\"G\""} << "quoted.dat"
                                            << "quoted.mon" << QByteArray("T") << QByteArray("G")
                                            << QByteArray("\"12\"") << false;
    QTest::newRow("commas inside texts") << QList<QByteArray>{"10,\"j42\",\"a,b\"", "0,\"\",\"g,h\""} << "commas"
                                         << "commas.mon" << QByteArray("a,b") << QByteArray("g,h")
                                         << QByteArray("10") << false;
    QTest::newRow("quoted text mode") << QList<QByteArray>{"9,\"j42\",\"T\"", "\"0\",\"\",\"G\""} << "quotedmode.mon"
                                      << "quotedmode.mon" << QByteArray("T") << QByteArray("G") << QByteArray("9")
                                      << false;
    QTest::newRow("graphic mode") << QList<QByteArray>{"10,\"j42\",\"Pictures\"", "1,\"\",\"Art\"", "15,\"A\",\"Q\""}
                                  << "graphic.mon" << "graphic.mon" << QByteArray("Pictures") << QByteArray("Art")
                                  << QByteArray("10") << true;
    QTest::newRow("single line") << QList<QByteArray>{"5,\"j42\",\"Only\""} << "single.txt" << "single.mon"
                                 << QByteArray("Only") << QByteArray() << QByteArray("5") << true;
}

void LoadingTest::listingFillsGenreRow()
{
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QString, fileName);
    QFETCH(QString, saveName);
    QFETCH(QByteArray, title);
    QFETCH(QByteArray, genre);
    QFETCH(QByteArray, count);
    QFETCH(bool, warns);

    TestFolder folder;
    const QString path = folder.write(fileName, support::crlfText(toLines(lines)));

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    listMonFile(form, prompts, path);

    QCOMPARE(form.StringGrid1->Cells(0, 0), app::texts::kMonMarker);
    QCOMPARE(form.StringGrid1->Cells(0, 1), bytes(title));
    QCOMPARE(form.StringGrid1->Cells(1, 1), bytes(genre));
    QCOMPARE(form.StringGrid1->Cells(2, 1), bytes(count));
    QCOMPARE(form.StringGrid1->Cells(3, 1), TestFolder::bytesOf(path));
    QCOMPARE(form.state().MonFileCount, 1);
    QCOMPARE(form.RichEdit1->Lines(), toLines(lines));
    QCOMPARE(form.Edit3->Text(), pathBytes(folder, saveName));
    QCOMPARE(form.SaveDialog1.fileName, TestFolder::bytesOf(path));
    QCOMPARE(form.SaveDialog1.filterIndex, 1);
    // Listing adds no questions.
    QCOMPARE(form.StringGrid2->RowCount(), 2);
    QCOMPARE(form.StringGrid2->Cells(3, 0), app::texts::kGenreHeader);

    const std::vector<ScriptedPrompts::Call> opens = prompts.callsOf(Kind::Open);
    QCOMPARE(int(opens.size()), 1);
    QCOMPARE(opens[0].filter, app::texts::kOpenFilter);
    QCOMPARE(opens[0].filterIndex, 1);

    const std::vector<ScriptedPrompts::Call> messages = prompts.callsOf(Kind::Message);
    QCOMPARE(prompts.beeps(), warns ? 1 : 0);
    QCOMPARE(int(messages.size()), warns ? 1 : 0);
    if (warns) {
        QCOMPARE(messages[0].text, sj(u8"注意！！！この問題集は《グラフィックモード》で、編集対象外です。保存には上書きしないよう充分ご注意下さい。"));
        QCOMPARE(messages[0].messageKind, widgets::MessageKind::Warning);
        QCOMPARE(messages[0].buttons, widgets::MessageButtons::Ok);
    }
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void LoadingTest::selectedFileAddsQuestions_data()
{
    QTest::addColumn<QByteArray>("body");  // the file after its two header lines
    QTest::addColumn<QList<QByteArray>>("questions");
    QTest::addColumn<QList<QByteArray>>("answers");

    const auto q = [](std::u8string_view text) { return qb(sj(text)); };
    QTest::newRow("one line each") << QByteArray("15,\"A1\",\"Q1\"\r\n15,\"A2\",\"Q2\"\r\n15,\"A3\",\"Q3\"\r\n")
                                   << QList<QByteArray>{"Q1", "Q2", "Q3"} << QList<QByteArray>{"A1", "A2", "A3"};
    QTest::newRow("three physical lines") << QByteArray("15,\"A\",\"X\r\nY\r\nZ\"\r\n15,\"B\",\"W\"\r\n")
                                          << QList<QByteArray>{"X\r\nY\r\nZ", "W"} << QList<QByteArray>{"A", "B"};
    QTest::newRow("LF line breaks") << QByteArray("15,\"A\",\"X\nY\"\n15,\"B\",\"W\"\n")
                                    << QList<QByteArray>{"X\r\nY", "W"} << QList<QByteArray>{"A", "B"};
    QTest::newRow("empty lines between") << QByteArray("15,\"A1\",\"Q1\"\r\n\r\n\r\n15,\"A2\",\"Q2\"\r\n\r\n")
                                         << QList<QByteArray>{"Q1", "Q2"} << QList<QByteArray>{"A1", "A2"};
    QTest::newRow("empty line inside") << QByteArray("15,\"A\",\"X\r\n\r\nZ\"\r\n")
                                       << QList<QByteArray>{"X\r\n\r\nZ"} << QList<QByteArray>{"A"};
    QTest::newRow("open last question") << QByteArray("15,\"A1\",\"Q1\"\r\n15,\"A2\",\"Q2 tail\r\n")
                                        << QList<QByteArray>{"Q1", "Q2 tail"} << QList<QByteArray>{"A1", "A2"};
    QTest::newRow("open last question over lines") << QByteArray("15,\"A\",\"X\r\nY")
                                                   << QList<QByteArray>{"X\r\nY"} << QList<QByteArray>{"A"};
    QTest::newRow("open Japanese question") << q(u8"15,\"答\",\"途中で終わる問題")
                                            << QList<QByteArray>{q(u8"途中で終わる問題")} << QList<QByteArray>{q(u8"答")};
    QTest::newRow("comma in texts") << QByteArray("15,\"a,b\",\"x,y\"\r\n") << QList<QByteArray>{"x,y"}
                                    << QList<QByteArray>{"a,b"};
    QTest::newRow("Japanese") << q(u8"15,\"東京\",\"日本の首都は？\"\r\n") << QList<QByteArray>{q(u8"日本の首都は？")}
                              << QList<QByteArray>{q(u8"東京")};
}

void LoadingTest::selectedFileAddsQuestions()
{
    QFETCH(QByteArray, body);
    QFETCH(QList<QByteArray>, questions);
    QFETCH(QList<QByteArray>, answers);

    TestFolder folder;
    const std::string file = support::crlfText({"3,\"j42\",\"Title\"", "0,\"\",\"Genre\""}) + bytes(body);
    const QString path = folder.write("quiz.mon", file);

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    listMonFile(form, prompts, path);
    clickRow(*form.StringGrid1, 1);

    widgets::StringGrid& table = *form.StringGrid2;
    const int n = int(questions.size());
    QCOMPARE(table.RowCount(), n + 2);
    for (int row = 1; row <= n; ++row) {
        QCOMPARE(table.Cells(0, row), std::to_string(row));
        QCOMPARE(table.Cells(1, row), bytes(questions[row - 1]));
        QCOMPARE(table.Cells(2, row), bytes(answers[row - 1]));
        QCOMPARE(table.Cells(3, row), std::string("Genre"));
        QCOMPARE(table.Cells(4, row), std::string());
    }
    for (int col = 0; col < 5; ++col)
        QCOMPARE(table.Cells(col, n + 1), std::string());
    QCOMPARE(table.Cells(1, 0), app::texts::kQuestionHeader + "Genre" + app::texts::kGenreEnd);
    QCOMPARE(form.Edit4->Text(), std::string("Title"));
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void LoadingTest::selectionsAppendInOrder_data()
{
    QTest::addColumn<bool>("byClick");

    QTest::newRow("click") << true;
    QTest::newRow("handler call") << false;
}

void LoadingTest::selectionsAppendInOrder()
{
    QFETCH(bool, byClick);

    TestFolder folder;
    const QString first = folder.write("first.txt", simpleMon("T1", "G1", 2, "a"));
    const QString second = folder.write("second.txt", simpleMon("T2", "G2", 3, "b"));
    const QString third = folder.write("third.txt", simpleMon("T3", "G3", 1, "c"));

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    for (const QString& path : {first, second, third})
        listMonFile(form, prompts, path);
    QCOMPARE(form.state().MonFileCount, 3);
    QCOMPARE(form.StringGrid1->Cells(3, 1), TestFolder::bytesOf(first));
    QCOMPARE(form.StringGrid1->Cells(3, 2), TestFolder::bytesOf(second));
    QCOMPARE(form.StringGrid1->Cells(3, 3), TestFolder::bytesOf(third));

    const auto select = [&](int row) {
        if (byClick) {
            clickRow(*form.StringGrid1, row);
        } else {
            bool canSelect = true;
            form.StringGrid1SelectCell(0, row, &canSelect);
        }
    };

    struct Expected { std::string question, answer, genre; };
    std::vector<Expected> expected;

    select(2);
    for (int n = 1; n <= 3; ++n)
        expected.push_back({"Qb" + std::to_string(n), "Ab" + std::to_string(n), "G2"});
    QCOMPARE(form.Edit4->Text(), std::string("T2"));
    QCOMPARE(form.RichEdit1->Lines(), (Lines{"3,\"j42\",\"T2\"", "0,\"\",\"G2\"", "15,\"Ab1\",\"Qb1\"",
                                             "15,\"Ab2\",\"Qb2\"", "15,\"Ab3\",\"Qb3\""}));
    // The save name follows the file listed last, whichever row was added.
    QCOMPARE(form.Edit3->Text(), pathBytes(folder, "third.mon"));
    QCOMPARE(form.SaveDialog1.fileName, TestFolder::bytesOf(third));

    select(1);
    for (int n = 1; n <= 2; ++n)
        expected.push_back({"Qa" + std::to_string(n), "Aa" + std::to_string(n), "G1"});
    QCOMPARE(form.Edit4->Text(), std::string("T1"));
    QCOMPARE(form.Edit3->Text(), pathBytes(folder, "third.mon"));
    QCOMPARE(form.SaveDialog1.fileName, TestFolder::bytesOf(third));

    select(3);
    expected.push_back({"Qc1", "Ac1", "G3"});
    QCOMPARE(form.Edit4->Text(), std::string("T3"));

    widgets::StringGrid& table = *form.StringGrid2;
    QCOMPARE(table.RowCount(), int(expected.size()) + 2);
    for (int row = 1; row <= int(expected.size()); ++row) {
        QCOMPARE(table.Cells(0, row), std::to_string(row));
        QCOMPARE(table.Cells(1, row), expected[row - 1].question);
        QCOMPARE(table.Cells(2, row), expected[row - 1].answer);
        QCOMPARE(table.Cells(3, row), expected[row - 1].genre);
        QCOMPARE(table.Cells(4, row), std::string());
    }
    const std::string end = app::texts::kGenreEnd;
    QCOMPARE(table.Cells(1, 0), app::texts::kQuestionHeader + "G2" + end + "G1" + end + "G3" + end);
    QCOMPARE(form.Edit5->Text(), "G2" + end + "G1" + end + "G3" + end);
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void LoadingTest::selectionOutsideListedRowsDoesNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("byClick");

    QTest::newRow("row after the listed files, click") << 3 << true;
    QTest::newRow("row after the listed files, call") << 3 << false;
    QTest::newRow("last row, click") << 8 << true;
    QTest::newRow("fixed row, call") << 0 << false;
}

void LoadingTest::selectionOutsideListedRowsDoesNothing()
{
    QFETCH(int, row);
    QFETCH(bool, byClick);

    TestFolder folder;
    const QString first = folder.write("first.mon", simpleMon("T1", "G1", 2, "a"));
    const QString second = folder.write("second.mon", simpleMon("T2", "G2", 3, "b"));

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    listMonFile(form, prompts, first);
    listMonFile(form, prompts, second);
    clickRow(*form.StringGrid1, 1);

    const Lines table = allCells(*form.StringGrid2);
    const Lines genres = allCells(*form.StringGrid1);
    const Lines memo = form.RichEdit1->Lines();
    const std::string edit3 = form.Edit3->Text();
    const std::string edit4 = form.Edit4->Text();
    const std::string edit5 = form.Edit5->Text();
    const std::string count = form.Edit7->Text();
    prompts.clearRecords();

    if (byClick) {
        clickRow(*form.StringGrid1, row);
        QCOMPARE(form.StringGrid1->Row(), row);  // the click did reach the row
    } else {
        bool canSelect = true;
        form.StringGrid1SelectCell(0, row, &canSelect);
    }

    QCOMPARE(allCells(*form.StringGrid2), table);
    QCOMPARE(allCells(*form.StringGrid1), genres);
    QCOMPARE(form.RichEdit1->Lines(), memo);
    QCOMPARE(form.Edit3->Text(), edit3);
    QCOMPARE(form.Edit4->Text(), edit4);
    QCOMPARE(form.Edit5->Text(), edit5);
    QCOMPARE(form.Edit7->Text(), count);
    QCOMPARE(form.state().MonFileCount, 2);
    QVERIFY(prompts.calls().empty());
}

void LoadingTest::selectingVanishedFileShowsError()
{
    TestFolder folder;
    const QString path = folder.write("gone.mon", simpleMon("T", "G", 2, "a"));

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    listMonFile(form, prompts, path);
    QVERIFY(QFile::remove(path));
    const Lines table = allCells(*form.StringGrid2);

    clickRow(*form.StringGrid1, 1);

    QCOMPARE(prompts.errorTexts(), Lines{sj(u8"ﾌｧｲﾙ ") + TestFolder::bytesOf(path) + sj(u8" は開けません.")});
    QCOMPARE(allCells(*form.StringGrid2), table);
    QVERIFY(prompts.unexpected().empty());
}

namespace {
enum FullTableSetup { kEightFiles, kEighthGenreEmpty, kBrowserShownFirst, kBankOfEightGenres };
}

void LoadingTest::fullGenreTableStartsAfresh_data()
{
    QTest::addColumn<int>("setup");

    QTest::newRow("eight files") << int(kEightFiles);
    QTest::newRow("eighth file without genre") << int(kEighthGenreEmpty);
    QTest::newRow("browser shown before") << int(kBrowserShownFirst);
    QTest::newRow("bank of eight genres") << int(kBankOfEightGenres);
}

void LoadingTest::fullGenreTableStartsAfresh()
{
    QFETCH(int, setup);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    if (setup == kBrowserShownFirst)
        QTest::mouseClick(form.Button13, Qt::LeftButton);

    if (setup == kBankOfEightGenres) {
        std::vector<support::BankGenre> genres;
        for (int g = 1; g <= 8; ++g)
            genres.push_back(support::numberedGenre(g, 2, "Genre" + std::to_string(g)));
        const QString bank = folder.write("eight.5TQ", support::bankBytes(genres));
        prompts.acceptOpen(TestFolder::bytesOf(bank), 1);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QCOMPARE(form.StringGrid1->Cells(1, 8), std::string("Genre8"));
    } else {
        for (int n = 1; n <= 8; ++n) {
            const std::string number = std::to_string(n);
            const std::string genre = n == 8 && setup == kEighthGenreEmpty ? std::string() : std::string("G").append(number);
            const QString path =
                folder.write(QStringLiteral("f%1.mon").arg(n), simpleMon(std::string("T").append(number), genre, 1, "x"));
            listMonFile(form, prompts, path);
            QCOMPARE(form.state().MonFileCount, n);
            QCOMPARE(form.StringGrid1->Cells(3, n), TestFolder::bytesOf(path));
        }
        QCOMPARE(form.StringGrid1->Cells(0, 1), std::string("T1"));
        QCOMPARE(form.StringGrid1->Cells(0, 8), std::string("T8"));
        // Eight files fit; only the ninth starts afresh.
        QCOMPARE(browserVisible(form), setup == kBrowserShownFirst);
    }

    const QString ninth = folder.write("ninth.mon", simpleMon("T9", "G9", 1, "y"));
    listMonFile(form, prompts, ninth);

    QCOMPARE(form.state().MonFileCount, 1);
    QCOMPARE(form.StringGrid1->Cells(0, 0), app::texts::kMonMarker);
    QCOMPARE(form.StringGrid1->Cells(0, 1), std::string("T9"));
    QCOMPARE(form.StringGrid1->Cells(1, 1), std::string("G9"));
    QCOMPARE(form.StringGrid1->Cells(2, 1), std::string("1"));
    QCOMPARE(form.StringGrid1->Cells(3, 1), TestFolder::bytesOf(ninth));
    for (int row = 2; row <= 8; ++row)
        for (int col = 0; col < 5; ++col)
            QCOMPARE(form.StringGrid1->Cells(col, row), std::string());
    QVERIFY(browserVisible(form));
    QCOMPARE(form.Button13->text(), caption(app::texts::kHideCaption));
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void LoadingTest::browseButtonToggles_data()
{
    QTest::addColumn<bool>("shownBefore");
    QTest::addColumn<bool>("withFiles");

    QTest::newRow("show on a fresh window") << false << false;
    QTest::newRow("show with listed files") << false << true;
    QTest::newRow("hide with listed files") << true << true;
}

void LoadingTest::browseButtonToggles()
{
    QFETCH(bool, shownBefore);
    QFETCH(bool, withFiles);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(browserHidden(form));
    QCOMPARE(form.Button13->text(), caption(app::texts::kBrowseCaption));

    if (shownBefore) {
        QTest::mouseClick(form.Button13, Qt::LeftButton);
        QVERIFY(browserVisible(form));
    }
    if (withFiles) {
        listMonFile(form, prompts, folder.write("a.mon", simpleMon("Ta", "Ga", 2, "a")));
        listMonFile(form, prompts, folder.write("b.mon", simpleMon("Tb", "Gb", 1, "b")));
        clickRow(*form.StringGrid1, 1);
        // Move the question table's columns about so that every header differs.
        form.StringGrid2->moveColumn(1, 4);
        QVERIFY(form.StringGrid2->Cells(1, 0) != app::texts::kQuestionHeader);
        QVERIFY(form.StringGrid2->Cells(2, 0) != app::texts::kAnswerHeader);
        QVERIFY(form.StringGrid2->Cells(4, 0) != app::texts::kWrongAnswersHeader);
    }
    const Lines genres = allCells(*form.StringGrid1);
    const Lines questions = bodyCells(*form.StringGrid2);
    const std::string genreHeader = form.StringGrid2->Cells(3, 0);
    const int files = form.state().MonFileCount;

    QTest::mouseClick(form.Button13, Qt::LeftButton);

    if (shownBefore) {
        QVERIFY(browserHidden(form));
        QCOMPARE(form.Button13->text(), caption(app::texts::kBrowseCaption));
        QCOMPARE(allCells(*form.StringGrid1), genres);
        QCOMPARE(form.state().MonFileCount, files);
    } else {
        QVERIFY(browserVisible(form));
        QCOMPARE(form.Button13->text(), caption(app::texts::kHideCaption));
        QCOMPARE(allCells(*form.StringGrid1), Lines(45));
        QCOMPARE(form.state().MonFileCount, 0);
    }
    QCOMPARE(form.StringGrid2->Cells(0, 0), sj(u8"内容"));
    QCOMPARE(form.StringGrid2->Cells(1, 0), sj(u8"問題・・・"));
    QCOMPARE(form.StringGrid2->Cells(2, 0), sj(u8"解答"));
    QCOMPARE(form.StringGrid2->Cells(4, 0), sj(u8"参考誤答等"));
    QCOMPARE(form.StringGrid2->Cells(3, 0), genreHeader);
    // The question table keeps its questions either way.
    QCOMPARE(bodyCells(*form.StringGrid2), questions);
    QVERIFY(prompts.calls().size() == prompts.callsOf(Kind::Open).size());
    QVERIFY(prompts.unexpected().empty());
}

void LoadingTest::cancelledOpenChangesOnlyHeaders_data()
{
    QTest::addColumn<bool>("browserShown");

    QTest::newRow("browser hidden") << false;
    QTest::newRow("browser shown") << true;
}

void LoadingTest::cancelledOpenChangesOnlyHeaders()
{
    QFETCH(bool, browserShown);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    if (browserShown)
        QTest::mouseClick(form.Button13, Qt::LeftButton);
    const QString path = folder.write("kept.txt", simpleMon("T", "G", 3, "a"));
    listMonFile(form, prompts, path);
    clickRow(*form.StringGrid1, 1);
    form.StringGrid2->moveColumn(1, 4);

    const Lines genres = allCells(*form.StringGrid1);
    const Lines questions = bodyCells(*form.StringGrid2);
    const std::string genreHeader = form.StringGrid2->Cells(3, 0);
    const Lines memo = form.RichEdit1->Lines();
    const std::string edit3 = form.Edit3->Text();
    const std::string edit4 = form.Edit4->Text();
    const std::string edit5 = form.Edit5->Text();
    const std::string saveName = form.SaveDialog1.fileName;
    const QString button13 = form.Button13->text();
    form.SaveDialog1.filterIndex = 2;
    prompts.clearRecords();

    prompts.cancelOpen();
    QTest::mouseClick(form.Button1, Qt::LeftButton);

    QCOMPARE(int(prompts.callsOf(Kind::Open).size()), 1);
    QCOMPARE(prompts.pending(), std::size_t(0));
    QCOMPARE(form.StringGrid2->Cells(0, 0), sj(u8"内容"));
    QCOMPARE(form.StringGrid2->Cells(1, 0), sj(u8"問題・・・"));
    QCOMPARE(form.StringGrid2->Cells(2, 0), sj(u8"解答"));
    QCOMPARE(form.StringGrid2->Cells(4, 0), sj(u8"参考誤答等"));
    QCOMPARE(form.StringGrid2->Cells(3, 0), genreHeader);
    QCOMPARE(bodyCells(*form.StringGrid2), questions);
    QCOMPARE(allCells(*form.StringGrid1), genres);
    QCOMPARE(form.state().MonFileCount, 1);
    QCOMPARE(form.RichEdit1->Lines(), memo);
    QCOMPARE(form.Edit3->Text(), edit3);
    QCOMPARE(form.Edit4->Text(), edit4);
    QCOMPARE(form.Edit5->Text(), edit5);
    QCOMPARE(form.SaveDialog1.fileName, saveName);
    QCOMPARE(form.SaveDialog1.filterIndex, 2);
    QCOMPARE(form.Button13->text(), button13);
    QCOMPARE(form.DirectoryListBox1->isVisible(), browserShown);
    QCOMPARE(prompts.beeps(), 0);
    QVERIFY(prompts.callsOf(Kind::Message).empty());
    QVERIFY(prompts.errorTexts().empty());
}

void LoadingTest::bankOpenHidesBrowser_data()
{
    QTest::addColumn<bool>("browserShown");

    QTest::newRow("browser shown") << true;
    QTest::newRow("browser hidden") << false;
}

void LoadingTest::bankOpenHidesBrowser()
{
    QFETCH(bool, browserShown);

    TestFolder folder;
    const QString bank = folder.write("bank.5TQ", support::bankBytes({support::numberedGenre(1, 3, "First"),
                                                                      support::numberedGenre(2, 2, "Second")}));
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (browserShown) {
        QTest::mouseClick(form.Button13, Qt::LeftButton);
        QVERIFY(browserVisible(form));
    }

    prompts.acceptOpen(TestFolder::bytesOf(bank), 1);
    QTest::mouseClick(form.Button1, Qt::LeftButton);

    QVERIFY(browserHidden(form));
    QCOMPARE(form.Button13->text(), caption(app::texts::kBrowseCaption));
    // The genre table shows the bank, not the emptied table of a fresh browse.
    QCOMPARE(form.StringGrid1->Cells(0, 0), app::texts::kBankMarker);
    QCOMPARE(form.StringGrid1->Cells(1, 1), std::string("First"));
    QCOMPARE(form.StringGrid1->Cells(2, 1), std::string("3"));
    QCOMPARE(form.StringGrid1->Cells(1, 2), std::string("Second"));
    QCOMPARE(form.Edit3->Text(), pathBytes(folder, "bank.mon"));
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void LoadingTest::invalidShiftJisBytesSurvive_data()
{
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QByteArray>("genre");
    QTest::addColumn<QList<QByteArray>>("questions");
    QTest::addColumn<QList<QByteArray>>("answers");

    const auto inTexts = [](const QByteArray& odd) {
        return QList<QByteArray>{"2,\"j42\",\"T" + odd + "\"", "0,\"\",\"G" + odd + "\"",
                                 "15,\"a" + odd + "\",\"q" + odd + "\"", "15,\"" + odd + "b\",\"" + odd + "r\""};
    };
    for (const QByteArray& odd : {QByteArray("\x80"), QByteArray("\xA0"), QByteArray("\xFD"), QByteArray("\xFE\xFF"),
                                  QByteArray("\x82")}) {
        QTest::addRow("%s", odd.toHex().constData())
            << inTexts(odd) << "T" + odd << "G" + odd << QList<QByteArray>{"q" + odd, odd + "r"}
            << QList<QByteArray>{"a" + odd, odd + "b"};
    }
    QTest::newRow("lone lead byte ends a line")
        << QList<QByteArray>{"1,\"j42\",\"T\x82\"", "0,\"\",\"G\"", "15,\"a\x82\",\"q\x82"} << QByteArray("T\x82")
        << QByteArray("G") << QList<QByteArray>{"q\x82"} << QList<QByteArray>{"a\x82"};
    QTest::newRow("lead byte before a line break inside a question")
        << QList<QByteArray>{"1,\"j42\",\"T\"", "0,\"\",\"G\"", "15,\"a\",\"x\x82", "y\x80\""} << QByteArray("T")
        << QByteArray("G") << QList<QByteArray>{"x\x82\r\ny\x80"} << QList<QByteArray>{"a"};
}

void LoadingTest::invalidShiftJisBytesSurvive()
{
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QByteArray, title);
    QFETCH(QByteArray, genre);
    QFETCH(QList<QByteArray>, questions);
    QFETCH(QList<QByteArray>, answers);

    TestFolder folder;
    const QString path = folder.write("odd.mon", support::crlfText(toLines(lines)));
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    listMonFile(form, prompts, path);
    QCOMPARE(form.RichEdit1->Lines(), toLines(lines));
    QCOMPARE(form.StringGrid1->Cells(0, 1), bytes(title));
    QCOMPARE(form.StringGrid1->Cells(1, 1), bytes(genre));

    clickRow(*form.StringGrid1, 1);
    QCOMPARE(form.RichEdit1->Lines(), toLines(lines));
    QCOMPARE(form.Edit4->Text(), bytes(title));
    QCOMPARE(form.StringGrid2->RowCount(), int(questions.size()) + 2);
    for (int row = 1; row <= int(questions.size()); ++row) {
        QCOMPARE(form.StringGrid2->Cells(1, row), bytes(questions[row - 1]));
        QCOMPARE(form.StringGrid2->Cells(2, row), bytes(answers[row - 1]));
        QCOMPARE(form.StringGrid2->Cells(3, row), bytes(genre));
    }
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

QTEST_MAIN(LoadingTest)
#include "LoadingTest.moc"
