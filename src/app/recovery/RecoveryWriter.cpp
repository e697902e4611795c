#include "app/recovery/RecoveryWriter.h"

#include "app/recovery/CellBlock.h"
#include "app/recovery/RecoveredTable.h"
#include "platform/SafeSave.h"
#include "platform/StateFolder.h"

#include <QDir>
#include <QFile>

#include <chrono>

namespace app::recovery {

RecoveryWriter::RecoveryWriter(QString folder, std::set<std::uint32_t> written, std::function<void(bool)> told)
    : m_folder(std::move(folder)), m_written(std::move(written)), m_told(std::move(told)), m_thread([this] { run(); })
{
}

RecoveryWriter::~RecoveryWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

QString RecoveryWriter::blockName(std::uint32_t id)
{
    return QStringLiteral("block-%1").arg(id);
}

QString RecoveryWriter::stateName()
{
    return QStringLiteral("state");
}

void RecoveryWriter::write(WorkPicture picture)
{
    {
        const std::lock_guard lock(m_mutex);
        m_pending = std::move(picture);
    }
    m_wake.notify_all();
}

bool RecoveryWriter::settle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return (!m_pending && !m_busy) || m_stop; });
    return !m_failed;
}

void RecoveryWriter::run()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_pending || m_stop; });
        if (m_stop)
            break;
        WorkPicture picture = std::move(*m_pending);
        m_pending.reset();
        m_busy = true;
        lock.unlock();
        picture = flattenedPicture(std::move(picture));
        const bool failed = !writeOnce(picture);
        lock.lock();
        m_busy = false;
        if (failed != m_failed) {
            m_failed = failed;
            m_told(failed);
        }
        m_idle.notify_all();
        if (failed && !m_pending && !m_stop) {
            // Tried again quietly, unless a newer picture comes first.
            m_wake.wait_for(lock, std::chrono::seconds(2), [this] { return m_pending || m_stop; });
            if (!m_pending)
                m_pending = std::move(picture);
        }
    }
    m_idle.notify_all();
}

bool RecoveryWriter::writeOnce(const WorkPicture& picture)
{
    if (!platform::makePrivateFolder(m_folder))
        return false;
    const QDir folder(m_folder);
    const auto save = [&](const QString& name, std::string_view bytes) {
        const QString path = folder.filePath(name);
        if (platform::saveFile(path, bytes))
            return false;
        platform::makePrivateFile(path);
        return true;
    };
    std::set<std::uint32_t> named;
    for (std::size_t b = 0; b < picture.table.blocks.size(); ++b) {
        const std::uint32_t id = picture.blockIds[b];
        named.insert(id);
        if (m_written.count(id))
            continue;
        const widgets::TableMakeup::Block& block = picture.table.blocks[b];
        if (!save(blockName(id), encodedBlock(*block.rows, block.width)))
            return false;
        m_written.insert(id);
    }
    if (!save(stateName(), encodedPicture(picture)))
        return false;
    for (auto id = m_written.begin(); id != m_written.end();) {
        if (named.count(*id) || !QFile::remove(folder.filePath(blockName(*id)))) {
            ++id;
            continue;
        }
        id = m_written.erase(id);
    }
    return true;
}

} // namespace app::recovery
