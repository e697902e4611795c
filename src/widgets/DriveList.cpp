#include "widgets/DriveList.h"

#include "platform/Drives.h"
#include "widgets/WidgetText.h"

#include <QDir>

namespace widgets {

DriveList::DriveList(QWidget* parent)
    : QComboBox(parent)
{
    for (const QString& root : platform::drives())
        addItem(QDir::toNativeSeparators(root), root);
    const int current = findData(driveOf(QDir::currentPath()));
    setCurrentIndex(current >= 0 ? current : 0);
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::changed);
}

QString DriveList::drivePath() const
{
    return currentData().toString();
}

void DriveList::setDrive(const QString& path)
{
    const int index = findData(driveOf(path));
    if (index >= 0)
        setCurrentIndex(index);
}

QString DriveList::driveOf(const QString& path)
{
    return platform::driveOf(path);
}

} // namespace widgets
