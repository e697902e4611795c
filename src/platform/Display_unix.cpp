#include "platform/Display.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {
namespace {

bool set(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

bool onPath(const char* program)
{
    const char* path = std::getenv("PATH");
    for (const char* dir = path; dir && *dir;) {
        const char* end = std::strchr(dir, ':');
        const std::string folder(dir, end ? std::size_t(end - dir) : std::strlen(dir));
        if (!folder.empty() && ::access((folder + '/' + program).c_str(), X_OK) == 0)
            return true;
        dir = end ? end + 1 : nullptr;
    }
    return false;
}

// The socket libwayland-client would connect to: WAYLAND_DISPLAY (by default "wayland-0"),
// as a path or as a name in XDG_RUNTIME_DIR. A socket file that nobody listens on is left
// behind by a compositor that has gone, so only a connection counts.
bool waylandAnswers()
{
    const char* name = set("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "wayland-0";
    std::string path = name;
    if (name[0] != '/') {
        if (!set("XDG_RUNTIME_DIR"))
            return false;
        path = std::string(std::getenv("XDG_RUNTIME_DIR")) + '/' + name;
    }
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    const bool answered = ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return answered;
}

} // namespace

bool displayNamed()
{
    if (set("QT_QPA_PLATFORM") || set("DISPLAY"))
        return true;
    // Qt picks its Wayland platform by itself when a compositor is all there is.
    return set("WAYLAND_SOCKET") || waylandAnswers();
}

std::string noDisplayMessage()
{
    // xvfb-run is only worth naming where it can be run, or with the way to get it.
    if (!onPath("xvfb-run"))
        return "zelqua-editor: no display found; start it from a desktop session, or without one "
               "under a virtual X server: sudo apt-get install xvfb, then xvfb-run zelqua-editor\n";
    return "zelqua-editor: no display found; start it from a desktop session, or without one "
           "under a virtual X server: xvfb-run zelqua-editor\n";
}

} // namespace platform
