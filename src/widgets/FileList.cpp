#include "widgets/FileList.h"

#include "widgets/HiddenByCall.h"
#include "widgets/ListItemDelegate.h"
#include "widgets/WidgetText.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <utility>

namespace widgets {
namespace {

const QString kMask = QStringLiteral("*.mon");

QString normalised(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

FileList::FileList(QWidget* parent)
    : QListWidget(parent)
    , m_delegate(new ListItemDelegate(this))
{
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    viewport()->setMouseTracking(true);
    // Not read yet: the editor's browser starts hidden, and its directory may be a large one.
    m_directory = normalised(QDir::currentPath());
}

void FileList::setDirectory(const QString& path)
{
    m_directory = normalised(path);
    m_keepPlace = false;
    readWhenShown();
}

void FileList::reread()
{
    // The place is kept only where the entries shown are of this directory: not when a
    // change of directory is still to be read.
    m_keepPlace = m_keepPlace || !m_unread;
    readWhenShown();
}

void FileList::readWhenShown()
{
    m_unread = true;
    if (!hiddenByCall(*this))
        read();
}

void FileList::setVisible(bool visible)
{
    QListWidget::setVisible(visible);
    if (visible && m_unread)
        read();
}

void FileList::showEvent(QShowEvent* event)
{
    QListWidget::showEvent(event);
    if (m_unread)
        read();
}

void FileList::read()
{
    const QString selected = m_keepPlace && ItemIndex() >= 0 ? item(ItemIndex())->text() : QString();
    const int scrolled = verticalScrollBar()->value();
    const bool keepPlace = std::exchange(m_keepPlace, false);
    m_unread = false;
    clear();
    // The editor opens a picked entry by its Shift-JIS path. An entry whose path those
    // bytes cannot hold exactly ("café.mon", outside Windows) is left out, since its bytes
    // would name another file or none; in a directory whose own path they cannot hold,
    // that is all.
    if (!pathRepresentable(m_directory))
        return;
    // Without QDir::CaseSensitive the mask matches in any letter case.
    const QDir directory(m_directory, kMask, QDir::Name | QDir::IgnoreCase,
                         QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : directory.entryInfoList()) {
        const QString name = entry.fileName();
        if (pathRepresentable(entry.absoluteFilePath()))
            addItem(entry.isDir() ? QLatin1Char('[') + name + QLatin1Char(']') : name);
    }
    if (!keepPlace)
        return;
    if (!selected.isEmpty()) {
        const QList<QListWidgetItem*> same = findItems(selected, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!same.isEmpty())
            setCurrentItem(same.front(), QItemSelectionModel::ClearAndSelect);
    }
    // The scroll range follows the new entries only once they are laid out.
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(scrolled);
}

std::string FileList::Directory() const
{
    return pathBytes(m_directory);
}

std::vector<std::string> FileList::Items() const
{
    std::vector<std::string> items;
    items.reserve(std::size_t(count()));
    for (int i = 0; i < count(); ++i)
        items.push_back(Item(i));
    return items;
}

std::string FileList::Item(int index) const
{
    const QListWidgetItem* entry = item(index);
    return entry ? pathBytes(entry->text()) : std::string();
}

int FileList::ItemIndex() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.front());
}

void FileList::setItemHeight(int height)
{
    m_delegate->setItemHeight(height);
    doItemsLayout();
}

void FileList::keyPressEvent(QKeyEvent* event)
{
    const int before = ItemIndex();
    // The view keeps a current entry that is not selected (after focusing a fresh list);
    // the first arrow press selects it rather than moving past it.
    const bool arrow = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    if (arrow && before < 0 && currentRow() >= 0) {
        setCurrentRow(currentRow(), QItemSelectionModel::ClearAndSelect);
        event->accept();
        emit clicked();
        return;
    }
    QListWidget::keyPressEvent(event);
    if (ItemIndex() != before && ItemIndex() >= 0)
        emit clicked();
}

void FileList::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) && ItemIndex() >= 0)
        emit clicked();
}

void FileList::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->modifiers(), qRound(event->position().x()), qRound(event->position().y()));
    const int before = ItemIndex();
    QListWidget::mouseMoveEvent(event);  // dragging with the button held moves the selection
    if (ItemIndex() != before && ItemIndex() >= 0)
        emit clicked();
    event->accept();
}

} // namespace widgets
