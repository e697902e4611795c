#pragma once

// File-name helpers for the save name proposed to the user.

#include <string>
#include <string_view>

namespace text {

// The path with its extension replaced by `extension` (".mon", ".TXT"). The extension is
// everything from the last dot of the file-name part (after the last path separator of the
// platform, platform/PathRules.h); when that part has no dot, the extension is appended.
// The second byte of a double-byte character is never taken for a separator ("ソ" is
// 0x83 0x5C, and 0x5C is "\").
std::string replaceExtension(std::string_view path, std::string_view extension);

} // namespace text
