#include "platform/Pages.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace platform {

namespace {

// Fresh pages cost the system its work on every one of them: clearing it, and in a virtual
// machine often the host's own fault as well, when the guest has handed its free memory
// back. Under memory pressure that made one genre's add of 16.8 MB take 35 ms instead of
// 13 ms. So one set of pages of the expected size is kept ready: made present on a thread of
// its own, taken by the next bulk allocation that fits (its tail given back), and made again
// at once for the one after.
class BulkPageStock {
public:
    ~BulkPageStock()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_all();
        if (m_worker.joinable())
            m_worker.join();
        if (m_ready)
            releasePages(m_ready, m_readySize);
    }

    void expect(std::size_t size)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_target = size;
            if (size == 0 && m_ready) {
                releasePages(m_ready, m_readySize);
                m_ready = nullptr;
                m_readySize = 0;
            }
            if (size > 0)
                startWorker();
        }
        m_changed.notify_all();
    }

    char* take(std::size_t size)
    {
        char* pages = nullptr;
        {
            std::unique_lock lock(m_mutex);
            // Under half the pages kept ready is served fresh: so few cost little, and the
            // set stays ready for a large genre.
            if (size * 2 < m_target) {
                lock.unlock();
                return allocatePages(size);
            }
            // Pages asked for before that will fit are waited for: they are being made, or
            // about to be (a failure to make them sets the size asked for to none).
            if (m_target >= size)
                m_changed.wait(lock, [&] { return m_ready || m_target < size; });
            if (m_ready && m_readySize >= size)
                pages = m_ready;
            else if (m_ready)
                releasePages(m_ready, m_readySize);
            if (pages)
                trimPages(pages, m_readySize, size);
            m_ready = nullptr;
            m_readySize = 0;
            m_target = std::max(m_target, size);
            startWorker();
        }
        m_changed.notify_all();
        return pages ? pages : allocatePages(size);
    }

private:
    void startWorker()
    {
        if (m_worker.joinable())
            return;
        try {
            m_worker = std::thread([this] { work(); });
        } catch (const std::system_error&) {
            // No thread to make pages ahead: every allocation goes to the system.
            m_target = 0;
        }
    }

    void work()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [&] { return m_stopping || (!m_ready && m_target > 0); });
            if (m_stopping)
                return;
            const std::size_t size = m_target;
            lock.unlock();
            char* pages = nullptr;
            try {
                // Touched one by one: each fault holds the mappings' lock only for itself, so
                // the window's own mapping and unmapping meanwhile does not wait.
                pages = reservePages(size);
                for (std::size_t at = 0; at < size; at += kPageSize)
                    static_cast<volatile char*>(pages)[at] = 0;
            } catch (const std::bad_alloc&) {
                // No memory to spare: allocations go to the system until the next is asked.
            }
            lock.lock();
            if (pages && m_target == 0) {
                // Given up meanwhile: no genre is coming.
                releasePages(pages, size);
            } else if (pages) {
                m_ready = pages;
                m_readySize = size;
            } else {
                m_target = 0;
            }
            m_changed.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_worker;
    char* m_ready = nullptr;
    std::size_t m_readySize = 0;
    std::size_t m_target = 0;
    bool m_stopping = false;
};

BulkPageStock& stock()
{
    static BulkPageStock pages;
    return pages;
}

} // namespace

char* allocateBulkPages(std::size_t size)
{
    return stock().take(size);
}

void prepareBulkPages(std::size_t size)
{
    stock().expect(size);
}

} // namespace platform
