#include "widgets/grid/StringGrid.h"

#include "text/EditorError.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGridModel.h"
#include "widgets/grid/StringGridView.h"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QVBoxLayout>

namespace widgets {

namespace {

constexpr int kInitialColCount = 5;
constexpr int kInitialRowCount = 5;
constexpr int kInitialColWidth = 64;
constexpr int kInitialRowHeight = 24;
constexpr GridOptions kInitialOptions = GridOptions::fromInt(
    goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect);

} // namespace

class StringGrid::Reshape final {
public:
    explicit Reshape(const StringGrid& grid) : m_view(*grid.m_view) { m_view.beginReshape(); }
    ~Reshape() { m_view.endReshape(); }
    Reshape(const Reshape&) = delete;
    Reshape& operator=(const Reshape&) = delete;

private:
    StringGridView& m_view;
};

StringGrid::StringGrid(QWidget* parent)
    : QWidget(parent),
      m_style{kInitialOptions, palette().color(QPalette::Base), palette().color(QPalette::Button)}
{
    m_model = new StringGridModel(this);
    m_model->setGridColCount(kInitialColCount);
    m_model->setGridRowCount(kInitialRowCount);
    m_view = new StringGridView(*m_model, this);

    // The view's events are the grid's, raised nested inside the gesture that caused them.
    connect(m_view, &StringGridView::cellClicked, this, &StringGrid::clicked);
    connect(m_view, &StringGridView::cellDoubleClicked, this, &StringGrid::doubleClicked);
    connect(m_view, &StringGridView::editKeyPressed, this, &StringGrid::editKeyPressed);
    connect(m_view, &StringGridView::mouseMoved, this, &StringGrid::mouseMoved);
    connect(m_view, &StringGridView::selectCell, this, &StringGrid::selectCell);
    connect(m_view, &StringGridView::getEditText, this, &StringGrid::getEditText);
    connect(m_view, &StringGridView::unencodableText, this, &StringGrid::unencodableText);
    connect(m_view, &StringGridView::fixedCellDropped, this, &StringGrid::dropFixedCell);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    // Every row has the same height unless set one by one, so the view never measures rows.
    m_view->horizontalHeader()->setDefaultSectionSize(kInitialColWidth);
    m_view->verticalHeader()->setFixedWidth(kInitialColWidth);
    m_view->verticalHeader()->setDefaultSectionSize(kInitialRowHeight);
    m_view->horizontalHeader()->setFixedHeight(kInitialRowHeight);

    setColor(m_style.color);
    m_view->ensureCurrentCell();
}

StringGrid::~StringGrid()
{
    m_model->setHistory(nullptr);
    m_history.reset();
    // The view outlives this object's body (it is a child widget); an editor it closes on
    // the way out must not store into a grid that is no longer there.
    m_view->detach();
    m_view->setErrorBoundary({});
    disconnect(m_view, nullptr, this, nullptr);
}

void StringGrid::throwIndexError()
{
    throw text::EditorError(sjis::fromUtf8(u8"グリッドのインデックスが範囲を超えています"));
}

std::string StringGrid::Cells(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        return {};
    return std::string(m_model->cell(col, row));
}

void StringGrid::setCells(int col, int row, std::string_view text)
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        throwIndexError();
    m_model->setCell(col, row, text);
}

void StringGrid::setColumnCells(int col, int firstRow, std::span<const std::string> texts)
{
    if (col < 0 || col >= ColCount() || firstRow < 1 || std::int64_t(firstRow) + std::int64_t(texts.size()) > RowCount())
        throwIndexError();
    m_model->setColumnCells(col, firstRow, texts);
}

void StringGrid::insertRows(int beforeRow, const std::vector<std::vector<std::string>>& rows)
{
    insertRows(beforeRow, GridRows::from(rows));
}

void StringGrid::insertRows(int beforeRow, RowSource& rows)
{
    insertRowsWith(beforeRow, rows.rowCount(), [&] { m_model->insertGridRows(beforeRow, rows); });
}

void StringGrid::insertRows(int beforeRow, std::shared_ptr<const SharedRows> rows)
{
    const std::size_t count = rows ? rows->rowCount() : 0;
    insertRowsWith(beforeRow, count, [&] { m_model->insertGridRows(beforeRow, std::move(rows)); });
}

template <typename Insert>
void StringGrid::insertRowsWith(int beforeRow, std::size_t count, Insert insert)
{
    if (beforeRow < 1 || beforeRow > RowCount())
        throwIndexError();
    if (count == 0)
        return;
    const Reshape reshape(*this);
    const bool hadCurrent = m_view->currentIndex().isValid();
    const int col = Col();
    const int row = Row();
    insert();
    // The current cell is a position: rows inserted above it do not carry it along.
    if (hadCurrent && row >= beforeRow)
        m_view->setCurrentCell(col, row);
    m_view->ensureCurrentCell();
}

void StringGrid::describeRows(int first, int count, TableMakeup& into) const
{
    m_model->describeRows(first, count, into);
}

int StringGrid::ColCount() const
{
    return m_model->gridColCount();
}

void StringGrid::setColCount(int count)
{
    const Reshape reshape(*this);
    m_model->setGridColCount(count);
    m_view->ensureCurrentCell();
}

int StringGrid::RowCount() const
{
    return m_model->gridRowCount();
}

void StringGrid::setRowCount(int count)
{
    const Reshape reshape(*this);
    m_model->setGridRowCount(count);
    m_view->ensureCurrentCell();
}

int StringGrid::Col() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.column() + 1 : 1;
}

void StringGrid::setCol(int col)
{
    if (col < 1 || col >= ColCount() || RowCount() < 2)
        throwIndexError();
    m_view->setCurrentCell(col, Row());
}

int StringGrid::Row() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void StringGrid::setRow(int row)
{
    if (row < 1 || row >= RowCount() || ColCount() < 2)
        throwIndexError();
    m_view->setCurrentCell(Col(), row);
}

void StringGrid::setOptions(GridOptions options)
{
    if (options == m_style.options)
        return;
    m_style.options = options;
    applyStyle();
    // An open editor stays open on its cell whatever the new set says.
    m_view->showEditorIfAlwaysShown();
}

int StringGrid::ColWidths(int col) const
{
    if (col == 0)
        return m_view->verticalHeader()->width();
    return m_view->horizontalHeader()->sectionSize(col - 1);
}

void StringGrid::setColWidths(int col, int width)
{
    if (col < 0 || col >= ColCount())
        throwIndexError();
    if (col == 0)
        m_view->verticalHeader()->setFixedWidth(width);
    else
        m_view->horizontalHeader()->resizeSection(col - 1, width);
}

int StringGrid::RowHeights(int row) const
{
    if (row == 0)
        return m_view->horizontalHeader()->height();
    return m_view->verticalHeader()->sectionSize(row - 1);
}

void StringGrid::setRowHeights(int row, int height)
{
    if (row < 0 || row >= RowCount())
        throwIndexError();
    if (row == 0)
        m_view->horizontalHeader()->setFixedHeight(height);
    else
        m_view->verticalHeader()->resizeSection(row - 1, height);
}

int StringGrid::DefaultRowHeight() const
{
    return m_view->verticalHeader()->defaultSectionSize();
}

void StringGrid::setDefaultRowHeight(int height)
{
    m_view->verticalHeader()->setDefaultSectionSize(height);
    m_view->horizontalHeader()->setFixedHeight(height);
}

void StringGrid::applyStyle()
{
    m_view->applyStyle(m_style);
}

void StringGrid::setColor(const QColor& color)
{
    m_style.color = color;
    // The area beyond the last cell shows the cell colour too, in the view and the headers.
    for (QWidget* surface : {static_cast<QWidget*>(m_view), static_cast<QWidget*>(m_view->horizontalHeader()),
                             static_cast<QWidget*>(m_view->verticalHeader())}) {
        QPalette colours = surface->palette();
        colours.setColor(QPalette::Base, color);
        colours.setColor(QPalette::Button, color);
        colours.setColor(QPalette::Window, color);
        surface->setPalette(colours);
    }
    applyStyle();
}

void StringGrid::setFixedColor(const QColor& color)
{
    m_style.fixedColor = color;
    applyStyle();
}

void StringGrid::setScrollBars(ScrollBars bars)
{
    const bool horizontal = bars == ScrollBars::Horizontal || bars == ScrollBars::Both;
    const bool vertical = bars == ScrollBars::Vertical || bars == ScrollBars::Both;
    m_view->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    m_view->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

bool StringGrid::canMoveRow(int fromIndex, int toIndex) const
{
    const int rows = RowCount();
    const int movable = m_lastRowPinned ? rows - 1 : rows;
    return fromIndex >= 1 && toIndex >= 1 && fromIndex < movable && toIndex < movable;
}

bool StringGrid::canMoveColumn(int fromIndex, int toIndex) const
{
    const int cols = ColCount();
    return fromIndex >= 1 && toIndex >= 1 && fromIndex < cols && toIndex < cols;
}

void StringGrid::moveRow(int fromIndex, int toIndex)
{
    if (!canMoveRow(fromIndex, toIndex))
        throwIndexError();
    if (fromIndex == toIndex)
        return;
    {
        const Reshape reshape(*this);
        m_model->moveGridRow(fromIndex, toIndex);
    }
    emit rowMoved(fromIndex, toIndex);
}

void StringGrid::dropFixedCell(Qt::Orientation orientation, int from, int to)
{
    // A drop comes from a mouse release, not from code that could catch an error: a move
    // the grid would refuse is no move, and one that fails ends at the boundary.
    m_boundary.run([&] {
        if (orientation == Qt::Vertical) {
            if (canMoveRow(from, to))
                moveRow(from, to);
        } else if (canMoveColumn(from, to)) {
            moveColumn(from, to);
        }
    });
}

void StringGrid::setLastRow(LastRow lastRow)
{
    m_lastRowPinned = lastRow == LastRow::Pinned;
    m_view->setLastRowPinned(m_lastRowPinned);
}

void StringGrid::moveColumn(int fromIndex, int toIndex)
{
    if (!canMoveColumn(fromIndex, toIndex))
        throwIndexError();
    if (fromIndex == toIndex)
        return;
    {
        const Reshape reshape(*this);
        m_model->moveGridColumn(fromIndex, toIndex);
    }
    emit colMoved(fromIndex, toIndex);
}

void StringGrid::setHistory(History history, HistoryLimits limits)
{
    m_model->setHistory(nullptr);
    m_history.reset();
    if (history == History::None)
        return;
    m_history = std::make_unique<StringGridHistory>(*m_model, limits);
    m_model->setHistory(m_history.get());
    if (m_view->findChild<QAction*>(QStringLiteral("undo")))
        return;
    // Shortcuts of the view alone: they do not fire while the in-place editor, a child of
    // the view, has the focus, so the editor keeps its own undo of the text being typed.
    auto* undoAction = new QAction(m_view);
    undoAction->setObjectName(QStringLiteral("undo"));
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undoAction->setShortcutContext(Qt::WidgetShortcut);
    connect(undoAction, &QAction::triggered, this, [this] { undo(); });
    auto* redoAction = new QAction(m_view);
    redoAction->setObjectName(QStringLiteral("redo"));
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    redoAction->setShortcutContext(Qt::WidgetShortcut);
    connect(redoAction, &QAction::triggered, this, [this] { redo(); });
    m_view->addActions({undoAction, redoAction});
}

bool StringGrid::undo()
{
    return replayStep(&StringGridHistory::canUndo, &StringGridHistory::undo);
}

bool StringGrid::redo()
{
    return replayStep(&StringGridHistory::canRedo, &StringGridHistory::redo);
}

bool StringGrid::replayStep(bool (StringGridHistory::*possible)() const, void (StringGridHistory::*replay)() noexcept)
{
    if (!m_history || m_history->stepOpen() || !(*m_history.*possible)())
        return false;
    {
        // An editor left open stores its text first, as moving to another cell would; that
        // store is then the step undone.
        const Reshape reshape(*this);
        (*m_history.*replay)();
        m_view->ensureCurrentCell();
    }
    emit replayed();
    return true;
}

bool StringGrid::canUndo() const
{
    return m_history && m_history->canUndo();
}

bool StringGrid::canRedo() const
{
    return m_history && m_history->canRedo();
}

int StringGrid::undoSteps() const
{
    return m_history ? m_history->undoSteps() : 0;
}

std::size_t StringGrid::historyBytes() const
{
    return m_history ? m_history->bytes() : 0;
}

bool StringGrid::canUndoDroppingRowsFrom(int row) const
{
    return m_history && m_history->wouldKeepDropping(RowCount() - row);
}

StringGrid::Step::Step(StringGrid& grid) : m_history(grid.m_history.get())
{
    if (m_history)
        m_history->beginStep();
}

StringGrid::Step::~Step()
{
    if (m_history)
        m_history->endStep();
}

void StringGrid::setErrorBoundary(GridErrorBoundary::Runner runner)
{
    m_boundary.set(std::move(runner));
    m_view->setErrorBoundary(m_boundary);
}

void StringGrid::setRowMarks(RowMarks marks)
{
    m_model->setRowMarks(std::move(marks));
    repaintRowMarks();
}

void StringGrid::repaintRowMarks()
{
    m_view->verticalHeader()->viewport()->update();
}

bool StringGrid::EditorMode() const
{
    return m_view->editor() != nullptr;
}

QLineEdit* StringGrid::inplaceEditor() const
{
    return m_view->editor();
}

QTableView* StringGrid::view() const
{
    return m_view;
}

} // namespace widgets
