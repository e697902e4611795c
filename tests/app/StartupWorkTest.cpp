// The start-up work's thread: it ends whether or not the application object came (a start
// that failed must not hang on exit), and what it made is what the window takes.

#include "app/Icons.h"
#include "app/StartupWork.h"
#include "codec/ShiftJis.h"

#include <QTest>

#include <chrono>
#include <future>

class StartupWorkTest : public QObject {
    Q_OBJECT

private slots:
    void endsWithOrWithoutTheApplication();
};

void StartupWorkTest::endsWithOrWithoutTheApplication()
{
    for (const bool ready : {false, true}) {
        // Destroyed on another thread with a deadline: a thread left waiting for the word
        // that the application exists would hang the process at exit.
        auto ended = std::async(std::launch::async, [ready] {
            app::StartupWork work;
            if (ready)
                work.applicationReady();
        });
        QVERIFY2(ended.wait_for(std::chrono::seconds(20)) == std::future_status::ready,
                 ready ? "told the application exists" : "never told");
    }
    // The pictures, however made, are the window icon at each of its sizes and the help icon.
    const std::vector<QImage>& images = app::windowIconImages();
    QCOMPARE(images.size(), std::size(app::kIconSizes));
    for (std::size_t i = 0; i < images.size(); ++i)
        QCOMPARE(images[i].size(), QSize(app::kIconSizes[i], app::kIconSizes[i]));
    QCOMPARE(images[2].pixelColor(16, 2), QColor(0x80, 0x00, 0x00));   // the maroon card
    QCOMPARE(app::helpIconImage().pixelColor(4, 12), QColor(0xFF, 0xFF, 0x00));   // the yellow bubble
    QCOMPARE(sjis::toUnicode("\x83\x5a"), QStringLiteral("セ"));
}

QTEST_MAIN(StartupWorkTest)
#include "StartupWorkTest.moc"
