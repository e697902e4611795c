#include "widgets/FocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace widgets {

FocusRing::FocusRing(QWidget& window, int thickness)
    : QWidget(&window)
    , m_window(window)
    , m_thickness(thickness)
{
    setObjectName(QStringLiteral("FocusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { follow(now); });
    follow(QApplication::focusWidget());
}

void FocusRing::follow(QWidget* focused)
{
    // The control is the window's child that holds the focus widget (a table's view, or the
    // editor of one of its cells, belongs to the table).
    QWidget* control = focused;
    while (control && control->parentWidget() != &m_window)
        control = control->parentWidget();
    if (control == this)
        control = nullptr;
    if (m_control != control) {
        if (m_control)
            m_control->removeEventFilter(this);
        m_control = control;
        if (m_control)
            m_control->installEventFilter(this);
    }
    place();
}

void FocusRing::place()
{
    if (!m_control || m_control->isHidden()) {
        hide();
        return;
    }
    const int outside = this->outside();
    const QRect band = m_control->geometry().adjusted(-outside, -outside, outside, outside);
    setGeometry(band);
    // Only the band is the ring's own: what lies inside is drawn by the control alone.
    const QRect inside = rect().adjusted(m_thickness, m_thickness, -m_thickness, -m_thickness);
    setMask(QRegion(rect()).subtracted(QRegion(inside)));
    // Above every control, so that no control lying over part of the focused one (the
    // browser's lists over the genre table and ④) hides the ring.
    raise();
    show();
    update();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_control) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            place();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

int FocusRing::outside() const
{
    // One pixel of the band lies over the control's own frame line; the rest lies outside it,
    // on the window's face, where black stands out whatever the control's colours.
    return std::max(1, m_thickness - 1);
}

void FocusRing::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

} // namespace widgets
