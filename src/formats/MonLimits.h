#pragma once

// How large a mon file the editor takes. A collection holds at most 300 questions, and a
// file the editor writes from bank questions stays below about 100 KB; hand-made files
// are of the same order. The limits lie far above that and still keep every line one the
// memo pad and a grid cell lay out at once: beyond them lies a file that is no question
// collection at all, and loading it would only freeze the window.
//
// The editor must read back whatever it writes from files it took: 300 questions of the
// longest kind, each written as `15,"answer","question"` (8 bytes around the answer and
// question of a line that was itself within the limit, whose seconds may have been one
// digit), and two header lines.

#include <cstddef>
#include <string_view>

namespace formats {

// The longest question line after joining, so a question whose closing quote is missing
// cannot pull the rest of a file into one cell.
inline constexpr std::size_t kMaxMonLineBytes = 16 * 1024;
// What the editor writes around a question's answer and text: `15,"` `","` `"`.
inline constexpr std::size_t kMonLineFrameBytes = 8;
// 300 such questions with their line ends come to 4.9 MB; the rest is for the header.
inline constexpr std::size_t kMaxMonFileBytes = 5 * 1024 * 1024;
static_assert(300 * (kMaxMonLineBytes + kMonLineFrameBytes + 2) < kMaxMonFileBytes - 64 * 1024);

enum class MonFit { Fits, TooLarge, LineTooLong };

// Whether the whole text of a mon file is within the limits: its size, each physical line,
// and each logical question line from the third line on, joined as the reader joins them.
MonFit checkMonText(std::string_view text);

} // namespace formats
