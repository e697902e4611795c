#include "widgets/Picture.h"

#include <QMouseEvent>

namespace widgets {

Picture::Picture(QWidget* parent)
    : QLabel(parent)
{
    setMouseTracking(true);
}

void Picture::setPicture(const QPixmap& picture)
{
    setPixmap(picture);
    resize(picture.deviceIndependentSize().toSize());
}

void Picture::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void Picture::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

void Picture::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

} // namespace widgets
