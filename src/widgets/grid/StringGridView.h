#pragma once

// The QTableView inside a StringGrid: it turns Qt's mouse, keyboard and editor machinery
// into the grid's event order. Qt moves the current index and opens editors from many
// places; this class funnels them through two gates, moveCursor() for keyboard moves (which
// asks selectCell) and edit() for editors (which allows only what the options allow).

#include "widgets/grid/GridOptions.h"

#include <QLineEdit>
#include <QPointer>
#include <QTableView>

#include <optional>

namespace widgets {

class StringGrid;
class StringGridCorner;
class StringGridModel;

class StringGridView final : public QTableView {
    Q_OBJECT

public:
    StringGridView(StringGrid& grid, StringGridModel& model);

    StringGrid& grid() const { return m_grid; }
    StringGridModel& gridModel() const { return m_model; }
    // The grid is being destroyed: edits closed from now on are dropped.
    void detachFromGrid() { m_detached = true; }

    void applyOptions(GridOptions options);
    void setLastRowPinned(bool pinned);
    bool editingAllowed() const;

    // The current cell in grid coordinates, or none while there is no normal cell.
    void setCurrentCell(int col, int row);
    void ensureCurrentCell();

    QLineEdit* editor() const { return m_editor; }
    void openEditor();
    void closeEditorStoring();
    void showEditorIfAlwaysShown();

    // The grid is about to change its rows or columns: whatever the user holds on the old
    // ones ends first. A drag of a fixed cell is cancelled, the in-place editor stores its
    // text where it was typed and closes, and no editor opens on its own until the change
    // is over (one would show a cell's text from before the change). A cell text refused
    // earlier is still reported, but its editor does not open again: its row may be another.
    void beginReshape();
    void endReshape();

    // Calls from the fixed cells (headers and corner).
    void fixedCellPressed();
    void fixedCellReleased();
    void fixedCellDoubleClicked();
    void fixedCellDropped(Qt::Orientation orientation, int fromSection, int toSection);

    // Calls from the delegate.
    void editorCreated(QLineEdit* editor);
    void editorReleased(QWidget* editor);
    void storeEditedText(const QModelIndex& index, const QString& text);

    void refreshFixedCells();

    using QTableView::edit;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void updateGeometries() override;

private:
    enum class Press { None, Cell, Ignored };

    bool askSelectCell(const QModelIndex& target);
    bool isSecondPressOfDoubleClick(const QMouseEvent* event) const;
    void markRange(const QModelIndex& anchor, const QModelIndex& end);
    void reportRefusedText();

    StringGrid& m_grid;
    StringGridModel& m_model;
    StringGridCorner* m_corner;  // before the model is set: geometry updates place it

    QPointer<QLineEdit> m_editor;
    bool m_openingEditor = false;

    // An edit refused while committing is reported once the editor has closed and the event
    // that closed it is over, so that a handler showing a message box runs neither inside
    // Qt's commit nor inside the click or focus change that caused it. Then the editor opens
    // again on its cell with the text as typed: nothing typed is lost.
    struct RefusedText {
        int col = 0;
        int row = 0;
        char32_t character = 0;
        QString typed;
        qsizetype badIndex = 0;
        bool reopen = true;
    };
    std::optional<RefusedText> m_refusedText;
    void reopenRefusedEdit(const RefusedText& refused);
    bool m_detached = false;
    int m_reshaping = 0;

    Press m_press = Press::None;
    QPersistentModelIndex m_pressIndex;
    quint64 m_lastPressTime = 0;
    QPoint m_lastPressPos;
    bool m_hasLastPress = false;
};

} // namespace widgets
