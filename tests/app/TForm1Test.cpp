// The main window as the user first sees it: title, frame buttons and icon, where every
// control stands and what it shows, the empty tables, fonts and colours, the tab order,
// activation, the error boundary around the handlers, and closing.

#include "app/TForm1.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/WindowDriver.h"
#include "widgets/Button.h"
#include "widgets/DirectoryList.h"
#include "widgets/DriveList.h"
#include "widgets/FileList.h"
#include "widgets/HelpMemo.h"
#include "widgets/Label.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/Picture.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QInputMethod>
#include <QInputMethodQueryEvent>
#include <QLabel>
#include <QTableView>
#include <QtTest>

#include <string>
#include <vector>

using support::ScriptedPrompts;

namespace {

// Expected texts are written as UTF-8 in the data tables.
std::string sj(const QByteArray& utf8)
{
    return sjis::fromUtf8(std::u8string_view(reinterpret_cast<const char8_t*>(utf8.constData()),
                                             std::size_t(utf8.size())));
}

// The screen of the offscreen platform has 96 pixels per inch; the window is laid out for 120.
int s(int at120)
{
    return qRound(at120 * 0.8);
}

// A control by its name; "window" is the window itself.
QWidget* control(app::TForm1& form, const QString& name)
{
    return name == u"window" ? &form : support::control(form, name);
}

// The caption or text a control shows, as Shift-JIS bytes.
std::string shownText(QWidget* widget)
{
    if (auto* edit = qobject_cast<widgets::LineEdit*>(widget))
        return edit->Text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return sjis::fromUnicode(button->text()).bytes;
    if (auto* label = qobject_cast<QLabel*>(widget))
        return sjis::fromUnicode(label->text()).bytes;
    return {};
}

bool isJapaneseFamily(const QString& family)
{
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese);
}

// How a control's rectangle is checked.
enum Placement {
    kNotChecked,
    kExact,      // left, top, width and height as given
    kGrowsToFit, // left and top as given; at least as wide and high as given, and the text fits
    kWiderForCaption, // left, top and height as given; at least as wide (a caption at its legible size)
};

} // namespace

class TForm1Test : public QObject {
    Q_OBJECT

private slots:
    void windowTitleFrameAndIcon();
    void controlsStartPlaced_data();
    void controlsStartPlaced();
    void helpPanelShowsWelcome();
    void countFieldStartsEmptyOliveAndTakesNoFocus();
    void tablesStartEmpty_data();
    void tablesStartEmpty();
    void questionTableStartOptions();
    void fontsResolveToJapaneseFaces_data();
    void fontsResolveToJapaneseFaces();
    void boldFaces_data();
    void boldFaces();
    void arrowCaptionIsMaroon();
    void darkThemeChangesNothing();
    void shownWhileBuildingComesOutTheSame();
    void inputMethodPerField_data();
    void inputMethodPerField();
    void tabSkipsHiddenFields();
    void activationStoresMemoFont();
    void typedNonIntegerShowsErrorAndWindowGoesOn();
    void nestedChangeHandlerErrorEndsOnlyThatHandler();
    void quitButtonClosesWindow();
    void closingReleasesOpenBank();
};

void TForm1Test::windowTitleFrameAndIcon()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(sjis::fromUnicode(form.windowTitle()).bytes, sjis::fromUtf8(u8"Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1"));
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(form.focusWidget(), static_cast<QWidget*>(form.Button1));

    const QIcon icon = form.windowIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    QVERIFY(prompts.calls().empty());
}

void TForm1Test::controlsStartPlaced_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("text"); // UTF-8; empty for controls without a caption
    QTest::addColumn<bool>("textChecked");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("placement");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("fontPixels"); // the caption's pixel size where checked, else 0

    const auto row = [](const char* name, const char* text, bool visible, int placement, QRect rect, int font = 0) {
        QTest::newRow(name) << QString::fromLatin1(name) << QByteArray(text) << (text != nullptr) << visible
                            << placement << rect << font;
    };
    const auto at = [](int left, int top, int width, int height) { return QRect(s(left), s(top), s(width), s(height)); };

    row("Button1", "① 読込", true, kExact, at(221, 11, 84, 25));
    row("Button13", "Zelqua用読込", true, kWiderForCaption, at(314, 11, 83, 25));
    row("Button2", "⑩終了", true, kExact, at(703, 12, 81, 25));
    row("Button4", "④↓を削除・⑤↑で再設定", true, kWiderForCaption, at(202, 294, 177, 22));
    row("Button5", "⑦↓をZelqua形式へ変換↑へ", true, kExact, at(452, 261, 229, 25));
    row("Button6", "⑨ディスクに保存", true, kExact, at(480, 13, 178, 25));
    row("Button7", "付番更新", false, kExact, at(13, 502, 83, 24));
    row("Button8", "ﾌｫﾝﾄ", true, kExact, at(700, 52, 41, 25));
    row("Button11", "印刷", true, kExact, at(744, 52, 41, 25));
    row("Button12", "一覧表示↑", true, kExact, at(690, 260, 91, 26));
    row("StringGrid1", nullptr, true, kExact, at(9, 61, 358, 228));
    row("StringGrid2", nullptr, true, kExact, at(6, 328, 778, 165));
    row("RichEdit1", nullptr, true, kExact, at(452, 80, 333, 173));
    row("Memo2", nullptr, true, kExact, at(5, 6, 216, 50));
    row("Edit3", "デフォルトファイル名", true, kExact, at(496, 53, 201, 21));
    row("Edit4", "", true, kExact, at(484, 294, 113, 23));
    row("Edit5", "", true, kExact, at(651, 293, 130, 24));
    row("Edit6", "1", true, kExact, at(472, 500, 44, 25));
    row("Edit7", "", true, kExact, at(688, 500, 47, 26));
    row("Edit8", "1", true, kExact, at(552, 500, 41, 25));
    row("Edit1", "Edit1", false, kNotChecked, QRect());
    row("Edit2", "Edit2", false, kNotChecked, QRect());
    row("DriveComboBox1", nullptr, false, kExact, at(270, 58, 174, 23));
    row("DirectoryListBox1", nullptr, false, kExact, at(270, 82, 173, 123));
    row("FileListBox1", nullptr, false, kExact, at(270, 204, 172, 113));
    // The picture keeps the size of its 32 x 32 image; only its position is scaled.
    row("Image1", nullptr, false, kExact, QRect(s(5), s(15), 32, 32));
    row("Label21", "Zelqua≪五択変換ｴﾃﾞｨﾀｰ", false, kNotChecked, QRect());
    row("Label1", "② ８つのジャンル表示", true, kGrowsToFit, at(221, 43, 142, 15));
    row("Label14", "作成対象No", true, kGrowsToFit, at(381, 506, 88, 17));
    row("Label20", "≧8", true, kGrowsToFit, at(736, 496, 26, 17));
    row("Label13", "≦300", true, kGrowsToFit, at(735, 513, 44, 17));
    // Drawn at the layout's size: their own boxes overlap the arrow beside them by a pixel,
    // as laid out, and the text is legible in them.
    row("Label18", "④", true, kGrowsToFit, at(431, 12, 17, 17), s(17));
    row("Label19", "へ", true, kGrowsToFit, at(431, 30, 17, 17), s(17));
}

void TForm1Test::controlsStartPlaced()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, text);
    QFETCH(bool, textChecked);
    QFETCH(bool, visible);
    QFETCH(int, placement);
    QFETCH(QRect, rect);
    QFETCH(int, fontPixels);

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.scale(), 0.8);

    QWidget* widget = control(form, name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), static_cast<QWidget*>(&form));
    if (textChecked)
        QCOMPARE(shownText(widget), sj(text));
    QCOMPARE(widget->isVisible(), visible);
    if (fontPixels > 0)
        QCOMPARE(QFontInfo(widget->font()).pixelSize(), fontPixels);

    const QRect actual = widget->geometry();
    switch (placement) {
    case kExact:
        QCOMPARE(actual, rect);
        break;
    case kGrowsToFit:
        QCOMPARE(actual.topLeft(), rect.topLeft());
        QVERIFY2(actual.width() >= rect.width(), qPrintable(QString::number(actual.width())));
        QVERIFY2(actual.height() >= rect.height(), qPrintable(QString::number(actual.height())));
        QVERIFY(actual.width() >= widget->sizeHint().width());
        break;
    case kWiderForCaption:
        QCOMPARE(actual.topLeft(), rect.topLeft());
        QCOMPARE(actual.height(), rect.height());
        QVERIFY2(actual.width() >= rect.width(), qPrintable(QString::number(actual.width())));
        break;
    default:
        break;
    }
}

void TForm1Test::helpPanelShowsWelcome()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(form.Memo2->Text(), sjis::fromUtf8(u8"ようこそ！。5tq形式ﾌｧｲﾙからZelqua\r\n"
                                                u8"への変換や、その合成・分割・訂正等\r\n"
                                                u8"編集できます。"));
    QCOMPARE(form.Memo2->document()->blockCount(), 3);
}

void TForm1Test::countFieldStartsEmptyOliveAndTakesNoFocus()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    QCOMPARE(form.Edit7->Text(), std::string());
    QCOMPARE(form.Edit7->Color(), QColor(0x80, 0x80, 0x00));
    QCOMPARE(form.Edit7->accessibleDescription(), QStringLiteral("問題数はまだ数えていません。⑦で変換できません"));
    QCOMPARE(form.Edit7->editState(), widgets::EditState::Disabled);

    // Tab passes over it from the start field to the end field; a click does not focus it.
    form.Edit6->setFocus();
    QVERIFY(form.Edit6->hasFocus());
    QTest::keyClick(form.Edit6, Qt::Key_Tab);
    QVERIFY(form.Edit8->hasFocus());
    QTest::mouseClick(form.Edit7, Qt::LeftButton);
    QVERIFY(form.Edit8->hasFocus());
    QTest::keyClicks(form.Edit7, "12");
    QCOMPARE(form.Edit7->Text(), std::string());
    QVERIFY(prompts.calls().empty());
}

void TForm1Test::tablesStartEmpty_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("widths"); // at 120 pixels per inch

    QTest::newRow("genre table") << u"StringGrid1"_qs << 5 << 9 << QList<int>{72, 129, 52, 51, 45};
    QTest::newRow("question table") << u"StringGrid2"_qs << 5 << 2 << QList<int>{47, 463, 121, 72, 505};
}

void TForm1Test::tablesStartEmpty()
{
    QFETCH(QString, name);
    QFETCH(int, cols);
    QFETCH(int, rows);
    QFETCH(QList<int>, widths);

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    auto* grid = qobject_cast<widgets::StringGrid*>(control(form, name));
    QVERIFY(grid);
    QCOMPARE(grid->ColCount(), cols);
    QCOMPARE(grid->RowCount(), rows);
    for (int col = 0; col < cols; ++col)
        QCOMPARE(grid->ColWidths(col), s(widths[col]));
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
            QVERIFY2(grid->Cells(col, row).empty(), qPrintable(QStringLiteral("cell %1,%2").arg(col).arg(row)));
}

void TForm1Test::questionTableStartOptions()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(form.StringGrid2->Options().toInt(), 0x6BFF);
}

void TForm1Test::fontsResolveToJapaneseFaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("read button") << u"Button1"_qs;
    QTest::newRow("question table") << u"StringGrid2"_qs;
    QTest::newRow("memo pad") << u"RichEdit1"_qs;
    QTest::newRow("window") << u"window"_qs;
}

void TForm1Test::fontsResolveToJapaneseFaces()
{
    QFETCH(QString, name);

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QWidget* widget = control(form, name);
    QVERIFY(widget);
    const QString family = QFontInfo(widget->font()).family();
    QVERIFY2(isJapaneseFamily(family), qPrintable(family));
}

void TForm1Test::boldFaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bold");
    QTest::newRow("flow arrows") << u"Label7"_qs << true;
    QTest::newRow("count field") << u"Edit7"_qs << true;
    QTest::newRow("read button") << u"Button1"_qs << false;
    QTest::newRow("start field") << u"Edit6"_qs << false;
}

void TForm1Test::boldFaces()
{
    QFETCH(QString, name);
    QFETCH(bool, bold);

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QWidget* widget = control(form, name);
    QVERIFY(widget);
    QCOMPARE(widget->font().bold(), bold);
    QCOMPARE(QFontInfo(widget->font()).bold(), bold);
}

void TForm1Test::arrowCaptionIsMaroon()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(form.Label7->palette().color(QPalette::WindowText), QColor(0x80, 0x00, 0x00));
}

void TForm1Test::darkThemeChangesNothing()
{
    // A dark desktop theme reaches Qt as the application palette: light text on dark.
    const auto picture = [] {
        ScriptedPrompts prompts;
        app::TForm1 form(&prompts);
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            return QImage();
        return form.grab().toImage();
    };
    const QImage light = picture();
    QVERIFY(!light.isNull());
    const QPalette desktop = QApplication::palette();
    QPalette dark(QColor(0xE0, 0xE0, 0xE0), QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, QColor(0xE0, 0xE0, 0xE0));
    dark.setColor(QPalette::Highlight, QColor(0x30, 0x60, 0xA0));
    QApplication::setPalette(dark);
    const QImage underDark = picture();
    QApplication::setPalette(desktop);
    QCOMPARE(underDark, light);
}

void TForm1Test::shownWhileBuildingComesOutTheSame()
{
    // The program shows its window before the controls are made; made in a window already
    // shown, each control must still come out shown or hidden, placed, sized and focused as
    // in a window shown once built, and look the same.
    struct Outcome {
        QStringList controls;
        QImage picture;
    };
    const auto build = [](app::TForm1::Showing showing) {
        ScriptedPrompts prompts;
        app::TForm1 form(&prompts, showing);
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            return Outcome();
        Outcome outcome;
        for (const QWidget* child : form.findChildren<QWidget*>()) {
            const QRect at = child->geometry();
            outcome.controls << QStringLiteral("%1 %2 %3 %4,%5 %6x%7 %8")
                                    .arg(child->objectName(), QString::fromLatin1(child->metaObject()->className()))
                                    .arg(child->isVisible())
                                    .arg(at.x())
                                    .arg(at.y())
                                    .arg(at.width())
                                    .arg(at.height())
                                    .arg(child->font().toString());
        }
        outcome.controls << QStringLiteral("focus %1").arg(form.focusWidget() ? form.focusWidget()->objectName() : QString());
        outcome.picture = form.grab().toImage();
        return outcome;
    };
    const Outcome whenBuilt = build(app::TForm1::Showing::WhenBuilt);
    const Outcome whileBuilding = build(app::TForm1::Showing::WhileBuilding);
    QVERIFY(!whenBuilt.picture.isNull() && !whileBuilding.picture.isNull());
    QVERIFY(whenBuilt.controls.contains(QStringLiteral("focus Button1")));
    QCOMPARE(whileBuilding.controls, whenBuilt.controls);
    QCOMPARE(whileBuilding.picture, whenBuilt.picture);
}

void TForm1Test::inputMethodPerField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("hints");

    // Japanese input for title, genre and memo pad; Latin first for the save name; none for
    // the range fields, so typing gives half-width digits with no preedit.
    QTest::newRow("save name") << u"Edit3"_qs << true << int(Qt::ImhPreferLatin);
    QTest::newRow("title") << u"Edit4"_qs << true << int(Qt::ImhNone);
    QTest::newRow("genre") << u"Edit5"_qs << true << int(Qt::ImhNone);
    QTest::newRow("start") << u"Edit6"_qs << false << int(Qt::ImhNone);
    QTest::newRow("end") << u"Edit8"_qs << false << int(Qt::ImhNone);
    QTest::newRow("memo pad") << u"RichEdit1"_qs << true << int(Qt::ImhNone);
}

void TForm1Test::inputMethodPerField()
{
    QFETCH(QString, name);
    QFETCH(bool, enabled);
    QFETCH(int, hints);

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QWidget* field = control(form, name);
    QVERIFY(field);
    field->setFocus();
    QCOMPARE(QApplication::focusWidget(), field);

    // The input-method plugins ask the focused widget, directly and by query event.
    QCOMPARE(field->inputMethodQuery(Qt::ImEnabled).toBool(), enabled);
    QInputMethodQueryEvent query(Qt::ImEnabled | Qt::ImHints);
    QApplication::sendEvent(field, &query);
    QCOMPARE(query.value(Qt::ImEnabled).toBool(), enabled);
    if (enabled)
        QCOMPARE(query.value(Qt::ImHints).toInt() & ~int(Qt::ImhNoPredictiveText), hints);
    QCOMPARE(QGuiApplication::inputMethod()->queryFocusObject(Qt::ImEnabled, {}).toBool(), enabled);
}

void TForm1Test::tabSkipsHiddenFields()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    QVERIFY(form.Button1->hasFocus());
    QCOMPARE(form.Button1->nextInFocusChain(), static_cast<QWidget*>(form.Button2));

    QTest::keyClick(form.Button1, Qt::Key_Tab);
    QVERIFY(form.Button2->hasFocus());
    QTest::keyClick(form.Button2, Qt::Key_Tab);
    QVERIFY2(form.StringGrid1->hasFocus(),
             qPrintable(QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className()
                                                    : "no focus"));
    QVERIFY(!form.Edit1->hasFocus());
    QVERIFY(!form.Edit2->hasFocus());
    QVERIFY(prompts.calls().empty());
}

void TForm1Test::activationStoresMemoFont()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    QCOMPARE(form.state().SavedFont, nullptr);

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const QFont* first = form.state().SavedFont;
    QCOMPARE(first, &form.RichEdit1->baseFont());

    // Another window takes the activation, then the editor gets it back.
    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.state().SavedFont, first);

    form.FormActivate();
    QCOMPARE(form.state().SavedFont, first);
    QVERIFY(prompts.calls().empty());
}

void TForm1Test::typedNonIntegerShowsErrorAndWindowGoesOn()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    widgets::LineEdit* start = form.Edit6;
    QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(start->width() - 4, start->height() / 2));
    QVERIFY(start->hasFocus());
    QCOMPARE(start->cursorPosition(), 1);

    QTest::keyClicks(start, "a");
    QCOMPARE(start->Text(), std::string("1a"));
    QCOMPARE(prompts.errorTexts(), std::vector<std::string>{sjis::fromUtf8(u8"'1a' は整数ではありません.")});
    QCOMPARE(int(prompts.calls().size()), 1);
    // The failed handler left the count as it was.
    QCOMPARE(form.Edit7->Text(), std::string());

    // The next keystroke runs the handler afresh, and now it succeeds.
    prompts.clearRecords();
    QTest::keyClick(start, Qt::Key_Backspace);
    QCOMPARE(start->Text(), std::string("1"));
    QVERIFY(prompts.calls().empty());
    QCOMPARE(form.Edit7->Text(), std::string("1"));
    QCOMPARE(form.Edit7->Color(), QColor(255, 0, 0));
    QVERIFY(prompts.unexpected().empty());
}

void TForm1Test::nestedChangeHandlerErrorEndsOnlyThatHandler()
{
    support::TestFolder folder;
    const QString path = folder.write("ten.5TQ", support::bankBytes({support::numberedGenre(1, 10, "Ten")}));

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    support::readFile(form, prompts, path, 1);
    bool canSelect = true;
    form.StringGrid1SelectCell(2, 1, &canSelect);
    QCOMPARE(form.StringGrid2->RowCount(), 12);
    QCOMPARE(form.Edit7->Text(), std::string("10"));
    QVERIFY(prompts.errorTexts().empty());

    form.Edit6->setText("x");
    const std::vector<std::string> afterWrite = prompts.errorTexts();
    const std::string countAfterWrite = form.Edit7->Text();
    QCOMPARE(afterWrite, std::vector<std::string>{sjis::fromUtf8(u8"'x' は整数ではありません.")});
    QCOMPARE(form.Edit6->Text(), std::string("x"));
    QCOMPARE(countAfterWrite, std::string("10"));

    // The window goes on: a valid start recounts.
    form.Edit6->setText("3");
    QCOMPARE(form.Edit7->Text(), std::string("8"));
    QCOMPARE(form.Edit7->Color(), QColor(0, 255, 0));
    QCOMPARE(int(prompts.errorTexts().size()), 1);
}

void TForm1Test::quitButtonClosesWindow()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QTest::mouseClick(form.Button2, Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QVERIFY(prompts.calls().empty());
}

void TForm1Test::closingReleasesOpenBank()
{
    support::TestFolder folder;
    const QString path = folder.write("bank.5TQ", support::bankBytes({support::numberedGenre(1, 3, "Three")}));

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    support::readFile(form, prompts, path, 1);
    QVERIFY(form.state().BankStream);

    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
    QVERIFY(!form.state().BankStream);
    QVERIFY(prompts.errorTexts().empty());
}

QTEST_MAIN(TForm1Test)
#include "TForm1Test.moc"
