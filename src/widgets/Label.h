#pragma once

// A caption. It takes every mouse movement over it, with or without a handler bound to
// mouseMoved(), so movements over a caption never reach the window's own handler.

#include <QLabel>

#include <string_view>

namespace widgets {

class Label final : public QLabel {
    Q_OBJECT

public:
    explicit Label(QWidget* parent = nullptr);

    void setCaption(std::string_view caption);

signals:
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

} // namespace widgets
