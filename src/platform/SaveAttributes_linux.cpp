// Linux's extended attribute calls: a replacement given exactly the attributes (ACLs and
// labels among them) of the file it replaces.

#include "platform/SaveCalls_linux.h"

#include <sys/xattr.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

namespace platform::save {
namespace {

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

} // namespace

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

} // namespace platform::save
