#pragma once

// How large a mon file the editor takes. A collection holds at most 300 questions, and a
// file the editor writes from bank questions stays below about 100 KB; hand-made files
// are of the same order. The limits lie far above that and still keep every line one the
// memo pad and a grid cell lay out at once: beyond them lies a file that is no question
// collection at all, and loading it would only freeze the window.

#include <cstddef>
#include <string_view>

namespace formats {

inline constexpr std::size_t kMaxMonFileBytes = 1024 * 1024;
// Also the longest question line after joining, so a question whose closing quote is
// missing cannot pull the rest of a file into one cell.
inline constexpr std::size_t kMaxMonLineBytes = 16 * 1024;

enum class MonFit { Fits, TooLarge, LineTooLong };

// Whether the whole text of a mon file is within the limits: its size, each physical line,
// and each logical question line from the third line on, joined as the reader joins them.
MonFit checkMonText(std::string_view text);

} // namespace formats
