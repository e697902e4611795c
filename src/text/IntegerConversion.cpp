#include "text/IntegerConversion.h"

#include "text/EditorError.h"
#include "text/Messages.h"

namespace text {

namespace {

// "'%s' は整数ではありません" in Shift-JIS.
constexpr std::string_view kNotAnInteger =
    "'%s' \x82\xcd\x90\xae\x90\x94\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<std::int32_t> parseInt32(std::string_view field)
{
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ')
        ++i;
    if (i == field.size())
        return std::nullopt;

    constexpr std::int64_t kMax = INT32_MAX;
    std::int64_t value = 0;
    if (field[i] == '$') {
        ++i;
        if (i == field.size())
            return std::nullopt;
        for (; i < field.size(); ++i) {
            const int digit = hexValue(field[i]);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + digit;
            if (value > kMax)
                return std::nullopt;
        }
        return static_cast<std::int32_t>(value);
    }

    bool negative = false;
    if (field[i] == '-' || field[i] == '+') {
        negative = field[i] == '-';
        ++i;
    }
    if (i == field.size())
        return std::nullopt;
    const std::int64_t limit = negative ? kMax + 1 : kMax;
    for (; i < field.size(); ++i) {
        const char c = field[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::string notAnIntegerMessage(std::string_view field)
{
    return formatMessage(kNotAnInteger, {field});
}

std::int32_t toInt32(std::string_view field)
{
    if (const auto value = parseInt32(field))
        return *value;
    throw EditorError(notAnIntegerMessage(field));
}

} // namespace text
