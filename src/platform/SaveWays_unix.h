#pragma once

// The three ways of saving to a resolved name: a new file made, a file replaced whole, or
// a file written in place with its old content kept.

#include <sys/stat.h>

#include <string>
#include <string_view>
#include <system_error>

namespace platform::save {

// Where a save writes: the name with every symbolic link of its last part followed.
struct Target {
    std::string path;
    std::string folder;
    std::string name;
    bool exists = false;
    struct stat status {};
};

// A new file: written whole under a temporary name, then given its name, unless another
// program made a file of that name meanwhile, which is refused like a failed write. The
// folder's default permissions and the user's umask apply, as to any file the user
// creates.
std::error_code createFile(const Target& target, std::string_view bytes);

enum class Replaced { Yes, Failed, KeepsNoIdentity };

// Replaces the file by a complete new one when that changes nothing but its content.
Replaced replaceFile(const Target& target, int oldFd, const struct stat& old, std::string_view bytes,
                     std::error_code& error);

// Writes over the file itself, so its inode, links, owner and mode stay. The old content
// is read first; any failure writes it back. The backup keeps it across a crash, and
// stays there if even writing it back fails; otherwise it goes as soon as the file is
// complete again.
std::error_code writeInPlace(const Target& target, int fd, const struct stat& old, std::string_view bytes);

} // namespace platform::save
