#include "text/FileNames.h"

#include "platform/PathRules.h"
#include "text/ByteCut.h"

namespace text {

std::string replaceExtension(std::string_view path, std::string_view extension)
{
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (isLeadByte(byte) && i + 1 < path.size())
            ++i;
        else if (platform::kPathSeparators.find(path[i]) != std::string_view::npos)
            nameStart = i + 1;
    }
    const std::size_t dot = path.rfind('.');
    const std::size_t cut = (dot != std::string_view::npos && dot >= nameStart) ? dot : path.size();
    std::string result(path.substr(0, cut));
    result.append(extension);
    return result;
}

} // namespace text
