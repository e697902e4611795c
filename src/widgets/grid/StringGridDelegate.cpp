#include "widgets/grid/StringGridDelegate.h"

#include "codec/ShiftJis.h"
#include "widgets/grid/StringGridModel.h"
#include "widgets/grid/StringGridPainting.h"

#include <QLineEdit>
#include <QPainter>
#include <QRegion>

#include <limits>

namespace widgets {

namespace {

// Qt refills an open editor whenever its cell's data changes; the grid's editor is filled
// once, when it opens, as editTextWanted promises.
constexpr char kFilledProperty[] = "stringGridFilled";

} // namespace

StringGridDelegate::StringGridDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void StringGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const GridOptions options = m_style.options;
    // The view sets HasFocus on its current cell while it has the keyboard focus.
    const bool focused = option.state.testFlag(QStyle::State_HasFocus);
    bool marked = option.state.testFlag(QStyle::State_Selected);
    // Without goDrawFocusSelected the focused cell shows its own colour and a focus frame.
    if (marked && focused && !(options & (goDrawFocusSelected | goRowSelect)))
        marked = false;

    const QRect rect = option.rect;
    painter->save();
    painter->fillRect(rect, marked ? option.palette.color(QPalette::Highlight) : m_style.color);
    painter->setPen(marked ? option.palette.color(QPalette::HighlightedText) : option.palette.color(QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(gridcell::textRect(rect), gridcell::kTextFlags, index.data(Qt::DisplayRole).toString());
    if (focused) {
        // The current cell of the table that has the focus: a solid black frame two pixels
        // wide inside the cell's grid lines, at 3:1 or more against white, the grid's grey
        // and the selection's blue, so the focused cell never looks fainter than the same
        // cell while the table has no focus.
        const QRect inside = rect.adjusted(0, 0, -1, -1);
        const QRegion frame = QRegion(inside).subtracted(QRegion(inside.adjusted(2, 2, -2, -2)));
        for (const QRect& band : frame)
            painter->fillRect(band, Qt::black);
    }
    gridcell::drawLines(*painter, rect, options.testFlag(goVertLine), options.testFlag(goHorzLine),
                        gridcell::kNormalLineColor);
    painter->restore();
}

QWidget* StringGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const
{
    Q_UNUSED(option);
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    // A screen reader says which cell is being edited: the column's heading (its number
    // where the heading is empty) and the row.
    QString column = index.model()->headerData(index.column(), Qt::Horizontal).toString().trimmed();
    if (column.isEmpty())
        column = QStringLiteral("%1列目").arg(index.column() + 1);
    editor->setAccessibleName(QStringLiteral("%1 %2行目").arg(column).arg(index.row() + 1));
    // A cell may hold more than QLineEdit's default 32,767 characters; editing it must not
    // cut it.
    editor->setMaxLength(std::numeric_limits<int>::max());
    // Qt's delegate interface is const; telling of the editor changes nothing of the delegate.
    emit const_cast<StringGridDelegate*>(this)->editorCreated(editor);
    return editor;
}

void StringGridDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    emit const_cast<StringGridDelegate*>(this)->editorReleased(editor);
    QStyledItemDelegate::destroyEditor(editor, index);
}

void StringGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (editor->property(kFilledProperty).toBool())
        return;
    editor->setProperty(kFilledProperty, true);
    const QByteArray bytes = index.data(StringGridModel::kBytesRole).toByteArray();
    std::string text(bytes.constData(), std::size_t(bytes.size()));
    emit const_cast<StringGridDelegate*>(this)->editTextWanted(index.column() + 1, index.row() + 1, &text);
    auto* lineEdit = static_cast<QLineEdit*>(editor);
    lineEdit->setText(sjis::toUnicode(text));
    lineEdit->selectAll();
}

void StringGridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                              const QModelIndex& index) const
{
    Q_UNUSED(index);
    // Leave the cell's grid lines visible around the editor.
    editor->setGeometry(option.rect.adjusted(0, 0, -1, -1));
}

} // namespace widgets
