#include "widgets/DirectoryList.h"

#include "platform/Drives.h"
#include "widgets/DriveList.h"
#include "widgets/HiddenByCall.h"
#include "widgets/ListItemDelegate.h"
#include "widgets/WidgetText.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

namespace widgets {
namespace {

constexpr int kPathRole = Qt::UserRole;
// Whether an entry is one of the chain down to the current directory (an open folder).
constexpr int kOnChainRole = Qt::UserRole + 2;
static_assert(kOnChainRole != ListItemDelegate::kLevelRole);

QString normalised(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

DirectoryList::DirectoryList(QWidget* parent)
    : QListWidget(parent)
    , m_delegate(new ListItemDelegate(this))
    , m_directory(normalised(QDir::currentPath()))
{
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    viewport()->setMouseTracking(true);
    m_lastOnDrive.insert(DriveList::driveOf(m_directory), m_directory);
    // Not read yet: the editor's browser starts hidden.
}

std::string DirectoryList::Directory() const
{
    return pathBytes(m_directory);
}

void DirectoryList::setDirectory(const QString& path)
{
    const QString directory = normalised(path);
    if (!QFileInfo(directory).isDir() || directory == m_directory)
        return;
    m_directory = directory;
    m_lastOnDrive.insert(DriveList::driveOf(directory), directory);
    readWhenShown();
    emit changed();
}

void DirectoryList::setDrive(const QString& drive)
{
    // The directory shown there last in this run, else the drive's own current directory
    // (Windows keeps one per drive), else its root.
    QString target = m_lastOnDrive.value(normalised(drive));
    if (!QFileInfo(target).isDir())
        target = platform::driveCurrentDirectory(drive);
    setDirectory(QFileInfo(target).isDir() ? target : drive);
}

void DirectoryList::setItemHeight(int height)
{
    m_delegate->setItemHeight(height);
    doItemsLayout();
}

void DirectoryList::readWhenShown()
{
    m_unread = true;
    if (!hiddenByCall(*this))
        read();
}

void DirectoryList::setVisible(bool visible)
{
    QListWidget::setVisible(visible);
    if (visible && m_unread)
        read();
}

void DirectoryList::read()
{
    m_unread = false;
    clear();

    // The chain from the root down to the current directory.
    QStringList chain;
    for (QDir dir(m_directory);; ) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    int level = 0;
    for (const QString& path : chain) {
        const QString name = QDir(path).isRoot() ? QDir::toNativeSeparators(path) : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(name, this);
        item->setData(kPathRole, path);
        item->setData(kOnChainRole, true);
        item->setData(ListItemDelegate::kLevelRole, level++);
    }
    setCurrentRow(count() - 1);

    // An unreadable directory lists no subdirectories.
    const QDir current(m_directory);
    for (const QString& name : current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(name, this);
        item->setData(kPathRole, current.absoluteFilePath(name));
        item->setData(ListItemDelegate::kLevelRole, level);
    }
    if (isVisible())
        showIcons();
}

void DirectoryList::showIcons()
{
    const QIcon openFolder = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedFolder = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (int row = 0; row < count(); ++row) {
        QListWidgetItem* entry = item(row);
        entry->setIcon(entry->data(kOnChainRole).toBool() ? openFolder : closedFolder);
    }
}

void DirectoryList::showEvent(QShowEvent* event)
{
    QListWidget::showEvent(event);
    if (m_unread)
        read();
    if (count() > 0 && item(0)->icon().isNull())
        showIcons();
}

void DirectoryList::open(const QListWidgetItem* item)
{
    if (item)
        setDirectory(item->data(kPathRole).toString());
}

void DirectoryList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        open(currentItem());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirectoryList::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QListWidget::mouseDoubleClickEvent(event);
        return;
    }
    open(itemAt(event->position().toPoint()));
    event->accept();
}

void DirectoryList::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->modifiers(), qRound(event->position().x()), qRound(event->position().y()));
    QListWidget::mouseMoveEvent(event);
    event->accept();
}

} // namespace widgets
