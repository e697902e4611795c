#pragma once

// Rows a grid's owner marks on their fixed cell: the cell is painted in `tint` instead of the
// fixed colour, and a screen reader speaks `description` for it. `marked` is asked for each
// row (from 1, as the grid counts) as it is painted or read, so it must answer at once.

#include <QColor>
#include <QString>

#include <functional>

namespace widgets {

struct RowMarks {
    std::function<bool(int row)> marked;
    QColor tint;
    QString description;
};

} // namespace widgets
