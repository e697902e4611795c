#include "formats/MonLimits.h"

#include "formats/MonLines.h"

#include <algorithm>

namespace formats {

MonFit checkMonText(std::string_view text)
{
    if (text.size() > kMaxMonFileBytes)
        return MonFit::TooLarge;
    const std::vector<std::string> lines = splitLines(text);
    // A line the editor wrote from a question within the limit may be a few bytes longer.
    const auto tooLong = [](const std::string& line) { return line.size() > kMaxMonLineBytes + kMonLineFrameBytes; };
    if (std::any_of(lines.begin(), lines.end(), tooLong))
        return MonFit::LineTooLong;
    const std::vector<std::string> questions = questionLines(lines, 2);
    if (std::any_of(questions.begin(), questions.end(), tooLong))
        return MonFit::LineTooLong;
    return MonFit::Fits;
}

} // namespace formats
