// The entry point: the name resolved through its symbolic links, the way of saving chosen,
// and what killed saves left cleared after one that went well.

#include "platform/SafeSave.h"
#include "platform/SaveFiles_unix.h"
#include "platform/SaveWays_unix.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string>
#include <utility>

namespace platform {
namespace save {
namespace {

// Symbolic links followed before a name counts as a loop, as the kernel does.
constexpr int kMaxLinkHops = 40;

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
} // namespace save

std::error_code saveFile(const QString& path, std::string_view bytes)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty())
        return save::errorOf(ENOENT);
    save::Target target;
    if (const std::error_code error = save::resolve(encoded.toStdString(), target))
        return error;
    const std::error_code error = save::saveTo(target, bytes);
    // A save that went well also clears what an earlier, killed one left in the folder;
    // a failed one changes nothing more.
    if (!error)
        save::removeLeftovers(target.folder);
    return error;
}

} // namespace platform
