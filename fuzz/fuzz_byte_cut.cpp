// cutWholeCharacters on arbitrary bytes and windows. The cut is a run of whole characters
// of the text: at most `count` bytes, found in the text at a character boundary at or
// after `from`, and never starting with the second byte of a pair.

#include "text/ByteCut.h"

#include <cstdlib>
#include <string>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t from = data[0] % 48;
    const std::size_t count = data[1] % 48;
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    const std::string cut = text::cutWholeCharacters(text, from, count);
    check(cut.size() <= count);
    // Walk the text's characters to the first one that starts at or after `from`.
    const auto width = [&](std::size_t at) {
        return text::isLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
    };
    std::size_t i = 0;
    while (i < from && i < text.size())
        i += width(i);
    check(text.compare(i, cut.size(), cut) == 0);
    check(cut.empty() || i + cut.size() <= from + count);
    // The longest such run: every character that still ends within the window is in it,
    // so the next one, if any, would reach past the window's end.
    std::size_t end = i;
    while (end < i + cut.size())
        end += width(end);
    check(end == i + cut.size());  // the cut ends at a character boundary
    if (end < text.size())
        check(end + width(end) > from + count);
    return 0;
}
