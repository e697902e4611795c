#include "widgets/Label.h"

#include "widgets/WidgetText.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace widgets {
namespace {

// What a screen reader is given for a decorative caption: a label that is never shown, so
// readers pass over it as they pass over hidden controls.
class DecorativeLabel final : public QAccessibleWidget {
public:
    explicit DecorativeLabel(QWidget* label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State hidden = QAccessibleWidget::state();
        hidden.invisible = true;
        hidden.offscreen = true;
        return hidden;
    }

    QString text(QAccessible::Text) const override { return {}; }
};

QAccessibleInterface* decorativeLabels(const QString& className, QObject* object)
{
    if (className != QLatin1String(Label::staticMetaObject.className()))
        return nullptr;
    auto* label = static_cast<Label*>(object);
    return label->isDecorative() ? new DecorativeLabel(label) : nullptr;
}

} // namespace

Label::Label(QWidget* parent)
    : QLabel(parent)
{
    setMouseTracking(true);
    setTextFormat(Qt::PlainText);
}

void Label::setCaption(std::string_view caption)
{
    setText(textWithLineBreaks(caption));
}

void Label::setDecorative(bool decorative)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(decorativeLabels);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    m_decorative = decorative;
    // A reader already told of the caption (its text was set) is told afresh.
    if (QAccessibleInterface* told = decorative ? QAccessible::queryAccessibleInterface(this) : nullptr)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(told));
}

void Label::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->modifiers(), qRound(event->position().x()), qRound(event->position().y()));
    event->accept();
}

} // namespace widgets
