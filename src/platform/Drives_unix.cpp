#include "platform/Drives.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace platform {

QStringList drives()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Containers mount single files too; only directories can be browsed.
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots.append(volume.rootPath());
    }
    roots.append(QDir::rootPath());
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end(), [](const QString& a, const QString& b) {
        if (a == QDir::rootPath() || b == QDir::rootPath())
            return a == QDir::rootPath() && b != QDir::rootPath();
        return a < b;
    });
    return roots;
}

QString driveOf(const QString& path)
{
    const QStorageInfo volume(path);
    return volume.isValid() ? volume.rootPath() : QDir::rootPath();
}

QString driveCurrentDirectory(const QString& /*drive*/)
{
    return {};
}

} // namespace platform
