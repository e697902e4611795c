#pragma once

// The window's colours. The count field's colour is also the validity flag of the target
// range that conversion, listing and printing test.

#include <QColor>

#include <cstdint>

namespace app::colours {

inline const QColor kMaroon(0x80, 0x00, 0x00);
inline const QColor kRed(0xFF, 0x00, 0x00);
inline const QColor kLime(0x00, 0xFF, 0x00);
inline const QColor kYellow(0xFF, 0xFF, 0x00);
inline const QColor kOlive(0x80, 0x80, 0x00);
inline const QColor kGrey(0x80, 0x80, 0x80);
// The colour of an active window's border, behind the question table's normal cells.
inline const QColor kActiveBorder(0xB4, 0xB4, 0xB4);

// A collection holds 8 to 300 questions: lime green inside, red outside.
inline QColor countColour(std::int64_t count)
{
    return count >= 8 && count <= 300 ? kLime : kRed;
}

} // namespace app::colours
