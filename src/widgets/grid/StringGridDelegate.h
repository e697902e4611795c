#pragma once

// Paints the normal cells of a string grid (cell colour, marking, focus, grid lines by
// option) and runs its in-place editor, a QLineEdit. The editor is filled once, when it
// opens, from the cell's bytes as editTextWanted leaves them; its text goes back by Qt's own
// route, the model's setData, which encodes it.

#include "widgets/grid/GridStyle.h"

#include <QStyledItemDelegate>

#include <string>

class QLineEdit;

namespace widgets {

class StringGridDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit StringGridDelegate(QObject* parent);

    void setGridStyle(const GridStyle& style) { m_style = style; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

signals:
    // An editor was made, and one is going (closed, or its row removed under it).
    void editorCreated(QLineEdit* editor);
    void editorReleased(QWidget* editor);
    // Before an editor shows cell (col, row) in grid coordinates: *text is what it shows.
    void editTextWanted(int col, int row, std::string* text);

private:
    GridStyle m_style;
};

} // namespace widgets
