// The browser's file list: "*.mon" entries in any letter case, sorted by name, matching
// directories in brackets; clicked() for every change of the selection by mouse or keys.

#include "widgets/FileList.h"
#include "codec/ShiftJis.h"

#include <QTemporaryDir>
#include <QtTest>

#include <string>
#include <vector>

using widgets::FileList;

namespace {

void makeEntries(const QString& root, const QStringList& files, const QStringList& directories)
{
    for (const QString& name : files) {
        QFile file(root + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    for (const QString& name : directories)
        QVERIFY(QDir(root).mkdir(name));
}

QStringList shown(const FileList& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts.append(list.item(i)->text());
    return texts;
}

} // namespace

class FileListTest : public QObject {
    Q_OBJECT

private slots:
    void listsMatchingEntriesSorted_data();
    void listsMatchingEntriesSorted();
    void byteAccessors();
    void directoryText_data();
    void directoryText();
    void unreadableDirectoryListsNothing_data();
    void unreadableDirectoryListsNothing();
    void hiddenListReadsWhenShown();
    void arrowKeysRaiseClickPerStep();
    void mouseClicksRaiseClick();
};

void FileListTest::listsMatchingEntriesSorted_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("directories");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("letter cases, other files, directories")
        << QStringList{u"b.mon"_qs, u"A.MON"_qs, u"c.Mon"_qs, u"x.txt"_qs, u"mon"_qs, u"y.mon.bak"_qs, u".hidden.mon"_qs}
        << QStringList{u"d.mon"_qs, u"sub"_qs}
        << QStringList{u"A.MON"_qs, u"b.mon"_qs, u"c.Mon"_qs, u"[d.mon]"_qs};
    QTest::newRow("directory sorts among files")
        << QStringList{u"a.mon"_qs, u"z.mon"_qs} << QStringList{u"M.MON"_qs}
        << QStringList{u"a.mon"_qs, u"[M.MON]"_qs, u"z.mon"_qs};
    QTest::newRow("Japanese names")
        << QStringList{u"問題集2.mon"_qs, u"問題集1.mon"_qs} << QStringList{}
        << QStringList{u"問題集1.mon"_qs, u"問題集2.mon"_qs};
    QTest::newRow("a name whose bytes read back as another (U+301C as U+FF5E)")
        << QStringList{u"第1回〜第3回.mon"_qs} << QStringList{} << QStringList{u"第1回〜第3回.mon"_qs};
    QTest::newRow("nothing matches") << QStringList{u"a.txt"_qs} << QStringList{u"b"_qs} << QStringList{};
}

void FileListTest::listsMatchingEntriesSorted()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, directories);
    QFETCH(QStringList, expected);

    QTemporaryDir dir;
    makeEntries(dir.path(), files, directories);
    FileList list;
    list.setDirectory(dir.path());
    QCOMPARE(shown(list), expected);

    // Setting the directory again reads it again.
    makeEntries(dir.path(), {u"0new.MoN"_qs}, {});
    list.setDirectory(dir.path());
    QCOMPARE(shown(list), QStringList{u"0new.MoN"_qs} + expected);
}

void FileListTest::byteAccessors()
{
    QTemporaryDir dir;
    makeEntries(dir.path(), {u"問題.mon"_qs, u"b.mon"_qs}, {u"c.mon"_qs});
    FileList list;
    list.setDirectory(dir.path());
    const std::vector<std::string> items{"b.mon", "[c.mon]", sjis::fromUtf8(u8"問題.mon")};
    QCOMPARE(list.Items(), items);
    QCOMPARE(list.Item(2), items[2]);
    QCOMPARE(list.Item(3), std::string());
    QCOMPARE(list.ItemIndex(), -1);
    QCOMPARE(list.Directory(), sjis::fromUnicode(QDir(dir.path()).canonicalPath()).bytes);
}

void FileListTest::directoryText_data()
{
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("expected");

    QTest::newRow("root keeps its separator") << u"/"_qs << u"/"_qs;
    QTest::newRow("trailing separator dropped") << u"/tmp/"_qs << u"/tmp"_qs;
    QTest::newRow("dots resolved") << u"/tmp/../tmp/."_qs << u"/tmp"_qs;
}

void FileListTest::directoryText()
{
    QFETCH(QString, set);
    QFETCH(QString, expected);

    FileList list;
    list.setDirectory(set);
    QCOMPARE(list.directoryPath(), expected);
    QCOMPARE(list.Directory(), expected.toStdString());
}

void FileListTest::unreadableDirectoryListsNothing_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("missing directory") << u"missing"_qs;
    QTest::newRow("a file, not a directory") << u"file.mon"_qs;
}

void FileListTest::unreadableDirectoryListsNothing()
{
    QFETCH(QString, name);

    QTemporaryDir dir;
    makeEntries(dir.path(), {u"file.mon"_qs}, {});
    FileList list;
    list.setDirectory(dir.path());
    QCOMPARE(list.count(), 1);
    list.setDirectory(dir.filePath(name));
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.directoryPath(), QDir::cleanPath(dir.filePath(name)));
}

void FileListTest::hiddenListReadsWhenShown()
{
    // The browser starts hidden: its lists read their directory when shown, and show the
    // directory and the files as they are then, in a window shown or not yet shown.
    QTemporaryDir dir;
    makeEntries(dir.path(), {u"a.mon"_qs}, {});
    for (const bool windowShown : {false, true}) {
        QWidget window;
        auto* list = new FileList(&window);
        list->hide();
        list->setDirectory(dir.path());
        QVERIFY(list->count() == 0);
        makeEntries(dir.path(), {windowShown ? u"c.mon"_qs : u"b.mon"_qs}, {});
        if (windowShown) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }
        list->show();
        QCOMPARE(shown(*list), windowShown ? (QStringList{u"a.mon"_qs, u"b.mon"_qs, u"c.mon"_qs})
                                           : (QStringList{u"a.mon"_qs, u"b.mon"_qs}));
        // Shown, it reads again at once.
        list->setDirectory(dir.path() + u"/missing"_qs);
        QCOMPARE(list->count(), 0);
    }
}

void FileListTest::arrowKeysRaiseClickPerStep()
{
    QTemporaryDir dir;
    makeEntries(dir.path(), {u"a.mon"_qs, u"b.mon"_qs, u"c.mon"_qs}, {});
    FileList list;
    list.setDirectory(dir.path());
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.setFocus();

    std::vector<std::string> picked;
    connect(&list, &FileList::clicked, [&] { picked.push_back(list.Item(list.ItemIndex())); });

    struct Step {
        Qt::Key key;
        std::vector<std::string> picked;
    };
    const std::vector<Step> steps{
        {Qt::Key_Down, {"a.mon"}},
        {Qt::Key_Down, {"a.mon", "b.mon"}},
        {Qt::Key_Down, {"a.mon", "b.mon", "c.mon"}},
        {Qt::Key_Down, {"a.mon", "b.mon", "c.mon"}}, // at the end: no change, no click
        {Qt::Key_Up, {"a.mon", "b.mon", "c.mon", "b.mon"}},
        {Qt::Key_Home, {"a.mon", "b.mon", "c.mon", "b.mon", "a.mon"}},
    };
    for (const Step& step : steps) {
        QTest::keyClick(&list, step.key);
        QCOMPARE(picked, step.picked);
    }

    // Code reading the directory again selects nothing and raises nothing.
    list.setDirectory(dir.path());
    QCOMPARE(picked.size(), std::size_t(5));
    QCOMPARE(list.ItemIndex(), -1);
}

void FileListTest::mouseClicksRaiseClick()
{
    QTemporaryDir dir;
    makeEntries(dir.path(), {u"a.mon"_qs, u"b.mon"_qs, u"c.mon"_qs}, {});
    FileList list;
    list.setDirectory(dir.path());
    list.resize(200, 120);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));

    std::vector<int> picked;
    connect(&list, &FileList::clicked, [&] { picked.push_back(list.ItemIndex()); });
    const QPoint third = list.visualItemRect(list.item(2)).center();
    const QPoint first = list.visualItemRect(list.item(0)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, third);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, first);
    // A second click on the selected file picks it again.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, first);
    QCOMPARE(picked, (std::vector<int>{2, 0, 0}));
    // A click below the entries picks nothing.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 115));
    QCOMPARE(picked.size(), std::size_t(3));
}

QTEST_MAIN(FileListTest)
#include "FileListTest.moc"
