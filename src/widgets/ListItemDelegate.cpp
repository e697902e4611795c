#include "widgets/ListItemDelegate.h"

namespace widgets {
namespace {

constexpr int kIndentPerLevel = 8;

} // namespace

void ListItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem indented(option);
    indented.rect.setLeft(option.rect.left() + index.data(kLevelRole).toInt() * kIndentPerLevel);
    QStyledItemDelegate::paint(painter, indented, index);
}

QSize ListItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.rwidth() += index.data(kLevelRole).toInt() * kIndentPerLevel;
    if (m_itemHeight > 0)
        size.setHeight(m_itemHeight);
    return size;
}

} // namespace widgets
