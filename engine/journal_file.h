#pragma once
// The race journal on disk: "KestoRace.jnl" in the program folder, one line
// per event (journal_format.h). Each event is appended with a single write(2),
// so a killed program loses nothing it reported (what one race-timer tick
// reports, with one write at the tick's end); a thread of the journal's own
// syncs the file to the disk right after (journal_sync.h), so a power cut
// loses at most the last moments while the race never waits for the disk.
//
// A journal that cannot be written never stops or slows the race. What the
// disk does not take (full, read-only, gone) is kept in memory, in order, and
// written as soon as it can be: every event tries again, and Retry() does
// between events. Until then LastError() says why, and the journal's
// listener (the race screen's banner) is told. The journal keeps some disk
// space reserved ahead of its end, so that a disk filled by something else
// still takes a note that the journal fell behind: a journal read after a
// crash then tells it is not the whole race.
//
// A new race never overwrites a journal that may still be needed: one whose
// race is not over for good is first kept as "KestoRace.jnl.old". A link, a
// FIFO or a foreign file in the place of the journal, its copy or its lock is
// left as it is (journal_place.h), and the race goes on without a journal.

#include "engine/journal_format.h"
#include "engine/journal_place.h"
#include "engine/journal_sync.h"
#include "engine/race_journal.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kesto {

class JournalFile final : public RaceJournal {
public:
    // Lines kept in memory while the disk does not take them; beyond this a
    // race is recorded on without them and the journal says so.
    static constexpr size_t MaxPendingBytes = size_t{64} << 20;

    explicit JournalFile(std::filesystem::path programFolder);
    ~JournalFile() override; // syncs and closes
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;

    // After a resume: append to the journal on disk (a torn last line is
    // ended, never cut off). False when there is no journal to continue.
    bool ContinueExisting();
    // The same, for a journal the resume has just read whole: it is not read
    // again (unless it changed since).
    bool ContinueExisting(const JournalEnd& read);
    // False when another timer runs on the same program folder (or the lock
    // cannot be had): its race journal is live, so this one neither offers it
    // for resume nor writes one.
    bool OwnsFolder() const { return !m_folderInUse; }
    // Empty while every event reported is on the disk (or none is being
    // recorded); else why not, in words for the operator.
    std::string LastError() const;
    // Told, on the thread that records (the race's), each time LastError
    // changes; right away with the error as it is now.
    void OnErrorChanged(std::function<void(const std::string& error)> listener);
    // Tries again to put on the disk what it has not taken yet. Cheap when
    // there is nothing to do.
    void Retry();
    // Waits until every event so far is on the disk (tests; a race never waits).
    void WaitUntilSynced();
    // The journal file (it may not exist).
    std::filesystem::path Path() const;

    // Writes `event` as the journal's next line. RaceStarted begins a new
    // journal; RaceAborted and RaceReset are written, then the journal is
    // deleted. A ScreenUpdated is written only when another event came since
    // the last one: a refresh with nothing new computes nothing new.
    void Record(const JournalEvent& event) override;
    // A tick's events go to the disk in one write at its end, so the sync
    // thread is woken (and syncs) at most once a tick.
    void HoldForTick() override { m_holding = true; }
    void TickEnded() override;

private:
    void Begin(const JournalEvent& start);
    bool AppendAfter(const JournalEnd& end);
    void Finish(const JournalEvent& event);
    void Append(const JournalEvent& event);
    void Queue(const JournalEvent& event);
    bool Flush();
    bool OpenForRace();
    bool Reserve(size_t bytes, std::string_view rest);
    // `rest`: what of m_pending is not on the disk.
    void FallBehind(const std::string& step, int code, std::string_view rest);
    void Drop();
    void Notify();
    std::string Named(const std::string& text) const;

    std::filesystem::path m_folder;
    std::shared_ptr<JournalFd> m_folderLock;
    bool m_folderInUse = false;
    std::string m_folderError; // why this timer keeps no journal at all

    std::filesystem::path m_path;      // the journal of the race being recorded
    bool m_recording = false;          // a race is being recorded (on disk or not)
    bool m_created = false;            // the file is this race's journal, made or continued
    std::shared_ptr<JournalFd> m_file; // null: not open (yet)
    std::string m_pending;             // bytes reported, not yet on the disk, in order
    int32_t m_lostEvents = 0;          // dropped while m_pending was full
    bool m_behindNoted = false;        // the note that the journal fell behind is on disk
    bool m_noteTorn = false;           // the disk took only part of that note
    uint64_t m_size = 0;               // bytes on the disk
    bool m_atLineStart = true;         // the bytes on the disk end with a whole line
    uint64_t m_reservedEnd = 0;        // disk space held up to here
    bool m_reserveWorks = true;        // the file system can hold space ahead
    uint64_t m_sequence = 0;
    int32_t m_lastClock = 0;
    bool m_eventSinceScreen = true;
    bool m_holding = false; // within a tick: events wait for its end
    std::string m_line;     // reused, so an ordinary append allocates nothing
    std::string m_error;
    std::function<void(const std::string&)> m_listener;
    std::string m_told;             // what the listener was told last
    mutable JournalSyncer m_syncer; // last: stops (after a last sync) before the file closes
};

} // namespace kesto
