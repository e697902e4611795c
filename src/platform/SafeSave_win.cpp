// Saving on Windows: a complete, flushed temporary file beside the target, then ReplaceFileW,
// which keeps the old file's identity (attributes, security, creation time, alternate
// streams). A file with more than one hard link is written in place, after its old content
// was read and copied beside it, and that content is written back if anything fails.
// Read-only files, folders and devices are refused without being opened for writing.
//
// Whatever fails, the old file stays under its name or is put back there; where even that
// cannot be done, the new file is, and where nothing can be moved, nothing is deleted.

#include "platform/SafeSave.h"
#include "platform/SafeSaveCalls_win.h"

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

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

BOOL replaceFile(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags)
{
    return ReplaceFileW(replaced, replacement, backup, flags, nullptr, nullptr);
}

// Every byte written from the start, the file ended there, and all on disk.
bool writeWhole(HANDLE file, std::string_view bytes)
{
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = DWORD(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
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

// A new, empty file of a name not yet taken in `folder`; empty when none can be made.
std::wstring uniqueName(const std::wstring& folder)
{
    wchar_t name[MAX_PATH * 4];
    if (!GetTempFileNameW(folder.c_str(), L"zq", 0, name))
        return {};
    return name;
}

// A file holding `bytes` beside the target; empty when it could not be written whole.
std::wstring writeNewFile(const std::wstring& folder, std::string_view bytes, std::error_code& error)
{
    const std::wstring name = uniqueName(folder);
    if (name.empty()) {
        error = lastError();
        return {};
    }
    Handle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || !safesave::calls().writeWhole(file.get(), bytes) || !file.close()) {
        error = lastError();
        file.close();
        DeleteFileW(name.c_str());
        return {};
    }
    return name;
}

// Writes over the file itself, so all its names keep it. The old content is copied beside
// it first, so a crash does not lose it; a failed write puts it back, and the copy stays
// only when even that fails.
std::error_code saveInPlace(const std::wstring& target, const std::wstring& folder, std::string_view bytes)
{
    Handle file(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return lastError();
    std::string old;
    if (!readAll(file.get(), old))
        return lastError();
    std::error_code ignored;
    const std::wstring backup = writeNewFile(folder, old, ignored);  // none: the copy in memory must do

    if (safesave::calls().writeWhole(file.get(), bytes)) {
        const std::error_code closed = file.close() ? std::error_code() : lastError();
        if (!backup.empty())
            DeleteFileW(backup.c_str());
        return closed;
    }
    const std::error_code failed = lastError();
    if (safesave::calls().writeWhole(file.get(), old) && !backup.empty())
        DeleteFileW(backup.c_str());
    return failed;
}

// After a failed ReplaceFileW: the old file back under its name where it is not there any
// more (it may have been moved to the backup name, or away), else the new one; the files
// that are no longer needed deleted, and nothing deleted that may be the only copy.
void recoverFromReplace(const std::wstring& target, const std::wstring& temporary, const std::wstring& backup)
{
    if (exists(target)) {
        // The old file kept its name (ERROR_UNABLE_TO_REMOVE_REPLACED, and every failure
        // with a backup name but ERROR_UNABLE_TO_MOVE_REPLACEMENT_2).
        DeleteFileW(temporary.c_str());
        return;
    }
    // ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: the old file under the backup name.
    if (exists(backup) && MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return;
    }
    // The old file cannot be put back (or is gone): the new one takes the name; the old one
    // stays under the backup name. Should that fail too, both stay where they are.
    MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
}

} // namespace

namespace safesave {

Calls& calls()
{
    static Calls table{replaceFile, writeWhole};
    return table;
}

} // namespace safesave

std::error_code saveFile(const QString& path, std::string_view bytes)
{
    const QFileInfo info(path);
    const std::wstring target = native(info.absoluteFilePath());
    // The temporary file and the backup beside the target, so all stay on one volume.
    const std::wstring folder = native(info.absolutePath());
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (existed && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        return std::error_code(ERROR_ACCESS_DENIED, std::system_category());
    if (existed && (attributes & FILE_ATTRIBUTE_READONLY))
        return std::error_code(ERROR_ACCESS_DENIED, std::system_category());

    if (existed) {
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
            return saveInPlace(target, folder, bytes);
    }

    std::error_code error;
    const std::wstring temporary = writeNewFile(folder, bytes, error);
    if (temporary.empty())
        return error;
    if (!existed) {
        // Without MOVEFILE_REPLACE_EXISTING: a file another program made meanwhile stays.
        if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
            return {};
        const std::error_code failed = lastError();
        DeleteFileW(temporary.c_str());
        return failed;
    }

    // A backup name makes ReplaceFileW say where the old file is when it fails midway; the
    // name is made free again, since the old file is to take it.
    const std::wstring backup = uniqueName(folder);
    if (backup.empty()) {
        const std::error_code failed = lastError();
        DeleteFileW(temporary.c_str());
        return failed;
    }
    DeleteFileW(backup.c_str());
    if (safesave::calls().replaceFile(target.c_str(), temporary.c_str(), backup.c_str(),
                                      REPLACEFILE_IGNORE_MERGE_ERRORS)) {
        DeleteFileW(backup.c_str());
        return {};
    }
    const std::error_code failed = lastError();
    recoverFromReplace(target, temporary, backup);
    return failed;
}

} // namespace platform
