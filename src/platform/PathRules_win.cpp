#include "platform/PathRules.h"

namespace platform {

const char kPathSeparator = '\\';
const std::string_view kPathSeparators = "\\/:";

} // namespace platform
