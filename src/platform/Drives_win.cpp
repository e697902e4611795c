#include "platform/Drives.h"

#include <QDir>

#include <windows.h>

namespace platform {

// Every drive letter the system has, ready or not (an empty card reader is reported by
// the lists when it is read, as the drive list of any Windows program shows it).
QStringList drives()
{
    QStringList roots;
    const DWORD letters = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (letters & (DWORD(1) << i))
            roots.append(QChar(u'A' + i) + QStringLiteral(":/"));
    }
    if (roots.isEmpty())
        roots.append(QDir::rootPath());
    return roots;
}

QString driveOf(const QString& path)
{
    const QString absolute = QDir::fromNativeSeparators(QDir(path).absolutePath());
    if (absolute.size() >= 2 && absolute.at(1) == u':' && absolute.at(0).isLetter())
        return absolute.left(1).toUpper() + QStringLiteral(":/");
    return QDir::rootPath();
}

// The system keeps a current directory for every drive; "X:" alone names it.
QString driveCurrentDirectory(const QString& drive)
{
    if (drive.size() < 2 || drive.at(1) != u':')
        return {};
    const std::wstring bare = drive.left(2).toStdWString();
    wchar_t full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameW(bare.c_str(), DWORD(std::size(full)), full, nullptr);
    if (length == 0 || length >= std::size(full))
        return {};
    // Only a drive's root keeps its trailing separator.
    return QDir::cleanPath(QDir::fromNativeSeparators(QString::fromWCharArray(full, int(length))));
}

} // namespace platform
