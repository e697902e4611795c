#include "platform/ReadOnlyFile.h"

#include <QDir>

#include <algorithm>

#include <windows.h>

namespace platform {
namespace {

HANDLE handleOf(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

const bool ReadOnlyFile::kDeniesWriters = true;

std::unique_ptr<ReadOnlyFile> ReadOnlyFile::open(const QString& path)
{
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    // Share mode read: others may read the bank while it is open, nobody may write it.
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    // Only a file on a disk holds a bank: a device name ("NUL", "COM1") or a pipe does not.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return nullptr;
    }
    return std::unique_ptr<ReadOnlyFile>(new ReadOnlyFile(reinterpret_cast<std::intptr_t>(file)));
}

ReadOnlyFile::~ReadOnlyFile()
{
    CloseHandle(handleOf(m_handle));
}

std::int64_t ReadOnlyFile::read(std::int64_t offset, char* buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const std::uint64_t at = std::uint64_t(offset) + done;
        OVERLAPPED position = {};
        position.Offset = DWORD(at & 0xFFFFFFFFu);
        position.OffsetHigh = DWORD(at >> 32);
        const DWORD wanted = DWORD(std::min<std::size_t>(size - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(handleOf(m_handle), buffer + done, wanted, &got, &position)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            return -1;
        }
        if (got == 0)
            break;
        done += got;
    }
    return std::int64_t(done);
}

std::int64_t ReadOnlyFile::size() const
{
    LARGE_INTEGER bytes;
    if (!GetFileSizeEx(handleOf(m_handle), &bytes))
        return -1;
    return std::int64_t(bytes.QuadPart);
}

} // namespace platform
