// Files dropped on the window: real drag-enter, drag-move and drop events carrying file
// URLs; and the same files named on the command line. An accepted drop must leave the window
// exactly as the load button leaves it for the same files; a refused one must leave it
// untouched and say why.

#include "app/TForm1.h"
#include "app/WindowTexts.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "text/Messages.h"
#include "widgets/Button.h"
#include "widgets/DirectoryList.h"
#include "widgets/HelpMemo.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/grid/StringGrid.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QTableView>
#include <QtTest>

#include <string>
#include <vector>

#include <sys/stat.h>

using support::ScriptedPrompts;
using support::TestFolder;

namespace {

using Lines = std::vector<std::string>;

// Everything loading can change that a user sees or a later step uses.
Lines snapshot(const app::TForm1& form)
{
    Lines seen;
    for (const widgets::StringGrid* grid : {form.StringGrid1, form.StringGrid2})
        for (int row = 0; row < grid->RowCount(); ++row)
            for (int col = 0; col < grid->ColCount(); ++col)
                seen.push_back(grid->Cells(col, row));
    for (const widgets::LineEdit* edit : {form.Edit3, form.Edit4, form.Edit5, form.Edit6, form.Edit7, form.Edit8})
        seen.push_back(edit->Text());
    const Lines memo = form.RichEdit1->Lines();
    seen.insert(seen.end(), memo.begin(), memo.end());
    seen.push_back(form.Memo2->Text());
    seen.push_back(form.DirectoryListBox1->isVisible() ? "browser shown" : "browser hidden");
    seen.push_back(form.SaveDialog1.fileName + " / " + std::to_string(form.SaveDialog1.filterIndex));
    return seen;
}

// Adds the first genre-table row's questions, which reads the bank a drop has opened.
void selectFirstRow(widgets::StringGrid& grid)
{
    const int col = grid.Row() == 1 && grid.Col() == 1 ? 2 : 1;
    const QRect cell = grid.view()->visualRect(grid.view()->model()->index(0, col - 1));
    QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cell.center());
}

bool isBank(const QString& name)
{
    return name.endsWith(QLatin1String(".5tq"), Qt::CaseInsensitive);
}

// Drags `urls` over `target` and drops them as a file manager would. Returns whether the
// drag was taken.
bool dragAndDrop(QWidget& target, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint at(4, 4);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at + QPoint(2, 2), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &move);
    if (!move.isAccepted())
        return false;
    QDropEvent drop(QPointF(at + QPoint(2, 2)), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    QCoreApplication::sendPostedEvents();
    return drop.isAccepted();
}

} // namespace

class FileDropTest : public QObject {
    Q_OBJECT

private slots:
    void dropLoadsAsLoadButton_data();
    void dropLoadsAsLoadButton();
};

enum Refusal { kLoaded, kNotAFileDrag, kUnreadableFile, kBankAmongSeveral, kCannotRead };

void FileDropTest::dropLoadsAsLoadButton_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("browserFirst");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<QStringList>("genres"); // genre-table column 1, rows 1 to 8, when loaded
    QTest::addColumn<QString>("onto");       // the control under the mouse; empty: bare window;
                                             // "command line": named there, relative to the folder

    QStringList nine;
    for (int n = 1; n <= 9; ++n)
        nine << QStringLiteral("G%1.mon").arg(n);
    const QStringList bankGenres{"First", "Second", "", "", "", "", "", ""};

    QTest::newRow("bank") << QStringList{"B.5TQ"} << false << int(kLoaded) << bankGenres << QString();
    QTest::newRow("bank while the browser shows") << QStringList{"B.5TQ"} << true << int(kLoaded) << bankGenres << QString();
    QTest::newRow("bank, mixed-case extension") << QStringList{"B.5tQ"} << false << int(kLoaded) << bankGenres << QString();
    QTest::newRow("mon file") << QStringList{"G1.mon"} << false << int(kLoaded)
                              << QStringList{"G1", "", "", "", "", "", "", ""} << QString();
    QTest::newRow("mon file, upper-case extension") << QStringList{"G1.MON"} << true << int(kLoaded)
                                                    << QStringList{"G1", "", "", "", "", "", "", ""} << QString();
    QTest::newRow("three mon files in order") << QStringList{"G3.mon", "G1.mon", "G2.Mon"} << false << int(kLoaded)
                                              << QStringList{"G3", "G1", "G2", "", "", "", "", ""} << QString();
    QTest::newRow("nine mon files: the ninth starts afresh") << nine << false << int(kLoaded)
                                                             << QStringList{"G9", "", "", "", "", "", "", ""} << QString();
    QTest::newRow("two banks") << QStringList{"B.5TQ", "C.5TQ"} << false << int(kBankAmongSeveral) << QStringList{} << QString();
    QTest::newRow("a bank with a mon file") << QStringList{"G1.mon", "B.5TQ"} << false << int(kBankAmongSeveral)
                                            << QStringList{} << QString();
    QTest::newRow("text file") << QStringList{"notes.txt"} << false << int(kUnreadableFile) << QStringList{} << QString();
    QTest::newRow("text file among mon files") << QStringList{"G1.mon", "notes.txt", "G2.mon"} << false
                                               << int(kUnreadableFile) << QStringList{} << QString();
    QTest::newRow("file without extension") << QStringList{"mon"} << false << int(kUnreadableFile) << QStringList{} << QString();
    QTest::newRow("mon files onto the memo pad") << QStringList{"G1.mon", "G2.mon"} << false << int(kLoaded)
                                                 << QStringList{"G1", "G2", "", "", "", "", "", ""} << QString("memo");
    QTest::newRow("bank onto the title field") << QStringList{"B.5TQ"} << false << int(kLoaded) << bankGenres
                                               << QString("title");
    QTest::newRow("text file onto the memo pad") << QStringList{"notes.txt"} << false << int(kUnreadableFile)
                                                 << QStringList{} << QString("memo");
    // Checked whole before anything changes: the error names each file that cannot be read.
    QTest::newRow("a folder and a FIFO named like files among mon files")
        << QStringList{"G1.mon", "folder.mon/", "G2.mon", "pipe.mon|"} << false << int(kCannotRead) << QStringList{}
        << QString();
    QTest::newRow("a FIFO named like a bank") << QStringList{"pipe.5TQ|"} << false << int(kCannotRead) << QStringList{}
                                              << QString();
    QTest::newRow("web link") << QStringList{} << false << int(kNotAFileDrag) << QStringList{} << QString();
    const QString commandLine = QStringLiteral("command line");
    QTest::newRow("command line: bank") << QStringList{"B.5TQ"} << false << int(kLoaded) << bankGenres << commandLine;
    QTest::newRow("command line: mon files in order") << QStringList{"G2.MON", "G1.mon"} << false << int(kLoaded)
                                                      << QStringList{"G2", "G1", "", "", "", "", "", ""} << commandLine;
    QTest::newRow("command line: a bank with a mon file") << QStringList{"G1.mon", "B.5TQ"} << false
                                                          << int(kBankAmongSeveral) << QStringList{} << commandLine;
    QTest::newRow("command line: text file among mon files") << QStringList{"G1.mon", "notes.txt"} << false
                                                             << int(kUnreadableFile) << QStringList{} << commandLine;
    QTest::newRow("command line: a folder named like a bank") << QStringList{"folder.5TQ/"} << false << int(kCannotRead)
                                                              << QStringList{} << commandLine;
    // A name typed by hand is told what the system found before the kind of file is asked for.
    QTest::newRow("command line: a folder") << QStringList{"folder/"} << false << int(kCannotRead) << QStringList{}
                                            << commandLine;
    QTest::newRow("command line: a missing file and a FIFO among mon files")
        << QStringList{"G1.mon", "gone.txt!", "pipe|"} << false << int(kCannotRead) << QStringList{} << commandLine;
    QTest::newRow("command line: two banks") << QStringList{"B.5TQ", "C.5TQ"} << false << int(kBankAmongSeveral)
                                             << QStringList{} << commandLine;
}

void FileDropTest::dropLoadsAsLoadButton()
{
    QFETCH(QStringList, names);
    QFETCH(bool, browserFirst);
    QFETCH(int, refusal);
    QFETCH(QStringList, genres);
    QFETCH(QString, onto);

    TestFolder folder;
    QList<QUrl> urls;
    for (QString name : names) {
        // "name/" is a folder, "name|" a FIFO, "name!" missing.
        if (name.endsWith(u'!')) {
            urls << QUrl::fromLocalFile(folder.path(name.chopped(1)));
            continue;
        }
        if (name.endsWith(u'/') || name.endsWith(u'|')) {
            const QString path = folder.path(name.chopped(1));
            if (name.endsWith(u'/'))
                QDir().mkpath(path);
            else
                QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            urls << QUrl::fromLocalFile(path);
            continue;
        }
        const std::string stem = QFileInfo(name).baseName().toStdString();
        std::string bytes;
        if (isBank(name))
            bytes = support::bankBytes({support::numberedGenre(1, 3, "First"), support::numberedGenre(2, 2, "Second")});
        else if (name.endsWith(QLatin1String(".mon"), Qt::CaseInsensitive))
            bytes = support::monText("1", "T" + stem, stem, {{"A" + stem, "Q" + stem}});
        else
            bytes = "plain text\r\n";
        urls << QUrl::fromLocalFile(folder.write(name, bytes));
    }
    if (refusal == kNotAFileDrag)
        urls << QUrl(QStringLiteral("https://example.org/G1.mon"));

    ScriptedPrompts dropPrompts;
    app::TForm1 dropped(&dropPrompts);
    ScriptedPrompts clickPrompts;
    app::TForm1 clicked(&clickPrompts);
    for (app::TForm1* form : {&dropped, &clicked}) {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        if (browserFirst)
            QTest::mouseClick(form->Button13, Qt::LeftButton);
    }
    const Lines before = snapshot(dropped);

    if (onto == QLatin1String("command line")) {
        // Names relative to the folder the editor starts in, as a shell passes them; read once
        // the window is up.
        QStringList names;
        for (const QUrl& url : urls)
            names << QFileInfo(url.toLocalFile()).fileName();
        const QString started = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path(QString())));
        dropped.openFilesLater(names);
        QVERIFY(QDir::setCurrent(started));
        QCOMPARE(snapshot(dropped), before);
        QCoreApplication::sendPostedEvents();
    } else {
        // Fields and the memo pad take dropped text; a file drag still goes to the window.
        QWidget* target = &dropped;
        if (onto == QLatin1String("memo"))
            target = dropped.RichEdit1->viewport();
        else if (onto == QLatin1String("title"))
            target = dropped.Edit4;
        // A refused drop tells the program the files came from that it was not taken.
        QCOMPARE(dragAndDrop(*target, urls), refusal == kLoaded);
    }

    if (refusal != kLoaded) {
        QCOMPARE(snapshot(dropped), before);
        const std::vector<ScriptedPrompts::Call> boxes = dropPrompts.callsOf(ScriptedPrompts::Kind::Message);
        if (refusal == kCannotRead) {
            // Each named with what the system found.
            std::string named;
            for (const QUrl& url : urls) {
                const QFileInfo entry(url.toLocalFile());
                if (entry.isFile())
                    continue;
                const std::string& reason = !entry.exists() ? app::texts::kFileMissing
                                            : entry.isDir() ? app::texts::kFileIsFolder
                                                            : app::texts::kFileNotRegular;
                named += (named.empty() ? "" : "\r\n") + text::formatMessage(reason, {TestFolder::bytesOf(url.toLocalFile())});
            }
            QCOMPARE(dropPrompts.errorTexts().size(), std::size_t(1));
            QCOMPARE(QByteArray::fromStdString(dropPrompts.errorTexts().front()), QByteArray::fromStdString(named + "."));
            return;
        }
        QCOMPARE(dropPrompts.beeps(), refusal == kNotAFileDrag ? 0 : 1);
        QCOMPARE(boxes.size(), refusal == kNotAFileDrag ? 0u : 1u);
        if (refusal == kUnreadableFile) {
            QCOMPARE(boxes[0].messageKind, widgets::MessageKind::Information);
            // Named by its full path, the first file neither reader takes.
            QString refused;
            for (const QString& name : names)
                if (refused.isEmpty() && !isBank(name) && !name.endsWith(QLatin1String(".mon"), Qt::CaseInsensitive))
                    refused = folder.path(name);
            // The advice fits the road: drop, or name on the command line.
            const bool named = onto == QLatin1String("command line");
            QCOMPARE(boxes[0].text, text::formatMessage(named ? app::texts::kCannotName : app::texts::kCannotDrop,
                                                        {TestFolder::bytesOf(refused)}));
        } else if (refusal == kBankAmongSeveral) {
            QCOMPARE(boxes[0].text, onto == QLatin1String("command line") ? app::texts::kOneBankOnlyNamed : app::texts::kOneBankOnly);
        }
        QVERIFY(dropPrompts.errorTexts().empty());
        return;
    }

    // The same files through the load button, one press each, with the filter of their kind.
    for (const QUrl& url : urls) {
        clickPrompts.acceptOpen(TestFolder::bytesOf(url.toLocalFile()), isBank(url.toLocalFile()) ? 1 : 2);
        QTest::mouseClick(clicked.Button1, Qt::LeftButton);
    }
    QCOMPARE(snapshot(dropped), snapshot(clicked));
    for (int row = 1; row <= 8; ++row)
        QCOMPARE(QString::fromStdString(dropped.StringGrid1->Cells(1, row)), genres[row - 1]);
    QCOMPARE(dropped.StringGrid1->Cells(0, 0), isBank(names.front()) ? app::texts::kBankMarker : app::texts::kMonMarker);
    if (isBank(names.front()))
        QVERIFY(!dropped.DirectoryListBox1->isVisible());

    // The bank stays open and the listed files stay listed: a genre row adds its questions.
    selectFirstRow(*dropped.StringGrid1);
    selectFirstRow(*clicked.StringGrid1);
    QCOMPARE(snapshot(dropped), snapshot(clicked));
    QCOMPARE(dropped.StringGrid2->RowCount(), isBank(names.front()) ? 5 : 3);
    QVERIFY(dropPrompts.errorTexts().empty());
    QVERIFY(dropPrompts.unexpected().empty());
    QCOMPARE(dropPrompts.beeps(), 0);
}

QTEST_MAIN(FileDropTest)
#include "FileDropTest.moc"
