#pragma once

// The drives of the mon file browser, each named by its root directory in Qt's form ("/",
// "/media/usb/", "C:/"). On Windows these are the drive letters; elsewhere the file-system
// root and the other mounted volumes (their mount points), the root first.

#include <QString>
#include <QStringList>

namespace platform {

QStringList drives();
// The drive that holds `path`.
QString driveOf(const QString& path);
// The drive's own current directory where the system keeps one per drive (Windows), else
// an empty text.
QString driveCurrentDirectory(const QString& drive);

} // namespace platform
