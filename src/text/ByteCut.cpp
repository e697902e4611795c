#include "text/ByteCut.h"

namespace text {

std::string cutWholeCharacters(std::string_view text, std::size_t from, std::size_t count)
{
    const std::size_t end = from + count;
    std::string cut;
    std::size_t i = 0;
    while (i < text.size() && i < end) {
        // A lead byte as the very last byte of the text stands alone.
        const std::size_t width = isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (i >= from && i + width <= end)
            cut.append(text.substr(i, width));
        i += width;
    }
    return cut;
}

} // namespace text
