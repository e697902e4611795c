#pragma once

// A lock on a file that lasts while the object lives and ends with the process however it
// ends (a kill or a crash too), so that a lock still held names a program that still runs.

#include <QString>

#include <memory>

namespace platform {

class FileLock {
public:
    virtual ~FileLock() = default;
    // The lock on `path` (made when missing), or none when another holds it or the file
    // cannot be made.
    static std::unique_ptr<FileLock> tryLock(const QString& path);
};

} // namespace platform
