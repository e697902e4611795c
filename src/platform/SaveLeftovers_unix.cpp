// What killed saves left beside a file: the editor's temporary files, and backups of
// writes in place no longer needed, told apart from the user's files and removed.

#include "platform/SaveFiles_unix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace platform::save {
namespace {

bool isTag(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
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

} // namespace

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

} // namespace platform::save
