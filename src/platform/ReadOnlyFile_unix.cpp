#include "platform/ReadOnlyFile.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

const bool ReadOnlyFile::kDeniesWriters = false;

std::unique_ptr<ReadOnlyFile> ReadOnlyFile::open(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    // Opened without blocking, since opening a FIFO waits for a writer that may never come;
    // anything but a regular file (a directory, a FIFO, a device) holds no bank.
    int fd;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<ReadOnlyFile>(new ReadOnlyFile(fd));
}

ReadOnlyFile::~ReadOnlyFile()
{
    ::close(int(m_handle));
}

std::int64_t ReadOnlyFile::read(std::int64_t offset, char* buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = pread(int(m_handle), buffer + done, size - done, off_t(offset + std::int64_t(done)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += std::size_t(got);
    }
    return std::int64_t(done);
}

std::int64_t ReadOnlyFile::size() const
{
    struct stat info;
    if (fstat(int(m_handle), &info) != 0)
        return -1;
    return std::int64_t(info.st_size);
}

} // namespace platform
