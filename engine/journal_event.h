#pragma once
// One event of a race as the race journal keeps it: everything that changes a
// race from Start to Reset, with the values it carries. Race control, the tick
// and the windows make them with the makers below and hand them to the
// journal (race_journal.h); the journal file writes them as lines
// (journal_format.h) and the replay runs them again (journal_replay.h).

#include "engine/race_state.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kesto {

enum class JournalEventKind : uint8_t {
    RaceStarted,
    TimingStarted,
    DecoderLine,
    TypedRecord,
    DemoPass,
    ScreenUpdated,
    WhiteFlagShown,
    CheckeredFlagDropped,
    RaceClosed,
    BestLapCleared,
    NameChosen,
    UnsavedMarks,
    RaceAborted,
    RaceReset,
    SettingsChanged,
    // Written by the journal itself, never reported to it: from here on the
    // journal may not hold every event of the race (the disk was full; see
    // journal_file.h). `value` > 0: that many events were lost here for good.
    JournalBehind,
};

// Everything in force when Start was pressed that the race depends on.
struct JournalRaceStart {
    SettingsRecord Settings;
    IdNamesRecord Names;
    float SpeedMultiplier = 0;
    bool PracticeMode = false;
    bool LapRace = false;
    bool TimedRace = false;
    int16_t NumberOfLaps = 0;
    int32_t RaceMinutes = 0;
    bool DemoMode = false;
    std::string RaceFormatText;
    std::string BestColumnMode;
    std::string LagColumnMode;
    PerId<int32_t> DemoNextPass{};
    PerId<int32_t> DemoLapBase{};
    PerId<int32_t> DemoLapSpread{};
    PerId<int16_t> DemoCrashChance{};
    FinishRule Finish = FinishRule::LeaderAtFlag; // written last, and only when not the default
};

// The start values of a race state (after the start reset's demo draws).
JournalRaceStart RaceStartOf(const RaceState& state);

struct JournalEvent {
    JournalEventKind kind = JournalEventKind::ScreenUpdated;
    int32_t raceClock = 0;      // the race clock of the event (0 where it has none)
    int32_t id = 0;             // DemoPass, BestLapCleared (0 = all), NameChosen
    int32_t value = 0;          // DemoPass: next pass; CheckeredFlagDropped: RaceCloseTime;
                                // UnsavedMarks: LapsUnsaved; JournalBehind: events lost
    int32_t value2 = 0;         // UnsavedMarks: SummaryUnsaved
    int32_t tickMs = 0;         // DecoderLine, TypedRecord: the decoder clock's tick time
                                // (written last; a line without it takes the race clock)
    std::string text;           // the decoder line, typed record, name, RaceDateStamp
                                // or why the journal fell behind
    PerId<int16_t> finishLap{}; // CheckeredFlagDropped
    // RaceStarted; SettingsChanged (only Settings, SpeedMultiplier and the
    // column modes are filled in)
    std::shared_ptr<const JournalRaceStart> start;

    // --- the events, as they happen ---

    // Start was pressed and accepted: the settings, names and race format in
    // force, the demo cars' draws. Begins a new journal.
    static JournalEvent RaceStarted(const RaceState& state);
    // Green: timing begins with the race clock at 0 (practice: at Start).
    static JournalEvent TimingStarted();
    // One decoder line as received, before it is parsed, with the race clock
    // at that moment and the decoder clock's tick time (DecoderClock::Now()).
    static JournalEvent DecoderLine(int32_t raceClock, std::string_view line, int32_t tickMs);
    // One record typed into the raw-command window, before it is parsed.
    static JournalEvent TypedRecord(int32_t raceClock, std::string_view line, int32_t tickMs);
    // One demo car passed at `raceClock` (the lap is counted right after);
    // `nextPass` is the pass the car drew next (DemoNextPass).
    static JournalEvent DemoPass(int32_t raceClock, int id, int32_t nextPass);
    // The running order and gaps are recomputed now.
    static JournalEvent ScreenUpdated(int32_t raceClock);
    // Flags and the close, with the values race control set for them.
    static JournalEvent WhiteFlagShown(const RaceState& state);
    static JournalEvent CheckeredFlagDropped(const RaceState& state); // FinishLap, RaceCloseTime
    static JournalEvent RaceClosed(const RaceState& state);           // RaceDateStamp
    // Best laps cleared: one car's (digit keys) or, with id 0, all of them.
    static JournalEvent BestLapCleared(int id);
    // A name chosen for an ID's row.
    static JournalEvent NameChosen(int id, std::string_view name);
    // During a race the settings (minimum lap time, colours, ...) or the
    // column modes changed: the values now in force.
    static JournalEvent SettingsChanged(const RaceState& state);
    // Results saved: the unsaved marks as they are now.
    static JournalEvent UnsavedMarks(bool lapsUnsaved, bool summaryUnsaved);
    // The race is over for good: nothing left to resume.
    static JournalEvent RaceAborted();
    static JournalEvent RaceReset();
    // The journal fell behind the race at `raceClock`, or (lostEvents > 0)
    // caught up after dropping that many events.
    static JournalEvent JournalBehind(int32_t raceClock, int32_t lostEvents,
                                      std::string_view reason);
};

} // namespace kesto
