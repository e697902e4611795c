#include "widgets/Label.h"

#include "widgets/WidgetText.h"

#include <QMouseEvent>

namespace widgets {

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

void Label::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->modifiers(), qRound(event->position().x()), qRound(event->position().y()));
    event->accept();
}

} // namespace widgets
