#pragma once

// A push button that reports mouse movements over it; clicks are QPushButton::clicked.
// A caption wider than the button (a Japanese face wider than the one the layout was made
// for) is drawn in a smaller size of the button's font rather than clipped.

#include <QPushButton>

#include <string_view>

namespace widgets {

class Button final : public QPushButton {
    Q_OBJECT

public:
    explicit Button(QWidget* parent = nullptr);

    void setCaption(std::string_view caption);

signals:
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitCaption();

    QFont m_chosenFont;     // the font the button was given
    bool m_fitting = false; // fitCaption() is setting the font itself
};

} // namespace widgets
