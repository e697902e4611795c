#pragma once

// The two field functions of the mon reader, on Shift-JIS byte strings.
//
// A comma ends a field in two places only: where a quoted field closes (a double quote
// stands before the comma and the field began with a double quote), and where a numeric
// field ends (a digit stands before the comma and the field began with a digit). Every
// other comma belongs to the text. Second bytes of Shift-JIS characters lie outside
// 0x22..0x39, so the byte-wise scan is safe on double-byte text.

#include <string>
#include <string_view>

namespace formats {

// Field n (from 0) of the line, quotes still on. A field number beyond the last field, or
// below 0, gives an empty text. Lines may hold any number of fields.
std::string ExtractField(std::string_view line, int n);

// The field without one pair of enclosing double quotes: when it starts with a double
// quote, its first and last bytes are dropped, whatever the last byte is.
std::string StripQuotes(std::string_view field);

} // namespace formats
