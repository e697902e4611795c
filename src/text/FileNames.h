#pragma once

// File-name helpers for the save name proposed to the user.

#include <string>
#include <string_view>

namespace text {

#ifdef _WIN32
inline constexpr std::string_view kPathSeparators = "\\/:";
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr std::string_view kPathSeparators = "/";
inline constexpr char kPathSeparator = '/';
#endif

// The path with its extension replaced by `extension` (".mon", ".TXT"). The extension is
// everything from the last dot of the file-name part (after the last path separator);
// when that part has no dot, the extension is appended.
std::string replaceExtension(std::string_view path, std::string_view extension);

} // namespace text
