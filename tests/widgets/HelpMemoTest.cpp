// The help panel: whole-text writes, no repaint for a write of the text already shown,
// its colours, wrapping and events.

#include "widgets/HelpMemo.h"
#include "codec/ShiftJis.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include <string>

using widgets::HelpMemo;

namespace {

std::string bytes(const QByteArray& data)
{
    return std::string(data.constData(), std::size_t(data.size()));
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

class HelpMemoTest : public QObject {
    Q_OBJECT

private slots:
    void writeReplacesWholeText_data();
    void writeReplacesWholeText();
    void equalWriteDoesNotRepaint_data();
    void equalWriteDoesNotRepaint();
    void coloursAndScrollBars();
    void longTextWraps();
    void doubleClickAndMouseMoveAreReported();
};

void HelpMemoTest::writeReplacesWholeText_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<int>("lines");

    const QByteArray help = QByteArray::fromStdString(sjis::fromUtf8(u8"ダブルクリックでディレクトリの選択"));
    QTest::newRow("one line") << QByteArray("old\r\ntext") << help << help << 1;
    QTest::newRow("CR LF lines") << QByteArray() << QByteArray("a\r\nb\r\nc") << QByteArray("a\r\nb\r\nc") << 3;
    QTest::newRow("lone LF and CR") << QByteArray("x") << QByteArray("a\nb\rc") << QByteArray("a\r\nb\r\nc") << 3;
    QTest::newRow("empty") << help << QByteArray() << QByteArray() << 1;
    QTest::newRow("invalid byte survives") << QByteArray() << QByteArray("a\x81z") << QByteArray("a\x81z") << 1;
}

void HelpMemoTest::writeReplacesWholeText()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, written);
    QFETCH(QByteArray, read);
    QFETCH(int, lines);

    HelpMemo memo;
    memo.setText(bytes(before));
    memo.setText(bytes(written));
    QCOMPARE(memo.Text(), bytes(read));
    QCOMPARE(memo.document()->blockCount(), lines);
}

void HelpMemoTest::equalWriteDoesNotRepaint_data()
{
    QTest::addColumn<QByteArray>("shown");

    QTest::newRow("help text") << QByteArray::fromStdString(sjis::fromUtf8(u8"問題数はZelquaの制約より8以上300以下に設定"));
    QTest::newRow("welcome text, three lines")
        << QByteArray::fromStdString(sjis::fromUtf8(u8"ようこそ！。5tq形式ﾌｧｲﾙからZelqua\r\nへの変換や、その合成・分割・訂正等\r\n編集できます。"));
    QTest::newRow("empty") << QByteArray();
}

void HelpMemoTest::equalWriteDoesNotRepaint()
{
    QFETCH(QByteArray, shown);

    HelpMemo memo;
    memo.resize(216, 50);
    memo.setText(bytes(shown));
    memo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&memo));
    PaintCounter counter;
    memo.viewport()->installEventFilter(&counter);

    QTest::qWait(20);
    counter.paints = 0;
    for (int i = 0; i < 10; ++i)
        memo.setText(bytes(shown));
    QTest::qWait(50);
    QCOMPARE(counter.paints, 0);
    QCOMPARE(memo.Text(), bytes(shown));

    // The counter does see a write that changes the text.
    memo.setText("other");
    QTRY_VERIFY(counter.paints > 0);
}

void HelpMemoTest::coloursAndScrollBars()
{
    HelpMemo memo;
    memo.resize(216, 50);
    memo.setText(bytes(QByteArray(400, 'x')));
    memo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&memo));

    QCOMPARE(memo.palette().color(QPalette::Base), QColor(0x80, 0x00, 0x00));
    QCOMPARE(memo.palette().color(QPalette::Text), QColor(0xFF, 0xFF, 0x00));
    QVERIFY(!memo.verticalScrollBar()->isVisible());
    QVERIFY(!memo.horizontalScrollBar()->isVisible());
    const QImage image = memo.viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(image.width() - 2, image.height() - 2), QColor(0x80, 0x00, 0x00));
}

void HelpMemoTest::longTextWraps()
{
    HelpMemo memo;
    memo.resize(216, 50);
    memo.setText(sjis::fromUtf8(u8"Zelqua用にファイル選択リストの表示（左表はクリア）／注意：半角のコンマ含みの文は不良処理"));
    memo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&memo));
    // One block, laid out in more than one line at the panel's width.
    QCOMPARE(memo.document()->blockCount(), 1);
    QVERIFY(memo.document()->firstBlock().layout()->lineCount() > 1);
}

void HelpMemoTest::doubleClickAndMouseMoveAreReported()
{
    QWidget window;
    window.setMouseTracking(true);
    int windowMoves = 0;
    auto* memo = new HelpMemo(&window);
    memo->setGeometry(5, 6, 216, 50);
    window.resize(300, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    int doubleClicks = 0;
    int moves = 0;
    connect(memo, &HelpMemo::doubleClicked, [&] { ++doubleClicks; });
    connect(memo, &HelpMemo::mouseMoved, [&] { ++moves; });
    struct WindowMoves final : QObject {
        int* count;
        explicit WindowMoves(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::MouseMove)
                ++*count;
            return false;
        }
    } filter(&windowMoves);
    window.installEventFilter(&filter);

    QTest::mouseMove(memo->viewport(), QPoint(30, 20));
    QTRY_COMPARE(moves, 1);
    QCOMPARE(windowMoves, 0);
    QTest::mouseDClick(memo->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QCOMPARE(doubleClicks, 1);
}

QTEST_MAIN(HelpMemoTest)
#include "HelpMemoTest.moc"
