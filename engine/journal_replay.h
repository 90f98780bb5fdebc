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
    bool reachedGreen = false;        // timing had begun
    bool closed = false;              // the race had closed (results on screen)
    bool finished = false;            // aborted or reset: nothing to resume
    bool lapsUnsaved = false;         // the unsaved marks as last recorded
    bool summaryUnsaved = false;
    bool tailDropped = false;   // a torn or garbled last line was left out
    int32_t lastRaceClock = 0;  // race clock of the last event that has one
    int passes = 0;             // decoder lines, typed records and demo passes
    std::string raceFormatText; // "10 Lap Race", "Practice", ...
};

// What `events` (as read from a journal) describe: the race of the last start.
UnfinishedRace DescribeRace(std::vector<JournalEvent> events, bool tailDropped);

// The journal in `programFolder` when it holds a race worth offering to
// resume: reached green, not aborted or reset, and either not closed or
// closed with results unsaved.
std::optional<UnfinishedRace> FindUnfinishedRace(const std::filesystem::path& programFolder);

// Rebuilds the race state exactly (lap tables, counts, best laps, positions,
// gaps, flags, close, unsaved marks, Button, settings/names/format in force)
// without sound or screen. The announcements whose moment has passed are
// marked made in `sounds`, so they do not play again. The state's Locale is
// kept. Never throws for any events.
void ReplayRace(const UnfinishedRace& race, RaceState& state, SoundChoices& sounds);

// Keeps a journal the operator declined as "KestoRace.jnl.old" (replacing an
// older one), so the next race starts a journal of its own.
void SetJournalAside(const std::filesystem::path& programFolder);

} // namespace kesto
