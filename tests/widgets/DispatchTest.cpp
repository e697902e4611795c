// The dispatch boundary: a handler's error is shown in the error box and ends only that
// handler; a change handler set off by a program write fails alone, and the writer goes on.

#include "support/ScriptedPrompts.h"
#include "text/EditorError.h"
#include "widgets/Dispatch.h"
#include "widgets/LineEdit.h"
#include "codec/ShiftJis.h"

#include <QtTest>

#include <stdexcept>
#include <string>
#include <vector>

using support::ScriptedPrompts;
using widgets::LineEdit;

namespace {

enum class Failure { EditorError, StdException, Other };

[[noreturn]] void fail(Failure failure, const std::string& text)
{
    switch (failure) {
    case Failure::EditorError: throw text::EditorError(text);
    case Failure::StdException: throw std::runtime_error(text);
    case Failure::Other: throw 42;
    }
    throw 0;
}

// A slot that runs `handler` with the signal's arguments through dispatch(), as the
// window's user actions do.
template <typename Handler>
auto guarded(widgets::Prompts& prompts, Handler handler)
{
    return [&prompts, handler = std::move(handler)](auto&&... args) {
        widgets::dispatch(prompts, [&] { widgets::invokeWithWhatItTakes(handler, std::forward<decltype(args)>(args)...); });
    };
}

} // namespace

class DispatchTest : public QObject {
    Q_OBJECT

private slots:
    void nestedErrorEndsOnlyTheNestedHandler_data();
    void nestedErrorEndsOnlyTheNestedHandler();
    void errorEndsHandlerWhereItThrew();
    void guardedSlotPassesSignalArguments();
};

void DispatchTest::nestedErrorEndsOnlyTheNestedHandler_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("shown");

    const QByteArray notInteger = QByteArray::fromStdString(sjis::fromUtf8(u8"'1a' は整数ではありません"));
    QTest::newRow("editor error gets a full stop") << Failure::EditorError << notInteger << notInteger + ".";
    QTest::newRow("message ending in a full stop") << Failure::EditorError << QByteArray("done.") << QByteArray("done.");
    QTest::newRow("standard exception") << Failure::StdException << QByteArray("bad value") << QByteArray("bad value.");
    QTest::newRow("anything else")
        << Failure::Other << QByteArray()
        << QByteArray::fromStdString(sjis::fromUtf8(u8"予期しないｴﾗｰが発生しました."));
}

void DispatchTest::nestedErrorEndsOnlyTheNestedHandler()
{
    QFETCH(Failure, failure);
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, shown);

    ScriptedPrompts prompts;
    LineEdit writer;
    LineEdit field;
    std::vector<std::string> steps;

    // The writer's change handler writes into the other field, whose change handler fails.
    connect(&writer, &LineEdit::changed, guarded(prompts, [&] {
        steps.push_back("writer before write");
        field.setText("25");
        steps.push_back("writer after write, field " + field.Text());
        field.setText("26");
        steps.push_back("writer done");
    }));
    connect(&field, &LineEdit::changed, guarded(prompts, [&] {
        steps.push_back("field handler " + field.Text());
        if (field.Text() == "25")
            fail(failure, message.toStdString());
        steps.push_back("field handler done");
    }));

    writer.setText("1");
    const std::vector<std::string> expected{
        "writer before write", "field handler 25",   "writer after write, field 25",
        "field handler 26",    "field handler done", "writer done",
    };
    QCOMPARE(steps, expected);
    QCOMPARE(prompts.errorTexts(), std::vector<std::string>{shown.toStdString()});
    QVERIFY(prompts.unexpected().empty());
}

void DispatchTest::errorEndsHandlerWhereItThrew()
{
    ScriptedPrompts prompts;
    int reached = 0;
    widgets::dispatch(prompts, [&] {
        ++reached;
        throw text::EditorError("stop");
    });
    widgets::dispatch(prompts, [&] { ++reached; });
    QCOMPARE(reached, 2);
    QCOMPARE(prompts.errorTexts(), std::vector<std::string>{"stop."});
}

void DispatchTest::guardedSlotPassesSignalArguments()
{
    ScriptedPrompts prompts;
    LineEdit edit;
    std::vector<int> codes;
    connect(&edit, &LineEdit::keyDown, guarded(prompts, [&](int* key, Qt::KeyboardModifiers) {
        codes.push_back(*key);
        *key = 49;
        throw text::EditorError("after replacing");
    }));
    edit.setText("123");
    edit.setCursorPosition(0);
    QTest::keyClick(&edit, Qt::Key_Delete);
    // The handler replaced the code before it failed, so Delete did nothing.
    QCOMPARE(edit.Text(), std::string("123"));
    QCOMPARE(codes, std::vector<int>{46});
    QCOMPARE(prompts.errorTexts(), std::vector<std::string>{"after replacing."});
}

QTEST_MAIN(DispatchTest)
#include "DispatchTest.moc"
