// Descriptors, the editor's own files (made, locked and named by their inode's tag), and
// the loops that write and read a whole file.

#include "platform/SaveCalls_linux.h"
#include "platform/SaveFiles_unix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <new>
#include <random>

namespace platform::save {
namespace {

// Bytes handed to one write() call; any count may come back short.
constexpr std::size_t kWriteChunk = std::size_t(1) << 20;

} // namespace

std::error_code errorOf(int code)
{
    return {code, std::generic_category()};
}

std::error_code lastError()
{
    return errorOf(errno != 0 ? errno : EIO);
}

void Descriptor::reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

bool Descriptor::close()
{
    return ::close(take()) == 0;
}

OwnFile::OwnFile(std::string path, int fd) : m_path(std::move(path)), m_fd(fd)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        m_lock.reset(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
}

void OwnFile::remove()
{
    m_fd.reset();
    if (!m_path.empty())
        ::unlink(m_path.c_str());
    m_path.clear();
    m_lock.reset();
}

void OwnFile::release()
{
    m_fd.reset();
    m_path.clear();
    m_lock.reset();
}

std::uint64_t hashBytes(std::string_view bytes, std::uint64_t hash)
{
    for (const char c : bytes) {
        hash ^= std::uint8_t(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string tagOf(std::uint64_t hash)
{
    char text[kTagSize + 1];
    std::snprintf(text, sizeof text, "%08x", unsigned((hash ^ (hash >> 32)) & 0xFFFFFFFFU));
    return text;
}

std::string inodeTag(ino_t inode)
{
    return tagOf(hashBytes("zq-save inode " + std::to_string(inode)));
}

OwnFile createOwnFile(const std::string& folder, mode_t mode, std::error_code& error)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::uniform_int_distribution<int> pick(0, int(sizeof(kLetters)) - 2);
    for (int attempt = 0; attempt < 64; ++attempt) {
        std::string path = folder + '/' + std::string(kTempPrefix);
        for (std::size_t i = 0; i < kTagSize; ++i)
            path += kLetters[pick(device)];
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0) {
            if (errno != EEXIST) {
                error = lastError();
                return {};
            }
            continue;
        }
        OwnFile file(std::move(path), fd);
        struct stat made {};
        if (::fstat(fd, &made) == 0) {
            std::string tagged = folder + '/' + std::string(kTempPrefix) + inodeTag(made.st_ino);
            if (renameNoReplace(file.path(), tagged))
                file.setPath(std::move(tagged));
        }
        return file;
    }
    error = errorOf(EEXIST);
    return {};
}

void syncFolder(const std::string& folder)
{
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir)
        ::fsync(dir.get());
}

bool writeAll(int fd, std::string_view bytes, off_t offset)
{
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd, bytes.data(), std::min(bytes.size(), kWriteChunk), offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(std::size_t(written));
        offset += written;
    }
    return true;
}

std::optional<std::string> readAll(int fd, off_t sizeHint, std::error_code& error)
{
    std::string content;
    try {
        content.resize(std::size_t(std::max<off_t>(sizeHint, 0)));
        std::size_t got = 0;
        for (;;) {
            if (got == content.size())
                content.resize(content.size() + 65536);
            const ssize_t n = ::pread(fd, content.data() + got, content.size() - got, off_t(got));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                error = lastError();
                return std::nullopt;
            }
            if (n == 0)
                break;
            got += std::size_t(n);
        }
        content.resize(got);
    } catch (const std::bad_alloc&) {
        error = errorOf(ENOMEM);
        return std::nullopt;
    }
    return content;
}

} // namespace platform::save
