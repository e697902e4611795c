#pragma once

// A push button that reports mouse movements over it; clicks are QPushButton::clicked.

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
};

} // namespace widgets
