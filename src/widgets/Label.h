#pragma once

// A caption. It takes every mouse movement over it, with or without a handler bound to
// mouseMoved(), so movements over a caption never reach the window's own handler.
// A decorative caption (an arrow, a lone digit between other captions) is hidden from screen
// readers: it is drawn for the eye and says nothing read out on its own.

#include <QLabel>

#include <string_view>

namespace widgets {

class Label final : public QLabel {
    Q_OBJECT

public:
    explicit Label(QWidget* parent = nullptr);

    void setCaption(std::string_view caption);
    void setDecorative(bool decorative);
    bool isDecorative() const { return m_decorative; }

signals:
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool m_decorative = false;
};

} // namespace widgets
