#pragma once

// A file opened for reading only, while other programs may read it but not write it: on
// Windows the system enforces that (share mode read); elsewhere files have no share modes
// and others can still write. Every read names its offset.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

class ReadOnlyFile final {
public:
    // Null when the file cannot be opened (missing, unreadable, on Windows open for writing
    // by another program) or is no regular file (a directory, a FIFO, a device); opening
    // never waits.
    static std::unique_ptr<ReadOnlyFile> open(const QString& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Whether other programs are kept from writing the file while it is open.
    static const bool kDeniesWriters;

    // Up to `size` bytes at `offset` into `buffer`; the number read, fewer where the file
    // ends, -1 on a read error.
    std::int64_t read(std::int64_t offset, char* buffer, std::size_t size);
    // The file's current size, or -1.
    std::int64_t size() const;

private:
    explicit ReadOnlyFile(std::intptr_t handle) : m_handle(handle) {}
    std::intptr_t m_handle;   // a file descriptor or a Windows HANDLE
};

} // namespace platform
