#pragma once

// Reading a field's text as a 32-bit signed integer: leading blanks, then an optional "-"
// or "+" and decimal digits up to the end; or, instead of sign and digits, "$" and
// hexadecimal digits. Anything else, the empty text included, and any value outside the
// 32-bit signed range, throws EditorError with "'%s' は整数ではありません".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace text {

std::optional<std::int32_t> parseInt32(std::string_view field);

std::int32_t toInt32(std::string_view field);

// The conversion error's message for a text (Shift-JIS bytes).
std::string notAnIntegerMessage(std::string_view field);

} // namespace text
