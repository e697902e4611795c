#pragma once

// The directory list of the mon file browser: the chain of directories from the drive's
// root down to the current directory, then the current one's subdirectories. Opening an
// entry (double-click, or Enter on the selected one) makes it the current directory.
//
// The list remembers, per drive, the directory it showed there last in this run, and
// setDrive() returns to it, as a drive's current directory does on Windows; a drive not
// shown yet starts on the current directory the system keeps for it, if any.

#include <QHash>
#include <QListWidget>

#include <string>

namespace widgets {

class ListItemDelegate;

class DirectoryList final : public QListWidget {
    Q_OBJECT

public:
    // Starts on the program's current directory, read when the list is first shown.
    explicit DirectoryList(QWidget* parent = nullptr);

    // The current directory as a full path; only a drive's root ends in a separator.
    QString directoryPath() const { return m_directory; }
    std::string Directory() const;

    // Shows `path` when it is a directory; a path that is none changes nothing.
    void setDirectory(const QString& path);
    // Moves to the directory last shown on the drive (mount point) `drive`, else to the
    // drive's own current directory, else to its root.
    void setDrive(const QString& drive);

    void setItemHeight(int height);

    void setVisible(bool visible) override;

signals:
    // Every change of the current directory.
    void changed();
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Lists the chain and the subdirectories of m_directory (read()); a list hidden by a call
    // does it when it is shown again.
    void readWhenShown();
    void read();
    // Gives the entries their folder icons. Done only while the list shows: the style's
    // first icon loads every image format plugin, which would lengthen the editor's
    // start-up for a list that starts hidden.
    void showIcons();
    void open(const QListWidgetItem* item);

    ListItemDelegate* m_delegate;
    QString m_directory;
    QHash<QString, QString> m_lastOnDrive;
    // The entries shown are not those of m_directory yet.
    bool m_unread = true;
};

} // namespace widgets
