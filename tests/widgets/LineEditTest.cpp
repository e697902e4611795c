// The single-line edit: change events on typing and on program writes (synchronous, none
// for an equal write), the key-down hook with replaced key codes, colour, disabled state.

#include "widgets/KeyCodes.h"
#include "widgets/LineEdit.h"
#include "codec/ShiftJis.h"

#include <QtTest>

#include <string>
#include <vector>

using widgets::LineEdit;

namespace {

std::string bytes(const QByteArray& data)
{
    return std::string(data.constData(), std::size_t(data.size()));
}

// Replaces every code outside the digit keys by the key "1", as the start field does.
void digitsOnly(int* key, Qt::KeyboardModifiers)
{
    if (*key < widgets::vk::kKey0 || *key > widgets::vk::kKey9)
        *key = widgets::vk::kKey1;
}

} // namespace

class LineEditTest : public QObject {
    Q_OBJECT

private slots:
    void programWriteRaisesChangeOnlyWhenTextDiffers_data();
    void programWriteRaisesChangeOnlyWhenTextDiffers();
    void changeHandlerRunsInsideTheWrite();
    void typingRaisesChangePerCharacter_data();
    void typingRaisesChangePerCharacter();
    void keyFilterLeavesCharacterInput_data();
    void keyFilterLeavesCharacterInput();
    void replacedCodeDrivesKeyDownProcessing();
    void keyDownReportsVirtualKeyCodes_data();
    void keyDownReportsVirtualKeyCodes();
    void colourIsReadBackAndPainted_data();
    void colourIsReadBackAndPainted();
    void disabledEditTakesNoInput();
    void doubleClickAndMouseMoveAreReported();
    void imeModes_data();
    void imeModes();
};

void LineEditTest::programWriteRaisesChangeOnlyWhenTextDiffers_data()
{
    QTest::addColumn<QByteArray>("initial");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<int>("changes");

    QTest::newRow("different digits") << QByteArray("1") << QByteArray("20") << 1;
    QTest::newRow("equal digits") << QByteArray("20") << QByteArray("20") << 0;
    QTest::newRow("to empty") << QByteArray("5") << QByteArray("") << 1;
    QTest::newRow("empty to empty") << QByteArray("") << QByteArray("") << 0;
    const QByteArray kana = QByteArray::fromStdString(sjis::fromUtf8(u8"デフォルトファイル名"));
    QTest::newRow("equal Japanese") << kana << kana << 0;
    QTest::newRow("Japanese changed") << kana << kana + "2" << 1;
    QTest::newRow("equal with invalid byte") << QByteArray("a\x81") << QByteArray("a\x81") << 0;
    QTest::newRow("equal with CR LF") << QByteArray("a\r\nb") << QByteArray("a\r\nb") << 0;
}

void LineEditTest::programWriteRaisesChangeOnlyWhenTextDiffers()
{
    QFETCH(QByteArray, initial);
    QFETCH(QByteArray, written);
    QFETCH(int, changes);

    LineEdit edit;
    edit.setText(bytes(initial));
    QCOMPARE(edit.Text(), bytes(initial));
    int seen = 0;
    connect(&edit, &LineEdit::changed, [&] { ++seen; });
    edit.setText(bytes(written));
    QCOMPARE(seen, changes);
    QCOMPARE(edit.Text(), bytes(written));
}

void LineEditTest::changeHandlerRunsInsideTheWrite()
{
    LineEdit edit;
    edit.setText("1");
    std::vector<std::string> events;
    connect(&edit, &LineEdit::changed, [&] { events.push_back("changed " + edit.Text()); });
    edit.setText("25");
    events.push_back("after write");
    edit.setText("25");
    events.push_back("after equal write");
    QCOMPARE(events, (std::vector<std::string>{"changed 25", "after write", "after equal write"}));
}

void LineEditTest::typingRaisesChangePerCharacter_data()
{
    QTest::addColumn<QByteArray>("initial");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("digits") << QByteArray("") << u"123"_qs << QByteArray("123");
    QTest::newRow("after text") << QByteArray("1") << u"0a"_qs << QByteArray("10a");
}

void LineEditTest::typingRaisesChangePerCharacter()
{
    QFETCH(QByteArray, initial);
    QFETCH(QString, typed);
    QFETCH(QByteArray, expected);

    LineEdit edit;
    edit.setText(bytes(initial));
    edit.end(false);
    std::vector<std::string> seen;
    connect(&edit, &LineEdit::changed, [&] { seen.push_back(edit.Text()); });
    QTest::keyClicks(&edit, typed);
    QCOMPARE(edit.Text(), bytes(expected));
    QCOMPARE(int(seen.size()), int(typed.size()));
    QCOMPARE(seen.back(), bytes(expected));
}

void LineEditTest::keyFilterLeavesCharacterInput_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");     // the character the keystroke types
    QTest::addColumn<int>("caret");        // caret before the key, in "123"
    QTest::addColumn<QString>("filtered"); // text afterwards with the digit filter
    QTest::addColumn<int>("filteredCaret");
    QTest::addColumn<QString>("plain");    // text afterwards without a handler
    QTest::addColumn<int>("plainCaret");

    const int none = Qt::NoModifier;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << QString() << 0 << u"123"_qs << 0 << u"23"_qs << 0;
    QTest::newRow("Left") << int(Qt::Key_Left) << none << QString() << 3 << u"123"_qs << 3 << u"123"_qs << 2;
    QTest::newRow("Right") << int(Qt::Key_Right) << none << QString() << 0 << u"123"_qs << 0 << u"123"_qs << 1;
    QTest::newRow("Home") << int(Qt::Key_Home) << none << QString() << 3 << u"123"_qs << 3 << u"123"_qs << 0;
    QTest::newRow("End") << int(Qt::Key_End) << none << QString() << 0 << u"123"_qs << 0 << u"123"_qs << 3;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << u"\b"_qs << 3 << u"12"_qs << 2 << u"12"_qs << 2;
    QTest::newRow("letter") << int(Qt::Key_A) << none << u"a"_qs << 3 << u"123a"_qs << 4 << u"123a"_qs << 4;
    QTest::newRow("capital") << int(Qt::Key_B) << int(Qt::ShiftModifier) << u"B"_qs << 1 << u"1B23"_qs << 2
                             << u"1B23"_qs << 2;
    QTest::newRow("minus sign") << int(Qt::Key_Minus) << none << u"-"_qs << 0 << u"-123"_qs << 1 << u"-123"_qs << 1;
    QTest::newRow("keypad digit") << int(Qt::Key_5) << int(Qt::KeypadModifier) << u"5"_qs << 3 << u"1235"_qs << 4
                                  << u"1235"_qs << 4;
    QTest::newRow("main digit") << int(Qt::Key_7) << none << u"7"_qs << 3 << u"1237"_qs << 4 << u"1237"_qs << 4;
    QTest::newRow("full-width digit") << int(Qt::Key_unknown) << none << u"９"_qs << 3 << u"123９"_qs << 4
                                      << u"123９"_qs << 4;
}

void LineEditTest::keyFilterLeavesCharacterInput()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, filtered);
    QFETCH(int, filteredCaret);
    QFETCH(QString, plain);
    QFETCH(int, plainCaret);

    auto press = [&](LineEdit& edit) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QApplication::sendEvent(&edit, &event);
    };

    LineEdit withFilter;
    connect(&withFilter, &LineEdit::keyDown, &digitsOnly);
    withFilter.setText("123");
    withFilter.setCursorPosition(caret);
    press(withFilter);
    QCOMPARE(withFilter.text(), filtered);
    QCOMPARE(withFilter.cursorPosition(), filteredCaret);

    // The same keystroke without a handler: the edit's ordinary behaviour.
    LineEdit withoutFilter;
    withoutFilter.setText("123");
    withoutFilter.setCursorPosition(caret);
    press(withoutFilter);
    QCOMPARE(withoutFilter.text(), plain);
    QCOMPARE(withoutFilter.cursorPosition(), plainCaret);
}

void LineEditTest::replacedCodeDrivesKeyDownProcessing()
{
    // A handler that turns the key "X" into Delete: the edit deletes at key-down, and the
    // typed "x" still arrives.
    LineEdit edit;
    connect(&edit, &LineEdit::keyDown, [](int* key, Qt::KeyboardModifiers) {
        if (*key == 'X')
            *key = widgets::vk::kDelete;
    });
    edit.setText("123");
    edit.setCursorPosition(0);
    QTest::keyClick(&edit, Qt::Key_X);
    QCOMPARE(edit.text(), u"x23"_qs);
    QCOMPARE(edit.cursorPosition(), 1);
}

void LineEditTest::keyDownReportsVirtualKeyCodes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QList<int>>("codes"); // a held modifier goes down first, with its own code

    const int none = Qt::NoModifier;
    QTest::newRow("0") << int(Qt::Key_0) << none << QList<int>{48};
    QTest::newRow("9") << int(Qt::Key_9) << none << QList<int>{57};
    QTest::newRow("A") << int(Qt::Key_A) << none << QList<int>{65};
    QTest::newRow("Z with Shift") << int(Qt::Key_Z) << int(Qt::ShiftModifier) << QList<int>{16, 90};
    QTest::newRow("keypad 0") << int(Qt::Key_0) << int(Qt::KeypadModifier) << QList<int>{96};
    QTest::newRow("keypad 9") << int(Qt::Key_9) << int(Qt::KeypadModifier) << QList<int>{105};
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << QList<int>{8};
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << QList<int>{46};
    QTest::newRow("Left") << int(Qt::Key_Left) << none << QList<int>{37};
    QTest::newRow("Home") << int(Qt::Key_Home) << none << QList<int>{36};
    QTest::newRow("Return") << int(Qt::Key_Return) << none << QList<int>{13};
    QTest::newRow("Shift+1") << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << QList<int>{16, 49};
    QTest::newRow("minus") << int(Qt::Key_Minus) << none << QList<int>{189};
}

void LineEditTest::keyDownReportsVirtualKeyCodes()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QList<int>, codes);

    LineEdit edit;
    QList<int> seen;
    connect(&edit, &LineEdit::keyDown, [&](int* pressed, Qt::KeyboardModifiers) { seen.append(*pressed); });
    QTest::keyClick(&edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(seen, codes);
}

void LineEditTest::colourIsReadBackAndPainted_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("disabled");

    QTest::newRow("olive") << QColor(0x80, 0x80, 0x00) << false;
    QTest::newRow("lime, disabled") << QColor(0x00, 0xFF, 0x00) << true;
    QTest::newRow("red, disabled") << QColor(0xFF, 0x00, 0x00) << true;
}

void LineEditTest::colourIsReadBackAndPainted()
{
    QFETCH(QColor, colour);
    QFETCH(bool, disabled);

    LineEdit edit;
    edit.resize(80, 26);
    if (disabled)
        edit.setEditState(widgets::EditState::Disabled);
    edit.setColor(colour);
    QCOMPARE(edit.Color(), colour);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));

    const QImage image = edit.grab().toImage();
    // Right of the (empty) text, inside the frame.
    QCOMPARE(image.pixelColor(image.width() - 8, image.height() / 2), colour);
}

void LineEditTest::disabledEditTakesNoInput()
{
    QWidget window;
    auto* other = new QLineEdit(&window);
    auto* edit = new LineEdit(&window);
    edit->move(0, 40);
    edit->setText("12");
    edit->setEditState(widgets::EditState::Disabled);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    other->setFocus();

    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(!edit->hasFocus());
    QCOMPARE(edit->focusPolicy(), Qt::NoFocus);
    QCOMPARE(edit->cursor().shape(), Qt::ForbiddenCursor);
    QTest::keyClicks(edit, "34");
    QCOMPARE(edit->Text(), std::string("12"));

    // Code still writes it, and the change event follows.
    int changes = 0;
    connect(edit, &LineEdit::changed, [&] { ++changes; });
    edit->setText("300");
    QCOMPARE(changes, 1);

    edit->setEditState(widgets::EditState::Enabled);
    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(edit->hasFocus());
    QVERIFY(edit->cursor().shape() != Qt::ForbiddenCursor);
}

void LineEditTest::doubleClickAndMouseMoveAreReported()
{
    QWidget window;
    window.setMouseTracking(true);
    auto* edit = new LineEdit(&window);
    edit->setGeometry(10, 10, 100, 25);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    int doubleClicks = 0;
    std::vector<QPoint> moves;
    connect(edit, &LineEdit::doubleClicked, [&] { ++doubleClicks; });
    connect(edit, &LineEdit::mouseMoved, [&](Qt::KeyboardModifiers, int x, int y) { moves.emplace_back(x, y); });

    QTest::mouseMove(edit, QPoint(20, 7));
    QTRY_COMPARE(moves.size(), std::size_t(1));
    QCOMPARE(moves.front(), QPoint(20, 7));
    QTest::mouseDClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(doubleClicks, 1);
}

void LineEditTest::imeModes_data()
{
    QTest::addColumn<widgets::ImeMode>("mode");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("hints");

    QTest::newRow("hiragana") << widgets::ImeMode::Hiragana << true << int(Qt::ImhNone);
    QTest::newRow("half-width alphanumeric") << widgets::ImeMode::HalfWidthAlpha << true << int(Qt::ImhPreferLatin);
    QTest::newRow("off") << widgets::ImeMode::Off << false << int(Qt::ImhNone);
}

void LineEditTest::imeModes()
{
    QFETCH(widgets::ImeMode, mode);
    QFETCH(bool, enabled);
    QFETCH(int, hints);

    LineEdit edit;
    edit.setImeMode(widgets::ImeMode::Off);
    edit.setImeMode(mode);
    QCOMPARE(edit.testAttribute(Qt::WA_InputMethodEnabled), enabled);
    QCOMPARE(int(edit.inputMethodHints()), hints);
}

QTEST_MAIN(LineEditTest)
#include "LineEditTest.moc"
