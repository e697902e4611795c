#include "widgets/DriveList.h"

#include "widgets/WidgetText.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace widgets {
namespace {

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

} // namespace

DriveList::DriveList(QWidget* parent)
    : QComboBox(parent)
{
    for (const QString& root : drives())
        addItem(QDir::toNativeSeparators(root), root);
    const int current = findData(driveOf(QDir::currentPath()));
    setCurrentIndex(current >= 0 ? current : 0);
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::changed);
}

QString DriveList::drivePath() const
{
    return currentData().toString();
}

std::string DriveList::Drive() const
{
    return pathBytes(drivePath());
}

void DriveList::setDrive(const QString& path)
{
    const int index = findData(driveOf(path));
    if (index >= 0)
        setCurrentIndex(index);
}

QString DriveList::driveOf(const QString& path)
{
    const QStorageInfo volume(path);
    return volume.isValid() ? volume.rootPath() : QDir::rootPath();
}

} // namespace widgets
