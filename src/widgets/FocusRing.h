#pragma once

// The ring that shows which control of a window holds the keyboard focus: a solid black band
// `thickness` pixels wide around the control, drawn above all controls: one pixel of it over
// the control's own frame line, the rest outside on the window's light grey face, where black
// stands out at far more than 3:1 whatever the control's own colours (the help panel's
// maroon, the count field's red, lime or olive). It covers at most the edges of neighbouring
// controls, never moves one, and is hidden while no control of the window has the focus
// (another window is active, or the focus is nowhere): the window then looks as it would
// without it.

#include <QPointer>
#include <QWidget>

namespace widgets {

class FocusRing final : public QWidget {
    Q_OBJECT

public:
    FocusRing(QWidget& window, int thickness);

    // The control the ring surrounds (a direct child of the window), or null while hidden.
    QWidget* control() const { return m_control; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow(QWidget* focused);
    void place();
    int outside() const;

    QWidget& m_window;
    int m_thickness;
    QPointer<QWidget> m_control;
};

} // namespace widgets
