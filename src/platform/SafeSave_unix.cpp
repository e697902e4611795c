#include "platform/SafeSave.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace platform {
namespace {

// Symbolic links followed before a name counts as a loop, as the kernel does.
constexpr int kMaxLinkHops = 40;
// Bytes handed to one write() call; any count may come back short.
constexpr std::size_t kWriteChunk = std::size_t(1) << 20;

std::error_code errorOf(int code)
{
    return {code, std::generic_category()};
}

std::error_code lastError()
{
    return errorOf(errno != 0 ? errno : EIO);
}

// A descriptor closed when it goes out of scope.
class Descriptor final {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    int take() { return std::exchange(m_fd, -1); }
    // Closes and reports whether the close went well: NFS reports write errors here.
    bool close() { return ::close(take()) == 0; }

private:
    int m_fd;
};

// A file of our own making, removed when it goes out of scope unless released.
class OwnFile final {
public:
    OwnFile() = default;
    OwnFile(std::string path, int fd) : m_path(std::move(path)), m_fd(fd) {}
    ~OwnFile() { remove(); }
    OwnFile(OwnFile&& other) noexcept : m_path(std::exchange(other.m_path, {})), m_fd(other.m_fd.take()) {}
    OwnFile& operator=(OwnFile&& other) noexcept
    {
        remove();
        m_path = std::exchange(other.m_path, {});
        m_fd.reset(other.m_fd.take());
        return *this;
    }

    explicit operator bool() const { return !m_path.empty(); }
    const std::string& path() const { return m_path; }
    Descriptor& fd() { return m_fd; }
    void remove()
    {
        m_fd.reset();
        if (!m_path.empty())
            ::unlink(m_path.c_str());
        m_path.clear();
    }
    // The file lives on: renamed into place, or kept as the only copy of old content.
    void release()
    {
        m_fd.reset();
        m_path.clear();
    }

private:
    std::string m_path;
    Descriptor m_fd;
};

// Writes all of `bytes` at `offset`, going on after short writes; a write that makes no
// progress is an error, so a full disk is never taken for success.
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

// The whole content of an open file, read from its start.
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

// Gives the file `from` the name `to` unless `to` exists (EEXIST then, and `from` keeps
// its name): a file another program made there meanwhile is never replaced.
bool renameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return false;
    // A file system without the flag: a second name, which link() never takes from
    // another file, then the first name dropped.
    if (::link(from.c_str(), to.c_str()) != 0)
        return false;
    ::unlink(from.c_str());
    return true;
}

// A new file `<folder>/<prefix><random>` that did not exist before, opened for writing.
OwnFile createUnique(const std::string& folder, const std::string& prefix, mode_t mode, std::error_code& error)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::uniform_int_distribution<int> pick(0, int(sizeof(kLetters)) - 2);
    for (int attempt = 0; attempt < 64; ++attempt) {
        std::string path = folder + '/' + prefix;
        for (int i = 0; i < 8; ++i)
            path += kLetters[pick(device)];
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0)
            return OwnFile(std::move(path), fd);
        if (errno != EEXIST) {
            error = lastError();
            return {};
        }
    }
    error = errorOf(EEXIST);
    return {};
}

// Makes a file's data and its name durable. A folder that cannot be synced (some file
// systems refuse) is no reason to call a written file lost.
void syncFolder(const std::string& folder)
{
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir)
        ::fsync(dir.get());
}

// The names of a file's extended attributes, each ended by a NUL; nullopt when they
// cannot be listed.
std::optional<std::string> attributeNames(int fd)
{
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP ? std::optional<std::string>(std::string()) : std::nullopt;
        std::string names(std::size_t(size), '\0');
        const ssize_t got = size == 0 ? 0 : ::flistxattr(fd, names.data(), names.size());
        if (got >= 0) {
            names.resize(std::size_t(got));
            return names;
        }
        if (errno != ERANGE)  // ERANGE: the list grew meanwhile
            return std::nullopt;
    }
}

std::vector<std::string> splitNames(const std::string& names)
{
    std::vector<std::string> list;
    for (std::size_t at = 0; at < names.size();) {
        list.emplace_back(names.c_str() + at);
        at += list.back().size() + 1;
    }
    return list;
}

// Gives `to` exactly the extended attributes of `from` (ACLs and labels among them): those
// of `from` are copied, and whatever `to` took from its folder and `from` lacks is
// removed, such as an access ACL inherited from the folder's default ACL, which would
// give others a right to the file that the old one did not.
bool copyAttributes(int from, int to)
{
    const std::optional<std::string> fromNames = attributeNames(from);
    const std::optional<std::string> toNames = attributeNames(to);
    if (!fromNames || !toNames)
        return false;
    const std::vector<std::string> wanted = splitNames(*fromNames);
    for (const std::string& name : wanted) {
        const ssize_t valueSize = ::fgetxattr(from, name.c_str(), nullptr, 0);
        if (valueSize < 0)
            return false;
        std::string value(std::size_t(valueSize), '\0');
        const ssize_t valueGot = ::fgetxattr(from, name.c_str(), value.data(), value.size());
        if (valueGot < 0 || ::fsetxattr(to, name.c_str(), value.data(), std::size_t(valueGot), 0) != 0)
            return false;
    }
    for (const std::string& name : splitNames(*toNames)) {
        if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() && ::fremovexattr(to, name.c_str()) != 0
            && errno != ENODATA)
            return false;
    }
    // What the file holds now, checked: a file system may add or keep what it likes.
    const std::optional<std::string> now = attributeNames(to);
    if (!now)
        return false;
    std::vector<std::string> have = splitNames(*now);
    std::vector<std::string> sortedWanted = wanted;
    std::sort(have.begin(), have.end());
    std::sort(sortedWanted.begin(), sortedWanted.end());
    return have == sortedWanted;
}

// Where a save writes: the name with every symbolic link of its last part followed.
struct Target {
    std::string path;
    std::string folder;
    std::string name;
    bool exists = false;
    struct stat status {};
};

void splitPath(Target& target)
{
    const std::string_view path = target.path;
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    target.name = std::string(path.substr(nameStart));
    if (slash == std::string_view::npos)
        target.folder.assign(1, '.');
    else
        target.folder = std::string(path.substr(0, slash == 0 ? 1 : slash));
}

std::error_code resolve(std::string path, Target& target)
{
    for (int hops = 0;; ++hops) {
        target.path = path;
        splitPath(target);
        if (target.name.empty() || target.name == "." || target.name == "..")
            return errorOf(EISDIR);
        if (::lstat(path.c_str(), &target.status) != 0) {
            if (errno != ENOENT)
                return lastError();
            target.exists = false;  // a new file, or the missing end of a dangling link
            return {};
        }
        target.exists = true;
        if (!S_ISLNK(target.status.st_mode))
            return {};
        if (hops == kMaxLinkHops)
            return errorOf(ELOOP);
        std::string link(std::size_t(std::max<off_t>(target.status.st_size, 0)) + PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length < 0)
            return lastError();
        if (std::size_t(length) == link.size())
            return errorOf(ENAMETOOLONG);
        link.resize(std::size_t(length));
        if (link.empty())
            return errorOf(ENOENT);
        if (link.front() == '/') {
            path = std::move(link);
        } else {
            path = target.folder;
            path += '/';
            path += link;
        }
    }
}

std::error_code notRegular(const struct stat& status)
{
    return errorOf(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
}

// A new file: written whole under a temporary name, then given its name, unless another
// program made a file of that name meanwhile, which is refused like a failed write. The
// folder's default permissions and the user's umask apply, as to any file the user
// creates.
std::error_code createFile(const Target& target, std::string_view bytes)
{
    std::error_code error;
    OwnFile temp = createUnique(target.folder, ".zq-save-", 0666, error);
    if (!temp)
        return error;
    if (!writeAll(temp.fd().get(), bytes, 0) || ::fsync(temp.fd().get()) != 0 || !temp.fd().close())
        return lastError();
    if (!renameNoReplace(temp.path(), target.path))
        return lastError();
    temp.release();
    syncFolder(target.folder);
    return {};
}

enum class Replaced { Yes, Failed, KeepsNoIdentity };

// Replaces the file by a complete new one when that changes nothing but its content.
Replaced replaceFile(const Target& target, int oldFd, const struct stat& old, std::string_view bytes,
                     std::error_code& error)
{
    if (old.st_nlink != 1)
        return Replaced::KeepsNoIdentity;  // the other names would keep the old file
    std::error_code ignored;
    OwnFile temp = createUnique(target.folder, ".zq-save-", 0600, ignored);
    if (!temp)
        return Replaced::KeepsNoIdentity;  // a folder the user may not write, for one
    const int fd = temp.fd().get();
    // Owner first: a change of owner clears the set-id bits.
    struct stat made {};
    if (::fstat(fd, &made) != 0)
        return Replaced::KeepsNoIdentity;
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return Replaced::KeepsNoIdentity;
    if (::fchmod(fd, old.st_mode & 07777) != 0 || !copyAttributes(oldFd, fd))
        return Replaced::KeepsNoIdentity;
    if (::fstat(fd, &made) != 0 || made.st_mode != old.st_mode || made.st_uid != old.st_uid
        || made.st_gid != old.st_gid)
        return Replaced::KeepsNoIdentity;

    if (!writeAll(fd, bytes, 0) || ::fsync(fd) != 0 || !temp.fd().close()) {
        error = lastError();
        return Replaced::Failed;
    }
    if (::rename(temp.path().c_str(), target.path.c_str()) != 0) {
        // A name that cannot be replaced (a mount point, a sticky folder) can still be
        // written in place.
        if (errno == EBUSY || errno == EPERM || errno == EACCES)
            return Replaced::KeepsNoIdentity;
        error = lastError();
        return Replaced::Failed;
    }
    temp.release();
    syncFolder(target.folder);
    return Replaced::Yes;
}

// Writes over the file itself, so its inode, links, owner and mode stay. The old content
// is read first; any failure writes it back. A backup copy beside the file keeps it
// across a crash, and stays there if even writing it back fails.
std::error_code writeInPlace(const Target& target, int fd, const struct stat& old, std::string_view bytes)
{
    std::error_code error;
    const std::optional<std::string> kept = readAll(fd, old.st_size, error);
    if (!kept)
        return error;

    OwnFile backup;
    if (target.name.size() + 9 <= NAME_MAX) {
        std::error_code ignored;
        backup = createUnique(target.folder, target.name + '~', 0600, ignored);
        if (backup) {
            if (writeAll(backup.fd().get(), *kept, 0) && ::fsync(backup.fd().get()) == 0 && backup.fd().close())
                syncFolder(target.folder);
            else
                backup.remove();  // a full disk, say: the copy in memory must do
        }
    }

    // Room for the longer content is claimed before a byte changes, where the file
    // system can do that.
    if (bytes.size() > kept->size()
        && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(bytes.size())) != 0
        && errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL)
        return lastError();

    const bool written = writeAll(fd, bytes, 0)
                         && (bytes.size() >= kept->size() || ::ftruncate(fd, off_t(bytes.size())) == 0)
                         && ::fsync(fd) == 0;
    if (written)
        return {};

    error = lastError();
    const bool restored = writeAll(fd, *kept, 0) && ::ftruncate(fd, off_t(kept->size())) == 0 && ::fsync(fd) == 0;
    if (!restored)
        backup.release();
    return error;
}

} // namespace

std::error_code saveFile(const QString& path, std::string_view bytes)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty())
        return errorOf(ENOENT);
    Target target;
    if (const std::error_code error = resolve(encoded.toStdString(), target))
        return error;
    if (!target.exists)
        return createFile(target, bytes);
    // Never opened for writing when it is no regular file: a FIFO would block the window.
    if (!S_ISREG(target.status.st_mode))
        return notRegular(target.status);

    // Non-blocking and no link at the last part, in case the name changed since it was
    // looked at; what was opened is checked again.
    Descriptor file(::open(target.path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file)
        return lastError();
    struct stat old {};
    if (::fstat(file.get(), &old) != 0)
        return lastError();
    if (!S_ISREG(old.st_mode))
        return notRegular(old);
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return lastError();

    std::error_code error;
    switch (replaceFile(target, file.get(), old, bytes, error)) {
    case Replaced::Yes:
        return {};
    case Replaced::Failed:
        return error;
    case Replaced::KeepsNoIdentity:
        break;
    }
    return writeInPlace(target, file.get(), old, bytes);
}

} // namespace platform
