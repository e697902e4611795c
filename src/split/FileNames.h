#pragma once

// File names for the mon files of a bank, made from the genre names.
//
// A genre name is Shift-JIS bytes; a file name on the disk is Unicode text (UTF-8 on Linux).
// The name is decoded with the window's codec and made into a name every common system
// takes, since mon files travel to the quiz player's machines:
// - a byte that is no character, a control character and any of \ / : * ? " < > | become "_";
// - blanks at either end and dots at the end are dropped (Windows drops them itself), and a
//   leading dot becomes "_" (it would hide the file);
// - a device name of Windows (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-9, LPT0-9, and
//   COM and LPT with a superscript 1, 2 or 3) before the first dot gets "_" after it;
// - a name left empty becomes "ジャンル" and the genre number, as the genre table labels it.

#include <string>
#include <string_view>

namespace split {

// The name without extension, as UTF-8.
std::string fileStem(std::string_view genreName, int genreNumber);

// The genre name for messages, as UTF-8; bytes that are no character show as U+FFFD.
std::string displayName(std::string_view genreName);

} // namespace split
