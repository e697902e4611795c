#include "widgets/Button.h"

#include "widgets/ShiftJis.h"

#include <QMouseEvent>

namespace widgets {

Button::Button(QWidget* parent)
    : QPushButton(parent)
{
    setMouseTracking(true);
}

void Button::setCaption(std::string_view caption)
{
    setText(sjis::toUnicode(caption));
}

void Button::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->modifiers(), qRound(event->position().x()), qRound(event->position().y()));
    // QPushButton lets a move without a pressed button pass to its parent.
    QPushButton::mouseMoveEvent(event);
    event->accept();
}

} // namespace widgets
