#pragma once

// The writer's line texts of a mon file, and the splitting and joining of its lines.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace formats {

inline constexpr std::string_view kCrLf = "\r\n";

// Line 1: the count as given (decimal text), the tag "j42" and the title.
std::string monHeaderLine(std::string_view count, std::string_view title);
// Line 2: mode 0 (text collection), an empty field and the genre.
std::string monGenreLine(std::string_view genre);
// A question line: 15 seconds, the answer and the question, written as they are.
std::string monQuestionLine(std::string_view answer, std::string_view question);

// Physical lines of a file's text, as a text editor loads them: a line ends at CR LF, at
// a lone LF or at a lone CR. A break at the very end starts no further line, so an empty
// text has no lines and "a\r\n" has one.
std::vector<std::string> splitLines(std::string_view text);

// One logical question line starting at physical line `first` (first < lines.size()):
// while the text does not end with a double quote, the next physical line is joined on
// with CR LF, which restores the line breaks of a multi-line question. `last` receives the
// index of the last physical line taken.
//
// The end of the lines stops the joining. A question that is still open there (no closing
// quote before the last line) gets its closing double quote added, so that its fields read
// as if the file had been closed properly and no byte of the question is lost.
std::string joinQuestionLine(std::span<const std::string> lines, std::size_t first, std::size_t& last);

// The logical question lines from physical line `first` on. An empty physical line where a
// question would begin is skipped: it stands between questions and holds none. An empty
// line inside an open question is part of that question's text.
std::vector<std::string> questionLines(std::span<const std::string> lines, std::size_t first);

} // namespace formats
