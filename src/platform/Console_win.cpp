#include "platform/Console.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace platform {

namespace {

DWORD standardHandleOf(std::FILE* stream)
{
    return stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
}

bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

// Output sent to a file or a pipe, which stays there.
bool isFileOrPipe(HANDLE handle)
{
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return false;
    const DWORD type = GetFileType(handle);
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

} // namespace

void writeText(std::FILE* stream, std::string_view utf8)
{
    const HANDLE handle = GetStdHandle(standardHandleOf(stream));
    if (!isConsole(handle)) {
        std::fwrite(utf8.data(), 1, utf8.size(), stream);
        return;
    }
    std::fflush(stream);   // what went out through the C library before comes first
    const int size = int(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring text(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), length);
    // A console takes a limited amount per call on older systems: written in pieces.
    for (std::size_t done = 0; done < text.size();) {
        DWORD written = 0;
        const DWORD piece = DWORD(std::min<std::size_t>(text.size() - done, 8192));
        if (!WriteConsoleW(handle, text.data() + done, piece, &written, nullptr) || written == 0)
            return;
        done += written;
    }
}

void useStartingConsole()
{
    const DWORD streams[] = {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    if (isFileOrPipe(GetStdHandle(streams[0])) && isFileOrPipe(GetStdHandle(streams[1])))
        return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    // A stream that has no handle, or one of a console the program was not attached to,
    // gets the console's own output; a file, a pipe or the attached console's handle stays.
    for (const DWORD stream : streams) {
        const HANDLE handle = GetStdHandle(stream);
        if (isFileOrPipe(handle) || isConsole(handle))
            continue;
        SetStdHandle(stream, CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
    }
}

} // namespace platform
