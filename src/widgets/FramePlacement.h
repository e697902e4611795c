#pragma once

// What a main window asks of the window manager, kept even where the manager knows better:
// - its outer size, frame included, and its place in the centre of the screen. A window
//   manager draws its frame only after the window is mapped, so the window is placed when
//   shown with the frame known then, and once more when the manager's frame appears;
// - no maximised or full-screen state. The window flags already ask for no maximise
//   button, but some managers (openbox) ignore that for any resizable window; a maximise
//   they allow anyway is undone at once.
// After that first correction the user moves and resizes the window freely.

#include <QDeadlineTimer>
#include <QMargins>
#include <QObject>
#include <QSize>
#include <QTimer>

class QWidget;

namespace widgets {

class FramePlacement final : public QObject {
    Q_OBJECT

public:
    // Watches `window` from now on; `outerSize` is the size of the window with its frame.
    FramePlacement(QWidget& window, QSize outerSize);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMargins frame() const;
    // Places the window once more when the manager's frame has appeared since it was
    // placed; true once that is done.
    bool settleOnFrame();
    void place();
    void refuseMaximised();

    QWidget& m_window;
    QSize m_outerSize;
    QMargins m_placedWithFrame;
    bool m_shown = false;
    bool m_settled = false;
    QTimer m_frameWatch;
    QDeadlineTimer m_watchEnd;
};

} // namespace widgets
