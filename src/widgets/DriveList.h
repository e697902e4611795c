#pragma once

// The drive list of the mon file browser: the platform's drives (drive letters on Windows;
// the file-system root and the other mounted volumes elsewhere). It starts on the drive
// that holds the program's current directory.

#include <QComboBox>

#include <string>

namespace widgets {

class DriveList final : public QComboBox {
    Q_OBJECT

public:
    explicit DriveList(QWidget* parent = nullptr);

    // The chosen drive: its root directory.
    QString drivePath() const;
    // Chooses the drive that holds `path`.
    void setDrive(const QString& path);

    // The drive (mount point) that holds `path`.
    static QString driveOf(const QString& path);

signals:
    // Every change of the chosen drive, by the user or by setDrive().
    void changed();
};

} // namespace widgets
