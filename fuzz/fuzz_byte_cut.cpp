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
    if (cut.empty())
        return 0;
    // Walk the text's characters to the one the cut starts with.
    std::size_t i = 0;
    while (i < from && i < text.size())
        i += text::isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    check(text.compare(i, cut.size(), cut) == 0);
    check(i + cut.size() <= from + count);
    return 0;
}
