#include "app/DisplayCheck.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace app {

namespace {

QtMessageHandler g_previous = nullptr;
// The platform's own complaints while it starts, replayed once it has started: when it does
// not, the one line below says all the user needs.
QStringList g_held;

bool set(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
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
#endif

void printNoDisplay()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    // xvfb-run is only worth naming where it can be run, or with the way to get it.
    if (!onPath("xvfb-run")) {
        std::fputs("zelqua-editor: no display found; start it from a desktop session, or without one "
                   "under a virtual X server: sudo apt-get install xvfb, then xvfb-run zelqua-editor\n",
                   stderr);
        return;
    }
#endif
    std::fputs("zelqua-editor: no display found; start it from a desktop session, or without one "
               "under a virtual X server: xvfb-run zelqua-editor\n",
               stderr);
}

void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        // The platform plugin could not start; anything else fatal is not ours to reword.
        if (message.contains(QLatin1String("platform plugin")) || message.contains(QLatin1String("display"))) {
            printNoDisplay();
            std::_Exit(kNoDisplayStatus);
        }
    }
    if (context.category && QLatin1String(context.category).startsWith(QLatin1String("qt.qpa"))) {
        g_held << message;
        return;
    }
    if (g_previous)
        g_previous(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

bool displayAvailable()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    if (set("QT_QPA_PLATFORM") || set("DISPLAY"))
        return true;
    // Qt picks its Wayland platform by itself when a compositor is all there is.
    if (set("WAYLAND_SOCKET") || waylandAnswers())
        return true;
    printNoDisplay();
    return false;
#else
    return true;
#endif
}

void exitQuietlyWithoutPlatform()
{
    g_previous = qInstallMessageHandler(startupMessages);
}

void restoreMessageHandling()
{
    qInstallMessageHandler(g_previous);
    for (const QString& message : std::as_const(g_held))
        qWarning("%s", qPrintable(message));
    g_held.clear();
}

} // namespace app
