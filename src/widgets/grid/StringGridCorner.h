#pragma once

// The fixed cell (0,0) of a string grid, laid over the view's corner between the two headers.

#include <QWidget>

namespace widgets {

class StringGridView;

class StringGridCorner final : public QWidget {
    Q_OBJECT

public:
    explicit StringGridCorner(StringGridView& view);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    StringGridView& m_view;
};

} // namespace widgets
