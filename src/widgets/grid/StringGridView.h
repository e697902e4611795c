#pragma once

// The QTableView inside a StringGrid: it turns Qt's mouse, keyboard and editor machinery
// into the grid's event order. Qt moves the current index and opens editors from many
// places; this class funnels them through two gates, moveCursor() for keyboard moves (which
// asks selectCell) and edit() for editors (which allows only what the options allow).
//
// It knows the grid only through the style it is given and the signals it raises, which the
// grid forwards as its own; the headers, the corner and the delegate likewise only raise
// signals, which this view turns into the grid's events.

#include "widgets/grid/GridErrorBoundary.h"
#include "widgets/grid/GridStyle.h"

#include <QLineEdit>
#include <QPointer>
#include <QTableView>

#include <optional>
#include <string>

namespace widgets {

class StringGridCorner;
class StringGridDelegate;
class StringGridHeader;
class StringGridModel;

class StringGridView final : public QTableView {
    Q_OBJECT

public:
    StringGridView(StringGridModel& model, QWidget* parent);

    // The grid is being destroyed: edits closed from now on are dropped, nothing is reported.
    void detach() { m_detached = true; }
    // Where an edit stored as its editor closes ends if it throws.
    void setErrorBoundary(GridErrorBoundary boundary) { m_boundary = std::move(boundary); }

    void applyStyle(const GridStyle& style);
    const GridStyle& gridStyle() const { return m_style; }
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

    void refreshFixedCells();

    using QTableView::edit;

signals:
    // The grid's events, in grid coordinates; StringGrid says what each means.
    void cellClicked();
    void cellDoubleClicked();
    void editKeyPressed();
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);
    void selectCell(int col, int row, bool* canSelect);
    void getEditText(int col, int row, std::string* text);
    void unencodableText(int col, int row, char32_t character);
    // A fixed cell was dragged onto another: move row or column `from` to `to` (grid
    // coordinates, from 1) if the grid allows it.
    void fixedCellDropped(Qt::Orientation orientation, int from, int to);

protected slots:
    void commitData(QWidget* editor) override;

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

    // The headers and the corner raise the same three signals of the fixed cells.
    template <typename FixedCells>
    void connectFixedCells(FixedCells* cells);
    void fixedCellPressed();
    void fixedCellReleased();

    bool askSelectCell(const QModelIndex& target);
    bool isSecondPressOfDoubleClick(const QMouseEvent* event) const;
    void markRange(const QModelIndex& anchor, const QModelIndex& end);
    void reportRefusedText();

    StringGridModel& m_model;
    StringGridHeader* m_columnHeader;
    StringGridHeader* m_rowHeader;
    StringGridCorner* m_corner;  // before the model is set: geometry updates place it
    StringGridDelegate* m_delegate;
    GridStyle m_style;
    GridErrorBoundary m_boundary;

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
