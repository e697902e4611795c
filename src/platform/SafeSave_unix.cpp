#include "platform/SafeSave.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
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
    Descriptor(Descriptor&& other) noexcept : m_fd(other.take()) {}

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

// A file of our own making, removed when it goes out of scope unless released. It stays
// locked (flock) until then, through a second descriptor, so that another save into the
// folder never takes it for a leftover while this one is at work, even after its first
// descriptor was closed to see the close succeed.
class OwnFile final {
public:
    OwnFile() = default;
    OwnFile(std::string path, int fd) : m_path(std::move(path)), m_fd(fd)
    {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            m_lock.reset(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
    }
    ~OwnFile() { remove(); }
    OwnFile(OwnFile&& other) noexcept
        : m_path(std::exchange(other.m_path, {})), m_fd(other.m_fd.take()), m_lock(other.m_lock.take())
    {
    }
    OwnFile& operator=(OwnFile&& other) noexcept
    {
        remove();
        m_path = std::exchange(other.m_path, {});
        m_fd.reset(other.m_fd.take());
        m_lock.reset(other.m_lock.take());
        return *this;
    }

    explicit operator bool() const { return !m_path.empty(); }
    const std::string& path() const { return m_path; }
    void setPath(std::string path) { m_path = std::move(path); }
    Descriptor& fd() { return m_fd; }
    void remove()
    {
        m_fd.reset();
        if (!m_path.empty())
            ::unlink(m_path.c_str());
        m_path.clear();
        m_lock.reset();
    }
    // The file lives on: renamed into place, or kept as the only copy of old content.
    void release()
    {
        m_fd.reset();
        m_path.clear();
        m_lock.reset();
    }

private:
    std::string m_path;
    Descriptor m_fd;
    Descriptor m_lock;
};

// The editor's own files beside a saved file carry a tag of their inode number in their
// name: ".zq-save-TTTTTTTT" while a save is at work, "NAME~TTTTTTTTCCCCCCCC" for the old
// content of NAME while it is written in place (CCCCCCCC tags the new content). A file
// left behind by a killed save is thereby told apart from any file of the user's, even
// one named alike: a copy, or another file moved to that name, has another inode.
constexpr std::string_view kTempPrefix = ".zq-save-";
constexpr std::size_t kTagSize = 8;
constexpr std::size_t kBackupSuffixSize = 1 + 2 * kTagSize;

std::uint64_t hashBytes(std::string_view bytes, std::uint64_t hash = 14695981039346656037ULL)
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

bool isTag(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

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

// A new file in `folder` that did not exist before, opened for writing, locked, and named
// ".zq-save-" with its inode's tag. It is made under a random name and renamed at once;
// should that fail, it keeps the random name, which works as well but is not recognised
// later.
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
    OwnFile temp = createOwnFile(target.folder, 0666, error);
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
    OwnFile temp = createOwnFile(target.folder, 0600, ignored);
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

// A copy of the old content beside the file, for as long as the file is written in place:
// "NAME~" with the tags of its inode and of the new content. It gets that name only once
// it is complete and on disk, so a backup found later always holds the whole old content.
OwnFile makeBackup(const Target& target, const std::string& kept, std::string_view bytes)
{
    if (target.name.size() + kBackupSuffixSize > NAME_MAX)
        return {};
    std::error_code ignored;
    OwnFile backup = createOwnFile(target.folder, 0600, ignored);
    if (!backup)
        return {};
    struct stat made {};
    if (!writeAll(backup.fd().get(), kept, 0) || ::fsync(backup.fd().get()) != 0
        || ::fstat(backup.fd().get(), &made) != 0 || !backup.fd().close())
        return {};  // a full disk, say: the copy in memory must do
    std::string named = target.folder + '/' + target.name + '~' + inodeTag(made.st_ino) + tagOf(hashBytes(bytes));
    if (!renameNoReplace(backup.path(), named))
        return {};
    backup.setPath(std::move(named));
    syncFolder(target.folder);
    return backup;
}

// Writes over the file itself, so its inode, links, owner and mode stay. The old content
// is read first; any failure writes it back. The backup keeps it across a crash, and
// stays there if even writing it back fails; otherwise it goes as soon as the file is
// complete again.
std::error_code writeInPlace(const Target& target, int fd, const struct stat& old, std::string_view bytes)
{
    std::error_code error;
    const std::optional<std::string> kept = readAll(fd, old.st_size, error);
    if (!kept)
        return error;
    OwnFile backup = makeBackup(target, *kept, bytes);

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

// Whether two open regular files hold the same bytes.
bool sameContent(int a, int b)
{
    struct stat sa {}, sb {};
    if (::fstat(a, &sa) != 0 || ::fstat(b, &sb) != 0 || sa.st_size != sb.st_size)
        return false;
    std::string bufferA(65536, '\0'), bufferB(65536, '\0');
    for (off_t at = 0;;) {
        const ssize_t gotA = ::pread(a, bufferA.data(), bufferA.size(), at);
        if (gotA < 0)
            return false;
        if (gotA == 0)
            return true;
        for (ssize_t gotB = 0; gotB < gotA;) {
            const ssize_t n = ::pread(b, bufferB.data() + gotB, std::size_t(gotA - gotB), at + gotB);
            if (n <= 0)
                return false;
            gotB += n;
        }
        if (bufferA.compare(0, std::size_t(gotA), bufferB, 0, std::size_t(gotA)) != 0)
            return false;
        at += gotA;
    }
}

// The tag of an open regular file's content, as a backup's name holds it.
std::optional<std::string> contentTag(int fd)
{
    std::uint64_t hash = hashBytes({});
    std::string buffer(65536, '\0');
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), at);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return tagOf(hash);
        hash = hashBytes(std::string_view(buffer.data(), std::size_t(got)), hash);
        at += got;
    }
}

Descriptor openRegular(const std::string& path, struct stat& status)
{
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd && (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)))
        fd.reset();
    return fd;
}

// Removes what killed saves of this user left in the folder: their temporary files, and
// the backups of in-place writes that are no longer needed because their file holds the
// old content again or the whole new content. A backup whose file holds anything else
// (cut short by the crash, or changed since) stays: it may be the only copy of the old
// content. Only files are touched whose name carries their own inode's tag, that have a
// single name and that no save at work holds (its lock); a file the user may not read is
// left alone.
void removeLeftovers(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        const bool temp = name.size() == kTempPrefix.size() + kTagSize && name.starts_with(kTempPrefix)
                          && isTag(name.substr(kTempPrefix.size()));
        const bool backup = name.size() > kBackupSuffixSize && name[name.size() - kBackupSuffixSize] == '~'
                            && isTag(name.substr(name.size() - 2 * kTagSize));
        if (temp || backup)
            names.emplace_back(name);
    }
    ::closedir(dir);

    for (const std::string& name : names) {
        const std::string path = folder + '/' + name;
        struct stat status {};
        const Descriptor leftover = openRegular(path, status);
        const bool temp = name.starts_with(kTempPrefix) && name.size() == kTempPrefix.size() + kTagSize;
        const std::string_view tag =
            std::string_view(name).substr(temp ? kTempPrefix.size() : name.size() - 2 * kTagSize, kTagSize);
        if (!leftover || status.st_nlink != 1 || tag != inodeTag(status.st_ino)
            || ::flock(leftover.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (!temp) {
            struct stat fileStatus {};
            const Descriptor file =
                openRegular(folder + '/' + name.substr(0, name.size() - kBackupSuffixSize), fileStatus);
            if (!file)
                continue;
            const std::optional<std::string> written = contentTag(file.get());
            const bool complete = written && *written == std::string_view(name).substr(name.size() - kTagSize);
            if (!complete && !sameContent(leftover.get(), file.get()))
                continue;
        }
        ::unlink(path.c_str());
    }
}

// Saves to a resolved target.
std::error_code saveTo(const Target& target, std::string_view bytes)
{
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

} // namespace

std::error_code saveFile(const QString& path, std::string_view bytes)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty())
        return errorOf(ENOENT);
    Target target;
    if (const std::error_code error = resolve(encoded.toStdString(), target))
        return error;
    const std::error_code error = saveTo(target, bytes);
    // A save that went well also clears what an earlier, killed one left in the folder;
    // a failed one changes nothing more.
    if (!error)
        removeLeftovers(target.folder);
    return error;
}

} // namespace platform
