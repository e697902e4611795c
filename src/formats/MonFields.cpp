#include "formats/MonFields.h"

namespace formats {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string ExtractField(std::string_view line, int n)
{
    if (line.empty() || n < 0)
        return {};
    // Positions are 0-based here: fieldStart is the index of the current field's first byte.
    std::size_t fieldStart = 0;
    int field = 0;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] != ',' || fieldStart >= i)
            continue;
        const char before = line[i - 1];
        const char first = line[fieldStart];
        const bool closesQuoted = before == '"' && first == '"';
        const bool endsNumber = isDigit(before) && isDigit(first);
        if (!closesQuoted && !endsNumber)
            continue;
        if (field == n)
            return std::string(line.substr(fieldStart, i - fieldStart));
        ++field;
        fieldStart = i + 1;
    }
    if (field == n)
        return std::string(line.substr(fieldStart));
    return {};
}

std::string StripQuotes(std::string_view field)
{
    if (field.empty() || field.front() != '"')
        return std::string(field);
    if (field.size() == 1)
        return {};
    return std::string(field.substr(1, field.size() - 2));
}

} // namespace formats
