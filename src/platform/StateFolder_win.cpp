#include "platform/StateFolder.h"

#include <QDir>

namespace platform {

QString stateFolder()
{
    // The local application data folder is the user's own, readable by nobody else.
    QString base = qEnvironmentVariable("LOCALAPPDATA");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/AppData/Local");
    return QDir::toNativeSeparators(base + QStringLiteral("/zelqua-editor"));
}

bool makePrivateFolder(const QString& path)
{
    return QDir().mkpath(path);
}

void makePrivateFile(const QString&) {}

} // namespace platform
