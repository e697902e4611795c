#include "widgets/grid/StringGridView.h"

#include "widgets/grid/StringGridCorner.h"
#include "widgets/grid/StringGridDelegate.h"
#include "widgets/grid/StringGridHeader.h"
#include "widgets/grid/StringGridModel.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleHints>

namespace widgets {

template <typename FixedCells>
void StringGridView::connectFixedCells(FixedCells* cells)
{
    connect(cells, &FixedCells::fixedCellPressed, this, &StringGridView::fixedCellPressed);
    connect(cells, &FixedCells::fixedCellReleased, this, &StringGridView::fixedCellReleased);
    connect(cells, &FixedCells::fixedCellDoubleClicked, this, &StringGridView::cellDoubleClicked);
}

StringGridView::StringGridView(StringGridModel& model, QWidget* parent)
    : QTableView(parent),
      m_model(model),
      m_columnHeader(new StringGridHeader(Qt::Horizontal, *this)),
      m_rowHeader(new StringGridHeader(Qt::Vertical, *this)),
      m_corner(new StringGridCorner(model, this)),
      m_delegate(new StringGridDelegate(this))
{
    setHorizontalHeader(m_columnHeader);
    setVerticalHeader(m_rowHeader);
    setModel(&model);
    setItemDelegate(m_delegate);

    // Grid lines are drawn per option by the delegate; the corner is the fixed cell (0,0).
    setShowGrid(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setDragEnabled(false);
    setAcceptDrops(false);

    connect(&model, &StringGridModel::cornerChanged, m_corner, qOverload<>(&QWidget::update));
    connect(&model, &StringGridModel::textRefused, this,
            [this](int col, int row, const QString& typed, char32_t character, qsizetype badIndex) {
                m_refusedText = RefusedText{col, row, character, typed, badIndex};
            });

    connectFixedCells(m_columnHeader);
    connectFixedCells(m_rowHeader);
    connectFixedCells(m_corner);
    for (StringGridHeader* header : {m_columnHeader, m_rowHeader}) {
        const Qt::Orientation orientation = header->orientation();
        connect(header, &StringGridHeader::sectionDropped, this, [this, orientation](int from, int to) {
            emit fixedCellDropped(orientation, from + 1, to + 1);
        });
    }

    connect(m_delegate, &StringGridDelegate::editorCreated, this, [this](QLineEdit* editor) { m_editor = editor; });
    connect(m_delegate, &StringGridDelegate::editorReleased, this, [this](QWidget* editor) {
        if (m_editor == editor)
            m_editor = nullptr;
    });
    connect(m_delegate, &StringGridDelegate::editTextWanted, this, &StringGridView::getEditText);

    // Mouse movement over the cells and the fixed cells is an event of the grid.
    for (QWidget* surface : {viewport(), horizontalHeader()->viewport(), verticalHeader()->viewport(),
                             static_cast<QWidget*>(m_corner)}) {
        surface->setMouseTracking(true);
        surface->installEventFilter(this);
    }
}

void StringGridView::setLastRowPinned(bool pinned)
{
    m_rowHeader->setLastSectionPinned(pinned);
}

void StringGridView::applyStyle(const GridStyle& style)
{
    m_style = style;
    const GridOptions options = style.options;
    m_delegate->setGridStyle(style);
    m_columnHeader->setGridStyle(style);
    m_rowHeader->setGridStyle(style);
    m_corner->setGridStyle(style);
    setSelectionMode(options.testFlag(goRangeSelect) ? ContiguousSelection : SingleSelection);
    setSelectionBehavior(options.testFlag(goRowSelect) ? SelectRows : SelectItems);
    setEditTriggers(editingAllowed() ? EditTriggers(EditKeyPressed | AnyKeyPressed) : NoEditTriggers);
    setTabKeyNavigation(options.testFlag(goTabs));
    m_rowHeader->setSizingEnabled(options.testFlag(goRowSizing));
    m_rowHeader->setMovingEnabled(options.testFlag(goRowMoving));
    m_columnHeader->setSizingEnabled(options.testFlag(goColSizing));
    m_columnHeader->setMovingEnabled(options.testFlag(goColMoving));
    verticalScrollBar()->setTracking(options.testFlag(goThumbTracking));
    horizontalScrollBar()->setTracking(options.testFlag(goThumbTracking));
    viewport()->update();
    refreshFixedCells();
}

bool StringGridView::editingAllowed() const
{
    const GridOptions options = m_style.options;
    return options.testFlag(goEditing) && !options.testFlag(goRowSelect);
}

void StringGridView::refreshFixedCells()
{
    horizontalHeader()->viewport()->update();
    verticalHeader()->viewport()->update();
    m_corner->update();
}

void StringGridView::setCurrentCell(int col, int row)
{
    const QModelIndex target = m_model.index(row - 1, col - 1);
    QItemSelectionModel::SelectionFlags command = QItemSelectionModel::ClearAndSelect;
    if (m_style.options.testFlag(goRowSelect))
        command |= QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(target, command);
    scrollTo(target);
}

void StringGridView::ensureCurrentCell()
{
    if (currentIndex().isValid() || m_model.rowCount() == 0 || m_model.columnCount() == 0)
        return;
    setCurrentCell(1, 1);
}

void StringGridView::openEditor()
{
    const QModelIndex at = currentIndex();
    if (!at.isValid() || m_editor)
        return;
    m_openingEditor = true;
    edit(at);
    m_openingEditor = false;
    if (m_editor)
        m_editor->selectAll();
}

void StringGridView::closeEditorStoring()
{
    if (!m_editor)
        return;
    QWidget* editor = m_editor;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void StringGridView::beginReshape()
{
    if (m_reshaping++ > 0)
        return;
    m_columnHeader->cancelDrag();
    m_rowHeader->cancelDrag();
    m_press = Press::None;
    closeEditorStoring();
    if (m_refusedText)
        m_refusedText->reopen = false;
}

void StringGridView::endReshape()
{
    --m_reshaping;
}

void StringGridView::showEditorIfAlwaysShown()
{
    if (m_reshaping > 0)
        return;
    if (editingAllowed() && m_style.options.testFlag(goAlwaysShowEditor) && !m_editor)
        openEditor();
}

void StringGridView::fixedCellPressed()
{
    closeEditorStoring();
}

void StringGridView::fixedCellReleased()
{
    showEditorIfAlwaysShown();
}

void StringGridView::commitData(QWidget* editor)
{
    if (m_detached)
        return;
    // Storing may run out of memory (the history keeps the cell's old row); the error ends
    // at the boundary and the cell keeps its text.
    m_boundary.run([&] { QTableView::commitData(editor); });
}

void StringGridView::reportRefusedText()
{
    if (!m_refusedText)
        return;
    const RefusedText refused = *m_refusedText;
    m_refusedText.reset();
    emit unencodableText(refused.col, refused.row, refused.character);
    if (refused.reopen)
        reopenRefusedEdit(refused);
}

void StringGridView::reopenRefusedEdit(const RefusedText& refused)
{
    // The rows may have gone meanwhile (the table was emptied): then there is no cell left
    // to hold the text.
    const QModelIndex cell = m_model.index(refused.row - 1, refused.col - 1);
    if (m_detached || !cell.isValid())
        return;
    if (currentIndex() != cell)
        setCurrentCell(refused.col, refused.row);
    openEditor();
    if (!m_editor)
        return;
    m_editor->setText(refused.typed);
    m_editor->setCursorPosition(int(refused.badIndex));
    m_editor->setFocus();
}

bool StringGridView::askSelectCell(const QModelIndex& target)
{
    bool canSelect = true;
    emit selectCell(target.column() + 1, target.row() + 1, &canSelect);
    return canSelect;
}

bool StringGridView::isSecondPressOfDoubleClick(const QMouseEvent* event) const
{
    // Some platforms deliver the second press of a double click as a press before the
    // double-click event; it belongs to the double click and does nothing of its own.
    if (!m_hasLastPress)
        return false;
    const QStyleHints* hints = QGuiApplication::styleHints();
    const quint64 elapsed = event->timestamp() - m_lastPressTime;
    const QPoint distance = event->position().toPoint() - m_lastPressPos;
    return elapsed < quint64(hints->mouseDoubleClickInterval())
           && distance.manhattanLength() <= hints->mouseDoubleClickDistance();
}

bool StringGridView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        const QPoint inView = static_cast<QWidget*>(watched)->mapTo(this, move->position().toPoint());
        const QPoint inGrid = inView - QPoint(verticalHeader()->x(), horizontalHeader()->y());
        emit mouseMoved(move->modifiers(), inGrid.x(), inGrid.y());
    }
    return QTableView::eventFilter(watched, event);
}

void StringGridView::mousePressEvent(QMouseEvent* event)
{
    if (isSecondPressOfDoubleClick(event)) {
        m_press = Press::Ignored;
        m_hasLastPress = false;
        return;
    }
    m_hasLastPress = true;
    m_lastPressTime = event->timestamp();
    m_lastPressPos = event->position().toPoint();
    m_press = Press::None;

    // A press on the grid outside the open editor ends editing.
    closeEditorStoring();
    if (event->button() != Qt::LeftButton)
        return;

    const QPoint pos = event->position().toPoint();
    const QModelIndex target = indexAt(pos);
    if (!target.isValid())
        return;
    m_press = Press::Cell;
    m_pressIndex = target;

    if (target == currentIndex()) {
        if (editingAllowed()) {
            openEditor();
            return;
        }
        QTableView::mousePressEvent(event);
        return;
    }
    if (!askSelectCell(target))
        return;
    // The handler may have changed the grid under the pointer.
    const QModelIndex now = indexAt(pos);
    if (now != target)
        return;
    QTableView::mousePressEvent(event);
}

void StringGridView::markRange(const QModelIndex& anchor, const QModelIndex& end)
{
    QItemSelectionModel::SelectionFlags command = QItemSelectionModel::ClearAndSelect;
    if (m_style.options.testFlag(goRowSelect))
        command |= QItemSelectionModel::Rows;
    selectionModel()->select(QItemSelection(anchor, end), command);
}

void StringGridView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        QTableView::mouseMoveEvent(event);
        return;
    }
    if (m_press != Press::Cell || m_editor)
        return;
    const QModelIndex under = indexAt(event->position().toPoint());
    if (!under.isValid())
        return;
    // Dragging with range selection marks a block and leaves the current cell where the
    // press put it; without, the current cell follows the pointer, asking selectCell.
    if (m_style.options.testFlag(goRangeSelect)) {
        if (m_pressIndex.isValid() && currentIndex() == m_pressIndex)
            markRange(m_pressIndex, under);
        return;
    }
    if (under == currentIndex() || !askSelectCell(under))
        return;
    const QPersistentModelIndex target = under;
    if (target.isValid())
        setCurrentCell(target.column() + 1, target.row() + 1);
}

void StringGridView::mouseReleaseEvent(QMouseEvent* event)
{
    const Press press = m_press;
    m_press = Press::None;
    QTableView::mouseReleaseEvent(event);
    if (press == Press::Cell && event->button() == Qt::LeftButton)
        emit cellClicked();
    if (press != Press::Ignored)
        showEditorIfAlwaysShown();
}

void StringGridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    // The second click of a double click is only the double click: no selection, no click.
    m_press = Press::Ignored;
    m_hasLastPress = false;
    emit cellDoubleClicked();
}

void StringGridView::keyPressEvent(QKeyEvent* event)
{
    // F2 is the edit key: the grid reports it first, so that a handler can switch editing
    // on as a double click does, then opens the editor where editing is on.
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier && !m_editor
        && currentIndex().isValid()) {
        emit editKeyPressed();
        if (!m_editor && editingAllowed() && currentIndex().isValid())
            openEditor();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void StringGridView::keyboardSearch(const QString& search)
{
    // Typing never jumps to a matching cell: that would move the current cell behind
    // selectCell's back (and scan every row).
    Q_UNUSED(search);
}

QModelIndex StringGridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex target = QTableView::moveCursor(cursorAction, modifiers);
    if (!target.isValid() || target == currentIndex())
        return target;
    const QPersistentModelIndex kept = target;
    if (!askSelectCell(target))
        return currentIndex();
    return kept;
}

bool StringGridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // Editors open by keystroke while editing is on, or through openEditor(); Qt's other
    // triggers (current change, clicks, moving on after Tab) follow the grid's own rules.
    const bool byKey = trigger == AnyKeyPressed || trigger == EditKeyPressed;
    if (!m_openingEditor && !(byKey && editingAllowed()))
        return false;
    return QTableView::edit(index, trigger, event);
}

void StringGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // The base class stores and closes an editor open on the previous cell.
    QTableView::currentChanged(current, previous);
    viewport()->update();
    showEditorIfAlwaysShown();
}

void StringGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool tabbing = hint == QAbstractItemDelegate::EditNextItem
                         || hint == QAbstractItemDelegate::EditPreviousItem;
    if (tabbing && !m_style.options.testFlag(goTabs)) {
        // Tab leaves the grid.
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
    } else {
        QTableView::closeEditor(editor, hint);
    }
    if (m_refusedText)
        QMetaObject::invokeMethod(this, &StringGridView::reportRefusedText, Qt::QueuedConnection);
}

void StringGridView::updateGeometries()
{
    QTableView::updateGeometries();
    m_corner->setGeometry(verticalHeader()->x(), horizontalHeader()->y(), verticalHeader()->width(),
                          horizontalHeader()->height());
    m_corner->raise();
}

} // namespace widgets
