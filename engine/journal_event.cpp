#include "engine/journal_event.h"

#include <utility>

namespace kesto {
namespace {

JournalEvent Make(JournalEventKind kind, int32_t raceClock = 0) {
    JournalEvent event;
    event.kind = kind;
    event.raceClock = raceClock;
    return event;
}

} // namespace

JournalRaceStart RaceStartOf(const RaceState& state) {
    JournalRaceStart start;
    start.Settings = state.Settings;
    start.Names = state.Names;
    start.SpeedMultiplier = state.SpeedMultiplier;
    start.PracticeMode = state.PracticeMode;
    start.LapRace = state.LapRace;
    start.TimedRace = state.TimedRace;
    start.NumberOfLaps = state.NumberOfLaps;
    start.RaceMinutes = state.RaceMinutes;
    start.DemoMode = state.DemoMode;
    start.RaceFormatText = state.RaceFormatText;
    start.BestColumnMode = state.BestColumnMode;
    start.LagColumnMode = state.LagColumnMode;
    start.DemoNextPass = state.DemoNextPass;
    start.DemoLapBase = state.DemoLapBase;
    start.DemoLapSpread = state.DemoLapSpread;
    start.DemoCrashChance = state.DemoCrashChance;
    start.Finish = state.Finish;
    return start;
}

JournalEvent JournalEvent::RaceStarted(const RaceState& state) {
    JournalEvent event = Make(JournalEventKind::RaceStarted);
    event.start = std::make_shared<JournalRaceStart>(RaceStartOf(state));
    return event;
}

JournalEvent JournalEvent::TimingStarted() {
    return Make(JournalEventKind::TimingStarted);
}

JournalEvent JournalEvent::DecoderLine(int32_t raceClock, std::string_view line, int32_t tickMs) {
    JournalEvent event = Make(JournalEventKind::DecoderLine, raceClock);
    event.text = line;
    event.tickMs = tickMs;
    return event;
}

JournalEvent JournalEvent::TypedRecord(int32_t raceClock, std::string_view line, int32_t tickMs) {
    JournalEvent event = Make(JournalEventKind::TypedRecord, raceClock);
    event.text = line;
    event.tickMs = tickMs;
    return event;
}

JournalEvent JournalEvent::DemoPass(int32_t raceClock, int id, int32_t nextPass) {
    JournalEvent event = Make(JournalEventKind::DemoPass, raceClock);
    event.id = id;
    event.value = nextPass;
    return event;
}

JournalEvent JournalEvent::ScreenUpdated(int32_t raceClock) {
    return Make(JournalEventKind::ScreenUpdated, raceClock);
}

JournalEvent JournalEvent::WhiteFlagShown(const RaceState& state) {
    return Make(JournalEventKind::WhiteFlagShown, state.RaceClock);
}

JournalEvent JournalEvent::CheckeredFlagDropped(const RaceState& state) {
    JournalEvent event = Make(JournalEventKind::CheckeredFlagDropped, state.RaceClock);
    event.value = state.RaceCloseTime;
    event.finishLap = state.FinishLap;
    return event;
}

JournalEvent JournalEvent::RaceClosed(const RaceState& state) {
    JournalEvent event = Make(JournalEventKind::RaceClosed, state.RaceClock);
    event.text = state.RaceDateStamp;
    return event;
}

JournalEvent JournalEvent::BestLapCleared(int id) {
    JournalEvent event = Make(JournalEventKind::BestLapCleared);
    event.id = id;
    return event;
}

JournalEvent JournalEvent::NameChosen(int id, std::string_view name) {
    JournalEvent event = Make(JournalEventKind::NameChosen);
    event.id = id;
    event.text = name;
    return event;
}

JournalEvent JournalEvent::SettingsChanged(const RaceState& state) {
    JournalEvent event = Make(JournalEventKind::SettingsChanged);
    auto settings = std::make_shared<JournalRaceStart>();
    settings->Settings = state.Settings;
    settings->SpeedMultiplier = state.SpeedMultiplier;
    settings->BestColumnMode = state.BestColumnMode;
    settings->LagColumnMode = state.LagColumnMode;
    event.start = std::move(settings);
    return event;
}

JournalEvent JournalEvent::UnsavedMarks(bool lapsUnsaved, bool summaryUnsaved) {
    JournalEvent event = Make(JournalEventKind::UnsavedMarks);
    event.value = lapsUnsaved ? 1 : 0;
    event.value2 = summaryUnsaved ? 1 : 0;
    return event;
}

JournalEvent JournalEvent::RaceAborted() {
    return Make(JournalEventKind::RaceAborted);
}

JournalEvent JournalEvent::RaceReset() {
    return Make(JournalEventKind::RaceReset);
}

JournalEvent JournalEvent::JournalBehind(int32_t raceClock, int32_t lostEvents,
                                         std::string_view reason) {
    JournalEvent event = Make(JournalEventKind::JournalBehind, raceClock);
    event.value = lostEvents;
    event.text = reason;
    return event;
}

} // namespace kesto
