#pragma once
// The race journal as the engine sees it: every event that changes a race,
// from Start to Reset, is reported here before the screen shows its effect, so
// a race cut short by a crash, a kill or a power cut can be replayed and
// resumed on the next start (journal_file.h writes it, journal_replay.h reads
// it back). Every event is ignored unless a journal takes it; a context
// without a journal reports to NoRaceJournal().

#include "engine/race_state.h"

#include <cstdint>
#include <string_view>

namespace kesto {

class RaceJournal {
public:
    virtual ~RaceJournal() = default;

    // Start was pressed and accepted: the settings, names and race format in
    // force, the demo cars' draws. Begins a new journal.
    virtual void RaceStarted(const RaceState& /*state*/) {}
    // Green: timing begins with the race clock at 0 (practice: at Start).
    virtual void TimingStarted() {}
    // One decoder line as received, before it is parsed, with the race clock
    // at that moment and the decoder clock's tick time (DecoderClock::Now()).
    virtual void DecoderLine(int32_t /*raceClock*/, std::string_view /*line*/, int32_t /*tickMs*/) {
    }
    // One record typed into the raw-command window, before it is parsed.
    virtual void TypedRecord(int32_t /*raceClock*/, std::string_view /*line*/, int32_t /*tickMs*/) {
    }
    // One demo car passed at `raceClock` (the lap is counted right after);
    // `nextPass` is the pass the car drew next (DemoNextPass).
    virtual void DemoPass(int32_t /*raceClock*/, int /*id*/, int32_t /*nextPass*/) {}
    // The race screen recomputes running order and gaps now.
    virtual void ScreenUpdated(int32_t /*raceClock*/) {}
    // Flags and the close, with the values race control set for them.
    virtual void WhiteFlagShown(const RaceState& /*state*/) {}
    virtual void CheckeredFlagDropped(const RaceState& /*state*/) {} // FinishLap, RaceCloseTime
    virtual void RaceClosed(const RaceState& /*state*/) {}           // RaceDateStamp
    // Best laps cleared: one car's (digit keys) or, with id 0, all of them.
    virtual void BestLapCleared(int /*id*/) {}
    // A name chosen for an ID's row.
    virtual void NameChosen(int /*id*/, std::string_view /*name*/) {}
    // During a race the settings (minimum lap time, colours, ...) or the
    // column modes changed: the values now in force. Additive: a journal that
    // does not keep them ignores it.
    virtual void SettingsChanged(const RaceState& /*state*/) {}
    // Results saved: the unsaved marks as they are now.
    virtual void UnsavedMarks(bool /*lapsUnsaved*/, bool /*summaryUnsaved*/) {}
    // The race is over for good: nothing left to resume.
    virtual void RaceAborted() {}
    virtual void RaceReset() {}
};

// Reports nowhere: for contexts that keep no journal (tests, replay itself).
RaceJournal& NoRaceJournal();

} // namespace kesto
