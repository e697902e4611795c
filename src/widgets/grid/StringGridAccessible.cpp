#include "widgets/grid/StringGridAccessible.h"

#include "widgets/grid/StringGrid.h"
#include "widgets/grid/StringGridView.h"

#include <QAccessibleWidget>
#include <QLineEdit>

namespace widgets {
namespace {

// The grid as Qt describes any widget with children (its table view among them), with the
// open cell editor as its last child.
class AccessibleGrid final : public QAccessibleWidget {
public:
    explicit AccessibleGrid(StringGrid* grid)
        : QAccessibleWidget(grid)
    {
    }

    int childCount() const override { return QAccessibleWidget::childCount() + (editor() ? 1 : 0); }

    QAccessibleInterface* child(int index) const override
    {
        if (QLineEdit* open = editor(); open && index == QAccessibleWidget::childCount())
            return QAccessible::queryAccessibleInterface(open);
        return QAccessibleWidget::child(index);
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (QLineEdit* open = editor(); open && child && child->object() == open)
            return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }

private:
    QLineEdit* editor() const
    {
        const auto* view = qobject_cast<StringGridView*>(static_cast<StringGrid*>(widget())->view());
        QLineEdit* open = view ? view->editor() : nullptr;
        return open && open->isVisible() ? open : nullptr;
    }
};

QAccessibleInterface* grids(const QString& className, QObject* object)
{
    if (className == QLatin1String(StringGrid::staticMetaObject.className()))
        return new AccessibleGrid(static_cast<StringGrid*>(object));
    return nullptr;
}

} // namespace

void listEditorForScreenReaders(StringGrid& grid)
{
    static const bool installed = [] {
        QAccessible::installFactory(grids);
        return true;
    }();
    Q_UNUSED(installed);
    // A reader already told of the grid is told afresh, now through the factory.
    if (QAccessibleInterface* told = QAccessible::queryAccessibleInterface(&grid); told && !dynamic_cast<AccessibleGrid*>(told))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(told));
}

} // namespace widgets
