#include "engine/journal_sync.h"

#include <atomic>
#include <cerrno>
#include <system_error>
#include <unistd.h>

namespace kesto {
namespace {

std::atomic<JournalFaultHook> g_faultHook{nullptr};

} // namespace

void SetJournalFaultHookForTesting(JournalFaultHook hook) {
    g_faultHook = hook;
}

int JournalFault(std::string_view step) {
    const JournalFaultHook hook = g_faultHook;
    return hook != nullptr ? hook(step) : 0;
}

JournalFd::~JournalFd() {
    if (m_fd >= 0)
        ::close(m_fd);
}

JournalSyncer::JournalSyncer() : m_thread([this] { Run(); }) {}

JournalSyncer::~JournalSyncer() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void JournalSyncer::Watch(std::shared_ptr<JournalFd> file) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_file = std::move(file);
}

void JournalSyncer::SyncFolder(std::shared_ptr<JournalFd> folder) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_folder = std::move(folder);
        ++m_appends;
    }
    m_wake.notify_one();
}

void JournalSyncer::Appended() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_appends;
    }
    m_wake.notify_one();
}

void JournalSyncer::WaitSynced() {
    std::unique_lock<std::mutex> lock(m_mutex);
    const uint64_t target = m_appends;
    m_synced.wait(lock, [&] { return m_syncedAppends >= target; });
}

std::string JournalSyncer::Error() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_error;
}

void JournalSyncer::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_stop || m_appends != m_syncedAppends; });
        if (m_appends == m_syncedAppends)
            return; // stopping with nothing left to sync
        std::shared_ptr<JournalFd> file = m_file;
        std::shared_ptr<JournalFd> folder = std::move(m_folder);
        m_folder.reset();
        const uint64_t target = m_appends;
        lock.unlock();

        int code = 0;
        const bool synced = file != nullptr;
        if (file) {
            code = JournalFault("sync");
            if (code == 0 && ::fdatasync(file->Get()) != 0)
                code = errno;
        }
        if (folder)
            ::fsync(folder->Get()); // best effort: the file itself is synced
        file.reset();               // may close a file the journal has left behind
        folder.reset();

        lock.lock();
        if (synced)
            m_error = code != 0 ? std::generic_category().message(code) : std::string();
        m_syncedAppends = target;
        m_synced.notify_all();
    }
}

} // namespace kesto
