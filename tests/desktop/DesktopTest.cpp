// The editor on a real X display with a window manager and Qt's real dialogs, where the
// offscreen tests and the scripted dialogs cannot look: the titles the window manager reads
// (_NET_WM_NAME), the outer size and place with the manager's frame, a maximise refused, and
// the save dialog's file-type switch on the way to the saved bytes, the undo keys, and the
// ten steps done with keys alone. Run by scripts/test-desktop.sh under Xvfb and openbox.

#include "app/ApplicationSetup.h"
#include "app/TForm1.h"
#include "support/ModalDialogs.h"
#include "support/TestFiles.h"
#include "support/WindowDriver.h"
#include "widgets/Button.h"
#include "widgets/HelpMemo.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/Prompts.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cmath>

using widgets::MessageButtons;
using widgets::MessageKind;

namespace {

// What a command prints, or empty text when it did not finish in time.
QString output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(5000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// One property of an X window as the window manager sees it, or empty text.
QString xProperty(WId window, const char* name)
{
    const QString line =
        output(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window), QString::fromLatin1(name)}).trimmed();
    const qsizetype equals = line.indexOf(QLatin1String(" = "));
    return equals < 0 ? QString() : line.mid(equals + 3);
}

// The sizes of the pictures in a window's _NET_WM_ICON, as "16x16" and so on.
QStringList iconSizes(WId window)
{
    static const QRegularExpression size(QStringLiteral("Icon \\((\\d+) x (\\d+)\\)"));
    QStringList sizes;
    const QString text = output(QStringLiteral("xprop"), {QStringLiteral("-len"), QStringLiteral("100000000"), QStringLiteral("-id"),
                                                         QString::number(window), QStringLiteral("_NET_WM_ICON")});
    for (const QRegularExpressionMatch& match : size.globalMatch(text))
        sizes << match.captured(1) + u'x' + match.captured(2);
    return sizes;
}

// The X window shown with the title `title` (another program's, such as GTK's file dialog),
// or 0 when none was shown in `timeout` ms.
WId shownWindowTitled(const QString& title, int timeout)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const QString ids = output(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                               QStringLiteral("--name"), u'^' + title + u'$'});
        if (const QString first = ids.section(u'\n', 0, 0).trimmed(); !first.isEmpty())
            return WId(first.toULongLong());
        if (clock.elapsed() >= timeout)
            return 0;
        QTest::qWait(200);
    }
}

QString windowName(WId window)
{
    QString name = xProperty(window, "_NET_WM_NAME");
    if (name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2);
    return name;
}

// The frame the manager put around the window, in device pixels: left, right, top, bottom.
QList<int> frameExtents(WId window)
{
    QList<int> extents;
    for (const QString& part : xProperty(window, "_NET_FRAME_EXTENTS").split(QLatin1Char(',')))
        extents << part.trimmed().toInt();
    return extents.size() == 4 ? extents : QList<int>();
}

void closeDialog(QWidget* dialog)
{
    QTest::keyClick(dialog, Qt::Key_Escape);
}

// Keys or text typed on the X server (XTest, through xdotool) into the window `window` after
// it was given the X input focus: `keys` are xdotool's key names, `text` is typed as is.
bool typeOnX(WId window, const QStringList& keys, const QString& text = {})
{
    QStringList arguments{QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(window)};
    if (!keys.isEmpty())
        arguments << QStringLiteral("key") << QStringLiteral("--delay") << QStringLiteral("60") << keys;
    else
        arguments << QStringLiteral("type") << QStringLiteral("--delay") << QStringLiteral("30") << text;
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

// The contrast ratio of two colours (WCAG: relative luminances, lighter over darker).
double contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb c) {
        const auto linear = [](int channel) {
            const double v = channel / 255.0;
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The window as the X server shows it.
QImage screenshot(QWidget& window)
{
    QTest::qWait(200);
    return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// How many pixels of `area` differ between two pictures by a contrast of 3:1 or more.
int changedPixels(const QImage& before, const QImage& after, const QRect& area)
{
    int changed = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            changed += contrast(before.pixel(x, y), after.pixel(x, y)) >= 3.0 ? 1 : 0;
    return changed;
}

// The control of `form` that holds the keyboard focus (a cell editor belongs to its table).
QString focusedControl(const QWidget& form)
{
    QWidget* widget = QApplication::focusWidget();
    while (widget && widget->parentWidget() != &form)
        widget = widget->parentWidget();
    return widget ? widget->objectName() : QStringLiteral("(none)");
}

} // namespace

class DesktopTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == u"xcb", "run under X11 with a window manager");
        app::setUpApplication(*qApp);
    }

    void windowUnderTheManager()
    {
        // Shown as the program shows it: mapped first, its controls and icon made after.
        app::TForm1 form(nullptr, app::TForm1::Showing::WhileBuilding);
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const WId id = form.winId();
        QTRY_VERIFY_WITH_TIMEOUT(!frameExtents(id).isEmpty(), 5000);
        QCOMPARE(windowName(id), QStringLiteral("Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1"));
        // Docks group the window with its launcher by the class of WM_CLASS, the desktop
        // entry's StartupWMClass; they pick the icon's size from the window's own sizes.
        const QString wmClass = xProperty(id, "WM_CLASS");
        const QString entryClass = QSettings(QStringLiteral(ZQ_DESKTOP_ENTRY), QSettings::IniFormat).value("Desktop Entry/StartupWMClass").toString();
        QVERIFY2(!entryClass.isEmpty() && wmClass.endsWith(QStringLiteral(", \"") + entryClass + u'"'), qPrintable(wmClass));
        // Qt draws them at the screen's scale (1.25 at 120 pixels per inch), none above 256.
        QStringList sizes;
        for (const int size : {16, 24, 32, 48, 64, 128, 256})
            sizes << QStringLiteral("%1x%1").arg(std::min(qRound(size * form.devicePixelRatioF()), 256));
        QCOMPARE(iconSizes(id), sizes);

        // Outer size 800 x 565 at 120 pixels per inch, scaled, frame included; centred.
        const qreal ratio = form.devicePixelRatioF();
        const auto outer = [&] {
            const QList<int> frame = frameExtents(id);
            const QRect inner(form.geometry().topLeft() * ratio, form.geometry().size() * ratio);
            return inner.adjusted(-frame[0], -frame[2], frame[1], frame[3]);
        };
        const QSize wanted(qRound(800 * form.scale() * ratio), qRound(565 * form.scale() * ratio));
        QTRY_COMPARE_WITH_TIMEOUT(outer().size(), wanted, 5000);
        const QRect area = form.screen()->availableGeometry();
        const QPointF centre = QRectF(area.topLeft() * ratio, area.size() * ratio).center();
        const QPointF outerCentre = QRectF(outer()).center();
        QVERIFY2(qAbs(outerCentre.x() - centre.x()) <= 1 && qAbs(outerCentre.y() - centre.y()) <= 1,
                 qPrintable(QStringLiteral("outer %1,%2 %3x%4").arg(outer().x()).arg(outer().y()).arg(outer().width()).arg(outer().height())));

        // A maximise the manager allows anyway (wmctrl, as a title-bar double click) is undone.
        const QRect before = outer();
        QProcess::execute(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-r"), QString::number(id),
                                                     QStringLiteral("-b"), QStringLiteral("add,maximized_vert,maximized_horz")});
        QTest::qWait(500);
        QTRY_VERIFY_WITH_TIMEOUT(!xProperty(id, "_NET_WM_STATE").contains(QLatin1String("MAXIMIZED")), 3000);
        QVERIFY(!form.isMaximized());
        QTRY_COMPARE_WITH_TIMEOUT(outer(), before, 3000);
        form.showMaximized();
        QTest::qWait(500);
        QVERIFY(!form.isMaximized());
        QTRY_COMPARE_WITH_TIMEOUT(outer(), before, 3000);
    }

    // Every control that takes the focus shows it, measured on screenshots of the X server:
    // the pixels around the control that changed, between the picture with no focus and the
    // picture with the control focused, by a contrast of 3:1 or more cover at least a band two
    // pixels wide (scaled as the window is) along its edge; when the focus leaves, the picture
    // with no focus comes back. ZQ_PICTURES names a folder to keep the pictures in.
    void focusSeenOnScreen()
    {
        app::TForm1 form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.StringGrid2->insertRows(1, {{"1", "Q1", "A1", "G", "W"}, {"2", "Q2", "A2", "G", "W"}});
        form.Button13Click(); // the browser's lists take the focus too
        const QString keep = qEnvironmentVariable("ZQ_PICTURES");
        const auto noFocus = [&] {
            if (QWidget* focused = QApplication::focusWidget())
                focused->clearFocus();
            return screenshot(form);
        };
        QList<QWidget*> controls;
        for (QWidget* control : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const bool takesFocus = control->focusProxy() || control->focusPolicy() != Qt::NoFocus;
            if (takesFocus && !control->isHidden() && control->isEnabled())
                controls << control;
        }
        // A first round, so that the tables and lists have their current entries before the
        // picture with no focus is taken. A field is focused without selecting its text.
        for (QWidget* control : controls)
            control->setFocus(Qt::OtherFocusReason);
        const QImage none = noFocus();
        if (!keep.isEmpty())
            none.save(keep + QStringLiteral("/focus-none.png"));
        const qreal ratio = form.devicePixelRatioF();
        QStringList faults;
        for (QWidget* control : controls) {
            control->setFocus(Qt::OtherFocusReason);
            QTRY_COMPARE(focusedControl(form), control->objectName());
            const QImage focused = screenshot(form);
            if (!keep.isEmpty())
                focused.save(keep + QStringLiteral("/focus-%1.png").arg(control->objectName()));
            const QRect box(control->geometry().topLeft() * ratio, control->geometry().size() * ratio);
            const int changed = changedPixels(none, focused, box.adjusted(-4, -4, 4, 4).intersected(none.rect()));
            // Two pixels of a 96-pixels-per-inch screen, at this screen's resolution.
            const int band = qRound(2 * form.logicalDpiY() / 96.0 * ratio);
            const int wanted = 2 * band * (box.width() + box.height()) - 4 * band * band;
            qInfo().noquote() << QStringLiteral("%1: %2 pixels changed by 3:1 or more, %3 wanted")
                                     .arg(control->objectName()).arg(changed).arg(wanted);
            if (changed < wanted)
                faults << control->objectName();
            // A table's current cell shows too that the table has the focus: at least a
            // one-pixel band around the cell changes by 3:1 or more.
            if (auto* grid = qobject_cast<widgets::StringGrid*>(control)) {
                const QTableView& view = *grid->view();
                const QRect cell = view.visualRect(view.currentIndex());
                const QRect shown(view.viewport()->mapTo(&form, cell.topLeft()) * ratio, cell.size() * ratio);
                const int cellChanged = changedPixels(none, focused, shown);
                qInfo().noquote() << QStringLiteral("%1's current cell: %2 pixels changed, %3 wanted")
                                         .arg(control->objectName()).arg(cellChanged).arg(2 * (shown.width() + shown.height()));
                if (shown.isEmpty() || cellChanged < 2 * (shown.width() + shown.height()))
                    faults << control->objectName() + QStringLiteral("'s current cell");
            }
            if (noFocus() != none)
                faults << control->objectName() + QStringLiteral(" (a trace left)");
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
    }

    void titlesAsTheManagerReadsThem_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::newRow("information") << int(MessageKind::Information) << u"情報"_qs;
        QTest::newRow("confirmation") << int(MessageKind::Confirmation) << u"確認"_qs;
        QTest::newRow("warning") << int(MessageKind::Warning) << u"警告"_qs;
        QTest::newRow("error box") << -1 << u"Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1"_qs;
        QTest::newRow("open dialog") << -2 << u"開く"_qs;
        QTest::newRow("save dialog") << -3 << u"名前を付けて保存"_qs;
    }

    void titlesAsTheManagerReadsThem()
    {
        QFETCH(int, kind);
        QFETCH(QString, title);
        app::TForm1 form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QString seen, own;
        support::whenShown([&](QWidget* dialog) {
            QTRY_VERIFY_WITH_TIMEOUT(!windowName(dialog->winId()).isEmpty(), 3000);
            seen = windowName(dialog->winId());
            own = dialog->windowTitle();
            closeDialog(dialog);
        });
        widgets::Prompts& prompts = form.prompts();
        const std::string text = sjis::fromUtf8(u8"問題数が適正数でないため");
        if (kind >= 0) {
            prompts.messageBox(text, MessageKind(kind),
                               kind == int(MessageKind::Confirmation) ? MessageButtons::YesNo : MessageButtons::Ok);
        } else if (kind == -1) {
            prompts.errorBox(text);
        } else if (kind == -2) {
            form.Button1Click();
        } else {
            form.Button6Click();
        }
        QVERIFY(!seen.isEmpty());
        // File dialogs keep Qt's own title, and nothing is added to it.
        QCOMPARE(seen, title);
        QCOMPARE(own, title);
        QVERIFY2(!seen.contains(u'—'), qPrintable(seen));
    }

    // GTK's own file dialogs (Qt's gtk3 platform theme: scripts/test-desktop.sh runs this with
    // QT_QPA_PLATFORMTHEME=gtk3) carry the titles of Qt's own, and list files whatever the case
    // of their extension: in a folder of "a-notes.txt" and "lower.5tq" the bank filter's first
    // row is the bank, opened with the keys Down and Return.
    void desktopFileDialogs_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("open: lower.5tq") << true;
        QTest::newRow("save: titled") << false;
    }

    void desktopFileDialogs()
    {
        if (qEnvironmentVariable("QT_QPA_PLATFORMTHEME") != u"gtk3")
            QSKIP("GTK's dialogs are shown with QT_QPA_PLATFORMTHEME=gtk3");
        QFETCH(bool, open);
        const support::TestFolder folder;
        folder.write(QStringLiteral("a-notes.txt"), "plain text\r\n");
        const QString bank = folder.write(QStringLiteral("lower.5tq"), support::bankBytes({support::numberedGenre(1, 10, "Lower")}));
        // The dialogs open in the current folder (the stage gives them a home of their own, so
        // no folder visited before is remembered).
        const QString started = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path(QString())));
        app::TForm1 form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const QString title = open ? u"開く"_qs : u"名前を付けて保存"_qs;
        bool shown = false;
        QTimer::singleShot(0, &form, [&] {
            const WId dialog = shownWindowTitled(title, 15000);
            if (!dialog)
                return;
            shown = true;
            QTest::qWait(1500); // the folder is read once the dialog is up
            typeOnX(dialog, open ? QStringList{QStringLiteral("Down"), QStringLiteral("Return")}
                                 : QStringList{QStringLiteral("Escape")});
            // A dialog that listed nothing to open is closed, so that the test fails, not hangs.
            QTest::qWait(3000);
            if (shownWindowTitled(title, 0))
                typeOnX(dialog, {QStringLiteral("Escape")});
        });
        if (open)
            form.Button1Click();
        else
            form.Button6Click();
        QVERIFY(QDir::setCurrent(started));
        QVERIFY2(shown, qPrintable(title));
        if (open) {
            QCOMPARE(form.OpenDialog1.fileName, support::TestFolder::bytesOf(bank));
            QCOMPARE(form.StringGrid1->Cells(1, 1), std::string("Lower"));
        }
    }

    // The save button through Qt's real save dialog: switching to the text type keeps the
    // proposed name, and the fresh memo pad's one empty line is saved as CR LF.
    void saveThroughTheRealDialog()
    {
        QTemporaryDir dir;
        app::TForm1 form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.Edit3->setText(sjis::fromUnicode(dir.filePath(QStringLiteral("fresh.mon"))).bytes);
        QString afterSwitch;
        support::whenShown([&](QWidget* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            if (name && types) {
                QTest::keyClick(types, Qt::Key_Down);
                afterSwitch = name->text();
            }
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QTest::mouseClick(form.Button6, Qt::LeftButton);
        QCOMPARE(afterSwitch, QStringLiteral("fresh.mon"));
        QCOMPARE(form.SaveDialog1.filterIndex, 2);
        QFile saved(dir.filePath(QStringLiteral("fresh.mon")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("\r\n"));
    }

    // Undo and redo keys typed on the X server (XTest, through xdotool) reach the question
    // table under the window manager: the clear ④ is taken back and made again.
    void undoKeysFromTheXServer()
    {
        app::TForm1 form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        widgets::StringGrid& table = *form.StringGrid2;
        table.insertRows(1, {{"1", "Q1", "A1", "G", "W"}, {"2", "Q2", "A2", "G", "W"}});
        const std::vector<std::string> filled = support::allCells(table);
        QTest::mouseClick(form.Button4, Qt::LeftButton);
        const std::vector<std::string> cleared = support::allCells(table);
        QCOMPARE(table.RowCount(), 2);

        table.view()->setFocus();
        QTRY_VERIFY(table.view()->hasFocus());
        // The X input focus is given to the window first: the manager may not have moved it
        // there yet even though Qt already counts the window active.
        const QString window = QString::number(form.winId());
        const auto typeOnX = [&](const char* keys) {
            QCOMPARE(QProcess::execute(QStringLiteral("xdotool"),
                                       {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window,
                                        QStringLiteral("key"), QString::fromLatin1(keys)}),
                     0);
        };
        typeOnX("ctrl+z");
        QTRY_VERIFY_WITH_TIMEOUT(support::allCells(table) == filled, 3000);
        typeOnX("ctrl+y");
        QTRY_VERIFY_WITH_TIMEOUT(support::allCells(table) == cleared, 3000);
        typeOnX("ctrl+z");
        QTRY_VERIFY_WITH_TIMEOUT(support::allCells(table) == filled, 3000);
        typeOnX("ctrl+shift+z");
        QTRY_VERIFY_WITH_TIMEOUT(support::allCells(table) == cleared, 3000);
    }

    // The ten steps with the keyboard alone, keys typed on the X server, through Qt's real
    // file dialogs: Return presses buttons, Ctrl+Tab and Ctrl+Shift+Tab leave the question
    // table whose Tab moves between cells, F2 edits a cell, Tab leaves the memos. The focus
    // is read back after every step; the saved file is compared byte for byte.
    void keyboardRoad()
    {
        const support::TestFolder folder;
        const QString bank = folder.write(QStringLiteral("road.5TQ"), support::bankBytes({support::numberedGenre(1, 10, "Road")}));
        app::TForm1 form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const WId window = form.winId();
        // A file dialog is answered by typing into its file-name field, then Return.
        const auto answerDialog = [](const QString& typed) {
            support::whenShown([typed](QWidget* dialog) {
                QTest::qWait(300);
                const WId id = dialog->winId();
                if (!typed.isEmpty()) {
                    typeOnX(id, {QStringLiteral("ctrl+a")});
                    typeOnX(id, {}, typed);
                }
                typeOnX(id, {QStringLiteral("Return")});
            });
        };
        struct Step {
            const char* what;
            QStringList keys;      // xdotool key names
            QString text;          // typed after the keys
            const char* focus;     // the control holding the focus afterwards
            std::function<bool()> done = [] { return true; };
        };
        const auto cell = [&form](int col, int row) { return form.StringGrid2->Cells(col, row); };
        const QStringList backToSave(11, QStringLiteral("shift+Tab"));
        const Step road[] = {
            {"start", {}, {}, "Button1"},
            {"① 読込 (Return; the open dialog takes the bank's path)", {QStringLiteral("Return")}, {}, "Button1",
             [&] { return form.StringGrid1->Cells(1, 1) == "Road"; }},
            {"② the genre table", {QStringLiteral("Tab"), QStringLiteral("Tab")}, {}, "StringGrid1"},
            {"③ the next cell of genre 1 adds its questions", {QStringLiteral("Right")}, {}, "StringGrid1",
             [&] { return form.StringGrid2->RowCount() == 12; }},
            {"⑥ into the question table; Tab moves between its cells", {QStringLiteral("Tab"), QStringLiteral("Tab")}, {},
             "StringGrid2", [&] { return form.StringGrid2->Col() == 2; }},
            {"⑥ Ctrl+Tab leaves it", {QStringLiteral("ctrl+Tab")}, {}, "Button4"},
            {"⑥ Ctrl+Shift+Tab goes back; F2 edits the current cell", {QStringLiteral("ctrl+shift+Tab"), QStringLiteral("F2")},
             QStringLiteral("EDITED"), "StringGrid2"},
            {"⑥ Return stores the cell", {QStringLiteral("Return")}, {}, "StringGrid2",
             [&] { return cell(2, 1) == "EDITED"; }},
            {"⑥ on to the title", {QStringLiteral("ctrl+Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
                                  QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("ctrl+a")},
             QStringLiteral("T"), "Edit4"},
            {"⑥ the genre", {QStringLiteral("Tab"), QStringLiteral("ctrl+a")}, QStringLiteral("G"), "Edit5"},
            {"⑥ the range's start", {QStringLiteral("Tab"), QStringLiteral("ctrl+a")}, QStringLiteral("1"), "Edit6"},
            {"⑥ the range's end: 8 questions", {QStringLiteral("Tab"), QStringLiteral("ctrl+a")}, QStringLiteral("8"),
             "Edit8", [&] { return form.Edit7->Text() == "8"; }},
            {"⑦ back to the convert button, Return", QStringList(6, QStringLiteral("shift+Tab")) << QStringLiteral("Return"),
             {}, "Button5", [&] { return form.RichEdit1->Count() == 10; }},
            {"⑧ on to the help panel", QStringList(7, QStringLiteral("Tab")), {}, "Memo2"},
            {"⑧ Tab leaves the help panel", {QStringLiteral("Tab")}, {}, "Button11"},
            {"⑧ into the memo pad", QStringList(3, QStringLiteral("Tab")), {}, "RichEdit1"},
            {"⑧ Tab leaves the memo pad", {QStringLiteral("Tab")}, {}, "Button8",
             [&] { return form.RichEdit1->Count() == 10 && form.Memo2->Text().find('\t') == std::string::npos; }},
            {"⑨ back to the save button, Return (the save dialog keeps its proposed name)",
             QStringList(backToSave) << QStringLiteral("Return"), {}, "Button6",
             [&] { return QFile::exists(folder.path(QStringLiteral("road.mon"))); }},
            {"⑩ back into the question table", QStringList(3, QStringLiteral("shift+Tab")), {}, "StringGrid2"},
            {"⑩ Ctrl+Shift+Tab out of it, on to the quit button",
             {QStringLiteral("ctrl+shift+Tab"), QStringLiteral("shift+Tab")}, {}, "Button2"},
            {"⑩ Return closes the window", {QStringLiteral("Return")}, {}, "(none)", [&] { return !form.isVisible(); }},
        };
        for (const Step& step : road) {
            if (QString::fromUtf8(step.what).startsWith(u'①'))
                answerDialog(bank);
            else if (QString::fromUtf8(step.what).startsWith(u'⑨'))
                answerDialog({});
            if (!step.keys.isEmpty())
                QVERIFY(typeOnX(window, step.keys));
            if (!step.text.isEmpty())
                QVERIFY(typeOnX(window, {}, step.text));
            QTRY_COMPARE_WITH_TIMEOUT(focusedControl(form), QString::fromLatin1(step.focus), 5000);
            QTRY_VERIFY2_WITH_TIMEOUT(step.done(), step.what, 5000);
            qInfo().noquote() << QStringLiteral("%1 [%2%3] -> %4")
                                     .arg(QString::fromUtf8(step.what), step.keys.join(QLatin1Char(' ')),
                                          step.text.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(step.text),
                                          QString::fromLatin1(step.focus));
        }
        std::vector<std::pair<std::string, std::string>> rows{{"EDITED", "Q1-1"}};
        for (int n = 2; n <= 8; ++n)
            rows.emplace_back("A1-" + std::to_string(n), "Q1-" + std::to_string(n));
        QCOMPARE(folder.read(QStringLiteral("road.mon")), support::monText("8", "T", "G", rows));
    }
};

QTEST_MAIN(DesktopTest)
#include "DesktopTest.moc"
