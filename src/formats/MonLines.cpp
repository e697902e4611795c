#include "formats/MonLines.h"

namespace formats {

std::string monHeaderLine(std::string_view count, std::string_view title)
{
    std::string line;
    line.reserve(count.size() + title.size() + 9);
    line.append(count).append(",\"").append("j42").append("\",\"").append(title).append("\"");
    return line;
}

std::string monGenreLine(std::string_view genre)
{
    std::string line;
    line.reserve(genre.size() + 7);
    line.append("0,\"\",\"").append(genre).append("\"");
    return line;
}

std::string monQuestionLine(std::string_view answer, std::string_view question)
{
    std::string line;
    line.reserve(answer.size() + question.size() + 8);
    line.append("15,\"").append(answer).append("\",\"").append(question).append("\"");
    return line;
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string joinQuestionLine(std::span<const std::string> lines, std::size_t first, std::size_t& last)
{
    std::size_t i = first;
    std::string text = lines[i];
    while (text.empty() || text.back() != '"') {
        if (i + 1 >= lines.size()) {
            text.push_back('"');
            break;
        }
        ++i;
        text.append(kCrLf).append(lines[i]);
    }
    last = i;
    return text;
}

std::vector<std::string> questionLines(std::span<const std::string> lines, std::size_t first)
{
    std::vector<std::string> result;
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        result.push_back(joinQuestionLine(lines, i, i));
    }
    return result;
}

} // namespace formats
