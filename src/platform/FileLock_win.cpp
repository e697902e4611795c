#include "platform/FileLock.h"

#include <QDir>

#include <windows.h>

namespace platform {

namespace {

class WindowsFileLock final : public FileLock {
public:
    explicit WindowsFileLock(HANDLE file) : m_file(file) {}
    ~WindowsFileLock() override { CloseHandle(m_file); }

private:
    HANDLE m_file;
};

} // namespace

std::unique_ptr<FileLock> FileLock::tryLock(const QString& path)
{
    // Opened sharing nothing: while the handle is open, every other open fails.
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<WindowsFileLock>(file);
}

} // namespace platform
