#include "formats/FieldText.h"

namespace formats {

std::string decodeField(std::span<const std::uint8_t> stored, FieldCoding coding)
{
    const std::uint8_t shift = coding == FieldCoding::Shifted ? 0x80 : 0x00;
    std::string text;
    text.reserve(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == 0x20 && i + 1 < stored.size() && stored[i + 1] == 0x20)
            break;
        const auto byte = static_cast<std::uint8_t>(stored[i] + shift);
        if (byte == 0)
            break;
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

} // namespace formats
