#pragma once

// Item drawing shared by the directory and file lists: a fixed item height, and an
// indentation by the level an item stores under kLevelRole.

#include <QStyledItemDelegate>

namespace widgets {

class ListItemDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int kLevelRole = Qt::UserRole + 1;

    explicit ListItemDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}

    // 0 keeps the height the style gives.
    void setItemHeight(int height) { m_itemHeight = height; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int m_itemHeight = 0;
};

} // namespace widgets
