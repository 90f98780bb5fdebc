#pragma once
// Puts the race journal on the disk without the race waiting for it: a thread
// of its own runs fdatasync soon after each append, one sync for all the
// appends made while the previous sync ran. The race timer's thread only
// appends (write(2) into the page cache) and wakes this thread.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace kesto {

// Tests only: asked before each "open", "reserve" (of disk space ahead),
// "write" and "sync" of the journal (on the thread doing it); a non-zero
// answer makes that step fail with that errno.
using JournalFaultHook = int (*)(std::string_view step);
void SetJournalFaultHookForTesting(JournalFaultHook hook);
// The errno the hook gives for `step`, 0 without a hook.
int JournalFault(std::string_view step);

// An open file descriptor, closed when its last owner lets go of it (the
// journal may move on to a new file while the old one is still being synced).
class JournalFd final {
public:
    explicit JournalFd(int fd) : m_fd(fd) {}
    ~JournalFd();
    JournalFd(const JournalFd&) = delete;
    JournalFd& operator=(const JournalFd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

class JournalSyncer final {
public:
    JournalSyncer();
    ~JournalSyncer(); // a last sync, then the thread ends
    JournalSyncer(const JournalSyncer&) = delete;
    JournalSyncer& operator=(const JournalSyncer&) = delete;

    // The file kept on the disk from now on; null for none.
    void Watch(std::shared_ptr<JournalFd> file);
    // A folder whose entries changed (the journal created or deleted): synced
    // once with the next round, so the change outlives a power cut.
    void SyncFolder(std::shared_ptr<JournalFd> folder);
    // Bytes were appended to the watched file.
    void Appended();
    // Waits until everything appended so far has been synced.
    void WaitSynced();
    // The description of the failure of the last sync, empty when it went well.
    std::string Error();

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_synced;
    std::shared_ptr<JournalFd> m_file;
    std::shared_ptr<JournalFd> m_folder;
    uint64_t m_appends = 0;
    uint64_t m_syncedAppends = 0;
    bool m_stop = false;
    std::string m_error;
    std::thread m_thread; // last: starts once the members above exist
};

} // namespace kesto
