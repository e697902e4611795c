#include "widgets/FramePlacement.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace widgets {

FramePlacement::FramePlacement(QWidget& window, QSize outerSize)
    : QObject(&window), m_window(window), m_outerSize(outerSize)
{
    m_window.installEventFilter(this);
    m_frameWatch.setInterval(25);
    connect(&m_frameWatch, &QTimer::timeout, this, [this] {
        if (settleOnFrame() || m_watchEnd.hasExpired())
            m_frameWatch.stop();
    });
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
            // The manager's frame arrives after the window was shown, with no move of the
            // window itself (it is reparented into the frame), and on a busy machine after
            // the last event the window gets, more than three seconds later at times: the
            // frame is looked for until it appears, for ten seconds at most (a window
            // without a manager never gets one).
            m_watchEnd.setRemainingTime(10000);
            m_frameWatch.start();
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Enter:
    case QEvent::WindowActivate:
        if (m_shown && settleOnFrame())
            m_frameWatch.stop();
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

bool FramePlacement::settleOnFrame()
{
    if (m_settled)
        return true;
    if (frame() == m_placedWithFrame)
        return false;
    m_settled = true;
    place();
    return true;
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
