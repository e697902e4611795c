#include "widgets/FramePlacement.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace widgets {

FramePlacement::FramePlacement(QWidget& window, QSize outerSize)
    : QObject(&window), m_window(window), m_outerSize(outerSize)
{
    m_window.installEventFilter(this);
}

bool FramePlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_window)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        if (!m_shown) {
            m_shown = true;
            place();
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Enter:
    case QEvent::WindowActivate:
        // The manager's frame arrives after the window was shown, with no move of the window
        // itself (it is reparented into the frame): place once more when it is seen.
        if (m_shown && !m_settled && frame() != m_placedWithFrame) {
            m_settled = true;
            place();
        }
        break;
    case QEvent::WindowStateChange:
        refuseMaximised();
        break;
    default:
        break;
    }
    return false;
}

QMargins FramePlacement::frame() const
{
    const QRect inner = m_window.geometry();
    const QRect outer = m_window.frameGeometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

void FramePlacement::place()
{
    m_placedWithFrame = frame();
    const QMargins& margins = m_placedWithFrame;
    m_window.resize(m_outerSize.shrunkBy(margins));
    if (const QScreen* screen = m_window.screen()) {
        QRect outer(QPoint(), m_outerSize);
        outer.moveCenter(screen->availableGeometry().center());
        // move() places the frame's top left corner.
        m_window.move(outer.topLeft());
    }
}

void FramePlacement::refuseMaximised()
{
    const Qt::WindowStates refused = Qt::WindowMaximized | Qt::WindowFullScreen;
    const Qt::WindowStates state = m_window.windowState();
    if (state & refused)
        m_window.setWindowState(state & ~refused);
}

} // namespace widgets
