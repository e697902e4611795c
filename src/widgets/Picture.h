#pragma once

// A picture that sizes itself to its image and reports a click (press and release of the
// left button over it). Mouse movements over it stop here.

#include <QLabel>

namespace widgets {

class Picture final : public QLabel {
    Q_OBJECT

public:
    explicit Picture(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace widgets
