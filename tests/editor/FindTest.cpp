// Finding in the question table (Ctrl+F) and the marks of a question taken twice, on the
// real window: what matches when widths, case and spaces differ, typed key by key or through
// the input method; and which number cells are marked after each kind of change.

#include "app/TForm1.h"
#include "app/TableLayout.h"
#include "app/find/FindBar.h"
#include "app/find/QuestionIndex.h"
#include "codec/ShiftJis.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/WindowDriver.h"
#include "widgets/Button.h"
#include "widgets/grid/StringGrid.h"

#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

using support::ScriptedPrompts;
using support::TestFolder;
using namespace app;

namespace {

std::string sj(const QString& text)
{
    return sjis::fromUnicode(text).bytes;
}

// The window shown and active, its dialogs scripted.
struct Window {
    ScriptedPrompts prompts;
    TForm1 form{&prompts};
    widgets::StringGrid& grid = *form.StringGrid2;
    Window()
    {
        form.show();
        form.activateWindow();
        if (!QTest::qWaitForWindowActive(&form))
            qFatal("the window did not become active");
    }
};

// Ctrl+F, then waits until every row is folded.
find::FindBar& openFindBar(TForm1& form)
{
    QTest::keyClick(&form, Qt::Key_F, Qt::ControlModifier);
    find::FindBar* bar = form.findBar();
    if (!bar || !bar->isVisible() || QApplication::focusWidget() != bar->field())
        qFatal("Ctrl+F did not open the find bar with its field focused");
    while (!form.questionIndex().findingReady())
        QCoreApplication::processEvents();
    return *bar;
}

std::vector<int> markedRows(const TForm1& form)
{
    std::vector<int> rows;
    for (int row = 0; row < form.StringGrid2->RowCount(); ++row)
        if (form.questionIndex().isDuplicate(row))
            rows.push_back(row);
    return rows;
}

// The contrast ratio of two colours as the Web Content Accessibility Guidelines reckon it.
double contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void editCell(widgets::StringGrid& grid, int col, int row, const QString& text)
{
    support::realDoubleClick(grid.view()->viewport(), support::cellCenter(grid, col, row));
    QLineEdit* editor = grid.inplaceEditor();
    QVERIFY(editor);
    editor->selectAll();
    QInputMethodEvent typed;
    typed.setCommitString(text);
    QApplication::sendEvent(editor, &typed);
    QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, support::cellCenter(grid, col == 1 ? 2 : 1, row));
    if (QLineEdit* reopened = grid.inplaceEditor())
        QTest::keyClick(reopened, Qt::Key_Escape);
    QCOMPARE(grid.Cells(col, row), sj(text));
}

void dragRow(widgets::StringGrid& grid, int from, int to)
{
    support::hover(grid.view()->viewport(), support::cellCenter(grid, 2, 1));
    QHeaderView* header = grid.view()->verticalHeader();
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, support::sectionCenter(header, from - 1));
    QTest::mouseMove(header->viewport(), support::sectionCenter(header, to - 1));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, support::sectionCenter(header, to - 1));
}

void press(widgets::StringGrid& grid, QKeyCombination keys)
{
    grid.view()->setFocus();
    QTest::keyClick(grid.view(), keys.key(), keys.keyboardModifiers());
}

enum Change { kLoaded, kAddedAgain, kEditParts, kEditJoins, kMoved, kMovedRenumbered, kEditUndone, kEditRedone, kCleared, kClearUndone };

} // namespace

class FindTest final : public QObject {
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void stepsAndKeys();
    void marks_data();
    void marks();
};

void FindTest::matches_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("inputMethod");
    QTest::addColumn<bool>("found");
    const int question = QuestionColumn::Question;
    QTest::newRow("full-width capitals, ASCII lower case") << question << u"ＡＢＣの問題"_qs << u"abc"_qs << false << true;
    QTest::newRow("ASCII, full-width typed") << question << u"Windows 11"_qs << u"ＷＩＮＤＯＷＳ"_qs << true << true;
    QTest::newRow("half-width katakana, full-width typed") << question << u"ｶﾀｶﾅ語"_qs << u"カタカナ"_qs << true << true;
    QTest::newRow("half-width sound marks join their kana") << question << u"ｶﾞｯｺｳの数"_qs << u"ガッコウ"_qs << true << true;
    QTest::newRow("full-width cell, half-width typed") << question << u"パンダの国"_qs << u"ﾊﾟﾝﾀﾞ"_qs << true << true;
    QTest::newRow("full-width digits") << question << u"西暦２０２４年"_qs << u"2024"_qs << false << true;
    QTest::newRow("circled digit") << question << u"①番の答"_qs << u"1番"_qs << true << true;
    QTest::newRow("squared unit") << question << u"１㍉の長さ"_qs << u"1ミリ"_qs << true << true;
    QTest::newRow("repeated spaces") << question << u"Tokyo   Tower"_qs << u"tokyo tower"_qs << false << true;
    QTest::newRow("ideographic space") << question << u"東京　タワー"_qs << u"東京 タワー"_qs << true << true;
    QTest::newRow("answer column") << int(QuestionColumn::Answer) << u"ＰＡＲＩＳ"_qs << u"paris"_qs << false << true;
    QTest::newRow("genre column") << int(QuestionColumn::Genre) << u"ｽﾎﾟｰﾂ"_qs << u"スポーツ"_qs << true << true;
    QTest::newRow("wrong-answer column") << int(QuestionColumn::WrongAnswers) << u"★ﾛﾝﾄﾞﾝ★ﾊﾟﾘ"_qs << u"ロンドン"_qs << true << true;
    QTest::newRow("hiragana is not katakana") << question << u"ひらがな"_qs << u"ヒラガナ"_qs << true << false;
    QTest::newRow("a space is a difference") << question << u"問題文"_qs << u"問 題"_qs << true << false;
    QTest::newRow("the number column is not searched") << int(QuestionColumn::Number) << u"777"_qs << u"777"_qs << false << false;
}

void FindTest::matches()
{
    QFETCH(int, col);
    QFETCH(QString, cell);
    QFETCH(QString, typed);
    QFETCH(bool, inputMethod);
    QFETCH(bool, found);

    Window window;
    widgets::StringGrid& grid = window.grid;
    grid.setRowCount(4);
    for (int c = QuestionColumn::Question; c < kQuestionColumns; ++c)
        for (int row : {1, 2})
            grid.setCells(c, row, "-");
    grid.setCells(col, 2, sj(cell));
    grid.setRow(1);
    grid.setCol(1);

    find::FindBar& bar = openFindBar(window.form);
    if (inputMethod) {
        // Composed first, then committed, as an input method sends it.
        QInputMethodEvent composing(typed, {});
        QApplication::sendEvent(bar.field(), &composing);
        QInputMethodEvent committed;
        committed.setCommitString(typed);
        QApplication::sendEvent(bar.field(), &committed);
    } else {
        QTest::keyClicks(bar.field(), typed);
    }
    QCOMPARE(bar.field()->text(), typed);
    QCOMPARE(bar.matchCount(), found ? 1 : 0);
    QCOMPARE(bar.status(), found ? u"1 / 1"_qs : sjis::toUnicode(sj(u"該当なし"_qs)));
    if (found) {
        QCOMPARE(grid.Row(), 2);
        QCOMPARE(grid.Col(), col);
    }
}

void FindTest::stepsAndKeys()
{
    // Three matches: Return and F3 step forward and wrap with a note, Shift steps back;
    // Escape closes the bar and gives the focus back to the table.
    Window window;
    widgets::StringGrid& grid = window.grid;
    grid.setRowCount(5);
    const QString cells[3][2] = {{u"ＡＢ"_qs, u"x"_qs}, {u"y"_qs, u"ab"_qs}, {u"aB"_qs, u"z"_qs}};
    for (int row = 1; row <= 3; ++row)
        for (int c = 0; c < 2; ++c)
            grid.setCells(QuestionColumn::Question + c, row, sj(cells[row - 1][c]));
    grid.view()->setFocus();
    grid.setRow(1);
    grid.setCol(1);
    find::FindBar& bar = openFindBar(window.form);
    QTest::keyClicks(bar.field(), u"ab"_qs);
    const auto at = [&] { return std::pair(grid.Col(), grid.Row()); };
    QCOMPARE(at(), std::pair(1, 1));
    QCOMPARE(bar.status(), u"1 / 3"_qs);
    QTest::keyClick(bar.field(), Qt::Key_Return);
    QCOMPARE(at(), std::pair(2, 2));
    QTest::keyClick(bar.field(), Qt::Key_F3);
    QCOMPARE(at(), std::pair(1, 3));
    QCOMPARE(bar.status(), u"3 / 3"_qs);
    QTest::keyClick(bar.field(), Qt::Key_Return);
    QCOMPARE(at(), std::pair(1, 1));
    QVERIFY(bar.status().startsWith(u"1 / 3 "_qs));  // with the note of the wrap
    QTest::keyClick(bar.field(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(at(), std::pair(1, 3));
    QTest::keyClick(bar.field(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(at(), std::pair(2, 2));
    // An edit that drops a match is followed: two left, the current cell no longer one.
    grid.setCells(2, 2, "-");
    QTRY_COMPARE(bar.matchCount(), 2);
    QTest::keyClick(bar.field(), Qt::Key_Escape);
    QVERIFY(!bar.isVisible());
    QCOMPARE(QApplication::focusWidget(), grid.view());
    QVERIFY(!bar.accessibleName().isEmpty() && !bar.field()->accessibleName().isEmpty());
}

void FindTest::marks_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<std::vector<int>>("marked");
    // Rows: Tokyo/y, ＴＯＫＹＯ/Ｘ, "tokyo  "/x, ﾊﾟﾘ/ﾌﾗﾝｽ: the second and third are one question.
    QTest::newRow("read in") << int(kLoaded) << std::vector<int>{2, 3};
    QTest::newRow("the same file added again") << int(kAddedAgain) << std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("an edit parts a pair") << int(kEditParts) << std::vector<int>{};
    QTest::newRow("an edit joins a pair") << int(kEditJoins) << std::vector<int>{1, 2, 3};
    QTest::newRow("a row dragged") << int(kMoved) << std::vector<int>{3, 4};
    QTest::newRow("dragged, then 付番更新") << int(kMovedRenumbered) << std::vector<int>{3, 4};
    QTest::newRow("an edit undone") << int(kEditUndone) << std::vector<int>{2, 3};
    QTest::newRow("an edit redone") << int(kEditRedone) << std::vector<int>{1, 2, 3};
    QTest::newRow("④ clear") << int(kCleared) << std::vector<int>{};
    QTest::newRow("④ undone") << int(kClearUndone) << std::vector<int>{2, 3};
}

void FindTest::marks()
{
    QFETCH(int, change);
    QFETCH(std::vector<int>, marked);

    TestFolder folder;
    const QString mon = folder.write(
        "twice.mon", support::monText("4", "T", "G", {{"y", "Tokyo"}, {sj(u"Ｘ"_qs), sj(u"ＴＯＫＹＯ"_qs)},
                                                     {"x", "tokyo  "}, {sj(u"ﾌﾗﾝｽ"_qs), sj(u"ﾊﾟﾘ"_qs)}}));
    Window window;
    TForm1& form = window.form;
    ScriptedPrompts& prompts = window.prompts;
    widgets::StringGrid& grid = window.grid;
    support::loadMonFile(form, prompts, mon);
    QCOMPARE(grid.RowCount(), 6);

    switch (change) {
    case kLoaded: break;
    case kAddedAgain: support::clickRow(*form.StringGrid1, 1); break;
    case kEditParts: editCell(grid, QuestionColumn::Answer, 3, u"z"_qs); break;
    case kEditJoins: editCell(grid, QuestionColumn::Answer, 1, u"ｘ"_qs); break;
    case kMoved: dragRow(grid, 4, 1); break;
    case kMovedRenumbered:
        dragRow(grid, 4, 1);
        QTest::mouseClick(form.Button7, Qt::LeftButton);
        QCOMPARE(grid.Cells(0, 1), std::string("1"));
        break;
    case kEditUndone:
    case kEditRedone:
        editCell(grid, QuestionColumn::Answer, 1, u"X"_qs);
        press(grid, Qt::CTRL | Qt::Key_Z);
        if (change == kEditRedone)
            press(grid, Qt::CTRL | Qt::Key_Y);
        break;
    case kCleared:
    case kClearUndone:
        QTest::mouseClick(form.Button4, Qt::LeftButton);
        if (change == kClearUndone)
            press(grid, Qt::CTRL | Qt::Key_Z);
        break;
    }
    QCOMPARE(markedRows(form), marked);
    QCOMPARE(form.questionIndex().recountDuplicates(), marked);
    QCOMPARE(form.questionIndex().duplicateRows(), int(marked.size()));
    // The number cells show them, tinted against the others, and tell a screen reader.
    QHeaderView* numbers = grid.view()->verticalHeader();
    const QImage shown = numbers->viewport()->grab().toImage();
    const auto painted = [&](int row) {
        const QPoint inside(numbers->viewport()->width() - 6, numbers->sectionViewportPosition(row - 1) + 4);
        return shown.pixelColor(inside * shown.devicePixelRatio());
    };
    const auto isMarked = [&](int row) { return std::find(marked.begin(), marked.end(), row) != marked.end(); };
    int visible = 1;
    while (visible + 1 < grid.RowCount() && numbers->sectionViewportPosition(visible) + 8 < numbers->viewport()->height())
        ++visible;
    std::optional<QColor> normal;  // a number cell shown unmarked
    for (int row = 1; row <= visible; ++row)
        if (!isMarked(row))
            normal = painted(row);
    for (int row = 1; row < grid.RowCount(); ++row) {
        QCOMPARE(numbers->model()->headerData(row - 1, Qt::Vertical, Qt::BackgroundRole).isValid(), isMarked(row));
        QCOMPARE(numbers->model()->headerData(row - 1, Qt::Vertical, Qt::AccessibleDescriptionRole).toString().isEmpty(),
                 !isMarked(row));
        if (row > visible || !normal)
            continue;
        if (isMarked(row))
            QVERIFY2(contrast(painted(row), *normal) >= 3.0, qPrintable(painted(row).name() + u' ' + normal->name()));
        else
            QCOMPARE(painted(row), *normal);
    }

    // F8 goes to the first marked row after the current one, wrapping round.
    grid.setRow(grid.RowCount() - 1);
    QTest::keyClick(&form, Qt::Key_F8);
    QCOMPARE(grid.Row(), marked.empty() ? grid.RowCount() - 1 : marked.front());
    QVERIFY(prompts.errorTexts().empty());
}

QTEST_MAIN(FindTest)
#include "FindTest.moc"
