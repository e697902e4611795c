#pragma once

// The option flags of the string grid. The bit values are those of the grid the editor's
// handlers were written against, so an option set can be given as the number the handlers
// use (the row-moving set 0x438F, the cell-editing set 0x648F).

#include <QFlags>
#include <QtGlobal>

namespace widgets {

enum GridOption : quint32 {
    goFixedVertLine = 1u << 0,      // vertical lines between fixed cells
    goFixedHorzLine = 1u << 1,      // horizontal lines between fixed cells
    goVertLine = 1u << 2,           // vertical lines between normal cells
    goHorzLine = 1u << 3,           // horizontal lines between normal cells
    goRangeSelect = 1u << 4,        // a block of cells can be marked by dragging
    goDrawFocusSelected = 1u << 5,  // the focused cell is drawn like a marked one
    goRowSizing = 1u << 6,          // rows are resized by dragging their line in the number column
    goColSizing = 1u << 7,          // columns are resized by dragging their line in the header row
    goRowMoving = 1u << 8,          // a row is moved by dragging its number cell
    goColMoving = 1u << 9,          // a column is moved by dragging its header cell
    goEditing = 1u << 10,           // cells can be edited in place
    goTabs = 1u << 11,              // Tab moves between cells instead of leaving the grid
    goRowSelect = 1u << 12,         // whole rows are marked; no in-place editing
    goAlwaysShowEditor = 1u << 13,  // the in-place editor opens as soon as a cell becomes current
    goThumbTracking = 1u << 14,     // the view follows the scroll box while it is dragged
};

Q_DECLARE_FLAGS(GridOptions, GridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(GridOptions)

inline constexpr GridOptions kGridLineOptions =
    GridOptions::fromInt(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine);

// The question table's two working modes.
inline constexpr GridOptions kRowMovingOptions = GridOptions::fromInt(0x438F);
inline constexpr GridOptions kCellEditingOptions = GridOptions::fromInt(0x648F);

} // namespace widgets
