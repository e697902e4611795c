// The question table's target range and editing: the start and end fields typed at the
// keyboard with their count and colour, the end field's clamp, taking the current row's
// number by double click, the fields' key filter, clearing the table, moving rows and
// renumbering, and the two mouse modes.

#include "app/TForm1.h"
#include "app/WindowTexts.h"
#include "support/ScriptedPrompts.h"
#include "support/WindowDriver.h"
#include "support/TestFiles.h"
#include "support/TestText.h"
#include "widgets/Button.h"
#include "widgets/grid/GridOptions.h"
#include "widgets/HelpMemo.h"
#include "widgets/LineEdit.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>
#include <QtTest>

#include <algorithm>
#include <string>
#include <vector>

using support::ScriptedPrompts;
using support::TestFolder;
using support::sj;
using support::bytes;
using support::cellCenter;
using support::clickRow;
using support::hover;
using support::realDoubleClick;
using support::retype;
using support::sectionCenter;

namespace {

const QColor kLime(0, 255, 0);
const QColor kRed(255, 0, 0);

// The question of table row `row` as the bank below numbers them: genres of up to 120.
std::string questionOfRow(int row)
{
    const int genre = (row - 1) / 120 + 1;
    const int n = (row - 1) % 120 + 1;
    std::string question("Q");
    question.append(std::to_string(genre)).append("-").append(std::to_string(n));
    return question;
}

// Fills the question table with `questions` rows: a bank of genres of up to 120 questions,
// each genre added by a click on its row of the genre table.
void loadQuestions(app::TForm1& form, ScriptedPrompts& prompts, const TestFolder& folder, int questions)
{
    std::vector<support::BankGenre> genres;
    for (int left = questions; left > 0; left -= 120) {
        const int g = int(genres.size()) + 1;
        genres.push_back(support::numberedGenre(g, std::min(left, 120), "Genre" + std::to_string(g)));
    }
    const QString bank = folder.write("range.5TQ", support::bankBytes(genres));
    prompts.acceptOpen(TestFolder::bytesOf(bank), 1);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    for (int g = 1; g <= int(genres.size()); ++g)
        clickRow(*form.StringGrid1, g);
}


// Drags row `from` of the question table by its number cell onto row `to`, in the
// row-moving mode that hovering over the table installs.
void dragRow(widgets::StringGrid& table, int from, int to)
{
    hover(table.view()->viewport(), cellCenter(table, 2, 1));
    QCOMPARE(table.Options().toInt(), 0x438Fu);
    const QHeaderView* numbersColumn = table.view()->verticalHeader();
    QWidget* surface = numbersColumn->viewport();
    QTest::mousePress(surface, Qt::LeftButton, {}, sectionCenter(numbersColumn, from - 1));
    QTest::mouseMove(surface, sectionCenter(numbersColumn, (from + to) / 2 - 1));
    QTest::mouseMove(surface, sectionCenter(numbersColumn, to - 1));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, sectionCenter(numbersColumn, to - 1));
}

std::vector<std::string> numbers(const widgets::StringGrid& grid, int rows)
{
    std::vector<std::string> column;
    for (int row = 1; row <= rows; ++row)
        column.push_back(grid.Cells(0, row));
    return column;
}

} // namespace

class RangeTest : public QObject {
    Q_OBJECT

private slots:
    void typedRangeCounts_data();
    void typedRangeCounts();
    void endFieldClamps_data();
    void endFieldClamps();
    void doubleClickTakesRowNumber_data();
    void doubleClickTakesRowNumber();
    void keyFilter_data();
    void keyFilter();
    void clearButton_data();
    void clearButton();
    void rowMoveAndRenumbering_data();
    void rowMoveAndRenumbering();
    void blankRowStaysLast_data();
    void blankRowStaysLast();
    void mouseModes_data();
    void mouseModes();
};

void RangeTest::typedRangeCounts_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QByteArray>("low");
    QTest::addColumn<QByteArray>("high");

    QTest::newRow("seven") << "1" << "7" << QByteArray("7") << kRed << QByteArray("1") << QByteArray("7");
    QTest::newRow("eight") << "1" << "8" << QByteArray("8") << kLime << QByteArray("1") << QByteArray("8");
    QTest::newRow("three hundred") << "1" << "300" << QByteArray("300") << kLime << QByteArray("1") << QByteArray("300");
    QTest::newRow("three hundred one") << "1" << "301" << QByteArray("301") << kRed << QByteArray("1") << QByteArray("301");
    QTest::newRow("all rows") << "1" << "320" << QByteArray("320") << kRed << QByteArray("1") << QByteArray("320");
    QTest::newRow("last 300") << "21" << "320" << QByteArray("300") << kLime << QByteArray("21") << QByteArray("320");
    QTest::newRow("last 301") << "20" << "320" << QByteArray("301") << kRed << QByteArray("20") << QByteArray("320");
    QTest::newRow("one row") << "9" << "9" << QByteArray("1") << kRed << QByteArray("9") << QByteArray("9");
    QTest::newRow("start after end") << "9" << "8" << QByteArray("0") << kRed << QByteArray("8") << QByteArray("9");
    QTest::newRow("start far after end") << "100" << "8" << QByteArray("-91") << kRed << QByteArray("8") << QByteArray("100");
}

void RangeTest::typedRangeCounts()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QByteArray, count);
    QFETCH(QColor, colour);
    QFETCH(QByteArray, low);
    QFETCH(QByteArray, high);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadQuestions(form, prompts, folder, 320);
    QCOMPARE(form.StringGrid2->RowCount(), 322);
    QCOMPARE(form.Edit7->Text(), std::string("320"));

    retype(*form.Edit6, start);
    retype(*form.Edit8, end);

    QCOMPARE(form.Edit6->Text(), start.toStdString());
    QCOMPARE(form.Edit8->Text(), end.toStdString());
    QCOMPARE(form.Edit7->Text(), bytes(count));
    QCOMPARE(form.Edit7->Color(), colour);
    // A screen reader hears the colour as the count field's description.
    QCOMPARE(sjis::fromUnicode(form.Edit7->accessibleDescription()).bytes,
             colour == kLime ? app::texts::kCountValid : app::texts::kCountInvalid);
    QCOMPARE(form.state().RangeLow, bytes(low));
    QCOMPARE(form.state().RangeHigh, bytes(high));
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void RangeTest::endFieldClamps_data()
{
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("end");
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<QByteArray>("low");
    QTest::addColumn<QByteArray>("high");

    const QByteArray one("1");
    QTest::newRow("above the rows") << 20 << false << "25" << QByteArray("20") << QByteArray("20") << one
                                    << QByteArray("20");
    QTest::newRow("far above the rows") << 20 << false << "999" << QByteArray("20") << QByteArray("20") << one
                                        << QByteArray("20");
    QTest::newRow("the last row") << 20 << false << "20" << QByteArray("20") << QByteArray("20") << one
                                  << QByteArray("20");
    QTest::newRow("inside the rows") << 20 << false << "19" << QByteArray("19") << QByteArray("19") << one
                                     << QByteArray("19");
    QTest::newRow("no rows in a fresh window") << 0 << false << "5" << QByteArray("0") << QByteArray("0")
                                               << QByteArray("0") << one;
    QTest::newRow("no rows after clearing") << 20 << true << "7" << QByteArray("0") << QByteArray("0")
                                            << QByteArray("0") << one;
    QTest::newRow("zero after clearing") << 20 << true << "0" << QByteArray("0") << QByteArray("0") << QByteArray("0")
                                         << one;
}

void RangeTest::endFieldClamps()
{
    QFETCH(int, questions);
    QFETCH(bool, cleared);
    QFETCH(QString, typed);
    QFETCH(QByteArray, end);
    QFETCH(QByteArray, count);
    QFETCH(QByteArray, low);
    QFETCH(QByteArray, high);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (questions > 0)
        loadQuestions(form, prompts, folder, questions);
    if (cleared) {
        QTest::mouseClick(form.Button4, Qt::LeftButton);
        QCOMPARE(form.StringGrid2->RowCount(), 2);
    }

    retype(*form.Edit8, typed);

    QCOMPARE(form.Edit8->Text(), bytes(end));
    QCOMPARE(form.Edit6->Text(), std::string("1"));
    QCOMPARE(form.Edit7->Text(), bytes(count));
    QCOMPARE(form.Edit7->Color(), bytes(count) == "0" ? kRed : kLime);
    QCOMPARE(form.state().RangeLow, bytes(low));
    QCOMPARE(form.state().RangeHigh, bytes(high));
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void RangeTest::doubleClickTakesRowNumber_data()
{
    QTest::addColumn<int>("field");      // 6: start field, 8: end field
    QTest::addColumn<int>("moveFrom");   // a row moved onto the current row first, or 0
    QTest::addColumn<int>("current");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("end");
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("start inside") << 6 << 0 << 10 << QByteArray("10") << QByteArray("20") << QByteArray("11") << kLime;
    QTest::newRow("start beyond end") << 6 << 0 << 30 << QByteArray("20") << QByteArray("30") << QByteArray("11") << kLime;
    QTest::newRow("end before start") << 8 << 0 << 3 << QByteArray("3") << QByteArray("5") << QByteArray("3") << kRed;
    QTest::newRow("end inside") << 8 << 0 << 12 << QByteArray("5") << QByteArray("12") << QByteArray("8") << kLime;
    QTest::newRow("end further out") << 8 << 0 << 40 << QByteArray("5") << QByteArray("40") << QByteArray("36") << kLime;
    // The number in the row's first cell counts, not the row's position.
    QTest::newRow("start from a moved row") << 6 << 30 << 10 << QByteArray("20") << QByteArray("30") << QByteArray("11")
                                            << kLime;
    QTest::newRow("end from a moved row") << 8 << 2 << 12 << QByteArray("2") << QByteArray("5") << QByteArray("4")
                                          << kRed;
}

void RangeTest::doubleClickTakesRowNumber()
{
    QFETCH(int, field);
    QFETCH(int, moveFrom);
    QFETCH(int, current);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, end);
    QFETCH(QByteArray, count);
    QFETCH(QColor, colour);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadQuestions(form, prompts, folder, 320);
    retype(*form.Edit6, "5");
    retype(*form.Edit8, "20");
    QCOMPARE(form.Edit7->Text(), std::string("16"));
    if (moveFrom > 0)
        form.StringGrid2->moveRow(moveFrom, current);
    form.StringGrid2->setRow(current);

    widgets::LineEdit* edit = field == 6 ? form.Edit6 : form.Edit8;
    realDoubleClick(edit, edit->rect().center());

    QCOMPARE(form.Edit6->Text(), bytes(start));
    QCOMPARE(form.Edit8->Text(), bytes(end));
    QCOMPARE(form.Edit7->Text(), bytes(count));
    QCOMPARE(form.Edit7->Color(), colour);
    QCOMPARE(form.state().RangeLow, bytes(start));
    QCOMPARE(form.state().RangeHigh, bytes(end));
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void RangeTest::keyFilter_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("key");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("caretAfter");
    QTest::addColumn<bool>("notANumber");  // the text left is no integer: the error box names it
    QTest::addColumn<QByteArray>("count");

    // The start field holds "1" and the end field "20" beforehand; the count is 20.
    QTest::newRow("start Delete") << 6 << 0 << int(Qt::Key_Delete) << QByteArray("1") << 0 << false << QByteArray("20");
    QTest::newRow("start Left") << 6 << 1 << int(Qt::Key_Left) << QByteArray("1") << 1 << false << QByteArray("20");
    QTest::newRow("start Home") << 6 << 1 << int(Qt::Key_Home) << QByteArray("1") << 1 << false << QByteArray("20");
    QTest::newRow("end Delete") << 8 << 0 << int(Qt::Key_Delete) << QByteArray("20") << 0 << false << QByteArray("20");
    QTest::newRow("end Delete inside") << 8 << 1 << int(Qt::Key_Delete) << QByteArray("20") << 1 << false
                                       << QByteArray("20");
    QTest::newRow("end Left") << 8 << 2 << int(Qt::Key_Left) << QByteArray("20") << 2 << false << QByteArray("20");
    QTest::newRow("end Home") << 8 << 2 << int(Qt::Key_Home) << QByteArray("20") << 2 << false << QByteArray("20");
    QTest::newRow("end Backspace") << 8 << 2 << int(Qt::Key_Backspace) << QByteArray("2") << 1 << false
                                   << QByteArray("2");
    QTest::newRow("end Backspace inside") << 8 << 1 << int(Qt::Key_Backspace) << QByteArray("0") << 0 << false
                                          << QByteArray("0");
    QTest::newRow("start letter") << 6 << 1 << int(Qt::Key_A) << QByteArray("1a") << 2 << true << QByteArray("20");
    QTest::newRow("end letter") << 8 << 2 << int(Qt::Key_A) << QByteArray("20a") << 3 << true << QByteArray("20");
    QTest::newRow("start Backspace over the only digit") << 6 << 1 << int(Qt::Key_Backspace) << QByteArray() << 0
                                                         << true << QByteArray("20");
}

void RangeTest::keyFilter()
{
    QFETCH(int, field);
    QFETCH(int, caret);
    QFETCH(int, key);
    QFETCH(QByteArray, text);
    QFETCH(int, caretAfter);
    QFETCH(bool, notANumber);
    QFETCH(QByteArray, count);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadQuestions(form, prompts, folder, 320);
    retype(*form.Edit8, "20");
    QCOMPARE(form.Edit7->Text(), std::string("20"));
    QCOMPARE(form.Edit7->Color(), kLime);

    widgets::LineEdit* edit = field == 6 ? form.Edit6 : form.Edit8;
    edit->setFocus();
    edit->setCursorPosition(caret);
    prompts.clearRecords();

    QTest::keyClick(edit, Qt::Key(key));

    QCOMPARE(edit->Text(), bytes(text));
    QCOMPARE(edit->cursorPosition(), caretAfter);
    QCOMPARE(form.Edit7->Text(), bytes(count));
    if (notANumber) {
        QCOMPARE(prompts.errorTexts(), std::vector<std::string>{"'" + bytes(text) + "' " + sj(u8"は整数ではありません.")});
        // A text that is no number leaves the count and the stored range as they were.
        QCOMPARE(form.Edit7->Color(), kLime);
        QCOMPARE(form.state().RangeLow, std::string("1"));
        QCOMPARE(form.state().RangeHigh, std::string("20"));
    } else {
        QVERIFY(prompts.errorTexts().empty());
    }
    QVERIFY(prompts.callsOf(ScriptedPrompts::Kind::Message).empty());
    QVERIFY(prompts.unexpected().empty());
}

void RangeTest::clearButton_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("all rows, red") << "320" << QByteArray("320") << kRed;
    QTest::newRow("twenty rows, lime") << "20" << QByteArray("20") << kLime;
}

void RangeTest::clearButton()
{
    QFETCH(QString, end);
    QFETCH(QByteArray, count);
    QFETCH(QColor, colour);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadQuestions(form, prompts, folder, 320);
    retype(*form.Edit8, end);
    // Move the answers aside so that the answer header is not where the button writes it.
    form.StringGrid2->moveColumn(2, 3);
    QVERIFY(form.StringGrid2->Cells(2, 0) != app::texts::kAnswerHeader);
    QVERIFY(form.StringGrid2->Cells(1, 0) != app::texts::kQuestionHeader);

    QTest::mouseClick(form.Button4, Qt::LeftButton);

    QCOMPARE(form.StringGrid2->RowCount(), 2);
    for (int col = 0; col < 5; ++col)
        QCOMPARE(form.StringGrid2->Cells(col, 1), std::string());
    QCOMPARE(form.StringGrid2->Cells(1, 0), sj(u8"問題・・・"));
    QCOMPARE(form.StringGrid2->Cells(2, 0), sj(u8"解答"));
    QCOMPARE(form.Edit6->Text(), std::string("1"));
    QCOMPARE(form.Edit8->Text(), end.toStdString());
    QCOMPARE(form.Edit7->Text(), bytes(count));
    QCOMPARE(form.Edit7->Color(), colour);
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void RangeTest::rowMoveAndRenumbering_data()
{
    QTest::addColumn<bool>("byDrag");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QList<QByteArray>>("moved");  // numbers of rows 1 to 6 after the move

    const QList<QByteArray> up{"1", "5", "2", "3", "4", "6"};
    const QList<QByteArray> down{"1", "3", "4", "5", "2", "6"};
    QTest::newRow("row 5 to 2 by call") << false << 5 << 2 << up;
    QTest::newRow("row 2 to 5 by call") << false << 2 << 5 << down;
    QTest::newRow("row 5 to 2 by drag") << true << 5 << 2 << up;
    QTest::newRow("row 2 to 5 by drag") << true << 2 << 5 << down;
    QTest::newRow("last row to 2 by call") << false << 320 << 2 << QList<QByteArray>{"1", "320", "2", "3", "4", "5"};
    QTest::newRow("row 2 to the last by call") << false << 2 << 320 << QList<QByteArray>{"1", "3", "4", "5", "6", "7"};
}

void RangeTest::rowMoveAndRenumbering()
{
    QFETCH(bool, byDrag);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QList<QByteArray>, moved);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadQuestions(form, prompts, folder, 320);
    QVERIFY(form.Button7->isHidden());
    widgets::StringGrid& table = *form.StringGrid2;

    if (byDrag) {
        dragRow(table, from, to);
    } else {
        table.moveRow(from, to);
    }

    std::vector<std::string> expected;
    for (const QByteArray& number : moved)
        expected.push_back(bytes(number));
    QCOMPARE(numbers(table, 6), expected);
    // The whole row moved, not only its number.
    QCOMPARE(table.Cells(1, to), questionOfRow(from));
    QVERIFY(form.Button7->isVisible());

    QTest::mouseClick(form.Button7, Qt::LeftButton);

    QVERIFY(form.Button7->isHidden());
    for (int row = 1; row <= 320; ++row)
        QCOMPARE(table.Cells(0, row), std::to_string(row));
    QCOMPARE(table.Cells(0, 321), std::string());
    QCOMPARE(table.RowCount(), 322);
    QCOMPARE(table.Cells(1, to), questionOfRow(from));
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void RangeTest::blankRowStaysLast_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QList<QByteArray>>("order");  // numbers of rows 1 to 5 after the drag

    QTest::newRow("blank row dragged up") << 6 << 2 << QList<QByteArray>{"1", "2", "3", "4", "5"};
    QTest::newRow("question dropped on the blank row") << 2 << 6 << QList<QByteArray>{"1", "3", "4", "5", "2"};
}

// Loading fills the blank last row and empties the new last one, so whatever the user
// drags, the blank row stays last and the next genre overwrites no question.
void RangeTest::blankRowStaysLast()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QList<QByteArray>, order);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadQuestions(form, prompts, folder, 5);
    widgets::StringGrid& table = *form.StringGrid2;
    QCOMPARE(table.RowCount(), 7);

    dragRow(table, from, to);
    std::vector<std::string> before;
    for (const QByteArray& number : order)
        before.push_back(bytes(number));
    QCOMPARE(numbers(table, 5), before);
    QCOMPARE(table.Cells(1, 6), std::string());

    clickRow(*form.StringGrid1, 1);  // the same genre once more
    QCOMPARE(table.RowCount(), 12);
    for (int row = 1; row <= 5; ++row)
        QCOMPARE(table.Cells(1, row), questionOfRow(order[row - 1].toInt()));
    for (int row = 6; row <= 10; ++row)
        QCOMPARE(table.Cells(1, row), questionOfRow(row - 5));
    for (int col = 0; col < 5; ++col)
        QCOMPARE(table.Cells(col, 11), std::string());
    QVERIFY(prompts.errorTexts().empty());
}

void RangeTest::mouseModes_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<uint>("options");
    QTest::addColumn<QByteArray>("help");
    QTest::addColumn<bool>("editorOpen");

    const QByteArray rowMoving = QByteArray::fromStdString(sj(u8"番号部分をドラッグして行を入れ替え可能。＝上や下に移動して対象外化"));
    const QByteArray cellEditing =
        QByteArray::fromStdString(sj(u8"⑧のメモ帳部分をTEXT退避用に一時使用可。カット=Ctrl+X　,コピー=Ctrl+C　,ペースト=Ctrl+V"));
    QTest::newRow("move") << QStringList{"move"} << 0x438Fu << rowMoving << false;
    QTest::newRow("double click") << QStringList{"double"} << 0x648Fu << cellEditing << true;
    QTest::newRow("move, double click") << QStringList{"move", "double"} << 0x648Fu << cellEditing << true;
    // Back in row-moving mode the open editor stays open.
    QTest::newRow("double click, move") << QStringList{"double", "move"} << 0x438Fu << rowMoving << true;
    QTest::newRow("move over the numbers") << QStringList{"move numbers"} << 0x438Fu << rowMoving << false;
}

void RangeTest::mouseModes()
{
    QFETCH(QStringList, actions);
    QFETCH(uint, options);
    QFETCH(QByteArray, help);
    QFETCH(bool, editorOpen);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadQuestions(form, prompts, folder, 20);
    widgets::StringGrid& table = *form.StringGrid2;
    const std::string before = form.Memo2->Text();
    QVERIFY(before != bytes(help));

    for (const QString& action : actions) {
        if (action == "move")
            hover(table.view()->viewport(), cellCenter(table, 2, 2));
        else if (action == "move numbers")
            hover(table.view()->verticalHeader()->viewport(), sectionCenter(table.view()->verticalHeader(), 1));
        else
            realDoubleClick(table.view()->viewport(), cellCenter(table, 2, 3));
    }

    QCOMPARE(table.Options().toInt(), options);
    QCOMPARE(form.Memo2->Text(), bytes(help));
    QCOMPARE(table.EditorMode(), editorOpen);
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

QTEST_MAIN(RangeTest)
#include "RangeTest.moc"
