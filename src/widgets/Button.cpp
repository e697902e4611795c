#include "widgets/Button.h"

#include "codec/ShiftJis.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

namespace widgets {

Button::Button(QWidget* parent)
    : QPushButton(parent)
{
    setMouseTracking(true);
}

void Button::setCaption(std::string_view caption)
{
    setText(sjis::toUnicode(caption));
    fitCaption();
}

void Button::resizeEvent(QResizeEvent* event)
{
    QPushButton::resizeEvent(event);
    fitCaption();
}

void Button::changeEvent(QEvent* event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::FontChange && !m_fitting) {
        m_chosenFont = font();
        fitCaption();
    }
}

void Button::setMinimumCaptionPixels(int pixels)
{
    m_minimumPixels = pixels;
    fitCaption();
}

int Button::captionRoom(int width) const
{
    return width - 2 * style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, this) / 2
           - 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
}

int Button::captionWidth() const
{
    return width() - captionRoom(width()) + QFontMetrics(font()).horizontalAdvance(text());
}

void Button::fitCaption()
{
    if (m_chosenFont == QFont())
        m_chosenFont = font();
    const int room = captionRoom(width());
    QFont fitted = m_chosenFont;
    int size = fitted.pixelSize() > 0 ? fitted.pixelSize() : QFontInfo(fitted).pixelSize();
    fitted.setPixelSize(size);
    while (size > m_minimumPixels && QFontMetrics(fitted).horizontalAdvance(text()) > room) {
        fitted.setPixelSize(--size);
    }
    m_fitting = true;
    setFont(fitted);
    m_fitting = false;
}

void Button::keyPressEvent(QKeyEvent* event)
{
    // QPushButton takes Return only as a dialog's default button; autoDefault would do it
    // here too, but draws every button with the default button's wider frame.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // A held key presses once, as Space does.
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void Button::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->modifiers(), qRound(event->position().x()), qRound(event->position().y()));
    // QPushButton lets a move without a pressed button pass to its parent.
    QPushButton::mouseMoveEvent(event);
    event->accept();
}

} // namespace widgets
