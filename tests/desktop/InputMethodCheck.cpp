// Run by hand through scripts/check-input-method.sh: a Japanese input method (fcitx5 with
// mozc) really typing into the window. Romaji typed with real X key events becomes kana in
// the title and genre fields and in a question cell; the start field takes the digit as
// typed, with no preedit and no error; the saved file holds exactly those bytes.

#include "app/TForm1.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/TestText.h"
#include "support/WindowDriver.h"
#include "widgets/Button.h"
#include "widgets/LineEdit.h"
#include "widgets/grid/StringGrid.h"

#include <QLineEdit>
#include <QProcess>
#include <QtTest>

namespace {

// Types through the X server, so the keys pass the input method on their way to the window.
bool xdotool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForStarted(5000))
        return false;
    // The window keeps answering the input method while the keys go through it.
    QElapsedTimer waited;
    waited.start();
    while (tool.state() != QProcess::NotRunning && waited.elapsed() < 20000)
        QTest::qWait(20);
    QTest::qWait(300);
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

// Focuses the field with its text selected, and gives the input method time to take the
// new focus before any key is typed.
void focusAll(QLineEdit& field)
{
    field.setFocus();
    field.selectAll();
    QTest::qWait(1000);
}

bool typeKeys(const QString& romaji)
{
    return xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("80"), romaji});
}

bool pressReturn()
{
    return xdotool({QStringLiteral("key"), QStringLiteral("Return")});
}

} // namespace

class InputMethodCheck final : public QObject {
    Q_OBJECT

private slots:
    void romajiThroughTheInputMethod()
    {
        QVERIFY2(QGuiApplication::platformName() == u"xcb", "run under X11");
        support::TestFolder folder;
        std::vector<std::pair<std::string, std::string>> items;
        for (int n = 1; n <= 10; ++n)
            items.emplace_back("a" + std::to_string(n), "q" + std::to_string(n));
        const QString mon = folder.write(QStringLiteral("ten.mon"), support::monText("10", "T", "G", items));

        support::ScriptedPrompts prompts;
        app::TForm1 form(&prompts);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        support::loadMonFile(form, prompts, mon);
        QCOMPARE(form.Edit8->Text(), std::string("10"));

        focusAll(*form.Edit4);
        QVERIFY(typeKeys(QStringLiteral("nihongo")) && pressReturn());
        QCOMPARE(form.Edit4->text(), QStringLiteral("にほんご"));

        focusAll(*form.Edit5);
        QVERIFY(typeKeys(QStringLiteral("chiri")) && pressReturn());
        QCOMPARE(form.Edit5->text(), QStringLiteral("ちり"));

        // The question cell of row 3: the editor opens on a double-click.
        support::clickCell(*form.StringGrid2, 1, 3);
        form.StringGrid2DblClick();
        QLineEdit* cell = form.StringGrid2->inplaceEditor();
        QVERIFY(cell);
        focusAll(*cell);
        QVERIFY(typeKeys(QStringLiteral("mondai")) && pressReturn());
        QCOMPARE(cell->text(), QStringLiteral("もんだい"));
        QVERIFY(pressReturn());
        QTRY_COMPARE(form.StringGrid2->Cells(1, 3), support::sj(u8"もんだい"));

        // The start field: the input method stays out, "3" arrives as typed.
        focusAll(*form.Edit6);
        QVERIFY(typeKeys(QStringLiteral("3")));
        QCOMPARE(form.Edit6->text(), QStringLiteral("3"));
        QVERIFY(prompts.errorTexts().empty());
        QCOMPARE(form.Edit7->Text(), std::string("8"));

        QTest::mouseClick(form.Button5, Qt::LeftButton);
        const QString saved = folder.path(QStringLiteral("typed.mon"));
        prompts.acceptSave(support::TestFolder::bytesOf(saved), 1);
        QTest::mouseClick(form.Button6, Qt::LeftButton);

        std::vector<std::string> lines{support::sj(u8"8,\"j42\",\"にほんご\""), support::sj(u8"0,\"\",\"ちり\""),
                                       support::sj(u8"15,\"a3\",\"もんだい\"")};
        for (int n = 4; n <= 10; ++n)
            lines.push_back("15,\"a" + std::to_string(n) + "\",\"q" + std::to_string(n) + "\"");
        QCOMPARE(folder.read(QStringLiteral("typed.mon")), support::crlfText(lines));
        QVERIFY(prompts.unexpected().empty());
    }
};

QTEST_MAIN(InputMethodCheck)
#include "InputMethodCheck.moc"
