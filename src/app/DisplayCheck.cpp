#include "app/DisplayCheck.h"

#include "platform/Display.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace app {

namespace {

QtMessageHandler g_previous = nullptr;
// The platform's own complaints while it starts, replayed once it has started: when it does
// not, the one line below says all the user needs.
QStringList g_held;

void printNoDisplay()
{
    std::fputs(platform::noDisplayMessage().c_str(), stderr);
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
    if (platform::displayNamed())
        return true;
    printNoDisplay();
    return false;
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
