#include "platform/StateFolder.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace platform {

QString stateFolder()
{
    // A relative XDG_STATE_HOME is invalid and ignored, as the base directory rules say.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/zelqua-editor");
}

bool makePrivateFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        return false;
    return ::chmod(QFile::encodeName(path).constData(), S_IRWXU) == 0;
}

void makePrivateFile(const QString& path)
{
    ::chmod(QFile::encodeName(path).constData(), S_IRUSR | S_IWUSR);
}

} // namespace platform
