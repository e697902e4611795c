#pragma once

// Paints the normal cells of a string grid (cell colour, marking, focus, grid lines by
// option) and runs its in-place editor, a QLineEdit: the editor is filled once, through the
// grid's getEditText, and its text goes back through the view, which encodes it.

#include <QStyledItemDelegate>

namespace widgets {

class StringGridView;

class StringGridDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit StringGridDelegate(StringGridView& view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

private:
    StringGridView& m_view;
};

} // namespace widgets
