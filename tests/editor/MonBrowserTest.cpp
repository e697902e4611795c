// The mon file browser through its real lists: the browse button showing them, the file
// list following the directory list, picks in the file list listing files in the genre
// table (mouse clicks, dragging and arrow keys), the fresh table after eight files and after a bank, files
// that cannot be listed, and the drive list returning to a drive's last directory.

#include "app/TForm1.h"
#include "app/WindowTexts.h"
#include "support/ScriptedPrompts.h"
#include "support/WindowDriver.h"
#include "support/TestFiles.h"
#include "support/TestText.h"
#include "widgets/Button.h"
#include "widgets/DirectoryList.h"
#include "widgets/DriveList.h"
#include "widgets/FileList.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <unistd.h>

#include <string>
#include <vector>

using support::ScriptedPrompts;
using support::allCells;
using support::browserVisible;
using support::TestFolder;
using support::sj;
using support::bytes;

namespace {

using Kind = ScriptedPrompts::Kind;
using Lines = std::vector<std::string>;

std::string simpleMon(const std::string& count, const std::string& title, const std::string& genre, int questions,
                      const std::string& tag, const std::string& mode = "0")
{
    std::vector<std::pair<std::string, std::string>> items;
    for (int n = 1; n <= questions; ++n)
        items.emplace_back("A" + tag + std::to_string(n), "Q" + tag + std::to_string(n));
    return support::monText(count, title, genre, items, mode);
}

// The lines of a CR LF text, as the memo pad holds them after loading it.
Lines linesOf(const std::string& text)
{
    Lines lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find("\r\n", from);
        lines.push_back(text.substr(from, end - from));
        from = end + 2;
    }
    return lines;
}

// A folder made inside the test folder, with the given files written into it.
QString makeFolder(const TestFolder& folder, const QString& name,
                   const std::vector<std::pair<QString, std::string>>& files = {})
{
    const QString path = folder.path(name);
    if (!QDir().mkpath(path))
        return {};
    for (const auto& [file, content] : files)
        folder.write(name + QLatin1Char('/') + file, content);
    return QDir::cleanPath(path);
}

int entryIndex(const widgets::FileList& list, const std::string& entry)
{
    const Lines items = list.Items();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == entry)
            return int(i);
    return -1;
}

// A left click on the file list entry shown as `entry`.
bool clickEntry(widgets::FileList& list, const std::string& entry)
{
    const int index = entryIndex(list, entry);
    if (index < 0)
        return false;
    QListWidgetItem* item = list.item(index);
    list.scrollToItem(item);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(item).center());
    return true;
}

QListWidgetItem* directoryItem(const widgets::DirectoryList& list, const QString& path)
{
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->data(Qt::UserRole).toString() == path)
            return list.item(i);
    return nullptr;
}

// The full path of a file list entry, as the genre table and the save name hold it.
std::string entryPath(const QString& directory, const std::string& entry)
{
    return TestFolder::bytesOf(directory) + "/" + entry;
}

std::string withMonExtension(const QString& directory, const std::string& stem)
{
    return TestFolder::bytesOf(directory) + "/" + stem + ".mon";
}

} // namespace

class MonBrowserTest : public QObject {
    Q_OBJECT

private slots:
    void fileListFollowsDirectoryList_data();
    void fileListFollowsDirectoryList();
    void pickListsFile_data();
    void pickListsFile();
    void arrowKeysPickEachFile();
    void draggingOverEntriesPicksEach();
    void sameFileTwiceIsListedTwice();
    void ninthPickStartsFreshTable();
    void pickAfterBankStartsFromEmptyTable();
    void pickThatCannotBeRead_data();
    void pickThatCannotBeRead();
    void pickOfUnusualFileWarns_data();
    void pickOfUnusualFileWarns();
    void unreadableFolderListsNothing();
    void namesShiftJisCannotHoldAreLeftOut();
    void driveListReturnsToRememberedDirectory();
};

namespace {
enum DirectoryMove { kSetByCode, kDoubleClick, kEnterKey, kDoubleClickOnParent, kSavedInto, kShownAgain };
}

void MonBrowserTest::fileListFollowsDirectoryList_data()
{
    QTest::addColumn<int>("move");

    QTest::newRow("directory set") << int(kSetByCode);
    QTest::newRow("double click on a subfolder") << int(kDoubleClick);
    QTest::newRow("Enter on a subfolder") << int(kEnterKey);
    QTest::newRow("double click on the parent in the chain") << int(kDoubleClickOnParent);
    // The list is read again: a file saved into the folder by ⑨ is listed at once, one written
    // while the browser was hidden once it shows; the selected file stays selected.
    QTest::newRow("a file saved into it") << int(kSavedInto);
    QTest::newRow("a file written while hidden") << int(kShownAgain);
}

void MonBrowserTest::fileListFollowsDirectoryList()
{
    QFETCH(int, move);

    TestFolder folder;
    const QString top = makeFolder(folder, QStringLiteral("top"), {{QStringLiteral("top.MON"), simpleMon("1", "T", "G", 1, "t")}});
    const QString quiz = makeFolder(folder, QStringLiteral("top/quiz"),
                                    {{QStringLiteral("c.txt"), simpleMon("1", "T", "G", 1, "c")},
                                     {QStringLiteral("B.MON"), simpleMon("1", "T", "G", 1, "b")},
                                     {QStringLiteral("a.mon"), simpleMon("1", "T", "G", 1, "a")},
                                     {QStringLiteral(".hidden.mon"), simpleMon("1", "T", "G", 1, "h")}});
    QVERIFY(!makeFolder(folder, QStringLiteral("top/quiz/d.mon")).isEmpty());
    QVERIFY(!makeFolder(folder, QStringLiteral("top/quiz/other")).isEmpty());
    QVERIFY(!makeFolder(folder, QStringLiteral("top/old.mon")).isEmpty());

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.DirectoryListBox1->isVisible());

    QTest::mouseClick(form.Button13, Qt::LeftButton);
    QVERIFY(browserVisible(form));
    // The folder icons, left out while the list was hidden, are there once it shows.
    for (int row = 0; row < form.DirectoryListBox1->count(); ++row)
        QVERIFY(!form.DirectoryListBox1->item(row)->icon().isNull());

    QString expectedDirectory = quiz;
    Lines expectedItems{"a.mon", "B.MON", "[d.mon]"};
    switch (move) {
    case kSetByCode:
        form.DirectoryListBox1->setDirectory(quiz);
        break;
    case kDoubleClick:
    case kEnterKey: {
        form.DirectoryListBox1->setDirectory(top);
        QCOMPARE(form.FileListBox1->directoryPath(), top);
        QListWidgetItem* item = directoryItem(*form.DirectoryListBox1, quiz);
        QVERIFY(item);
        const QPoint at = form.DirectoryListBox1->visualItemRect(item).center();
        if (move == kDoubleClick) {
            QTest::mouseDClick(form.DirectoryListBox1->viewport(), Qt::LeftButton, {}, at);
        } else {
            QTest::mouseClick(form.DirectoryListBox1->viewport(), Qt::LeftButton, {}, at);
            // A single click only selects.
            QCOMPARE(form.DirectoryListBox1->directoryPath(), top);
            QTest::keyClick(form.DirectoryListBox1, Qt::Key_Return);
        }
        break;
    }
    case kDoubleClickOnParent: {
        form.DirectoryListBox1->setDirectory(quiz);
        QCOMPARE(form.FileListBox1->Items(), expectedItems);
        QListWidgetItem* item = directoryItem(*form.DirectoryListBox1, top);
        QVERIFY(item);
        form.DirectoryListBox1->scrollToItem(item);
        QTest::mouseDClick(form.DirectoryListBox1->viewport(), Qt::LeftButton, {},
                           form.DirectoryListBox1->visualItemRect(item).center());
        expectedDirectory = top;
        expectedItems = {"[old.mon]", "top.MON"};
        break;
    }
    case kSavedInto:
    case kShownAgain:
        form.DirectoryListBox1->setDirectory(quiz);
        form.FileListBox1->setCurrentRow(1);
        if (move == kSavedInto) {
            prompts.acceptSave(TestFolder::bytesOf(quiz) + "/Aa.mon", 1);
            QTest::mouseClick(form.Button6, Qt::LeftButton);
            expectedItems = {"a.mon", "Aa.mon", "B.MON", "[d.mon]"};
        } else {
            QTest::mouseClick(form.Button13, Qt::LeftButton);
            folder.write(QStringLiteral("top/quiz/e.mon"), simpleMon("1", "T", "G", 1, "e"));
            QTest::mouseClick(form.Button13, Qt::LeftButton);
            expectedItems = {"a.mon", "B.MON", "[d.mon]", "e.mon"};
        }
        QCOMPARE(form.FileListBox1->Item(form.FileListBox1->ItemIndex()), std::string("B.MON"));
        break;
    }

    QCOMPARE(form.DirectoryListBox1->directoryPath(), expectedDirectory);
    QCOMPARE(form.FileListBox1->directoryPath(), expectedDirectory);
    QCOMPARE(form.FileListBox1->Directory(), TestFolder::bytesOf(expectedDirectory));
    QCOMPARE(form.FileListBox1->Items(), expectedItems);
    // Following the directory picks nothing.
    QCOMPARE(form.state().MonFileCount, 0);
    QCOMPARE(prompts.calls().size(), move == kSavedInto ? 1u : 0u);
}

void MonBrowserTest::pickListsFile_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QByteArray>("genre");
    QTest::addColumn<QString>("saveStem");

    const auto q = [](std::u8string_view text) { return QByteArray::fromStdString(sj(text)); };
    QTest::newRow("lower-case extension") << QStringLiteral("a.mon") << QByteArray("12") << QByteArray("Title")
                                          << QByteArray("Genre") << QStringLiteral("a");
    QTest::newRow("upper-case extension") << QStringLiteral("B.MON") << QByteArray("9") << QByteArray("Big")
                                          << QByteArray("Caps") << QStringLiteral("B");
    QTest::newRow("quoted count kept raw") << QStringLiteral("quoted.mon") << QByteArray("\"8\"") << QByteArray("T")
                                           << QByteArray("G") << QStringLiteral("quoted");
    QTest::newRow("Japanese name and texts") << QStringLiteral(u"日本史.mon") << QByteArray("10") << q(u8"日本史の問題")
                                             << q(u8"歴史・文化") << QStringLiteral(u"日本史");
}

void MonBrowserTest::pickListsFile()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, count);
    QFETCH(QByteArray, title);
    QFETCH(QByteArray, genre);
    QFETCH(QString, saveStem);

    TestFolder folder;
    const std::string content = simpleMon(bytes(count), bytes(title), bytes(genre), 3, "x");
    const QString dir = makeFolder(folder, QStringLiteral("quiz"),
                                   {{fileName, content}, {QStringLiteral("zz.mon"), simpleMon("1", "Z", "Z", 1, "z")}});

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Button13, Qt::LeftButton);
    form.DirectoryListBox1->setDirectory(dir);

    const std::string entry = TestFolder::bytesOf(fileName);
    QVERIFY(clickEntry(*form.FileListBox1, entry));

    const std::string path = entryPath(dir, entry);
    QCOMPARE(form.state().MonFileCount, 1);
    QCOMPARE(form.StringGrid1->Cells(0, 0), std::string("Zelqua"));
    QCOMPARE(form.StringGrid1->Cells(0, 1), bytes(title));
    QCOMPARE(form.StringGrid1->Cells(1, 1), bytes(genre));
    QCOMPARE(form.StringGrid1->Cells(2, 1), bytes(count));
    QCOMPARE(form.StringGrid1->Cells(3, 1), path);
    QCOMPARE(form.StringGrid1->Cells(4, 1), std::string());
    for (int col = 0; col < 5; ++col)
        QCOMPARE(form.StringGrid1->Cells(col, 2), std::string());
    QCOMPARE(form.StringGrid2->Cells(3, 0), sj(u8"ジャンル"));
    QCOMPARE(form.SaveDialog1.filterIndex, 1);
    QCOMPARE(form.SaveDialog1.fileName, path);
    QCOMPARE(form.Edit3->Text(), withMonExtension(dir, TestFolder::bytesOf(saveStem)));
    QCOMPARE(form.RichEdit1->Lines(), linesOf(content));
    // A pick lists the file; it adds no questions.
    QCOMPARE(form.StringGrid2->RowCount(), 2);
    QVERIFY(browserVisible(form));
    QVERIFY(prompts.calls().empty());
}

void MonBrowserTest::arrowKeysPickEachFile()
{
    TestFolder folder;
    const QString dir = makeFolder(folder, QStringLiteral("quiz"),
                                   {{QStringLiteral("one.mon"), simpleMon("1", "T1", "G1", 1, "a")},
                                    {QStringLiteral("three.mon"), simpleMon("3", "T3", "G3", 3, "c")},
                                    {QStringLiteral("two.mon"), simpleMon("2", "T2", "G2", 2, "b")}});

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Button13, Qt::LeftButton);
    form.DirectoryListBox1->setDirectory(dir);
    QCOMPARE(form.FileListBox1->Items(), (Lines{"one.mon", "three.mon", "two.mon"}));

    const std::vector<std::pair<Qt::Key, std::string>> steps{
        {Qt::Key_Down, "one"}, {Qt::Key_Down, "three"}, {Qt::Key_Down, "two"}, {Qt::Key_Up, "three"}};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        QTest::keyClick(form.FileListBox1, steps[i].first);
        const int row = int(i) + 1;
        QCOMPARE(form.state().MonFileCount, row);
        QCOMPARE(form.StringGrid1->Cells(3, row), entryPath(dir, steps[i].second + ".mon"));
        QCOMPARE(form.Edit3->Text(), withMonExtension(dir, steps[i].second));
    }
    QCOMPARE(form.StringGrid1->Cells(0, 1), std::string("T1"));
    QCOMPARE(form.StringGrid1->Cells(0, 2), std::string("T3"));
    QCOMPARE(form.StringGrid1->Cells(2, 3), std::string("2"));
    QCOMPARE(form.StringGrid1->Cells(1, 4), std::string("G3"));
    QCOMPARE(form.RichEdit1->Count(), 2 + 3);

    // Down on the last entry moves nowhere and so picks nothing.
    QTest::keyClick(form.FileListBox1, Qt::Key_Down);
    QTest::keyClick(form.FileListBox1, Qt::Key_Down);
    QCOMPARE(form.state().MonFileCount, 5);
    QCOMPARE(form.StringGrid1->Cells(3, 5), entryPath(dir, "two.mon"));
    QCOMPARE(form.StringGrid1->Cells(3, 6), std::string());
    QVERIFY(prompts.calls().empty());
}

void MonBrowserTest::draggingOverEntriesPicksEach()
{
    TestFolder folder;
    const QString dir = makeFolder(folder, QStringLiteral("quiz"),
                                   {{QStringLiteral("a.mon"), simpleMon("1", "Ta", "Ga", 1, "a")},
                                    {QStringLiteral("b.mon"), simpleMon("2", "Tb", "Gb", 2, "b")},
                                    {QStringLiteral("c.mon"), simpleMon("3", "Tc", "Gc", 3, "c")}});

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Button13, Qt::LeftButton);
    form.DirectoryListBox1->setDirectory(dir);

    widgets::FileList& list = *form.FileListBox1;
    QWidget* surface = list.viewport();
    const QPoint a = list.visualItemRect(list.item(0)).center();
    const QPoint b = list.visualItemRect(list.item(1)).center();
    const QPoint c = list.visualItemRect(list.item(2)).center();

    // Press on a, drag over b to c, a little further inside c, release there.
    QTest::mousePress(surface, Qt::LeftButton, {}, a);
    QTest::mouseMove(surface, b);
    QTest::mouseMove(surface, c);
    QTest::mouseMove(surface, c + QPoint(3, 1));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, c + QPoint(3, 1));

    // Every entry the selection reached is listed once, in order; the last one is the
    // entry the list shows selected.
    QCOMPARE(list.ItemIndex(), 2);
    QCOMPARE(form.state().MonFileCount, 3);
    QCOMPARE(form.StringGrid1->Cells(3, 1), entryPath(dir, "a.mon"));
    QCOMPARE(form.StringGrid1->Cells(3, 2), entryPath(dir, "b.mon"));
    QCOMPARE(form.StringGrid1->Cells(3, 3), entryPath(dir, "c.mon"));
    QCOMPARE(form.StringGrid1->Cells(3, 4), std::string());
    QCOMPARE(form.SaveDialog1.fileName, entryPath(dir, "c.mon"));
    QCOMPARE(form.RichEdit1->Lines(), linesOf(simpleMon("3", "Tc", "Gc", 3, "c")));
    QVERIFY(prompts.calls().empty());
}

void MonBrowserTest::sameFileTwiceIsListedTwice()
{
    TestFolder folder;
    const QString dir = makeFolder(folder, QStringLiteral("quiz"),
                                   {{QStringLiteral("same.mon"), simpleMon("4", "Again", "Twice", 4, "s")}});

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Button13, Qt::LeftButton);
    form.DirectoryListBox1->setDirectory(dir);

    QVERIFY(clickEntry(*form.FileListBox1, "same.mon"));
    QVERIFY(clickEntry(*form.FileListBox1, "same.mon"));

    QCOMPARE(form.state().MonFileCount, 2);
    for (int row = 1; row <= 2; ++row) {
        QCOMPARE(form.StringGrid1->Cells(0, row), std::string("Again"));
        QCOMPARE(form.StringGrid1->Cells(1, row), std::string("Twice"));
        QCOMPARE(form.StringGrid1->Cells(2, row), std::string("4"));
        QCOMPARE(form.StringGrid1->Cells(3, row), entryPath(dir, "same.mon"));
    }
    QCOMPARE(form.StringGrid1->Cells(3, 3), std::string());
    QVERIFY(prompts.calls().empty());
}

void MonBrowserTest::ninthPickStartsFreshTable()
{
    TestFolder folder;
    const QString dir = makeFolder(folder, QStringLiteral("quiz"),
                                   {{QStringLiteral("a.mon"), simpleMon("1", "Ta", "Ga", 1, "a")},
                                    {QStringLiteral("b.mon"), simpleMon("2", "Tb", "Gb", 2, "b")},
                                    {QStringLiteral("c.mon"), simpleMon("3", "Tc", "Gc", 3, "c")}});

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Button13, Qt::LeftButton);
    form.DirectoryListBox1->setDirectory(dir);
    const Lines entries{"a.mon", "b.mon", "c.mon"};

    for (int n = 1; n <= 8; ++n) {
        QVERIFY(clickEntry(*form.FileListBox1, entries[std::size_t(n - 1) % 3]));
        QCOMPARE(form.state().MonFileCount, n);
        QCOMPARE(form.StringGrid1->Cells(3, n), entryPath(dir, entries[std::size_t(n - 1) % 3]));
    }
    QCOMPARE(form.StringGrid1->Cells(0, 8), std::string("Tb"));

    QVERIFY(clickEntry(*form.FileListBox1, "c.mon"));

    QCOMPARE(form.state().MonFileCount, 1);
    QCOMPARE(form.StringGrid1->Cells(0, 0), std::string("Zelqua"));
    QCOMPARE(form.StringGrid1->Cells(0, 1), std::string("Tc"));
    QCOMPARE(form.StringGrid1->Cells(1, 1), std::string("Gc"));
    QCOMPARE(form.StringGrid1->Cells(2, 1), std::string("3"));
    QCOMPARE(form.StringGrid1->Cells(3, 1), entryPath(dir, "c.mon"));
    for (int row = 2; row <= 8; ++row)
        for (int col = 0; col < 5; ++col)
            QCOMPARE(form.StringGrid1->Cells(col, row), std::string());
    QVERIFY(browserVisible(form));
    QCOMPARE(form.Button13->text(), sjis::toUnicode(app::texts::kHideCaption));
    QCOMPARE(form.FileListBox1->Items(), entries);
    QCOMPARE(form.FileListBox1->directoryPath(), dir);
    QVERIFY(prompts.calls().empty());
}

void MonBrowserTest::pickAfterBankStartsFromEmptyTable()
{
    TestFolder folder;
    std::vector<support::BankGenre> genres;
    for (int g = 1; g <= 8; ++g)
        genres.push_back(support::numberedGenre(g, 2, "Genre" + std::to_string(g)));
    const QString bank = folder.write(QStringLiteral("bank.5TQ"), support::bankBytes(genres));
    const QString dir = makeFolder(folder, QStringLiteral("quiz"), {{QStringLiteral("m.mon"), simpleMon("5", "Tm", "Gm", 5, "m")}});

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    prompts.acceptOpen(TestFolder::bytesOf(bank), 1);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    QCOMPARE(form.StringGrid1->Cells(0, 0), sj(u8"五択5TQ"));
    QCOMPARE(form.StringGrid1->Cells(1, 8), std::string("Genre8"));
    QVERIFY(!form.StringGrid1->Cells(1, 0).empty());

    QTest::mouseClick(form.Button13, Qt::LeftButton);
    QCOMPARE(allCells(*form.StringGrid1), Lines(45));
    QCOMPARE(form.state().MonFileCount, 0);

    form.DirectoryListBox1->setDirectory(dir);
    QVERIFY(clickEntry(*form.FileListBox1, "m.mon"));

    QCOMPARE(form.StringGrid1->Cells(0, 0), std::string("Zelqua"));
    for (int col = 1; col < 5; ++col)
        QCOMPARE(form.StringGrid1->Cells(col, 0), std::string());
    QCOMPARE(form.StringGrid1->Cells(0, 1), std::string("Tm"));
    QCOMPARE(form.StringGrid1->Cells(1, 1), std::string("Gm"));
    QCOMPARE(form.StringGrid1->Cells(2, 1), std::string("5"));
    QCOMPARE(form.StringGrid1->Cells(3, 1), entryPath(dir, "m.mon"));
    QCOMPARE(form.StringGrid1->Cells(4, 1), std::string());
    for (int row = 2; row <= 8; ++row)
        for (int col = 0; col < 5; ++col)
            QCOMPARE(form.StringGrid1->Cells(col, row), std::string());
    QCOMPARE(form.state().MonFileCount, 1);
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void MonBrowserTest::pickThatCannotBeRead_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("removeFirst");

    QTest::newRow("directory entry") << QStringLiteral("[d.mon]") << false;
    QTest::newRow("file removed after listing") << QStringLiteral("gone.mon") << true;
}

void MonBrowserTest::pickThatCannotBeRead()
{
    QFETCH(QString, entry);
    QFETCH(bool, removeFirst);

    TestFolder folder;
    const std::string good = simpleMon("2", "Good", "Fine", 2, "g");
    const QString dir = makeFolder(folder, QStringLiteral("quiz"),
                                   {{QStringLiteral("good.mon"), good}, {QStringLiteral("gone.mon"), simpleMon("1", "T", "G", 1, "x")}});
    QVERIFY(!makeFolder(folder, QStringLiteral("quiz/d.mon")).isEmpty());

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Button13, Qt::LeftButton);
    form.DirectoryListBox1->setDirectory(dir);
    QCOMPARE(form.FileListBox1->Items(), (Lines{"[d.mon]", "gone.mon", "good.mon"}));

    QVERIFY(clickEntry(*form.FileListBox1, "good.mon"));
    QCOMPARE(form.state().MonFileCount, 1);
    const std::string saveName = form.SaveDialog1.fileName;
    const std::string edit3 = form.Edit3->Text();
    if (removeFirst)
        QVERIFY(QFile::remove(dir + QStringLiteral("/gone.mon")));

    const std::string entryBytes = TestFolder::bytesOf(entry);
    QVERIFY(clickEntry(*form.FileListBox1, entryBytes));

    const std::string path = entryPath(dir, entryBytes);
    QCOMPARE(prompts.errorTexts(), Lines{sj(u8"ﾌｧｲﾙ ") + path + sj(u8" は開けません.")});
    QCOMPARE(form.state().MonFileCount, 2);
    QCOMPARE(form.StringGrid1->Cells(3, 2), path);
    QCOMPARE(form.StringGrid1->Cells(0, 0), std::string("Zelqua"));
    QCOMPARE(form.RichEdit1->Lines(), linesOf(good));
    // The save name keeps pointing at the file listed before.
    QCOMPARE(form.SaveDialog1.fileName, saveName);
    QCOMPARE(form.Edit3->Text(), edit3);
    QCOMPARE(form.StringGrid1->Cells(0, 1), std::string("Good"));
    QCOMPARE(prompts.beeps(), 0);
    QVERIFY(prompts.callsOf(Kind::Message).empty());
}

void MonBrowserTest::pickOfUnusualFileWarns_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QByteArray>("genre");
    QTest::addColumn<bool>("warns");

    QTest::newRow("text mode") << QByteArray::fromStdString(simpleMon("3", "Text", "Plain", 3, "t")) << QByteArray("Text")
                               << QByteArray("Plain") << false;
    QTest::newRow("graphic mode") << QByteArray::fromStdString(simpleMon("3", "Pictures", "Art", 3, "p", "1"))
                                  << QByteArray("Pictures") << QByteArray("Art") << true;
    QTest::newRow("one line") << QByteArray("5,\"j42\",\"Only\"\r\n") << QByteArray("Only") << QByteArray() << true;
    QTest::newRow("one line without break") << QByteArray("5,\"j42\",\"Bare\"") << QByteArray("Bare") << QByteArray() << true;
}

void MonBrowserTest::pickOfUnusualFileWarns()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, title);
    QFETCH(QByteArray, genre);
    QFETCH(bool, warns);

    TestFolder folder;
    const QString dir = makeFolder(folder, QStringLiteral("quiz"), {{QStringLiteral("pick.mon"), bytes(content)}});

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Button13, Qt::LeftButton);
    form.DirectoryListBox1->setDirectory(dir);
    QVERIFY(clickEntry(*form.FileListBox1, "pick.mon"));

    QCOMPARE(prompts.beeps(), warns ? 1 : 0);
    const std::vector<ScriptedPrompts::Call> messages = prompts.callsOf(Kind::Message);
    QCOMPARE(int(messages.size()), warns ? 1 : 0);
    if (warns) {
        QCOMPARE(prompts.calls().front().kind, Kind::Beep);
        QCOMPARE(messages[0].text, sj(u8"注意！！！この問題集は《グラフィックモード》で、編集対象外です。保存には上書きしないよう充分ご注意下さい。"));
        QCOMPARE(messages[0].messageKind, widgets::MessageKind::Warning);
        QCOMPARE(messages[0].buttons, widgets::MessageButtons::Ok);
    }
    // Listed all the same.
    QCOMPARE(form.state().MonFileCount, 1);
    QCOMPARE(form.StringGrid1->Cells(0, 1), bytes(title));
    QCOMPARE(form.StringGrid1->Cells(1, 1), bytes(genre));
    QCOMPARE(form.StringGrid1->Cells(3, 1), entryPath(dir, "pick.mon"));
    QCOMPARE(form.Edit3->Text(), withMonExtension(dir, "pick"));
    QVERIFY(prompts.errorTexts().empty());
}

void MonBrowserTest::unreadableFolderListsNothing()
{
    if (::geteuid() == 0)
        QSKIP("running as root: a folder without permissions stays readable");

    TestFolder folder;
    const QString dir = makeFolder(folder, QStringLiteral("locked"), {{QStringLiteral("inside.mon"), simpleMon("1", "T", "G", 1, "i")}});
    QVERIFY(!makeFolder(folder, QStringLiteral("locked/sub")).isEmpty());
    QVERIFY(QFile::setPermissions(dir, QFileDevice::Permissions()));
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Button13, Qt::LeftButton);
    form.DirectoryListBox1->setDirectory(dir);

    QCOMPARE(form.DirectoryListBox1->directoryPath(), dir);
    QCOMPARE(form.FileListBox1->directoryPath(), dir);
    QVERIFY(form.FileListBox1->Items().empty());
    QVERIFY(!directoryItem(*form.DirectoryListBox1, dir + QStringLiteral("/sub")));
    // Arrow keys over the empty list pick nothing.
    QTest::keyClick(form.FileListBox1, Qt::Key_Down);
    QCOMPARE(form.state().MonFileCount, 0);
    QVERIFY(prompts.calls().empty());
}

// The editor opens a pick by its Shift-JIS path. "café.mon" would come out as
// "caf?.mon" and open that file instead, so it is not listed; nor is anything inside a
// folder whose own name Shift-JIS cannot hold.
void MonBrowserTest::namesShiftJisCannotHoldAreLeftOut()
{
    TestFolder folder;
    const QString dir = makeFolder(folder, QStringLiteral("quiz"),
                                   {{u"café.mon"_qs, simpleMon("1", "Cafe", "G", 1, "c")},
                                    {u"caf?.mon"_qs, simpleMon("1", "Question", "G", 1, "q")},
                                    {u"\U00020BB7.mon"_qs, simpleMon("1", "Yoshi", "G", 1, "y")},
                                    {u"ok.mon"_qs, simpleMon("1", "Ok", "G", 1, "o")}});
    const QString odd = makeFolder(folder, u"quiz/été"_qs, {{u"in.mon"_qs, simpleMon("1", "In", "G", 1, "i")}});
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Button13, Qt::LeftButton);
    form.DirectoryListBox1->setDirectory(dir);

    QCOMPARE(form.FileListBox1->Items(), (Lines{"caf?.mon", "ok.mon"}));
    QVERIFY(clickEntry(*form.FileListBox1, "caf?.mon"));
    QCOMPARE(form.StringGrid1->Cells(0, 1), std::string("Question"));

    form.DirectoryListBox1->setDirectory(odd);
    QVERIFY(form.FileListBox1->Items().empty());
    QVERIFY(prompts.errorTexts().empty());
}

void MonBrowserTest::driveListReturnsToRememberedDirectory()
{
    TestFolder folder;
    const QString dir = makeFolder(folder, QStringLiteral("quiz"), {{QStringLiteral("here.mon"), simpleMon("1", "T", "G", 1, "h")}});
    if (widgets::DriveList::driveOf(dir) != QDir::rootPath())
        QSKIP("the temporary folder is not on the root drive");

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Button13, Qt::LeftButton);

    widgets::DriveList& drives = *form.DriveComboBox1;
    QVERIFY(drives.count() >= 1);
    QCOMPARE(drives.itemData(0).toString(), QDir::rootPath());
    QCOMPARE(drives.itemText(0), QStringLiteral("/"));

    form.DirectoryListBox1->setDirectory(dir);
    QCOMPARE(form.FileListBox1->Items(), Lines{"here.mon"});

    int other = -1;
    for (int i = 1; i < drives.count() && other < 0; ++i)
        if (QFileInfo(drives.itemData(i).toString()).isDir() && widgets::DriveList::driveOf(dir) != drives.itemData(i).toString())
            other = i;

    if (other < 0)
        QSKIP("a single drive: there is no other drive to come back from");

    // A drive not shown before: its root.
    const QString otherRoot = QDir::cleanPath(drives.itemData(other).toString());
    drives.setCurrentIndex(other);
    QCOMPARE(form.DirectoryListBox1->directoryPath(), otherRoot);
    QCOMPARE(form.FileListBox1->directoryPath(), otherRoot);

    // Back to the root drive with the keyboard: the directory it showed last.
    QTest::keyClick(&drives, Qt::Key_Home);
    QCOMPARE(drives.currentIndex(), 0);
    QCOMPARE(form.DirectoryListBox1->directoryPath(), dir);
    QCOMPARE(form.FileListBox1->directoryPath(), dir);
    QCOMPARE(form.FileListBox1->Items(), Lines{"here.mon"});
    QCOMPARE(form.state().MonFileCount, 0);
    QVERIFY(prompts.calls().empty());
}

QTEST_MAIN(MonBrowserTest)
#include "MonBrowserTest.moc"
