#pragma once

// The file list of the mon file browser: the entries of its directory whose names match
// "*.mon" (in any letter case), sorted by name; matching directories are shown in square
// brackets. Hidden entries (names starting with a dot) are not listed.
//
// clicked() follows every change of the selected entry by the user, with the mouse or the
// keyboard, and every click on an entry; changes made by code raise nothing.

#include <QListWidget>

#include <string>
#include <vector>

namespace widgets {

class ListItemDelegate;

class FileList final : public QListWidget {
    Q_OBJECT

public:
    // Starts on the program's current directory, read when the list is first shown.
    explicit FileList(QWidget* parent = nullptr);

    // Reads the entries of `path` again; an unreadable directory lists nothing. A hidden list
    // reads them when it is shown again.
    void setDirectory(const QString& path);
    // Reads the entries of the directory again (files written or removed since), keeping the
    // selected entry while it is still there and the scroll position; a hidden list does it
    // when it is shown again.
    void reread();
    // The directory as a full path; only a drive's root ends in a separator.
    QString directoryPath() const { return m_directory; }
    std::string Directory() const;

    // The entries' texts as shown, directories in brackets.
    std::vector<std::string> Items() const;
    std::string Item(int index) const;
    // The selected entry, or -1.
    int ItemIndex() const;

    void setItemHeight(int height);

    void setVisible(bool visible) override;

signals:
    void clicked();
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void readWhenShown();
    void read();

    ListItemDelegate* m_delegate;
    QString m_directory;
    // The entries shown are not those of m_directory yet.
    bool m_unread = true;
    // The next reading keeps the selected entry and the scroll position (reread()).
    bool m_keepPlace = false;
};

} // namespace widgets
