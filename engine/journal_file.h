#pragma once
// The race journal on disk: "KestoRace.jnl" in the program folder, one line
// per event (journal_format.h). Each event is appended with a single write(2),
// so a killed program loses nothing it reported; a thread of the journal's own
// syncs the file to the disk right after (journal_sync.h), so a power cut
// loses at most the last moments while the race never waits for the disk. A
// journal that cannot be written never stops or slows the race: the error is
// kept in LastError() and the race goes on without it.

#include "engine/journal_format.h"
#include "engine/journal_sync.h"
#include "engine/race_journal.h"

#include <filesystem>
#include <memory>
#include <string>

namespace kesto {

inline constexpr const char* JournalFileName = "KestoRace.jnl"; // in the program folder
// Held locked by the timer that keeps the folder's journal; the lock goes with
// the process, so a killed timer never leaves the folder locked.
inline constexpr const char* JournalLockName = "KestoRace.lock";

class JournalFile final : public RaceJournal {
public:
    explicit JournalFile(std::filesystem::path programFolder);
    ~JournalFile() override; // syncs and closes
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;

    // After a resume: append to the journal on disk, its torn tail (if any)
    // cut off first. False when there is no journal to continue.
    bool ContinueExisting();
    // False when another timer runs on the same program folder: its race
    // journal is live, so this one neither offers it for resume nor writes one.
    bool OwnsFolder() const { return !m_folderInUse; }
    // Empty while the journal is written fine; else what went wrong last.
    const std::string& LastError() const;
    // Waits until every event so far is on the disk (tests; a race never waits).
    void WaitUntilSynced();
    // The journal file (it may not exist).
    std::filesystem::path Path() const;

    // Writes `event` as the journal's next line. RaceStarted begins a new
    // journal; RaceAborted and RaceReset are written, then the journal is
    // deleted. A ScreenUpdated is written only when another event came since
    // the last one: a refresh with nothing new computes nothing new.
    void Record(const JournalEvent& event) override;

private:
    void Begin(const JournalEvent& start);
    void Append(const JournalEvent& event);
    bool Write(std::string_view bytes);
    void Finish(const JournalEvent& event);
    void Drop();
    void Fail(const std::string& step, int code);

    std::filesystem::path m_folder;
    std::shared_ptr<JournalFd> m_folderLock;
    bool m_folderInUse = false;
    std::shared_ptr<JournalFd> m_file; // null: no journal being written
    uint64_t m_sequence = 0;
    bool m_eventSinceScreen = true;
    std::string m_line; // reused, so an ordinary append allocates nothing
    mutable std::string m_lastError;
    mutable JournalSyncer m_syncer; // last: stops (after a last sync) before the file closes
};

} // namespace kesto
