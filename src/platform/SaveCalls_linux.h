#pragma once

// The calls of a save that only Linux has: a rename that never replaces a file, room on
// disk claimed ahead, and a file's extended attributes copied.

#include <sys/types.h>

#include <string>

namespace platform::save {

// Gives the file `from` the name `to` unless `to` exists (EEXIST then, and `from` keeps
// its name): a file another program made there meanwhile is never replaced.
bool renameNoReplace(const std::string& from, const std::string& to);

// Claims room on disk for `size` bytes of the open file without changing its size. False,
// with errno set, only when the file system has the call and refuses the room.
bool claimRoom(int fd, off_t size);

// Gives `to` exactly the extended attributes of `from` (ACLs and labels among them): those
// of `from` are copied, and whatever `to` took from its folder and `from` lacks is
// removed, such as an access ACL inherited from the folder's default ACL, which would
// give others a right to the file that the old one did not.
bool copyAttributes(int from, int to);

} // namespace platform::save
