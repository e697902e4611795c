#include "widgets/Button.h"

#include "codec/ShiftJis.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

#include <algorithm>

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
    // Each size tried is a font engine made; a button refitted with nothing changed (a
    // resize to the same room, the minimum set again) tries none.
    FitKey key {text(), m_chosenFont, room, m_minimumPixels};
    if (key == m_lastFit)
        return;
    QFont fitted = m_chosenFont;
    const int chosen = fitted.pixelSize() > 0 ? fitted.pixelSize() : QFontInfo(fitted).pixelSize();
    const auto advanceAt = [&fitted, this](int size) {
        fitted.setPixelSize(size);
        return QFontMetrics(fitted).horizontalAdvance(text());
    };
    int size = chosen;
    if (const int wide = text().isEmpty() ? 0 : advanceAt(chosen); wide > room && size > m_minimumPixels) {
        // The caption's width grows about in step with the size: start from the size that
        // would just fit, go up while the next fits, then down while it does not.
        size = std::clamp(int(qint64(chosen) * std::max(room, 0) / wide), m_minimumPixels, chosen - 1);
        while (size + 1 < chosen && advanceAt(size + 1) <= room)
            ++size;
        while (size > m_minimumPixels && advanceAt(size) > room)
            --size;
    }
    fitted.setPixelSize(size);
    m_fitting = true;
    setFont(fitted);
    m_fitting = false;
    m_lastFit = std::move(key);
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
