#pragma once

// The window's colours. The count field's colour is also the validity flag of the target
// range that conversion, listing and printing test.

#include <QColor>
#include <QPalette>

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

// The number cell of a question taken twice: light cyan, a colour the window shows nowhere
// else, 3.4:1 against the grey of the other number cells, under black text.
inline const QColor kDuplicateMark(0xA0, 0xFF, 0xFF);

// A collection holds 8 to 300 questions: lime green inside, red outside.
inline QColor countColour(std::int64_t count)
{
    return count >= 8 && count <= 300 ? kLime : kRed;
}

// The window's own light colours for every role, so that a dark desktop theme (a dark
// palette from the platform theme, qt6ct or KDE) changes nothing: black text on the light
// grey window surface and white fields, as the window is described.
inline QPalette windowPalette()
{
    const QColor face(0xF0, 0xF0, 0xF0);
    const QColor white(0xFF, 0xFF, 0xFF);
    const QColor black(0x00, 0x00, 0x00);
    const QColor greyText(0x6D, 0x6D, 0x6D);
    QPalette palette(black, face, white, QColor(0xA0, 0xA0, 0xA0), QColor(0xA0, 0xA0, 0xA0), black, white);
    palette.setColor(QPalette::Window, face);
    palette.setColor(QPalette::Button, face);
    palette.setColor(QPalette::Base, white);
    palette.setColor(QPalette::AlternateBase, QColor(0xF7, 0xF7, 0xF7));
    palette.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xDC));
    palette.setColor(QPalette::ToolTipText, black);
    palette.setColor(QPalette::PlaceholderText, greyText);
    palette.setColor(QPalette::Highlight, QColor(0x00, 0x78, 0xD7));
    palette.setColor(QPalette::HighlightedText, white);
    palette.setColor(QPalette::Link, QColor(0x00, 0x66, 0xCC));
    palette.setColor(QPalette::LinkVisited, QColor(0x80, 0x00, 0x80));
    palette.setColor(QPalette::Light, white);
    palette.setColor(QPalette::Midlight, QColor(0xE3, 0xE3, 0xE3));
    palette.setColor(QPalette::Mid, QColor(0xA0, 0xA0, 0xA0));
    palette.setColor(QPalette::Dark, QColor(0xA0, 0xA0, 0xA0));
    palette.setColor(QPalette::Shadow, QColor(0x69, 0x69, 0x69));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, greyText);
    palette.setColor(QPalette::Disabled, QPalette::Base, face);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0xCC, 0xCC, 0xCC));
    return palette;
}

} // namespace app::colours
