#pragma once

// The calls of the Windows save whose failures a healthy disk never shows: putting the new
// file in place of the old one, and writing a whole file. The save makes them through this
// table, which holds the system's own functions; a test puts its own in, to bring about
// each failure ReplaceFileW documents (with the files left as documented) and failing
// writes, and checks what the save does then. The program never changes the table.

#include <windows.h>

#include <string_view>

namespace platform::safesave {

struct Calls {
    // ReplaceFileW(replaced, replacement, backup, flags, nullptr, nullptr).
    BOOL (*replaceFile)(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags);
    // Makes `bytes` the file's whole content from its start, and flushes it to the disk.
    bool (*writeWhole)(HANDLE file, std::string_view bytes);
};

Calls& calls();

} // namespace platform::safesave
