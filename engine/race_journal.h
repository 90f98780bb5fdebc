#pragma once
// The race journal as the engine sees it: every event that changes a race,
// from Start to Reset, is recorded here before the screen shows its effect, so
// a race cut short by a crash, a kill or a power cut can be replayed and
// resumed on the next start (journal_file.h writes it, journal_replay.h reads
// it back). A context without a journal records to NoRaceJournal().

#include "engine/journal_event.h"

namespace kesto {

class RaceJournal {
public:
    virtual ~RaceJournal() = default;

    // One event, made with the makers of JournalEvent; a journal takes the
    // kinds it keeps and ignores the others.
    virtual void Record(const JournalEvent& event) = 0;

    // What one race-timer tick records is put on the disk together, in one
    // write when the tick ends (before anything it shows is painted): the
    // events between HoldForTick() and TickEnded() are kept until then.
    virtual void HoldForTick() {}
    virtual void TickEnded() {}
};

// Holds a journal's events for the tick this lives in.
class JournalTickHold final {
public:
    explicit JournalTickHold(RaceJournal& journal) : m_journal(journal) { m_journal.HoldForTick(); }
    ~JournalTickHold() { m_journal.TickEnded(); }
    JournalTickHold(const JournalTickHold&) = delete;
    JournalTickHold& operator=(const JournalTickHold&) = delete;

private:
    RaceJournal& m_journal;
};

// Records nowhere: for contexts that keep no journal (tests, replay itself).
RaceJournal& NoRaceJournal();

} // namespace kesto
