// Saving on Windows: a complete, flushed temporary file beside the target, then ReplaceFileW,
// which keeps the old file's identity (attributes, security, creation time, alternate
// streams). A file with more than one hard link is written in place, after its old content
// was read, and that content is written back if anything fails. Read-only files, folders
// and devices are refused without being opened for writing.

#include "platform/SafeSave.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

#include <string>

namespace platform {
namespace {

std::error_code lastError()
{
    return std::error_code(int(GetLastError()), std::system_category());
}

class Handle final {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    bool close()
    {
        if (!valid())
            return true;
        const bool closed = CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

std::wstring native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// Every byte written and on disk.
bool writeAll(HANDLE file, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = DWORD(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return SetEndOfFile(file) && FlushFileBuffers(file);
}

bool readAll(HANDLE file, std::string& bytes)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size))
        return false;
    bytes.assign(std::size_t(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD chunk = DWORD(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!ReadFile(file, bytes.data() + done, chunk, &got, nullptr))
            return false;
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return true;
}

std::error_code saveInPlace(const std::wstring& target, std::string_view bytes)
{
    Handle file(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return lastError();
    std::string old;
    if (!readAll(file.get(), old))
        return lastError();
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN))
        return lastError();
    if (writeAll(file.get(), bytes))
        return file.close() ? std::error_code() : lastError();
    const std::error_code failed = lastError();
    SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN);
    writeAll(file.get(), old);
    return failed;
}

} // namespace

std::error_code saveFile(const QString& path, std::string_view bytes)
{
    const QFileInfo info(path);
    const std::wstring target = native(info.absoluteFilePath());
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        return std::error_code(ERROR_ACCESS_DENIED, std::system_category());
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return std::error_code(ERROR_ACCESS_DENIED, std::system_category());

    if (exists) {
        Handle probe(CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.valid())
            return lastError();
        BY_HANDLE_FILE_INFORMATION details;
        if (!GetFileInformationByHandle(probe.get(), &details))
            return lastError();
        if (GetFileType(probe.get()) != FILE_TYPE_DISK)
            return std::error_code(ERROR_ACCESS_DENIED, std::system_category());
        if (details.nNumberOfLinks > 1)
            return saveInPlace(target, bytes);
    }

    // The temporary file beside the target, so the replacement stays on one volume.
    const std::wstring folder = native(info.absolutePath());
    wchar_t temporary[MAX_PATH * 4];
    if (!GetTempFileNameW(folder.c_str(), L"zq", 0, temporary))
        return lastError();
    {
        Handle file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid() || !writeAll(file.get(), bytes) || !file.close()) {
            const std::error_code failed = lastError();
            DeleteFileW(temporary);
            return failed;
        }
    }
    const bool replaced = exists
        ? ReplaceFileW(target.c_str(), temporary, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
        : MoveFileExW(temporary, target.c_str(), MOVEFILE_WRITE_THROUGH);
    if (!replaced) {
        const std::error_code failed = lastError();
        DeleteFileW(temporary);
        return failed;
    }
    return {};
}

} // namespace platform
