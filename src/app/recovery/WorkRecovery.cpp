#include "app/recovery/WorkRecovery.h"

#include "app/TForm1.h"
#include "app/recovery/CellBlock.h"
#include "app/recovery/RecoveredTable.h"
#include "app/recovery/RecoveryTexts.h"
#include "app/recovery/SealedFile.h"
#include "app/recovery/WindowWork.h"
#include "platform/StateFolder.h"
#include "text/Messages.h"
#include "widgets/DroppedFiles.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/Prompts.h"
#include "widgets/WidgetText.h"
#include "widgets/grid/StringGrid.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>

#include <algorithm>
#include <atomic>
#include <limits>
#include <optional>
#include <vector>

namespace app::recovery {

namespace {

constexpr int kSettleMs = 250;
// A slice of the picture ends after about 4 ms, checked every 2,048 rows.
constexpr qint64 kSliceNs = 4'000'000;
constexpr int kSliceRows = 2048;
constexpr int kRetryMs = 2000;
constexpr int kAsideKept = 3;
const QString kLockName = QStringLiteral("lock");

std::optional<std::string> fileBytes(const QString& path)
{
    // Read straight into the string: a block of half a million rows is tens of megabytes.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > qint64(std::numeric_limits<std::size_t>::max() / 2))
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(file.size()), '\0');
    if (file.read(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        return std::nullopt;
    return bytes;
}

QString newFolderName()
{
    static std::atomic<int> made{0};
    return QStringLiteral("work-%1-%2-%3")
        .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")))
        .arg(QCoreApplication::applicationPid())
        .arg(made++);
}

} // namespace

WorkRecovery::WorkRecovery(TForm1& window, QString root)
    : m_window(window), m_root(root.isEmpty() ? platform::stateFolder() : std::move(root))
{
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, [this] { keepChanges(); });
    m_nextSlice.setSingleShot(true);
    connect(&m_nextSlice, &QTimer::timeout, this, [this] { takeSlice(true); });

    const auto onChange = [this] { changed(); };
    for (widgets::StringGrid* grid : {window.StringGrid1, window.StringGrid2}) {
        const QAbstractItemModel* model = grid->view()->model();
        connect(model, &QAbstractItemModel::dataChanged, this, onChange);
        connect(model, &QAbstractItemModel::rowsInserted, this, onChange);
        connect(model, &QAbstractItemModel::rowsRemoved, this, onChange);
        connect(model, &QAbstractItemModel::rowsMoved, this, onChange);
        connect(model, &QAbstractItemModel::columnsInserted, this, onChange);
        connect(model, &QAbstractItemModel::columnsRemoved, this, onChange);
        connect(model, &QAbstractItemModel::columnsMoved, this, onChange);
        connect(model, &QAbstractItemModel::headerDataChanged, this, onChange);
        connect(model, &QAbstractItemModel::modelReset, this, onChange);
        connect(model, &QAbstractItemModel::layoutChanged, this, onChange);
    }
    for (widgets::LineEdit* field : {window.Edit1, window.Edit2, window.Edit3, window.Edit4, window.Edit5,
                                     window.Edit6, window.Edit7, window.Edit8})
        connect(field, &widgets::LineEdit::changed, this, onChange);
    connect(window.Edit7, &widgets::LineEdit::colorChanged, this, onChange);
    connect(window.RichEdit1, &QPlainTextEdit::textChanged, this, onChange);
}

WorkRecovery::~WorkRecovery()
{
    m_settle.stop();
    m_nextSlice.stop();
    m_writer.reset();
}

void WorkRecovery::changed()
{
    // A picture half taken would mix the table before and after the change.
    m_taking.reset();
    m_nextSlice.stop();
    if (!m_finished)
        m_settle.start(kSettleMs);
}

bool WorkRecovery::startFolder()
{
    if (!m_folder.isEmpty())
        return true;
    if (!platform::makePrivateFolder(m_root))
        return false;
    const QString folder = QDir(m_root).filePath(newFolderName());
    if (!platform::makePrivateFolder(folder))
        return false;
    m_lock = platform::FileLock::tryLock(QDir(folder).filePath(kLockName));
    if (!m_lock) {
        QDir(folder).removeRecursively();
        return false;
    }
    m_folder = folder;
    m_writer = std::make_unique<RecoveryWriter>(m_folder, std::set<std::uint32_t>(),
                                                [this](bool failed) { tellWriteFailed(failed); });
    return true;
}

std::uint32_t WorkRecovery::idOf(const std::shared_ptr<const widgets::SharedRows>& rows)
{
    if (const auto known = m_ids.find(rows.get()); known != m_ids.end()) {
        if (known->second.rows.lock() == rows)
            return known->second.id;
        m_ids.erase(known);  // the address of a block long gone
    }
    const std::uint32_t id = m_nextId++;
    m_ids.emplace(rows.get(), KnownBlock{rows, id});
    return id;
}

void WorkRecovery::keepChanges()
{
    m_settle.stop();
    if (m_finished)
        return;
    if (!startFolder()) {
        tellWriteFailed(true);
        m_settle.start(kRetryMs);
        return;
    }
    QElapsedTimer timer;
    timer.start();
    m_taking = takenFrom(m_window);
    m_nextRow = 0;
    m_longestSliceMs = double(timer.nsecsElapsed()) / 1e6;
    // The rows in events of their own: this one has taken its share.
    m_nextSlice.start(0);
}

void WorkRecovery::takeSlice(bool bounded)
{
    if (!m_taking)
        return;
    QElapsedTimer timer;
    timer.start();
    const widgets::StringGrid& questions = *m_window.StringGrid2;
    widgets::TableMakeup& table = m_taking->table;
    while (m_nextRow < questions.RowCount() && (!bounded || timer.nsecsElapsed() < kSliceNs)) {
        questions.describeRows(m_nextRow, kSliceRows, table);
        m_nextRow += kSliceRows;
    }
    if (m_nextRow < questions.RowCount()) {
        m_longestSliceMs = std::max(m_longestSliceMs, double(timer.nsecsElapsed()) / 1e6);
        m_nextSlice.start(0);
        return;
    }
    WorkPicture picture = std::move(*m_taking);
    m_taking.reset();
    for (const widgets::TableMakeup::Block& block : picture.table.blocks)
        picture.blockIds.push_back(dynamic_cast<const RecoveredTable*>(block.rows.get()) ? 0 : idOf(block.rows));
    if (m_ids.size() > 2 * picture.table.blocks.size() + 16)
        std::erase_if(m_ids, [](const auto& known) { return known.second.rows.expired(); });
    m_writer->write(std::move(picture));
    m_longestSliceMs = std::max(m_longestSliceMs, double(timer.nsecsElapsed()) / 1e6);
}

bool WorkRecovery::keepNow()
{
    keepChanges();
    return settle();
}

bool WorkRecovery::settle()
{
    m_nextSlice.stop();
    takeSlice(false);
    return m_writer && m_writer->settle();
}

void WorkRecovery::tellWriteFailed(bool failed)
{
    // From the writer's thread: told on the window's, once a run.
    QMetaObject::invokeMethod(
        this,
        [this, failed] {
            if (!failed || m_toldWriteFailed || m_finished)
                return;
            m_toldWriteFailed = true;
            m_window.prompts().messageBox(text::formatMessage(texts::kRecoveryCannotWrite, {widgets::pathBytes(m_root)}),
                                          widgets::MessageKind::Warning, widgets::MessageButtons::Ok);
        },
        Qt::QueuedConnection);
}

void WorkRecovery::finish()
{
    m_finished = true;
    m_settle.stop();
    m_nextSlice.stop();
    m_taking.reset();
    m_writer.reset();
    m_lock.reset();
    if (!m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
    m_folder.clear();
}

void WorkRecovery::setAside(const QString& folder, const QString& prefix)
{
    QDir root(m_root);
    const QString name = QFileInfo(folder).fileName();
    const QString aside = prefix + name.mid(name.indexOf(QLatin1Char('-')) + 1);
    root.rename(name, aside);
    if (prefix != QLatin1String("aside-"))
        return;
    // The newest few works set aside are kept; older ones go.
    QFileInfoList asides = root.entryInfoList({QStringLiteral("aside-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    const auto keptAt = [](const QFileInfo& info) {
        return QFileInfo(QDir(info.filePath()).filePath(RecoveryWriter::stateName())).lastModified();
    };
    std::sort(asides.begin(), asides.end(), [&](const QFileInfo& a, const QFileInfo& b) { return keptAt(a) > keptAt(b); });
    for (qsizetype i = kAsideKept; i < asides.size(); ++i)
        QDir(asides[i].filePath()).removeRecursively();
}

std::vector<QStringList> WorkRecovery::offerLeftovers()
{
    // Files dropped while a question is open are read after the questions, onto the window
    // they leave (restored or not), rather than into a window about to be replaced.
    const widgets::DropCatcher dropsWhileAsking;
    struct Leftover {
        QString folder;
        std::unique_ptr<platform::FileLock> lock;
        WorkPicture picture;
    };
    std::vector<Leftover> leftovers;
    const QDir root(m_root);
    const auto setAsideTold = [&](const QString& folder, Unreadable::Why why) {
        const QString name = QFileInfo(folder).fileName();
        setAside(folder, QStringLiteral("damaged-"));
        const QString kept = root.filePath(QStringLiteral("damaged-") + name.mid(name.indexOf(QLatin1Char('-')) + 1));
        m_window.prompts().messageBox(
            text::formatMessage(why == Unreadable::Why::Newer ? texts::kRecoveryNewer : texts::kRecoveryDamaged,
                                {widgets::pathBytes(QDir::toNativeSeparators(kept))}),
            widgets::MessageKind::Warning, widgets::MessageButtons::Ok);
    };
    for (const QString& name : root.entryList({QStringLiteral("work-*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = root.filePath(name);
        if (folder == m_folder)
            continue;
        std::unique_ptr<platform::FileLock> lock = platform::FileLock::tryLock(QDir(folder).filePath(kLockName));
        if (!lock)
            continue;  // its window still runs
        const QString statePath = QDir(folder).filePath(RecoveryWriter::stateName());
        if (!QFileInfo::exists(statePath)) {
            // Ended before anything was kept: nothing to offer.
            lock.reset();
            QDir(folder).removeRecursively();
            continue;
        }
        try {
            const std::optional<std::string> bytes = fileBytes(statePath);
            if (!bytes)
                throw Unreadable(Unreadable::Why::Damaged);
            leftovers.push_back({folder, std::move(lock), decodedPicture(*bytes)});
        } catch (const Unreadable& unreadable) {
            lock.reset();
            setAsideTold(folder, unreadable.why);
        }
    }
    std::sort(leftovers.begin(), leftovers.end(),
              [](const Leftover& a, const Leftover& b) { return a.picture.takenAt > b.picture.takenAt; });

    for (Leftover& leftover : leftovers) {
        if (!m_folder.isEmpty())
            break;  // one restored; the others wait for the next start
        const std::string when =
            QDateTime::fromMSecsSinceEpoch(leftover.picture.takenAt).toString(QStringLiteral("yyyy/MM/dd HH:mm")).toStdString();
        const widgets::MessageAnswer answer = m_window.prompts().messageBox(
            text::formatMessage(texts::kRecoveryQuestion, {when}), widgets::MessageKind::Confirmation,
            widgets::MessageButtons::YesNo);
        if (answer != widgets::MessageAnswer::Yes) {
            leftover.lock.reset();
            setAside(leftover.folder, QStringLiteral("aside-"));
            continue;
        }
        try {
            WorkPicture& picture = leftover.picture;
            std::set<std::uint32_t> written;
            std::map<std::uint32_t, std::shared_ptr<const CellBlock>> blocks;
            for (std::size_t b = 0; b < picture.table.blocks.size(); ++b) {
                const std::uint32_t id = picture.blockIds[b];
                std::shared_ptr<const CellBlock>& block = blocks[id];
                if (!block)
                    block = CellBlock::read(id, QDir(leftover.folder).filePath(RecoveryWriter::blockName(id)));
                if (block->width() != picture.table.blocks[b].width)
                    throw Unreadable(Unreadable::Why::Damaged);
                picture.table.blocks[b].rows = block;
                written.insert(id);
            }
            for (const widgets::TableMakeup::Row& row : picture.table.rows)
                if (row.block != widgets::TableMakeup::kOwnCells
                    && row.index >= picture.table.blocks[row.block].rows->rowCount())
                    throw Unreadable(Unreadable::Why::Damaged);
            for (const auto& [id, block] : blocks) {
                m_ids.emplace(block.get(), KnownBlock{block, id});
                m_nextId = std::max(m_nextId, id + 1);
            }
            // This window's work from now on, in the folder it was kept in.
            m_settle.stop();
            putInto(m_window, std::move(picture));
            m_settle.stop();
            m_folder = leftover.folder;
            m_lock = std::move(leftover.lock);
            m_writer = std::make_unique<RecoveryWriter>(m_folder, written,
                                                        [this](bool failed) { tellWriteFailed(failed); });
        } catch (const Unreadable& unreadable) {
            leftover.lock.reset();
            setAsideTold(leftover.folder, unreadable.why);
        }
    }
    return dropsWhileAsking.drops();
}

} // namespace app::recovery
