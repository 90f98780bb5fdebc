#pragma once
// Back from the race journal: finding a race the program ended in the middle
// of (a crash, a kill, a power cut), rebuilding its race state by running the
// recorded events through the engine's own code again, and setting aside a
// journal the operator chose not to resume.

#include "base/sound_choices.h"
#include "engine/journal_format.h"
#include "engine/race_state.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kesto {

// A race read from a journal.
struct UnfinishedRace {
    std::vector<JournalEvent> events; // from the race's start on
    bool rebuildable = true;          // its start was read: the race can be replayed
    bool reachedGreen = false;        // timing had begun
    bool closed = false;              // the race had closed (results on screen)
    bool finished = false;            // aborted or reset: nothing to resume
    bool lapsUnsaved = false;         // the unsaved marks as last recorded
    bool summaryUnsaved = false;
    bool tailDropped = false;   // a torn or garbled last line was left out
    int32_t lastRaceClock = 0;  // race clock of the last event that has one
    int passes = 0;             // decoder lines, typed records and demo passes
    std::string raceFormatText; // "10 Lap Race", "Practice", ...

    JournalDamage damage; // lines of the journal read past
    // The journal had fallen behind the race (a full disk) and had not caught
    // up when the program ended: the race went on after `behindAt` unrecorded.
    bool behind = false;
    int32_t behindAt = 0;
    std::string behindReason;
    int64_t lostEvents = 0; // events the journal had to drop for good
    JournalEnd end;         // where the journal read ended, to go on from there
    // Events of the race are known to be missing from the journal.
    bool Incomplete() const { return behind || lostEvents > 0 || damage.missingEvents > 0; }
};

// What a journal's contents describe: the race of the last start.
UnfinishedRace DescribeRace(JournalContents contents);

// The journal in `programFolder` when it holds a race worth offering to
// resume: reached green, not aborted or reset, and either not closed or
// closed with results unsaved. Also a damaged journal whose race cannot be
// rebuilt (rebuildable false), so that it is told and kept, never dropped
// unseen. A link or a foreign file in the journal's place is not read.
std::optional<UnfinishedRace> FindUnfinishedRace(const std::filesystem::path& programFolder);

// Whether a new race may replace the journal read: its race is over for good
// (aborted, reset, or closed with its results saved) or never reached green.
// A journal that cannot tell (damaged) is not done.
bool JournalRaceIsDone(JournalContents contents);

// Rebuilds the race state exactly (lap tables, counts, best laps, positions,
// gaps, flags, close, unsaved marks, Button, settings/names/format in force)
// without sound or screen. The announcements whose moment has passed are
// marked made in `sounds`, so they do not play again. The state's Locale is
// kept. Never throws for any events.
void ReplayRace(const UnfinishedRace& race, RaceState& state, SoundChoices& sounds);

// Keeps a journal the operator declined as "KestoRace.jnl.old" (replacing an
// older one), so the next race starts a journal of its own. Empty when done
// (or there was no journal); else why the journal was left where it is.
std::string SetJournalAside(const std::filesystem::path& programFolder);

} // namespace kesto
