#include "support/ActionPlayer.h"

#include "app/TForm1.h"
#include "app/find/FindBar.h"
#include "app/find/FoldedText.h"
#include "app/find/QuestionIndex.h"
#include "app/recovery/WorkRecovery.h"
#include "support/ControlDriver.h"
#include "support/TestFiles.h"
#include "widgets/Button.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/Prompts.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"
#include "widgets/grid/StringGridModel.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTableView>
#include <QtTest>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <tuple>

#include <sys/stat.h>

// The actions, by letter (arguments in brackets):
//   b        ① reads the bank          o [k]    ① reads mon file k
//   g [r]    click genre-table row r   c        click ④ (clear)
//   n        click 付番更新 if shown     v        click ⑦ (convert)
//   s        click ⑨ (save)            h [r]    hover over question row r
//   k [c r]  click question cell       d [c r]  double-click question cell
//   t [k]    type text k               e        Escape        q   Return
//   P [r]    press on row number r     C [c]    press on column header c
//   M [n]    move the pointer to section n of the header pressed, or hover there
//   U        release the mouse button  x [k]    drop file set k
//   z        Ctrl+Z    y  Ctrl+Y    Z  Ctrl+Shift+Z
//   6 [k]    retype the start field    8 [k]    retype the end field
//   T        Tab       F  F2
//   f [k]    Ctrl+F, then query k put into the find field      j  F3    J  F8
//   K        the editor is killed and started again: the work kept is restored

namespace support {

namespace {

constexpr std::string_view kActions = "bogcnvshkdteqPCMUxzyZ68TFfjJK";
// A script longer than this is cut: the history holds 100 steps, and the rules about undo
// follow the steps one by one.
constexpr std::size_t kMaxActions = 90;

class PlayerPrompts final : public widgets::Prompts {
public:
    std::optional<std::pair<std::string, int>> open;
    std::optional<std::string> save;
    std::vector<std::string> errors;

    bool execOpen(widgets::OpenDialog& dialog) override
    {
        if (!open)
            return false;
        dialog.fileName = open->first;
        dialog.filterIndex = open->second;
        open.reset();
        return true;
    }
    bool execSave(widgets::SaveDialog& dialog) override
    {
        if (!save)
            return false;
        dialog.fileName = *save;
        dialog.filterIndex = 1;
        save.reset();
        return true;
    }
    bool execPrint(widgets::PrintDialog&, QPrinter&) override { return false; }
    bool execFont(widgets::FontDialog&) override { return false; }
    widgets::MessageAnswer messageBox(std::string_view, widgets::MessageKind, widgets::MessageButtons buttons) override
    {
        return buttons == widgets::MessageButtons::Ok ? widgets::MessageAnswer::Ok : widgets::MessageAnswer::Yes;
    }
    void errorBox(std::string_view message) override { errors.emplace_back(message); }
    void beep() override {}
};

struct TableState {
    std::vector<std::string> cells;  // row by row, header row included
    int cols = 0;
    bool lastRowTyped = false;       // the user typed into the last row since it was emptied
};

std::multiset<std::string> questionTexts(const TableState& state)
{
    // Columns 1 to 4 of the question rows: what the user added or typed. The number column
    // is left out, since renumbering rewrites it.
    std::multiset<std::string> texts;
    const int rows = int(state.cells.size()) / state.cols;
    for (int row = 1; row < rows - 1; ++row)
        for (int col = 1; col < state.cols; ++col)
            if (const std::string& text = state.cells[std::size_t(row * state.cols + col)]; !text.empty())
                texts.insert(text);
    return texts;
}

bool includes(const std::multiset<std::string>& whole, const std::multiset<std::string>& part, std::size_t allowedMissing)
{
    std::vector<std::string> missing;
    std::set_difference(part.begin(), part.end(), whole.begin(), whole.end(), std::back_inserter(missing));
    return missing.size() <= allowedMissing;
}

class Player final {
public:
    Player(const ActionFiles& files, std::string_view script) : m_files(files), m_script(script)
    {
        start();
        m_states.push_back(snapshot());
    }

    std::string run()
    {
        std::size_t actions = 0;
        while (m_at < m_script.size() && actions++ < kMaxActions) {
            const std::size_t start = m_at;
            const char op = takeAction();
            const TableState before = snapshot();
            const bool editorWasOpen = grid().EditorMode();
            const std::size_t errorsBefore = m_prompts.errors.size();
            // Return presses the button that has the focus, ④ among them.
            m_returnClears = op == 'q' && QApplication::focusWidget() == m_form->Button4;
            m_findBefore = findState();
            play(op);
            settle();
            m_played += std::string(m_script.substr(start, m_at - start));
            const std::string broken = verify(op, before, editorWasOpen, errorsBefore);
            if (!broken.empty())
                return broken + " (after \"" + printable(m_played) + "\")";
            // ⑩ (Return on it when it has the focus) closes the window: the session is over.
            if (!m_form->isVisible())
                break;
        }
        release();
        return {};
    }

private:
    widgets::StringGrid& grid() { return *m_form->StringGrid2; }

    // A fresh window keeping its work where the window before it kept its own; the work
    // left there is offered (the player answers yes) and restored.
    void start()
    {
        m_form = std::make_unique<app::TForm1>(&m_prompts);
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        m_form->activateWindow();
        settle();
        m_recovery = std::make_unique<app::recovery::WorkRecovery>(*m_form, m_stateFolder.path());
        m_recovery->offerLeftovers();
        settle();
    }

    // The process ends without a word once the work is kept: the window goes, its kept work
    // stays, and the next window must show exactly what this one showed.
    void killAndStart()
    {
        release();
        if (!m_recovery->keepNow()) {
            m_restoreBroken = "the work could not be kept";
            return;
        }
        const std::vector<std::string> before = windowSnapshot();
        m_recovery.reset();
        m_form.reset();
        start();
        if (windowSnapshot() != before)
            m_restoreBroken = "the restored window differs from the window killed";
        // The history starts afresh with the restored table.
        m_states.assign(1, snapshot());
        m_index = 0;
    }

    static void settle()
    {
        // Queued work (a drop's loading, a refused cell text's warning) runs as it would
        // once the event that queued it is over.
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    static std::string printable(const std::string& text)
    {
        std::string shown;
        for (const char c : text)
            shown += (c >= 0x20 && c < 0x7F) ? std::string(1, c) : "\\x" + QByteArray(1, c).toHex().toStdString();
        return shown;
    }

    char takeAction()
    {
        const auto byte = static_cast<unsigned char>(m_script[m_at++]);
        if (kActions.find(char(byte)) != std::string_view::npos)
            return char(byte);
        return kActions[byte % kActions.size()];
    }

    // The next argument in [0, range): a digit stands for its value, any other byte is taken
    // modulo the range.
    int arg(int range)
    {
        if (range <= 0)
            return 0;
        if (m_at >= m_script.size())
            return 0;
        const auto byte = static_cast<unsigned char>(m_script[m_at++]);
        if (byte >= '0' && byte <= '9')
            return std::min(int(byte - '0'), range - 1);
        return byte % range;
    }

    // A row of the question table from 1 to its last row: digits count from 1.
    int rowArg()
    {
        const int rows = grid().RowCount() - 1;
        return std::clamp(arg(rows + 1), 1, std::max(rows, 1));
    }

    int colArg() { return std::clamp(arg(grid().ColCount()), 1, grid().ColCount() - 1); }

    QPoint visibleCell(int col, int row)
    {
        QTableView* view = grid().view();
        view->scrollTo(view->model()->index(row - 1, col - 1));
        return cellCenter(grid(), col, row);
    }

    QPoint visibleSection(QHeaderView* header, int section)
    {
        QTableView* view = grid().view();
        const QModelIndex index = header->orientation() == Qt::Vertical ? view->model()->index(section, 0)
                                                                        : view->model()->index(0, section);
        view->scrollTo(index);
        return sectionCenter(header, section);
    }

    void release()
    {
        if (!m_held)
            return;
        QTest::mouseRelease(m_held->viewport(), Qt::LeftButton, {}, m_heldAt);
        m_held = nullptr;
    }

    QWidget* focused() { return QApplication::focusWidget() ? QApplication::focusWidget() : m_form.get(); }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(focused(), key, modifiers);
    }

    void commit(const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(focused(), &event);
    }

    void click(QWidget* button)
    {
        release();
        if (button->isVisible())
            QTest::mouseClick(button, Qt::LeftButton);
    }

    void play(char op)
    {
        switch (op) {
        case 'b':
            release();
            m_prompts.open = std::pair(TestFolder::bytesOf(m_files.bank), 1);
            click(m_form->Button1);
            break;
        case 'o':
            release();
            m_prompts.open = std::pair(TestFolder::bytesOf(m_files.monFiles[std::size_t(arg(int(m_files.monFiles.size())))]), 2);
            click(m_form->Button1);
            break;
        case 'g': {
            release();
            const int row = std::clamp(arg(9), 1, 8);
            clickRow(*m_form->StringGrid1, row);
            break;
        }
        case 'c': click(m_form->Button4); break;
        case 'n': click(m_form->Button7); break;
        case 'v': click(m_form->Button5); break;
        case 's':
            m_prompts.save = TestFolder::bytesOf(QDir(m_files.saveFolder).filePath(QStringLiteral("out.mon")));
            click(m_form->Button6);
            break;
        case 'h': {
            const int row = rowArg();
            hover(grid().view()->viewport(), visibleCell(2, row));
            break;
        }
        case 'k': case 'd': {
            release();
            const int col = colArg();
            const int row = rowArg();
            const QPoint at = visibleCell(col, row);
            if (op == 'k')
                QTest::mouseClick(grid().view()->viewport(), Qt::LeftButton, {}, at);
            else
                realDoubleClick(grid().view()->viewport(), at);
            break;
        }
        case 't': type(arg(5)); break;
        case 'e': key(Qt::Key_Escape); break;
        case 'q': key(Qt::Key_Return); break;
        case 'T': key(Qt::Key_Tab); break;
        case 'F': key(Qt::Key_F2); break;
        case 'P': case 'C': {
            release();
            QHeaderView* header = op == 'P' ? grid().view()->verticalHeader() : grid().view()->horizontalHeader();
            const int section = op == 'P' ? rowArg() - 1 : colArg() - 1;
            const QPoint at = visibleSection(header, section);
            hover(header->viewport(), at);
            QTest::mousePress(header->viewport(), Qt::LeftButton, {}, at);
            m_held = header;
            m_heldAt = at;
            break;
        }
        case 'M': {
            QHeaderView* header = m_held ? m_held : grid().view()->verticalHeader();
            const int section = std::clamp(arg(header->count() + 1), 1, std::max(header->count(), 1)) - 1;
            const QPoint at = sectionCenter(header, section);
            if (m_held) {
                QTest::mouseMove(header->viewport(), at);
                m_heldAt = at;
            } else {
                hover(header->viewport(), at);
            }
            break;
        }
        case 'U': release(); break;
        case 'K': killAndStart(); break;
        case 'x': drop(std::size_t(arg(int(m_files.drops.size())))); break;
        case 'f': {
            static const QString queries[] = {QStringLiteral("q1"), QStringLiteral("ＱＩ－"), QStringLiteral("a"),
                                              QStringLiteral("tb"), QString()};
            key(Qt::Key_F, Qt::ControlModifier);
            if (app::find::FindBar* bar = m_form->findBar()) {
                while (!m_form->questionIndex().findingReady())
                    QCoreApplication::processEvents();
                bar->field()->selectAll();
                commit(queries[arg(5)]);
            }
            break;
        }
        case 'j': key(Qt::Key_F3); break;
        case 'J': key(Qt::Key_F8); break;
        case 'z': key(Qt::Key_Z, Qt::ControlModifier); break;
        case 'y': key(Qt::Key_Y, Qt::ControlModifier); break;
        case 'Z': key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); break;
        case '6': case '8': {
            release();
            static const QString numbers[] = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                              QStringLiteral("8"), QStringLiteral("0"), QStringLiteral("300"),
                                              QStringLiteral("a"), QStringLiteral("12")};
            retype(op == '6' ? *m_form->Edit6 : *m_form->Edit8, numbers[arg(8)]);
            break;
        }
        }
    }

    void type(int which)
    {
        // Typing lands in the grid when its editor or the grid itself has the focus; the
        // grid then edits its current cell.
        QWidget* target = focused();
        const bool intoGrid = target == grid().view() || target == grid().inplaceEditor();
        if (intoGrid && grid().Row() == grid().RowCount() - 1)
            m_lastRowTyped = true;
        switch (which) {
        case 0: commit(QStringLiteral("あい")); break;
        case 1: QTest::keyClicks(target, QStringLiteral("xy")); break;
        case 2: commit(QStringLiteral("\U0001F600")); break;
        case 3: key(Qt::Key_Backspace); break;
        default: QTest::keyClicks(target, QStringLiteral("1")); break;
        }
    }

    void drop(std::size_t which)
    {
        // A row or column still held is let go first, which may move it: that release is
        // its own action, so the window the drop must leave alone is the one after it.
        release();
        settle();
        m_windowBeforeDrop = windowSnapshot();
        const ActionFiles::Drop& files = m_files.drops[which];
        QMimeData data;
        data.setUrls(files.urls);
        const QPoint at(40, 40);
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_form.get(), &enter);
        QDropEvent dropped(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_form.get(), &dropped);
        m_dropTaken = dropped.isAccepted() && dropped.dropAction() != Qt::IgnoreAction;
        m_dropExpected = files.taken;
    }

    TableState snapshot()
    {
        TableState state;
        state.cols = grid().ColCount();
        state.cells = allCells(grid());
        state.lastRowTyped = m_lastRowTyped;
        return state;
    }

    std::vector<std::string> windowSnapshot()
    {
        std::vector<std::string> seen = allCells(*m_form->StringGrid1);
        const std::vector<std::string> table = allCells(grid());
        seen.insert(seen.end(), table.begin(), table.end());
        for (const widgets::LineEdit* edit : {m_form->Edit3, m_form->Edit4, m_form->Edit5, m_form->Edit6, m_form->Edit7, m_form->Edit8})
            seen.push_back(edit->Text());
        seen.push_back(m_form->Edit7->Color().name().toStdString());
        const std::vector<std::string> memo = m_form->RichEdit1->Lines();
        seen.insert(seen.end(), memo.begin(), memo.end());
        return seen;
    }

    bool numbersInOrder()
    {
        for (int row = 1; row < grid().RowCount() - 1; ++row)
            if (grid().Cells(0, row) != std::to_string(row))
                return false;
        return true;
    }

    std::string viewDisagrees()
    {
        QTableView* view = grid().view();
        const QAbstractItemModel* model = view->model();
        const int rows = grid().RowCount() - 1;
        const int cols = grid().ColCount() - 1;
        if (model->rowCount() != rows || model->columnCount() != cols)
            return "the model's size differs from the grid's";
        if (view->verticalHeader()->count() != rows || view->horizontalHeader()->count() != cols)
            return "a header's section count differs from the model's";
        for (const QHeaderView* header : {view->verticalHeader(), view->horizontalHeader()})
            for (int section = 0; section < header->count(); ++section)
                if (header->visualIndex(section) != section)
                    return "a header shows its sections out of the model's order";
        if (view->currentIndex().isValid() && view->currentIndex().row() >= rows)
            return "the current cell lies beyond the rows";
        for (const int row : {1, rows / 2 + 1, rows})
            for (int col = 1; col <= cols && row >= 1; ++col)
                if (model->data(model->index(row - 1, col - 1)).toString()
                    != widgets::StringGridModel::displayText(grid().Cells(col, row)))
                    return "the view shows another text than the grid holds";
        return {};
    }

    std::string verify(char op, const TableState& before, bool editorWasOpen,
                       std::size_t errorsBefore)
    {
        if (!m_restoreBroken.empty())
            return m_restoreBroken;
        static const std::string indexError = sjis::fromUtf8(u8"グリッドのインデックスが範囲を超えています");
        for (std::size_t i = errorsBefore; i < m_prompts.errors.size(); ++i)
            if (m_prompts.errors[i] == indexError)
                return "a grid index error reached the error box";
        if (std::string disagreement = viewDisagrees(); !disagreement.empty())
            return disagreement;

        const bool undoing = op == 'z';
        const bool redoing = op == 'y' || op == 'Z';
        const bool clearing = op == 'c' || m_returnClears;
        TableState now = snapshot();
        // A kill lets go of a held row first (that release may move it, as a step of the old
        // history) and the restored window starts a history of its own: its rule is that the
        // window comes back as it was, checked by the kill itself.
        if (op != 'K') {
            if (std::string broken = followHistory(before, now, undoing, redoing); !broken.empty())
                return broken;
        }
        now.lastRowTyped = m_lastRowTyped;

        const int last = grid().RowCount() - 1;
        if (last < 1)
            return "the blank last row is gone";
        bool blank = true;
        for (int col = 0; col < grid().ColCount(); ++col)
            blank = blank && grid().Cells(col, last).empty();
        if (!blank && !m_lastRowTyped)
            return "the last row is not blank";
        if (blank && !grid().EditorMode())
            m_lastRowTyped = false;  // emptied again (an add, a clear), and no typed text left to store

        if (clearing && grid().RowCount() != 2)
            return "④ left question rows";
        if (!clearing && !undoing && !redoing
            && !includes(questionTexts(now), questionTexts(before), editorWasOpen ? 1 : 0))
            return "a question disappeared";

        // Whether the window shows 付番更新, also once ⑩ has closed the window.
        const bool renumberShown = !m_form->Button7->isHidden();
        if (!numbersInOrder() && !renumberShown)
            return "the numbers are out of order and 付番更新 is hidden";
        if ((undoing || redoing) && now.cells != before.cells && numbersInOrder() && renumberShown)
            return "an undo or redo left the numbers in order and 付番更新 shown";

        if (std::string marks = marksDisagree(op); !marks.empty())
            return marks;

        if (op == 'x') {
            if (m_dropTaken != m_dropExpected)
                return m_dropExpected ? "a drop was refused" : "a refused drop was reported as taken";
            if (!m_dropExpected && windowSnapshot() != m_windowBeforeDrop)
                return "a refused drop changed the window";
            if (m_dropExpected && m_prompts.errors.size() != errorsBefore)
                return "a drop of files that can be read showed an error";
        }
        return {};
    }

    // The query in the find field and the current cell.
    std::tuple<QString, int, int> findState()
    {
        const app::find::FindBar* bar = m_form->findBar();
        return {bar ? bar->field()->text() : QString(), grid().Col(), grid().Row()};
    }

    // The duplicate marks are those a count of the whole table gives; a cell the find bar
    // went to holds what was typed into it.
    std::string marksDisagree(char op)
    {
        const app::find::QuestionIndex& index = m_form->questionIndex();
        while (!index.marksSettled())
            QCoreApplication::processEvents();
        std::vector<int> marked;
        for (int row = 0; row < grid().RowCount(); ++row)
            if (index.isDuplicate(row))
                marked.push_back(row);
        if (marked != index.recountDuplicates() || int(marked.size()) != index.duplicateRows())
            return "the duplicate marks differ from a count of the table";
        const app::find::FindBar* bar = m_form->findBar();
        // Ctrl+F on the query already there (an empty commit keeps it) leaves the cell where it was.
        const bool wentToMatch = op == 'j' || (op == 'f' && findState() != m_findBefore);
        if (wentToMatch && bar && bar->isVisible() && bar->matchCount() > 0
            && QApplication::focusWidget() == bar->field()) {
            const QString query = app::find::folded(bar->field()->text());
            if (!app::find::foldedCell(grid().Cells(grid().Col(), grid().Row())).contains(query))
                return "the find bar went to a cell that does not hold the text typed";
        }
        return {};
    }

    // The table after an undo is the one before the step undone, after a redo the one after
    // the step redone; an action that changes the table is a step of the history.
    std::string followHistory(const TableState& before, const TableState& now, bool undoing, bool redoing)
    {
        const int steps = grid().undoSteps();
        const bool changed = now.cells != before.cells;
        if (undoing || redoing) {
            const int expected = m_index + (undoing ? -1 : 1);
            if (steps == m_index) {
                if (changed)
                    return "the table changed although nothing was undone or redone";
                return {};
            }
            if (steps != expected || expected < 0 || expected >= int(m_states.size()))
                return "an undo or redo moved the history by more than one step";
            m_index = expected;
            if (const std::optional<TableState>& known = m_states[std::size_t(m_index)]) {
                if (known->cells != now.cells)
                    return undoing ? "Ctrl+Z did not give back the table as it was before the step"
                                   : "Ctrl+Y did not give back the table as it was after the step";
                m_lastRowTyped = known->lastRowTyped;
            }
            return {};
        }
        const int limit = widgets::HistoryLimits{}.steps;
        if (steps == m_index && !(changed && steps == limit)) {
            if (changed)
                return "the table changed without an undo step";
            return {};
        }
        if (steps > m_index) {
            m_states.resize(std::size_t(m_index) + 1);
            m_states.resize(std::size_t(steps));  // steps in between (none, as a rule) are not known
        } else {
            // Older steps were dropped by the history's bounds.
            m_states.assign(std::size_t(steps), std::nullopt);
        }
        TableState kept = now;
        kept.lastRowTyped = m_lastRowTyped;
        m_states.push_back(kept);
        m_index = steps;
        return {};
    }

    const ActionFiles& m_files;
    std::string_view m_script;
    std::size_t m_at = 0;
    std::string m_played;
    PlayerPrompts m_prompts;
    QTemporaryDir m_stateFolder;
    std::unique_ptr<app::TForm1> m_form;
    std::unique_ptr<app::recovery::WorkRecovery> m_recovery;
    std::string m_restoreBroken;

    QHeaderView* m_held = nullptr;
    QPoint m_heldAt;
    bool m_lastRowTyped = false;
    bool m_returnClears = false;
    std::tuple<QString, int, int> m_findBefore;  // findState() before the action played
    bool m_dropTaken = false;
    bool m_dropExpected = false;
    std::vector<std::string> m_windowBeforeDrop;   // the window as a drop found it
    std::vector<std::optional<TableState>> m_states;
    int m_index = 0;
};

QString write(const QTemporaryDir& dir, const QString& name, const std::string& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        throw std::runtime_error("cannot write an action file");
    return path;
}

} // namespace

ActionFiles::ActionFiles()
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
    bank = write(m_dir, QStringLiteral("bank.5TQ"),
                 bankBytes({numberedGenre(1, 2, "Two"), numberedGenre(2, 3, "Three"), numberedGenre(3, 8, "Eight"),
                            numberedGenre(4, 1, "One"), numberedGenre(5, 5, "Five"), numberedGenre(6, 0, "None"),
                            numberedGenre(7, 4, "Four"), numberedGenre(8, 2, "Last")}));
    const auto mon = [&](const QString& name, const std::string& title, int count) {
        std::vector<std::pair<std::string, std::string>> questions;
        for (int n = 1; n <= count; ++n)
            questions.emplace_back(title + "A" + std::to_string(n), title + "Q" + std::to_string(n));
        return write(m_dir, name, monText(std::to_string(count), title, title + "G", questions));
    };
    monFiles = {mon(QStringLiteral("a.mon"), "TA", 3), mon(QStringLiteral("b.mon"), "TB", 9),
                mon(QStringLiteral("第1回〜第3回.mon"), "TW", 2)};
    const QString multiLine = write(m_dir, QStringLiteral("lines.mon"),
                                    crlfText({"2,\"j42\",\"TL\"", "0,\"\",\"GL\"", "15,\"LA1\",\"LQ1", "second line\"",
                                              "15,\"LA2\",\"LQ2\""}));
    monFiles.push_back(multiLine);
    const QString cafe = mon(QStringLiteral("café.mon"), "TC", 2);
    mon(QStringLiteral("caf?.mon"), "TD", 2);
    const QString notes = write(m_dir, QStringLiteral("notes.txt"), "notes\r\n");
    const QString folder = m_dir.filePath(QStringLiteral("folder.mon"));
    QDir().mkpath(folder);
    const QString fifo = m_dir.filePath(QStringLiteral("pipe.5TQ"));
    ::mkfifo(QFile::encodeName(fifo).constData(), 0600);
    saveFolder = m_dir.filePath(QStringLiteral("saved"));
    QDir().mkpath(saveFolder);

    const auto urls = [](std::initializer_list<QString> paths) {
        QList<QUrl> list;
        for (const QString& path : paths)
            list.append(QUrl::fromLocalFile(path));
        return list;
    };
    drops = {
        {urls({bank}), true},
        {urls({monFiles[0], monFiles[1]}), true},
        {urls({monFiles[2]}), true},
        {urls({monFiles[0], folder, monFiles[1]}), false},
        {urls({cafe}), false},
        {urls({fifo}), false},
        {urls({notes}), false},
        {urls({bank, monFiles[0]}), false},
    };
}

std::string playActions(const ActionFiles& files, std::string_view script)
{
    Player player(files, script);
    return player.run();
}

} // namespace support
