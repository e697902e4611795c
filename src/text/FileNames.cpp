#include "text/FileNames.h"

namespace text {

std::string replaceExtension(std::string_view path, std::string_view extension)
{
    const std::size_t separator = path.find_last_of(kPathSeparators);
    const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
    const std::size_t dot = path.rfind('.');
    const std::size_t cut = (dot != std::string_view::npos && dot >= nameStart) ? dot : path.size();
    std::string result(path.substr(0, cut));
    result.append(extension);
    return result;
}

} // namespace text
