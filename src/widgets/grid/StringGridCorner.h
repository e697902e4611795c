#pragma once

// The fixed cell (0,0) of a string grid, laid over the view's corner between the two headers.

#include "widgets/grid/GridStyle.h"

#include <QWidget>

namespace widgets {

class StringGridModel;

class StringGridCorner final : public QWidget {
    Q_OBJECT

public:
    StringGridCorner(const StringGridModel& model, QWidget* parent);

    void setGridStyle(const GridStyle& style);

signals:
    // As the headers' fixed cells: a press, a release, a double click.
    void fixedCellPressed();
    void fixedCellReleased();
    void fixedCellDoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const StringGridModel& m_model;
    GridStyle m_style;
};

} // namespace widgets
