// Every action a user can take, timed once at the largest sizes the editor takes, run by hand:
//   QT_QPA_PLATFORM=offscreen ./bench_actions [largestBank|longestQuestions|mostQuestions]
// One line per action: the time of its event with the repaint that follows it, marked OVER
// where it passes the bound of 0.5 s for any one event. The actions are the action player's (tests/support/
// ActionPlayer.cpp), driven the same way: clicks, keys, drops and the scripted dialogs, on
// - the question table holding all eight genres of the largest bank (524,280 rows),
// - the largest mon file of the longest questions (5 MiB, 16 KiB a question),
// - the mon file of the most questions taken (60,300 one-line questions).
// A row or column move is made as the end of a drag makes it (StringGrid::moveRow), since
// no drag reaches from the first row to the 524,280th.
// After each action the work is kept as the window keeps it once the change settles: the
// time the window's thread spends on it (the picture handed to the writer) is printed as
// "keep" (the longest of its slices, bounded by 16 ms; "cpu" is the window's thread's processor
// time for all of them), and the time until it is on disk (the writer's thread) as "written". At the end
// of the largest bank, its work is restored into a fresh window, bounded by 1 s.

#include "LargestInputs.h"

#include "app/TForm1.h"
#include "app/find/FindBar.h"
#include "app/find/FoldedText.h"
#include "app/find/QuestionIndex.h"
#include "app/recovery/WorkRecovery.h"
#include "codec/ShiftJis.h"
#include "support/ControlDriver.h"
#include "support/ScriptedPrompts.h"
#include "widgets/Button.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/Progress.h"
#include "widgets/Prompts.h"
#include "widgets/grid/StringGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

namespace {

constexpr double kBoundMs = 500;
constexpr double kKeepBoundMs = 16;
constexpr double kRestoreBoundMs = 1000;

// A progress report that keeps the longest wait between two reports (the window is painted,
// and the stop button heard, at each of them).
class WaitingProgress final : public widgets::Progress {
public:
    explicit WaitingProgress(double& longestMs) : m_longestMs(longestMs) { m_timer.start(); }
    bool advance(int, int) override
    {
        m_longestMs = std::max(m_longestMs, double(m_timer.nsecsElapsed()) / 1e6);
        m_timer.restart();
        return true;
    }

private:
    double& m_longestMs;
    QElapsedTimer m_timer;
};

// The scripted dialogs, with a progress that measures its waits.
class BenchPrompts final : public widgets::Prompts {
public:
    support::ScriptedPrompts script;
    double longestWaitMs = 0;

    bool execOpen(widgets::OpenDialog& dialog) override { return script.execOpen(dialog); }
    bool execSave(widgets::SaveDialog& dialog) override { return script.execSave(dialog); }
    bool execPrint(widgets::PrintDialog& dialog, QPrinter& printer) override { return script.execPrint(dialog, printer); }
    bool execFont(widgets::FontDialog& dialog) override { return script.execFont(dialog); }
    widgets::MessageAnswer messageBox(std::string_view text, widgets::MessageKind kind, widgets::MessageButtons buttons) override
    {
        return script.messageBox(text, kind, buttons);
    }
    void errorBox(std::string_view message) override { script.errorBox(message); }
    void beep() override { script.beep(); }
    std::unique_ptr<widgets::Progress> progress(std::string_view) override
    {
        longestWaitMs = 0;
        return std::make_unique<WaitingProgress>(longestWaitMs);
    }
};

// The window with its scripted dialogs and a folder for what it writes.
struct Window {
    QTemporaryDir dir;
    BenchPrompts dialogs;
    support::ScriptedPrompts& prompts = dialogs.script;
    app::TForm1 form{&dialogs};
    widgets::StringGrid& table = *form.StringGrid2;
    std::unique_ptr<app::recovery::WorkRecovery> recovery;

    explicit Window(const QString& keptIn = QString())
    {
        recovery = std::make_unique<app::recovery::WorkRecovery>(form, keptIn.isEmpty() ? dir.filePath("state") : keptIn);
        form.show();
        QApplication::setActiveWindow(&form);
        if (!QTest::qWaitForWindowExposed(&form))
            qFatal("the window did not show");
    }
    int questions() const { return table.RowCount() - 2; }
};

// The time a second index of the question table (duplicate marks and find text) takes in
// each change of the table: its own work alone, between two slots connected around it,
// summed over the changes of one action.
class IndexProbe final {
public:
    explicit IndexProbe(widgets::StringGrid& table)
    {
        const QAbstractItemModel* model = table.view()->model();
        connectAll(model, [this] { m_timer.start(); });
        QElapsedTimer built;
        built.start();
        index = std::make_unique<app::find::QuestionIndex>(table);
        while (!index->marksSettled())
            QApplication::processEvents();
        builtMs = double(built.nsecsElapsed()) / 1e6;
        connectAll(model, [this] { ms += double(m_timer.nsecsElapsed()) / 1e6; });
    }
    std::unique_ptr<app::find::QuestionIndex> index;
    double builtMs = 0;
    double ms = 0;

private:
    template <typename Slot>
    void connectAll(const QAbstractItemModel* model, Slot slot)
    {
        using Model = QAbstractItemModel;
        QObject::connect(model, &Model::rowsInserted, &m_context, slot);
        QObject::connect(model, &Model::rowsRemoved, &m_context, slot);
        QObject::connect(model, &Model::rowsMoved, &m_context, slot);
        QObject::connect(model, &Model::columnsMoved, &m_context, slot);
        QObject::connect(model, &Model::dataChanged, &m_context, slot);
        QObject::connect(model, &Model::modelReset, &m_context, slot);
        QObject::connect(model, &Model::layoutChanged, &m_context, slot);
    }

    QObject m_context;
    QElapsedTimer m_timer;
};
IndexProbe* g_probe = nullptr;
// The processor time of the window's thread (another program's load does not count in it).
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Runs `action` as one event and prints its time with the repaint it set off.
int g_over = 0;
void timed(Window& window, const std::string& what, const std::function<void()>& action)
{
    QApplication::processEvents();
    if (g_probe)
        g_probe->ms = 0;
    QElapsedTimer timer;
    timer.start();
    action();
    QApplication::processEvents();
    window.form.repaint();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const bool over = ms > kBoundMs;
    g_over += over ? 1 : 0;
    // With a second index on the table, its share of the time: the window's own index takes
    // as much.
    std::string index = g_probe && g_probe->ms >= 0.05 ? " [an index: " + std::to_string(int(g_probe->ms)) + " ms]" : "";
    const auto settled = [&] { return window.form.questionIndex().marksSettled() && (!g_probe || g_probe->index->marksSettled()); };
    if (!settled()) {
        // A change larger than a genre is keyed in slices: the time until its marks are right.
        QElapsedTimer settling;
        settling.start();
        double longest = 0;
        while (!settled()) {
            QElapsedTimer one;
            one.start();
            QApplication::processEvents();
            longest = std::max(longest, double(one.nsecsElapsed()) / 1e6);
        }
        index += " [marks right " + std::to_string(int(double(settling.nsecsElapsed()) / 1e6)) + " ms later, longest event "
                 + std::to_string(int(longest)) + " ms]";
    }
    // The picture is taken in slices between events, as the window's event loop runs them.
    timer.restart();
    const double cpuBefore = threadCpuMs();
    window.recovery->keepChanges();
    while (window.recovery->taking())
        QApplication::processEvents();
    const double keepCpuMs = threadCpuMs() - cpuBefore;
    const double keepMs = window.recovery->longestSliceMs();
    const bool kept = window.recovery->settle();
    const double writtenMs = double(timer.nsecsElapsed()) / 1e6;
    const bool keepOver = keepMs > kKeepBoundMs || !kept;
    g_over += keepOver ? 1 : 0;
    std::printf("%9.1f ms%s  keep %5.1f ms%s (cpu %5.1f) written %7.1f ms  %s%s\n", ms, over ? " OVER" : "     ",
                keepMs, keepOver ? " OVER" : "     ", keepCpuMs, writtenMs, what.c_str(), index.c_str());
    std::fflush(stdout);
}

void key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(target, key, modifiers);
}

void tableKey(Window& window, Qt::Key k, Qt::KeyboardModifiers modifiers = {})
{
    window.table.view()->setFocus();
    key(window.table.view(), k, modifiers);
}

void drop(Window& window, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint at(40, 40);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window.form, &enter);
    QDropEvent dropped(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window.form, &dropped);
}

// Types `text` into a field key by key; each key is its own event, the slowest is printed.
void typeTimed(Window& window, widgets::LineEdit& edit, const QString& text, const std::string& what)
{
    edit.setFocus();
    key(&edit, Qt::Key_A, Qt::ControlModifier);
    double worst = 0;
    for (const QChar c : text) {
        QElapsedTimer timer;
        timer.start();
        QTest::keyClicks(&edit, QString(c));
        QApplication::processEvents();
        window.form.repaint();
        worst = std::max(worst, double(timer.nsecsElapsed()) / 1e6);
    }
    const bool over = worst > kBoundMs;
    g_over += over ? 1 : 0;
    std::printf("%9.1f ms%s  %s (the slowest key)\n", worst, over ? " OVER" : "     ", what.c_str());
}

// A cell edit as a user makes it: the cell double-clicked (editing on), a letter typed,
// Return stores it; then Ctrl+Z and Ctrl+Y.
void editCell(Window& window, int row, const std::string& which)
{
    widgets::StringGrid& table = window.table;
    QTableView* view = table.view();
    view->scrollTo(view->model()->index(row - 1, 1));
    QApplication::processEvents();
    const QPoint at = support::cellCenter(table, 2, row);
    timed(window, "double-click the answer of " + which + " (editing on)",
          [&] { support::realDoubleClick(view->viewport(), at); });
    if (!table.inplaceEditor())
        key(view, Qt::Key_F2);
    if (!table.inplaceEditor())
        qFatal("no cell editor opened");
    QTest::keyClicks(table.inplaceEditor(), QStringLiteral("x"));
    const std::string before = table.Cells(2, row);
    timed(window, "store the edit of " + which + " (Return)", [&] { key(table.inplaceEditor(), Qt::Key_Return); });
    if (table.Cells(2, row) == before)
        qFatal("the edit was not stored");
    timed(window, "Ctrl+Z of that edit", [&] { tableKey(window, Qt::Key_Z, Qt::ControlModifier); });
    timed(window, "Ctrl+Y of that edit", [&] { tableKey(window, Qt::Key_Y, Qt::ControlModifier); });
}

void checkRows(const Window& window, int rows, const char* after)
{
    if (window.questions() != rows)
        qFatal("%d rows after %s, expected %d", window.questions(), after, rows);
}

// Every action on the table as it stands; `source` is the file its rows came from, dropped
// again at the end, with the filter it is read by.
void everyAction(Window& window, const QString& source, int filterIndex)
{
    app::TForm1& form = window.form;
    widgets::StringGrid& table = window.table;
    const int rows = window.questions();
    const std::string last = std::to_string(rows);

    timed(window, "hover over a question (help text)",
          [&] { support::hover(table.view()->viewport(), support::cellCenter(table, 1, 1)); });

    timed(window, "④ clear " + std::to_string(rows) + " rows", [&] { QTest::mouseClick(form.Button4, Qt::LeftButton); });
    checkRows(window, 0, "④");
    timed(window, "Ctrl+Z of ④", [&] { tableKey(window, Qt::Key_Z, Qt::ControlModifier); });
    checkRows(window, rows, "the undo of ④");
    timed(window, "Ctrl+Y of ④", [&] { tableKey(window, Qt::Key_Y, Qt::ControlModifier); });
    checkRows(window, 0, "the redo of ④");
    tableKey(window, Qt::Key_Z, Qt::ControlModifier);
    checkRows(window, rows, "the undo of ④");

    timed(window, "move row 1 to the last", [&] { table.moveRow(1, rows); });
    if (!form.Button7->isVisible())
        qFatal("付番更新 is not shown after a move");
    timed(window, "付番更新 of " + std::to_string(rows) + " rows", [&] { QTest::mouseClick(form.Button7, Qt::LeftButton); });
    if (table.Cells(0, rows) != last || table.Cells(0, 1) != "1")
        qFatal("付番更新 did not renumber");
    timed(window, "Ctrl+Z of 付番更新", [&] { tableKey(window, Qt::Key_Z, Qt::ControlModifier); });
    timed(window, "Ctrl+Y of 付番更新", [&] { tableKey(window, Qt::Key_Y, Qt::ControlModifier); });
    if (table.Cells(0, rows) != last)
        qFatal("the redo of 付番更新 did not renumber");
    timed(window, "move the last row to the first", [&] { table.moveRow(rows, 1); });
    timed(window, "Ctrl+Z of that move", [&] { tableKey(window, Qt::Key_Z, Qt::ControlModifier); });
    timed(window, "Ctrl+Y of that move", [&] { tableKey(window, Qt::Key_Y, Qt::ControlModifier); });
    timed(window, "付番更新 again", [&] { QTest::mouseClick(form.Button7, Qt::LeftButton); });

    timed(window, "move a column (問題 after 正解)", [&] { table.moveColumn(1, 2); });
    timed(window, "Ctrl+Z of the column move", [&] { tableKey(window, Qt::Key_Z, Qt::ControlModifier); });
    timed(window, "Ctrl+Y of the column move", [&] { tableKey(window, Qt::Key_Y, Qt::ControlModifier); });
    tableKey(window, Qt::Key_Z, Qt::ControlModifier);

    editCell(window, 1, "the first row");
    editCell(window, rows, "the last row");
    timed(window, "scroll to the top (Ctrl+Home)", [&] { tableKey(window, Qt::Key_Home, Qt::ControlModifier); });

    const int from = std::max(1, rows - 299);
    typeTimed(window, *form.Edit6, QString::number(from), "type the range start " + std::to_string(from));
    typeTimed(window, *form.Edit8, QString::number(rows), "type the range end " + last);
    if (form.Edit7->Text() != std::to_string(rows - from + 1))
        qFatal("the count field shows %s", form.Edit7->Text().c_str());
    timed(window, "⑦ convert the last " + std::to_string(rows - from + 1) + " rows",
          [&] { QTest::mouseClick(form.Button5, Qt::LeftButton); });
    if (form.RichEdit1->Count() < rows - from + 3)
        qFatal("the conversion wrote %d lines", form.RichEdit1->Count());
    const QString saved = window.dir.filePath(QStringLiteral("saved.mon"));
    window.prompts.acceptSave(sjis::fromUnicode(saved).bytes, 1);
    timed(window, "⑨ save", [&] { QTest::mouseClick(form.Button6, Qt::LeftButton); });
    if (!QFileInfo(saved).isFile())
        qFatal("nothing was saved");
    window.prompts.answer(widgets::MessageAnswer::Yes);  // blank lines between the questions
    timed(window, "一覧表示 of the converted rows", [&] { QTest::mouseClick(form.Button12, Qt::LeftButton); });
    window.prompts.acceptPrint(window.dir.filePath(QStringLiteral("listing.pdf")));
    timed(window, "印刷 of the listing (to a PDF)", [&] { QTest::mouseClick(form.Button11, Qt::LeftButton); });
    std::printf("%9.1f ms       the longest wait between two reports of the printing's progress\n",
                window.dialogs.longestWaitMs);
    timed(window, "Zelqua用読込 (the folder browser shown)", [&] { QTest::mouseClick(form.Button13, Qt::LeftButton); });
    timed(window, "Zelqua用読込 again (hidden)", [&] { QTest::mouseClick(form.Button13, Qt::LeftButton); });

    window.prompts.acceptOpen(sjis::fromUnicode(source).bytes, filterIndex);
    timed(window, "① read the file again", [&] { QTest::mouseClick(form.Button1, Qt::LeftButton); });
    timed(window, "drop the file on the window", [&] { drop(window, {QUrl::fromLocalFile(source)}); });
    timed(window, "drop the saved mon file on the window", [&] { drop(window, {QUrl::fromLocalFile(saved)}); });
    timed(window, "add the saved mon file (its genre-table row)", [&] { support::clickRow(*form.StringGrid1, 1); });
    window.prompts.clearRecords();
}

// Finding (Ctrl+F) over the whole table and the duplicate marks, as the eighth genre is
// taken back and the first genre added again in its place.
void findAndMarks(Window& window, IndexProbe& probe)
{
    app::TForm1& form = window.form;
    app::find::QuestionIndex& index = form.questionIndex();
    const std::string rows = std::to_string(window.questions());

    tableKey(window, Qt::Key_Home, Qt::ControlModifier);
    timed(window, "Ctrl+F (the find bar opens)", [&] { key(&form, Qt::Key_F, Qt::ControlModifier); });
    QElapsedTimer folding;
    folding.start();
    double longest = 0;
    while (!index.findingReady()) {
        QElapsedTimer one;
        one.start();
        QApplication::processEvents();
        longest = std::max(longest, double(one.nsecsElapsed()) / 1e6);
    }
    std::printf("%9.1f ms       the find text of %s rows folded while the window goes on; longest event %.1f ms\n",
                double(folding.nsecsElapsed()) / 1e6, rows.c_str(), longest);
    // The index's search alone, without the window: a query of one digit matches in most
    // rows; the longer one narrows the first one's cells.
    for (const QString& query : {QStringLiteral("6"), QStringLiteral("65534")}) {
        QElapsedTimer search;
        search.start();
        const std::vector<app::find::CellAt> found = index.find(app::find::folded(query));
        const double wholeMs = double(search.nsecsElapsed()) / 1e6;
        search.restart();
        const std::vector<app::find::CellAt> narrowed = index.find(app::find::folded(query + u'3'), found);
        std::printf("%9.1f ms       the index alone finds \"%s\" in %zu cells; %.1f ms for \"%s3\" among them\n", wholeMs,
                    query.toLocal8Bit().constData(), found.size(), double(search.nsecsElapsed()) / 1e6,
                    query.toLocal8Bit().constData());
    }
    app::find::FindBar& bar = *form.findBar();
    QLineEdit* field = bar.field();
    double worst = 0;
    for (const QChar c : QStringLiteral("65534")) {
        QElapsedTimer timer;
        timer.start();
        QTest::keyClicks(field, QString(c));
        QApplication::processEvents();
        form.repaint();
        worst = std::max(worst, double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%9.1f ms       type \"65534\" into the find field (the slowest key; %s)\n", worst,
                bar.status().toLocal8Bit().constData());
    timed(window, "Backspace in the find field (the whole table searched again)", [&] { key(field, Qt::Key_Backspace); });
    timed(window, "F3 (the next match)", [&] { key(field, Qt::Key_F3); });
    timed(window, "Shift+F3 twice (the previous match, wrapping)", [&] {
        key(field, Qt::Key_F3, Qt::ShiftModifier);
        key(field, Qt::Key_F3, Qt::ShiftModifier);
    });
    field->selectAll();
    timed(window, "the input method commits \"６５５３４\" (full-width) over it", [&] {
        QInputMethodEvent typed;
        typed.setCommitString(QStringLiteral("６５５３４"));
        QApplication::sendEvent(field, &typed);
    });
    std::printf("                 %s\n", bar.status().toLocal8Bit().constData());
    timed(window, "F8 with no duplicate in " + rows + " rows", [&] { key(field, Qt::Key_F8); });

    timed(window, "Ctrl+Z of the eighth genre", [&] { tableKey(window, Qt::Key_Z, Qt::ControlModifier); });
    timed(window, "add the first genre again as the eighth (65,535 pairs marked)",
          [&] { support::clickRow(*form.StringGrid1, 1); });
    if (index.duplicateRows() != 2 * bench::kGenreRecords || probe.index->duplicateRows() != 2 * bench::kGenreRecords)
        qFatal("%d rows marked, expected %d", index.duplicateRows(), 2 * bench::kGenreRecords);
    timed(window, "F8 (the next duplicate)", [&] { key(&form, Qt::Key_F8); });
    timed(window, "Ctrl+Z of that add (the marks go)", [&] { tableKey(window, Qt::Key_Z, Qt::ControlModifier); });
    if (index.duplicateRows() != 0)
        qFatal("%d rows still marked", index.duplicateRows());
    bar.close();
    support::clickRow(*form.StringGrid1, 8);
    checkRows(window, 8 * bench::kGenreRecords, "eight genres again");
}

class ActionBench final : public QObject {
    Q_OBJECT

private slots:
    void largestBank()
    {
        Window window;
        const QString bank = bench::writeLargestBank(window.dir);
        window.prompts.acceptOpen(sjis::fromUnicode(bank).bytes, 1);
        g_over = 0;
        std::printf("the largest bank (8 x 65,535 records):\n");
        timed(window, "① read the bank", [&] { QTest::mouseClick(window.form.Button1, Qt::LeftButton); });
        for (int genre = 1; genre <= 7; ++genre)
            support::clickRow(*window.form.StringGrid1, genre);
        checkRows(window, 7 * bench::kGenreRecords, "seven genres");
        IndexProbe probe(window.table);
        g_probe = &probe;
        std::printf("%9.1f ms       the duplicate marks of 458,745 rows counted afresh (an index alone, in slices)\n", probe.builtMs);
        timed(window, "add the eighth genre to 458,745 rows", [&] { support::clickRow(*window.form.StringGrid1, 8); });
        checkRows(window, 8 * bench::kGenreRecords, "eight genres");
        findAndMarks(window, probe);
        everyAction(window, bank, 1);

        // Killed: the work stays; a fresh window restores it.
        const std::vector<std::string> before = support::allCells(window.table);
        window.recovery.reset();
        Window restored(window.dir.filePath("state"));
        restored.prompts.answer(widgets::MessageAnswer::Yes);
        QElapsedTimer timer;
        timer.start();
        restored.recovery->offerLeftovers();
        restored.form.repaint();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        const bool over = ms > kRestoreBoundMs;
        g_over += over ? 1 : 0;
        std::printf("%9.1f ms%s  restore the work of %d rows into a fresh window\n", ms, over ? " OVER" : "     ",
                    restored.questions());
        if (support::allCells(restored.table) != before)
            qFatal("the restored table differs");
        std::printf("%d events over the bound\n", g_over);
        g_probe = nullptr;
    }

    void longestQuestions() { monFile("longest.mon", bench::longestQuestionsMonText(), "5 MiB of 16 KiB questions"); }
    void mostQuestions() { monFile("most.mon", bench::mostQuestionsMonText(), "the most lines taken, one-line questions"); }

private:
    void monFile(const char* name, const std::string& text, const char* what)
    {
        Window window;
        const QString path = bench::writeFile(window.dir, QString::fromLatin1(name), text);
        g_over = 0;
        std::printf("%s (%.1f MB):\n", what, double(text.size()) / 1048576.0);
        window.prompts.acceptOpen(sjis::fromUnicode(path).bytes, 2);
        timed(window, "① read the mon file", [&] { QTest::mouseClick(window.form.Button1, Qt::LeftButton); });
        timed(window, "add its questions (its genre-table row)", [&] { support::clickRow(*window.form.StringGrid1, 1); });
        everyAction(window, path, 2);
        std::printf("%d events over the bound\n", g_over);
    }
};

} // namespace

QTEST_MAIN(ActionBench)
#include "ActionBench.moc"
