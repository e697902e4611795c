#include "widgets/grid/StringGridDelegate.h"

#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"
#include "widgets/grid/StringGridModel.h"
#include "widgets/grid/StringGridPainting.h"
#include "widgets/grid/StringGridView.h"

#include <QLineEdit>
#include <QPainter>

#include <limits>

namespace widgets {

namespace {

// Qt refills an open editor whenever its cell's data changes; the grid's editor is filled
// once, when it opens, as getEditText promises.
constexpr char kFilledProperty[] = "stringGridFilled";

} // namespace

StringGridDelegate::StringGridDelegate(StringGridView& view) : QStyledItemDelegate(&view), m_view(view) {}

void StringGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const StringGrid& grid = m_view.grid();
    const GridOptions options = grid.Options();
    const bool current = index == m_view.currentIndex();
    const bool focused = current && m_view.hasFocus();
    bool marked = option.state.testFlag(QStyle::State_Selected);
    // Without goDrawFocusSelected the focused cell shows its own colour and a focus frame.
    if (marked && focused && !(options & (goDrawFocusSelected | goRowSelect)))
        marked = false;

    const QRect rect = option.rect;
    painter->save();
    painter->fillRect(rect, marked ? option.palette.color(QPalette::Highlight) : grid.Color());
    painter->setPen(marked ? option.palette.color(QPalette::HighlightedText) : option.palette.color(QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(gridcell::textRect(rect), gridcell::kTextFlags, index.data(Qt::DisplayRole).toString());
    if (focused && !marked) {
        QPen dotted(option.palette.color(QPalette::Text), 1, Qt::DotLine);
        painter->setPen(dotted);
        painter->drawRect(rect.adjusted(1, 1, -2, -2));
    }
    gridcell::drawLines(*painter, rect, options.testFlag(goVertLine), options.testFlag(goHorzLine),
                        gridcell::kNormalLineColor);
    painter->restore();
}

QWidget* StringGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const
{
    Q_UNUSED(option);
    Q_UNUSED(index);
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    // A cell may hold more than QLineEdit's default 32,767 characters; editing it must not
    // cut it.
    editor->setMaxLength(std::numeric_limits<int>::max());
    m_view.editorCreated(editor);
    return editor;
}

void StringGridDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    m_view.editorReleased(editor);
    QStyledItemDelegate::destroyEditor(editor, index);
}

void StringGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (editor->property(kFilledProperty).toBool())
        return;
    editor->setProperty(kFilledProperty, true);
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    std::string text(m_view.gridModel().cell(col, row));
    emit m_view.grid().getEditText(col, row, &text);
    auto* lineEdit = static_cast<QLineEdit*>(editor);
    lineEdit->setText(sjis::toUnicode(text));
    lineEdit->selectAll();
}

void StringGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    Q_UNUSED(model);
    m_view.storeEditedText(index, static_cast<QLineEdit*>(editor)->text());
}

void StringGridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                              const QModelIndex& index) const
{
    Q_UNUSED(index);
    // Leave the cell's grid lines visible around the editor.
    editor->setGeometry(option.rect.adjusted(0, 0, -1, -1));
}

} // namespace widgets
