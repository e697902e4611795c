#include "formats/MonLimits.h"

namespace formats {

namespace {

// The question being joined, as MonLines.h joins it: open until a line that is not empty
// ends with a double quote.
struct Question {
    bool open = false;
    std::size_t bytes = 0;
    std::size_t lines = 0;
};

} // namespace

MonFit checkMonText(std::string_view text)
{
    if (text.size() > kMaxMonFileBytes)
        return MonFit::TooLarge;
    Question question;
    std::size_t index = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        // The physical line from `start`, ended by CR LF, a lone LF or a lone CR.
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const std::string_view line = text.substr(start, end - start);
        start = end + ((end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ? 2 : 1);

        if (++index > kMaxMonLines)
            return MonFit::TooManyLines;
        if (line.size() > kMaxMonQuestionBytes)
            return MonFit::LineTooLong;
        if (index <= 2)
            continue;
        if (!question.open) {
            if (line.empty())
                continue;  // between questions
            question = {true, line.size(), 1};
        } else {
            question.bytes += 2 + line.size();
            ++question.lines;
        }
        if (question.bytes > kMaxMonQuestionBytes)
            return MonFit::LineTooLong;
        if (question.lines > kMaxQuestionLines)
            return MonFit::TooManyLines;
        if (!line.empty() && line.back() == '"')
            question.open = false;
    }
    // A question still open at the end gets its closing quote.
    if (question.open && question.bytes + 1 > kMaxMonQuestionBytes)
        return MonFit::LineTooLong;
    return MonFit::Fits;
}

} // namespace formats
