#include "platform/FileLock.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

class UnixFileLock final : public FileLock {
public:
    explicit UnixFileLock(int fd) : m_fd(fd) {}
    ~UnixFileLock() override { ::close(m_fd); }

private:
    int m_fd;
};

} // namespace

std::unique_ptr<FileLock> FileLock::tryLock(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    // flock, not fcntl locks: those of one process do not exclude each other, and two
    // windows of one process must not share a recovery.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<UnixFileLock>(fd);
}

} // namespace platform
