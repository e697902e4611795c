// How the cost of each action on the question table grows with the table: every action is
// played on 8,192 and on 32,768 bank rows in one process, and four times the rows may cost
// about four times as much (linear), never sixteen (quadratic). Two measures, each compared
// between the sizes: the bytes the action allocates with operator new (counted here, the
// same on every machine), and the median processor time of the window's thread over three
// runs (another program's load does not count in it). Small costs are compared against a
// floor, so that a constant cost and its noise never make a ratio.

#include "app/TForm1.h"
#include "app/recovery/WorkRecovery.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/WindowDriver.h"
#include "widgets/Button.h"
#include "widgets/LineEdit.h"
#include "widgets/grid/StringGrid.h"

#include <QLineEdit>
#include <QTableView>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

std::atomic<std::size_t> g_allocatedBytes{0};

} // namespace

// The whole family of replaceable allocation functions but the aligned ones, so that no
// block is taken by one family and given back to another (a sanitizer's own included).
namespace {

void* counted(std::size_t size)
{
    g_allocatedBytes.fetch_add(size, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}

void* countedOrThrow(std::size_t size)
{
    if (void* block = counted(size))
        return block;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) { return countedOrThrow(size); }
void* operator new[](std::size_t size) { return countedOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return counted(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return counted(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace {

constexpr int kSmall = 8192;
constexpr int kLarge = 4 * kSmall;
constexpr double kMostGrowth = 8;      // linear is 4, quadratic 16
constexpr double kFloorMs = 2;
constexpr double kFloorBytes = 256 * 1024;

double threadMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The window with one genre of `rows` bank questions added, and what an action does to it.
class Table {
public:
    explicit Table(int rows) : m_rows(rows), m_form(&m_prompts)
    {
        m_form.show();
        QApplication::setActiveWindow(&m_form);
        const QString bank = m_folder.write(QStringLiteral("bank.5TQ"), support::bankBytes({support::numberedGenre(1, rows, "G")}));
        support::readFile(m_form, m_prompts, bank, 1);
        add();
    }

    int rows() const { return m_rows; }
    widgets::StringGrid& grid() { return *m_form.StringGrid2; }
    app::TForm1& form() { return m_form; }
    // The work kept, for the action that keeps it alone (its timer would run in the others).
    app::recovery::WorkRecovery& recovery()
    {
        if (!m_recovery)
            m_recovery = std::make_unique<app::recovery::WorkRecovery>(m_form, m_folder.path("kept"));
        return *m_recovery;
    }
    void endRecovery() { m_recovery.reset(); }

    void add() { support::clickRow(*m_form.StringGrid1, 1); }
    void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void undo() { tableKey(Qt::Key_Z); }
    void redo() { tableKey(Qt::Key_Y); }
    void tableKey(Qt::Key key)
    {
        // The undo keys are shortcuts of the window, taken only while it is active.
        QApplication::setActiveWindow(&m_form);
        grid().view()->setFocus();
        QTest::keyClick(grid().view(), key, Qt::ControlModifier);
    }
    // A cell of the last question opened for editing with a letter typed: Return stores it.
    void openLastCell()
    {
        QTableView* view = grid().view();
        view->scrollTo(view->model()->index(m_rows - 1, 1));
        support::realDoubleClick(view->viewport(), support::cellCenter(grid(), 2, m_rows));
        if (!grid().inplaceEditor())
            QTest::keyClick(view, Qt::Key_F2);
        QTest::keyClicks(grid().inplaceEditor(), QStringLiteral("x"));
    }

private:
    int m_rows;
    support::TestFolder m_folder;
    support::ScriptedPrompts m_prompts;
    app::TForm1 m_form;
    std::unique_ptr<app::recovery::WorkRecovery> m_recovery;
};

// An action with what is done before it and after it, neither of them measured.
struct Action {
    const char* name;
    std::function<void(Table&)> before;
    std::function<void(Table&)> act;
    std::function<void(Table&)> after;
};

struct Cost {
    double bytes = 0;
    double ms = 0;
};

Cost measure(Table& table, const Action& action)
{
    std::vector<double> bytes, times;
    for (int run = 0; run < 3; ++run) {
        if (action.before)
            action.before(table);
        QCoreApplication::processEvents();
        const std::size_t bytesBefore = g_allocatedBytes.load();
        const double start = threadMs();
        action.act(table);
        QCoreApplication::processEvents();
        times.push_back(threadMs() - start);
        bytes.push_back(double(g_allocatedBytes.load() - bytesBefore));
        if (action.after)
            action.after(table);
    }
    std::sort(bytes.begin(), bytes.end());
    std::sort(times.begin(), times.end());
    return {bytes[1], times[1]};
}

const std::vector<Action>& actions()
{
    static const std::vector<Action> list{
        {"add the genre", [](Table& t) { t.click(t.form().Button4); }, [](Table& t) { t.add(); }, {}},
        {"④ clear", {}, [](Table& t) { t.click(t.form().Button4); }, [](Table& t) { t.undo(); }},
        {"Ctrl+Z of ④", [](Table& t) { t.click(t.form().Button4); }, [](Table& t) { t.undo(); }, {}},
        {"Ctrl+Y of ④", [](Table& t) { t.click(t.form().Button4); t.undo(); }, [](Table& t) { t.redo(); },
         [](Table& t) { t.undo(); }},
        {"move the first row to the last", {}, [](Table& t) { t.grid().moveRow(1, t.rows()); }, [](Table& t) { t.undo(); }},
        {"move the last row to the first", {}, [](Table& t) { t.grid().moveRow(t.rows(), 1); }, [](Table& t) { t.undo(); }},
        {"move a column", {}, [](Table& t) { t.grid().moveColumn(1, 2); }, [](Table& t) { t.undo(); }},
        {"付番更新", [](Table& t) { t.grid().moveRow(1, t.rows()); }, [](Table& t) { t.click(t.form().Button7); },
         [](Table& t) { t.undo(); t.undo(); }},
        {"Ctrl+Z of 付番更新", [](Table& t) { t.grid().moveRow(1, t.rows()); t.click(t.form().Button7); },
         [](Table& t) { t.undo(); }, [](Table& t) { t.undo(); }},
        {"Ctrl+Y of 付番更新", [](Table& t) { t.grid().moveRow(1, t.rows()); t.click(t.form().Button7); t.undo(); },
         [](Table& t) { t.redo(); }, [](Table& t) { t.undo(); t.undo(); }},
        {"a step of a cell write per row", {},
         [](Table& t) {
             const widgets::StringGrid::Step step(t.grid());
             for (int row = 1; row <= t.rows(); ++row)
                 t.grid().setCells(3, row, "G" + std::to_string(row));
         },
         [](Table& t) { t.undo(); }},
        {"edit the last row's cell", [](Table& t) { t.openLastCell(); },
         [](Table& t) { QTest::keyClick(t.grid().inplaceEditor(), Qt::Key_Return); }, [](Table& t) { t.undo(); }},
        {"type the range end", [](Table& t) { t.form().Edit6->setText(std::to_string(t.rows() - 299)); },
         [](Table& t) { support::retype(*t.form().Edit8, QString::number(t.rows())); }, {}},
        {"⑦ convert the last 300 rows", {}, [](Table& t) { t.click(t.form().Button5); }, {}},
        {"keep the work after a renumbering (the window's share)",
         [](Table& t) { t.recovery(); t.grid().moveRow(1, t.rows()); t.click(t.form().Button7); },
         [](Table& t) { t.recovery().keepChanges(); },
         [](Table& t) { QVERIFY(t.recovery().keepNow()); t.endRecovery(); t.undo(); t.undo(); }},
    };
    return list;
}

} // namespace

class ActionGrowthTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_small = std::make_unique<Table>(kSmall);
        m_large = std::make_unique<Table>(kLarge);
        QCOMPARE(m_large->grid().RowCount(), kLarge + 2);
    }
    void cleanupTestCase()
    {
        m_small.reset();
        m_large.reset();
    }

    void growsLinearly_data()
    {
        QTest::addColumn<int>("action");
        for (std::size_t i = 0; i < actions().size(); ++i)
            QTest::newRow(actions()[i].name) << int(i);
    }

    void growsLinearly()
    {
        QFETCH(int, action);
        const Action& played = actions()[std::size_t(action)];
        const Cost a = measure(*m_small, played);
        const Cost b = measure(*m_large, played);
        const QByteArray figures = QByteArray(played.name) + ": " + QByteArray::number(a.bytes, 'f', 0) + " -> "
                                   + QByteArray::number(b.bytes, 'f', 0) + " bytes, " + QByteArray::number(a.ms, 'f', 2)
                                   + " -> " + QByteArray::number(b.ms, 'f', 2) + " ms";
        qInfo("%s", figures.constData());
        QVERIFY2(b.bytes <= kMostGrowth * std::max(a.bytes, kFloorBytes), figures.constData());
        QVERIFY2(b.ms <= kMostGrowth * std::max(a.ms, kFloorMs), figures.constData());
    }

private:
    std::unique_ptr<Table> m_small;
    std::unique_ptr<Table> m_large;
};

QTEST_MAIN(ActionGrowthTest)
#include "ActionGrowthTest.moc"
