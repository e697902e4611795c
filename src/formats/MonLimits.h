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
// digit), and two header lines. Lines are limited too, since every line is a block of the
// memo pad's document and a file of half a million short lines would hold the window for
// seconds: a question of a few lines is usual, 200 is far more, and a file the editor
// writes holds at most 300 such questions; hand-made files often keep a blank line after
// each question, which the line count allows for too.

#include <cstddef>
#include <string_view>

namespace formats {

// The longest question line after joining, so a question whose closing quote is missing
// cannot pull the rest of a file into one cell.
inline constexpr std::size_t kMaxMonLineBytes = 16 * 1024;
// What the editor writes around a question's answer and text: `15,"` `","` `"`.
inline constexpr std::size_t kMonLineFrameBytes = 8;
// The longest question line taken, with its seconds, commas and quotes (16,392 bytes): a
// line of the longest text the editor writes.
inline constexpr std::size_t kMaxMonQuestionBytes = kMaxMonLineBytes + kMonLineFrameBytes;
// 300 such questions with their line ends come to 4.9 MB; the rest is for the header.
inline constexpr std::size_t kMaxMonFileBytes = 5 * 1024 * 1024;
static_assert(300 * (kMaxMonQuestionBytes + 2) < kMaxMonFileBytes - 64 * 1024);
inline constexpr std::size_t kMaxQuestionLines = 200;
// 60,302 lines: two header lines, and 300 questions of 200 lines, each with a blank line after it.
inline constexpr std::size_t kMaxMonLines = 2 + 300 * (kMaxQuestionLines + 1);

enum class MonFit { Fits, TooLarge, LineTooLong, TooManyLines };

// Whether the whole text of a mon file is within the limits: its size, its number of lines,
// each physical line, and each logical question line from the third line on, joined as the
// reader joins them (its bytes and its lines). Reads the text once and allocates nothing.
MonFit checkMonText(std::string_view text);

} // namespace formats
