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
};

// Records nowhere: for contexts that keep no journal (tests, replay itself).
RaceJournal& NoRaceJournal();

} // namespace kesto
