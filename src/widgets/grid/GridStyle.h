#pragma once

// What the parts of a string grid (view, headers, corner, delegate) draw and behave by: the
// option flags and the two cell colours. The grid hands each part a copy whenever one of
// them changes, so no part ever asks the grid.

#include "widgets/grid/GridOptions.h"

#include <QColor>

namespace widgets {

struct GridStyle {
    GridOptions options;
    QColor color;       // the normal cells
    QColor fixedColor;  // the fixed row and column, and the corner
};

} // namespace widgets
