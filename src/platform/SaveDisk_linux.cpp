// Linux's calls on names and disk room, each with what a file system without it falls
// back to: renameat2's no-replace rename, and fallocate's room claimed ahead.

#include "platform/SaveCalls_linux.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace platform::save {

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

bool claimRoom(int fd, off_t size)
{
    // A file system that cannot claim room ahead writes as it goes.
    return ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) == 0 || errno == EOPNOTSUPP || errno == ENOSYS
           || errno == EINVAL;
}

} // namespace platform::save
