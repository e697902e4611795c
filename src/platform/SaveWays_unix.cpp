// The ways of saving: a new file made under a temporary name, a file replaced whole when
// that keeps its identity, and a file written in place behind a backup.

#include "platform/SaveCalls_linux.h"
#include "platform/SaveFiles_unix.h"
#include "platform/SaveWays_unix.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <optional>

namespace platform::save {

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

namespace {

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

} // namespace

std::error_code writeInPlace(const Target& target, int fd, const struct stat& old, std::string_view bytes)
{
    std::error_code error;
    const std::optional<std::string> kept = readAll(fd, old.st_size, error);
    if (!kept)
        return error;
    OwnFile backup = makeBackup(target, *kept, bytes);

    // Room for the longer content is claimed before a byte changes, where the file
    // system can do that.
    if (bytes.size() > kept->size() && !claimRoom(fd, off_t(bytes.size())))
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

} // namespace platform::save
