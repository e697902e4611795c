// The help panel: the guidance text of every control as the mouse moves over it (with the
// tricky characters checked byte by byte), texts shared between controls, controls without
// a text, the window's bare surface, hiding and restoring the panel, no repaint for a text
// already shown, and the text written when a bank is opened.

#include "app/TForm1.h"
#include "app/WindowTexts.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/TestText.h"
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

#include <QCursor>
#include <QTableView>
#include <QWindow>
#include <QtTest>

#include <optional>
#include <string>
#include <vector>

using support::ScriptedPrompts;
using support::TestFolder;
using support::sj;

namespace {

// The control a test row names, or the part of it that takes the mouse.
QWidget* mouseTarget(app::TForm1& form, const QString& name)
{
    if (name == QLatin1String("Memo2"))
        return form.Memo2->viewport();
    if (name == QLatin1String("RichEdit1"))
        return form.RichEdit1->viewport();
    if (name == QLatin1String("DirectoryListBox1"))
        return form.DirectoryListBox1->viewport();
    if (name == QLatin1String("FileListBox1"))
        return form.FileListBox1->viewport();
    if (name == QLatin1String("StringGrid2"))
        return form.StringGrid2->view()->viewport();
    if (name == QLatin1String("StringGrid1"))
        return form.StringGrid1->view()->viewport();
    // The controls are members, not named objects: look them up by member name.
    const std::vector<std::pair<const char*, QWidget*>> controls{
        {"Button1", form.Button1},   {"Button2", form.Button2},   {"Button4", form.Button4},
        {"Button5", form.Button5},   {"Button6", form.Button6},   {"Button7", form.Button7},
        {"Button8", form.Button8},   {"Button11", form.Button11}, {"Button12", form.Button12},
        {"Button13", form.Button13}, {"Edit3", form.Edit3},       {"Edit4", form.Edit4},
        {"Edit5", form.Edit5},       {"Edit6", form.Edit6},       {"Edit7", form.Edit7},
        {"Edit8", form.Edit8},       {"Label1", form.Label1},     {"Label2", form.Label2},
        {"Label3", form.Label3},     {"Label4", form.Label4},     {"Label5", form.Label5},
        {"Label6", form.Label6},     {"Label7", form.Label7},     {"Label8", form.Label8},
        {"Label9", form.Label9},     {"Label10", form.Label10},   {"Label11", form.Label11},
        {"Label12", form.Label12},   {"Label13", form.Label13},   {"Label14", form.Label14},
        {"Label15", form.Label15},   {"Label16", form.Label16},   {"Label17", form.Label17},
        {"Label18", form.Label18},   {"Label19", form.Label19},   {"Label20", form.Label20},
        {"Image1", form.Image1},     {"DriveComboBox1", form.DriveComboBox1}};
    for (const auto& [member, control] : controls)
        if (name == QLatin1String(member))
            return control;
    return nullptr;
}

bool isInside(const QWidget* widget, const QWidget* ancestor)
{
    for (; widget; widget = widget->parentWidget())
        if (widget == ancestor)
            return true;
    return false;
}

// A point of `target` (in its coordinates) where the mouse reaches it rather than a control
// lying on top of it; `skip` points are passed over first.
std::optional<QPoint> reachablePoint(app::TForm1& form, QWidget* target, int skip = 0)
{
    const QRect area = target->rect();
    for (int y = area.height() / 2; y < area.height(); y += 3) {
        for (int x = area.width() / 2; x < area.width(); x += 3) {
            const QPoint inForm = target->mapTo(&form, QPoint(x, y));
            if (isInside(form.childAt(inForm), target) && skip-- <= 0)
                return QPoint(x, y);
        }
    }
    for (int y = 1; y < area.height(); y += 2) {
        for (int x = 1; x < area.width(); x += 2) {
            const QPoint inForm = target->mapTo(&form, QPoint(x, y));
            if (isInside(form.childAt(inForm), target) && skip-- <= 0)
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

// Moves the pointer away from the window first, so every move lands as a fresh move even
// when the pointer already stood on the point.
void moveTo(QWidget* target, const QPoint& at)
{
    QCursor::setPos(QPoint(0, 0));
    QCoreApplication::processEvents();
    QTest::mouseMove(target, at);
}

// Moves the mouse over a reachable point of `target`; false when none is reachable.
bool hover(app::TForm1& form, QWidget* target, int skip = 0)
{
    const std::optional<QPoint> at = reachablePoint(form, target, skip);
    if (!at)
        return false;
    moveTo(target, *at);
    return true;
}

// A point of the window's own surface, where no control lies.
std::optional<QPoint> barePoint(app::TForm1& form)
{
    for (int y = 2; y < form.height(); y += 3)
        for (int x = 2; x < form.width(); x += 3)
            if (!form.childAt(QPoint(x, y)))
                return QPoint(x, y);
    return std::nullopt;
}

void showBrowser(app::TForm1& form)
{
    if (form.DirectoryListBox1->isHidden())
        QTest::mouseClick(form.Button13, Qt::LeftButton);
}

class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class HelpPanelTest : public QObject {
    Q_OBJECT

private slots:
    void guidanceTexts_data();
    void guidanceTexts();
    void trickyCharacters_data();
    void trickyCharacters();
    void sharedTexts_data();
    void sharedTexts();
    void controlsWithoutTextLeavePanel_data();
    void controlsWithoutTextLeavePanel();
    void bareSurfaceEmptiesPanel();
    void hidingAndRestoringPanel();
    void sameTextIsNotRepainted();
    void bankOpenedText();
};

void HelpPanelTest::guidanceTexts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("browser");
    QTest::addColumn<QByteArray>("expected");

    const auto row = [](const char* control, bool browser, std::u8string_view text) {
        QTest::newRow(control) << QString::fromLatin1(control) << browser << QByteArray::fromStdString(sj(text));
    };
    row("Button1", false, u8"①でファイルを読み込み。KuvettaかZelquaのファイルに限定");
    row("Button2", false, u8"お疲れさま！行列ファイルまで出来てませんが各本体プレーヤーの指示通りで実行できます。");
    row("Button4", false, u8"下表全て消去(構成やり直し)。内容の訂正等を開始してるならば注意！(消滅)");
    row("Button5", false, u8"⑦ボタンで上メモ帳にZelqua形式のデータ作成＝Windowsのメモ帳等で見ても同一");
    row("Button6", false, u8"ファイル名確認のダイヤログで訂正の上保存（ﾌｧｲﾙ名少し変更のこと）／記録はPlainTextです");
    row("Button7", false, u8"番号順でない時表示。作成対象No指定は、これを押して新規付番(ﾎﾞﾀﾝ消去)後、行ってください");
    row("Button8", false, u8"印刷用のﾌｫﾝﾄ調整で保存時は無視されます");
    row("Button11", false, u8"このメモ欄を一覧印刷します。1行が複数行にならないようﾌｫﾝﾄは小さく・用紙は横置きで!");
    row("Button12", false, u8"この表を、⑧のメモ欄に転記します");
    row("Button13", false, u8"Zelqua用にファイル選択リストの表示（左表はクリア）／注意：半角のコンマ含みの文は不良処理");
    row("Edit3", false, u8"ここでの訂正不要だが、訂正可能／TXTの時はノートパッド用PlainTextで記録");
    row("Edit4", false, u8"編集内容確定後、［⑦ボタン］の直前にここを訂正入力して下さい");
    row("Edit5", false, u8"編集内容確定後、［⑦ボタン］の直前にここを訂正入力して下さい");
    row("Edit6", false, u8"ダブルクリックで現在のカレント行番号入力");
    row("Edit8", false, u8"ダブルクリックで現在のカレント行番号入力");
    row("Label1", false, u8"「Kuvetta」は8ジャンル制＝簡単には－－③各8種⑦⑨④－－を8回繰返で8ファイル作成");
    row("Label2", false, u8"5TQは問題文と正解1に誤答4。誤答の4つは参考表示。(Zelquaは1問1答のため)");
    row("Label3", false, u8"各セル、ダブルクリックで内容直接編集。カット=Ctrl+X,コピー=Ctrl+C,ペースト=Ctrl+V");
    row("Label4", false, u8"確認して気に入らなければ、⑥～⑦の過程を何度でも繰り返し＝＞最後に⑨で保存");
    row("Label5", false, u8"**.DOC 等からコピー＆ペーストで書き込みしてください");
    row("Label6", false, u8"保存のため最終の⑦ボタン前に訂正して下さい。");
    row("Label7", false, u8"下表に内容表示。加えたいジャンルを複数指定可。限度300問だが後で作成対象指定で設定可");
    row("Label8", false, u8"5tqでは②表に8つのジャンル表示。他項セルをクリックで下表にそのジャンルの内容取込表示");
    row("Label9", false, u8"■全体の流れ■①5tq,Zelquaﾌｧｲﾙ読込→②～⑤概略構成構築→⑥～⑧内容推敲→⑨Zelqua保存");
    row("Label10", false, u8"［④⑤～③]→[⑥⑦]繰り返してさらに新問題集の作成。[①読込]等からでもOK");
    row("Label12", false, u8"⑧のメモ帳部分をTEXT退避用に一時使用可。カット=Ctrl+X　,コピー=Ctrl+C　,ペースト=Ctrl+V");
    row("Label13", false, u8"左が赤の時は、［⑦ボタン］,［一覧表示］及び[印刷]ボタンは作動しません。");
    row("Label20", false, u8"左が赤の時は、［⑦ボタン］,［一覧表示］及び[印刷]ボタンは作動しません。");
    row("Label14", false, u8"Zelquaの問題作成対象を左端セル番号で指定（上下へドラッグ移動で対象外化）");
    row("Label15", false, u8"問題数はZelquaの制約より8以上300以下に設定");
    row("Label17", false, u8"ﾘﾀｰﾝは･･で表示。編集ﾓｰﾄﾞ時多少ドラッグ気味に上下すると編集可能（新規ﾘﾀｰﾝ入力不可）");
    row("StringGrid2", false, u8"番号部分をドラッグして行を入れ替え可能。＝上や下に移動して対象外化");
    row("Memo2", false, u8"ここダブルクリックで、この簡易ヘルプを消します。（復活はアイコンクリック）");
    row("RichEdit1", false, u8"Zelquaでは［秒数，正解，問題文］の順。ここでは秒数=15で固定。必要なら本体プレーヤーにて設定");
    row("DirectoryListBox1", true, u8"ダブルクリックでディレクトリの選択");
    row("FileListBox1", true, u8"クリックでファイルを選択し、左の表に表示");
}

void HelpPanelTest::guidanceTexts()
{
    QFETCH(QString, control);
    QFETCH(bool, browser);
    QFETCH(QByteArray, expected);

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (browser)
        showBrowser(form);
    if (control == QLatin1String("Button7"))
        form.StringGrid2RowMoved(1, 2);  // the renumbering button shows after a row move
    QWidget* target = mouseTarget(form, control);
    QVERIFY(target);
    QVERIFY(target->isVisible());
    const std::string welcome = form.Memo2->Text();
    QVERIFY(welcome != expected.toStdString());

    QVERIFY2(hover(form, target), "no point of the control is reachable");

    QTRY_COMPARE(form.Memo2->Text(), expected.toStdString());
    QVERIFY(prompts.calls().empty());
}

void HelpPanelTest::trickyCharacters_data()
{
    QTest::addColumn<QString>("source");  // a control to move over, or "cell editing"
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QByteArray>("present");  // a byte sequence the text must hold
    QTest::addColumn<QByteArray>("absent");   // one it must not hold (empty: none)

    const auto b = [](const std::string& text) { return QByteArray::fromStdString(text); };
    const std::string cellEditing = sj(u8"⑧のメモ帳部分をTEXT退避用に一時使用可。カット=Ctrl+X") + "\x81\x40,"
                                    + sj(u8"コピー=Ctrl+C") + "\x81\x40," + sj(u8"ペースト=Ctrl+V");
    QTest::newRow("cell editing: arrow to the title") << QStringLiteral("Label12") << b(cellEditing)
                                                      << QByteArray("\x81\x40\x2C") << QByteArray();
    QTest::newRow("cell editing: double click on the table") << QStringLiteral("cell editing") << b(cellEditing)
                                                             << QByteArray("\x81\x40\x2C") << QByteArray();
    QTest::newRow("Label3") << QStringLiteral("Label3")
                            << b(sj(u8"各セル、ダブルクリックで内容直接編集。カット=Ctrl+X,コピー=Ctrl+C,ペースト=Ctrl+V"))
                            << QByteArray("Ctrl+X,") << QByteArray("\x81\x40");
    QTest::newRow("Label4") << QStringLiteral("Label4")
                            << b(sj(u8"確認して気に入らなければ、⑥") + "\x81\x60"
                                 + sj(u8"⑦の過程を何度でも繰り返し＝＞最後に⑨で保存"))
                            << QByteArray("\x81\x60") << QByteArray();
    QTest::newRow("Label1") << QStringLiteral("Label1")
                            << b(sj(u8"「Kuvetta」は8ジャンル制＝簡単には") + "\x81\x7C\x81\x7C" + sj(u8"③各8種⑦⑨④")
                                 + "\x81\x7C\x81\x7C" + sj(u8"を8回繰返で8ファイル作成"))
                            << QByteArray("\x81\x7C") << QByteArray();
    QTest::newRow("Label17") << QStringLiteral("Label17")
                             << b(sj(u8"ﾘﾀｰﾝは") + "\xA5\xA5"
                                  + sj(u8"で表示。編集ﾓｰﾄﾞ時多少ドラッグ気味に上下すると編集可能（新規ﾘﾀｰﾝ入力不可）"))
                             << QByteArray("\xA5\xA5") << QByteArray();
    QTest::newRow("Label10") << QStringLiteral("Label10")
                             << b("\x81\x6D" + sj(u8"④⑤") + "\x81\x60" + sj(u8"③") + "]" + sj(u8"→")
                                  + "[" + sj(u8"⑥⑦") + "]" + sj(u8"繰り返してさらに新問題集の作成。") + "["
                                  + sj(u8"①読込") + "]" + sj(u8"等からでもOK"))
                             << QByteArray("\x5D") << QByteArray("\x81\x6E");
}

void HelpPanelTest::trickyCharacters()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, expected);
    QFETCH(QByteArray, present);
    QFETCH(QByteArray, absent);

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    if (source == QLatin1String("cell editing")) {
        QTableView* view = form.StringGrid2->view();
        const QPoint cell = view->visualRect(view->model()->index(0, 0)).center();
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, cell);
    } else {
        QVERIFY(hover(form, mouseTarget(form, source)));
    }

    QTRY_COMPARE(form.Memo2->Text(), expected.toStdString());
    const std::string shown = form.Memo2->Text();
    QVERIFY(shown.find(present.toStdString()) != std::string::npos);
    if (!absent.isEmpty())
        QVERIFY(shown.find(absent.toStdString()) == std::string::npos);
    if (source == QLatin1String("Label10"))
        QCOMPARE(shown.substr(0, 2), std::string("\x81\x6D"));
    if (present == QByteArray("\x81\x40\x2C")) {
        const std::size_t first = shown.find("\x81\x40\x2C");
        QVERIFY(first != std::string::npos);
        const std::size_t second = shown.find("\x81\x40\x2C", first + 1);
        QVERIFY(second != std::string::npos);
        QCOMPARE(shown.find("\x81\x40\x2C", second + 1), std::string::npos);
    }
}

void HelpPanelTest::sharedTexts_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    QTest::newRow("title and genre fields") << QStringLiteral("Edit4") << QStringLiteral("Edit5");
    QTest::newRow("upper and lower bound captions") << QStringLiteral("Label13") << QStringLiteral("Label20");
    QTest::newRow("start and end fields") << QStringLiteral("Edit6") << QStringLiteral("Edit8");
}

void HelpPanelTest::sharedTexts()
{
    QFETCH(QString, first);
    QFETCH(QString, second);

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QVERIFY(hover(form, mouseTarget(form, first)));
    QTRY_VERIFY(form.Memo2->Text() != app::texts::kWelcome);
    const std::string shared = form.Memo2->Text();
    QVERIFY(hover(form, form.Button1));
    QTRY_COMPARE(form.Memo2->Text(), app::texts::kHelpButton1);

    QVERIFY(hover(form, mouseTarget(form, second)));
    QTRY_COMPARE(form.Memo2->Text(), shared);
}

void HelpPanelTest::controlsWithoutTextLeavePanel_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("browser");

    QTest::newRow("genre table") << QStringLiteral("StringGrid1") << false;
    QTest::newRow("drive list") << QStringLiteral("DriveComboBox1") << true;
    QTest::newRow("Label11") << QStringLiteral("Label11") << false;
    QTest::newRow("Label16") << QStringLiteral("Label16") << false;
    QTest::newRow("Label18") << QStringLiteral("Label18") << false;
    QTest::newRow("Label19") << QStringLiteral("Label19") << false;
    QTest::newRow("count field") << QStringLiteral("Edit7") << false;
}

void HelpPanelTest::controlsWithoutTextLeavePanel()
{
    QFETCH(QString, control);
    QFETCH(bool, browser);

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (browser)
        showBrowser(form);

    QVERIFY(hover(form, form.Button1));
    QTRY_COMPARE(form.Memo2->Text(), app::texts::kHelpButton1);

    QWidget* target = mouseTarget(form, control);
    QVERIFY(target && target->isVisible());
    // The moves do reach the window (a control without mouse tracking passes them on).
    int moves = 0;
    struct MoveCounter final : QObject {
        int* count;
        explicit MoveCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::MouseMove)
                ++*count;
            return false;
        }
    } counter(&moves);
    form.windowHandle()->installEventFilter(&counter);

    QVERIFY(hover(form, target));
    QVERIFY(hover(form, target, 3));
    QTRY_VERIFY(moves >= 2);
    QCoreApplication::processEvents();
    QCOMPARE(form.Memo2->Text(), app::texts::kHelpButton1);
    form.windowHandle()->removeEventFilter(&counter);
}

void HelpPanelTest::bareSurfaceEmptiesPanel()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.Memo2->Text().empty());

    const std::optional<QPoint> bare = barePoint(form);
    QVERIFY(bare);
    moveTo(&form, *bare);
    QTRY_COMPARE(form.Memo2->Text(), std::string());

    // And a control's text comes back after it.
    QVERIFY(hover(form, form.Button2));
    QTRY_COMPARE(form.Memo2->Text(), app::texts::kHelpButton2);
}

void HelpPanelTest::hidingAndRestoringPanel()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.Image1->isHidden());
    QVERIFY(form.Label21->isHidden());

    QTest::mouseDClick(form.Memo2->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(form.Memo2->viewport(), Qt::LeftButton, {}, QPoint(10, 10));

    QVERIFY(form.Memo2->isHidden());
    QVERIFY(form.Image1->isVisible());
    QVERIFY(form.Label21->isVisible());

    // Texts are still written while the panel is hidden; the last one shows on return.
    QVERIFY(hover(form, form.Button1));
    QTRY_COMPARE(form.Memo2->Text(), app::texts::kHelpButton1);
    QVERIFY(hover(form, form.Label2));
    QTRY_COMPARE(form.Memo2->Text(), app::texts::kHelpLabel2);
    QVERIFY(form.Memo2->isHidden());

    QTest::mouseClick(form.Image1, Qt::LeftButton);

    QVERIFY(form.Memo2->isVisible());
    QVERIFY(form.Image1->isHidden());
    QVERIFY(form.Label21->isHidden());
    QCOMPARE(form.Memo2->Text(), sj(u8"5TQは問題文と正解1に誤答4。誤答の4つは参考表示。(Zelquaは1問1答のため)"));
    QVERIFY(prompts.calls().empty());
}

void HelpPanelTest::sameTextIsNotRepainted()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    PaintCounter counter;
    form.Memo2->viewport()->installEventFilter(&counter);
    QCoreApplication::processEvents();
    QTest::qWait(50);

    // A new text repaints the panel.
    const int before = counter.paints;
    QVERIFY(hover(form, form.Button4));
    QTRY_COMPARE(form.Memo2->Text(), app::texts::kHelpButton4);
    QTRY_VERIFY(counter.paints > before);
    QTest::qWait(50);
    const int afterFirst = counter.paints;

    // The same text again, from another point of the same button, repaints nothing.
    QVERIFY(hover(form, form.Button4, 5));
    QCoreApplication::processEvents();
    QTest::qWait(50);
    QCoreApplication::processEvents();
    QCOMPARE(form.Memo2->Text(), app::texts::kHelpButton4);
    QCOMPARE(counter.paints, afterFirst);
    form.Memo2->viewport()->removeEventFilter(&counter);
}

void HelpPanelTest::bankOpenedText()
{
    TestFolder folder;
    const QString bank = folder.write(QStringLiteral("bank.5TQ"), support::bankBytes({support::numberedGenre(1, 3, "One")}));
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    prompts.acceptOpen(TestFolder::bytesOf(bank), 1);
    QTest::mouseClick(form.Button1, Qt::LeftButton);

    const std::string expected = sj(u8"②の表に8つのジャンルが表示。ジャンルの各") + "\x81\x6D" + sj(u8"問題数") + "\x81\x6E"
                                 + sj(u8"部分をクリック");
    QCOMPARE(form.Memo2->Text(), expected);
    QCOMPARE(form.Memo2->Text(), sj(u8"②の表に8つのジャンルが表示。ジャンルの各［問題数］部分をクリック"));
    QCOMPARE(form.StringGrid1->Cells(1, 1), std::string("One"));
    QVERIFY(prompts.errorTexts().empty());
}

QTEST_MAIN(HelpPanelTest)
#include "HelpPanelTest.moc"
