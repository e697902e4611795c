#pragma once

// How a path held as bytes is cut into directory and name: the separators the file system
// knows. On Windows that is "\", "/" and the ":" after a drive letter, with "\" written
// between a directory and a name; elsewhere "/" only.

#include <string_view>

namespace platform {

extern const char kPathSeparator;
extern const std::string_view kPathSeparators;

} // namespace platform
