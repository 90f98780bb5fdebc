#include "engine/journal_replay.h"

#include "base/file_names.h"
#include "base/guarded_step.h"
#include "base/safe_write.h"
#include "engine/cell_formulas.h"
#include "engine/clock_format.h"
#include "engine/decoder_input.h"
#include "engine/decoder_record.h"
#include "engine/journal_place.h"
#include "engine/lap_counting.h"
#include "engine/number_format.h"
#include "engine/positions.h"
#include "engine/quiet_platform.h"
#include "engine/race_context.h"
#include "engine/race_control.h"
#include "engine/race_screen.h"
#include "engine/standings.h"

#include <algorithm>
#include <system_error>

namespace kesto {
namespace {

// --- silent doubles: the replay plays no sound, asks nothing, shows nothing ----------

// The demo draws come from the journal; the quiet platform's steady random
// numbers are overwritten at once.

class NoStartWindows final : public StartSequenceLauncher {
public:
    void ShowCountdown(StartSequenceHost&) override {}
    void ShowStartLights(StartSequenceHost&) override {}
};

bool HasClock(JournalEventKind kind) {
    switch (kind) {
    case JournalEventKind::DecoderLine:
    case JournalEventKind::TypedRecord:
    case JournalEventKind::DemoPass:
    case JournalEventKind::ScreenUpdated:
    case JournalEventKind::WhiteFlagShown:
    case JournalEventKind::CheckeredFlagDropped:
    case JournalEventKind::RaceClosed:
        return true;
    default:
        return false;
    }
}

// The announcements of CheckFinish whose moment the race has passed, marked
// made (and not played), as the race ticks had done.
void MarkAnnouncementsMade(const RaceState& state, SoundChoices& sounds) {
    if (state.PracticeMode)
        return;
    if (state.TimedRace) {
        const double raceSeconds = static_cast<double>(state.RaceMinutes) * 60.0;
        const int secondsLeft = RoundHalfEven(raceSeconds - state.RaceClock / 1000.0);
        const int atGreen = RoundHalfEven(raceSeconds);
        const std::pair<RaceSound, int> moments[] = {
            {TenSecondsLeft, 11},
            {OneMinuteLeft, 62},
            {FiveMinutesLeft, 302},
            {HalfwayThruTheRace, RoundHalfEven(raceSeconds / 2.0)},
        };
        for (const auto& [event, point] : moments)
            if (sounds.RaceSoundEnabled[event] && secondsLeft <= point && point <= atGreen)
                sounds.RaceSoundPlayed[event] = true;
        return;
    }
    const int leader = state.RaceOrder[0];
    if (IsValidId(leader) &&
        state.NumberOfLaps - state.LapCount[leader - 1] <= RoundHalfEven(state.NumberOfLaps / 2.0))
        sounds.RaceSoundPlayed[HalfwayThruTheRace] = true; // marked even when off, as the race does
}

// The engine's own operations on a private context over the caller's state.
class Replayer final {
public:
    Replayer(RaceState& state, SoundChoices& sounds)
        : m_ctx{state, sounds, m_player, m_dialogs, m_random, m_clock, m_port},
          m_control(m_ctx, m_screen, m_launcher, m_timer) {}

    void Apply(const JournalEvent& event);

private:
    void Start(const JournalRaceStart& start);

    SilentPlayer m_player;
    DefaultAnswerDialogs m_dialogs;
    SteadyRandom m_random;
    StoppedClock m_clock;
    NoPort m_port;
    NoStartWindows m_launcher;
    RaceContext m_ctx;
    BlankRaceScreen m_screen;
    NoRaceTimer m_timer;
    RaceControl m_control;
};

void Replayer::Start(const JournalRaceStart& start) {
    RaceState& state = m_ctx.state;
    state.Settings = start.Settings;
    state.Names = start.Names;
    state.SpeedMultiplier = start.SpeedMultiplier;
    state.PracticeMode = start.PracticeMode;
    state.LapRace = start.LapRace;
    state.TimedRace = start.TimedRace;
    state.NumberOfLaps = start.NumberOfLaps;
    state.RaceMinutes = start.RaceMinutes;
    state.DemoMode = start.DemoMode;
    state.RaceFormatText = start.RaceFormatText;
    state.Finish = start.Finish;
    state.BestColumnMode = start.BestColumnMode;
    state.LagColumnMode = start.LagColumnMode;

    // The program was idle ("Start") when the race was started, then Start did this.
    m_control.ReSet();
    state.TimerEnabled = false;
    state.RtsRaised = false;
    state.LapsUnsaved = true;
    state.SummaryUnsaved = true;
    state.RaceDateStamp.clear();
    m_control.ClearLapTimes();
    ResetSortedLapTimesArray(state);
    m_control.StartReset();
    state.DemoNextPass = start.DemoNextPass;
    state.DemoLapBase = start.DemoLapBase;
    state.DemoLapSpread = start.DemoLapSpread;
    state.DemoCrashChance = start.DemoCrashChance;
    state.FlagBitmap = GreenFlagBitmap;
}

void Replayer::Apply(const JournalEvent& e) {
    RaceState& state = m_ctx.state;
    if (HasClock(e.kind))
        state.RaceClock = e.raceClock;
    switch (e.kind) {
    case JournalEventKind::RaceStarted:
        if (e.start)
            Start(*e.start);
        break;
    case JournalEventKind::TimingStarted:
        m_control.StartTimingAtGreen();
        m_control.StartLightsClosed();
        break;
    case JournalEventKind::DecoderLine:
        // The race tick refreshed the standings between the records it took;
        // the flags its finish checks raised follow in the journal.
        state.Decoder.SetNow(e.tickMs);
        ParseDecoderRecord(m_ctx, e.text, [&state] { RefreshStandings(state); });
        break;
    case JournalEventKind::TypedRecord:
        state.Decoder.SetNow(e.tickMs);
        ParseDecoderRecord(m_ctx, e.text);
        break;
    case JournalEventKind::DemoPass:
        if (IsValidId(e.id))
            state.DemoNextPass[e.id - 1] = e.value;
        CountLap(m_ctx, e.id, e.raceClock);
        break;
    case JournalEventKind::ScreenUpdated:
        RefreshStandings(state);
        break;
    case JournalEventKind::WhiteFlagShown:
        state.FlagBitmap = WhiteFlagBitmap;
        state.WhiteFlagOut = true;
        break;
    case JournalEventKind::CheckeredFlagDropped:
        state.FinishLap = e.finishLap;
        state.RaceCloseTime = e.value;
        state.CheckeredFlagOut = true;
        state.FlagBitmap = CheckeredFlagBitmap;
        break;
    case JournalEventKind::RaceClosed:
        state.RaceIsOver = true;
        state.Decoder.Stop();
        state.RaceDateStamp = e.text;
        state.TimerEnabled = false;
        state.RtsRaised = false;
        state.Button = StartButton::Reset;
        RefreshRaceStandings(state);
        break;
    case JournalEventKind::BestLapCleared:
        if (e.id == 0)
            m_control.ResetBestLaps();
        else if (IsValidId(e.id))
            state.BestLapTime[e.id - 1] = NoBestLap;
        break;
    case JournalEventKind::NameChosen:
        if (IsValidId(e.id)) {
            state.Names.IdName[e.id - 1] = e.text;
            state.Names.NamedId[e.id - 1] = static_cast<int16_t>(e.id);
        }
        break;
    case JournalEventKind::UnsavedMarks:
        state.LapsUnsaved = e.value != 0;
        state.SummaryUnsaved = e.value2 != 0;
        break;
    case JournalEventKind::SettingsChanged:
        if (e.start) {
            state.Settings = e.start->Settings;
            state.SpeedMultiplier = e.start->SpeedMultiplier;
            state.BestColumnMode = e.start->BestColumnMode;
            state.LagColumnMode = e.start->LagColumnMode;
        }
        break;
    case JournalEventKind::RaceAborted:
        state.TimerEnabled = false;
        state.RtsRaised = false;
        state.LapsUnsaved = false;
        state.SummaryUnsaved = false;
        m_control.ReSet();
        state.RaceIsOver = false;
        break;
    case JournalEventKind::RaceReset:
        state.LapsUnsaved = false;
        state.SummaryUnsaved = false;
        m_control.ReSet();
        m_control.StartReset();
        m_control.ClearLapTimes();
        ResetSortedLapTimesArray(state);
        break;
    case JournalEventKind::JournalBehind:
        break; // the journal's own note: nothing happened in the race
    }
}

} // namespace

UnfinishedRace DescribeRace(JournalContents contents) {
    UnfinishedRace race;
    race.tailDropped = contents.tailDropped;
    race.damage = contents.damage;
    std::vector<JournalEvent>& events = contents.events;
    const auto lastStart = std::find_if(events.rbegin(), events.rend(), [](const JournalEvent& e) {
        return e.kind == JournalEventKind::RaceStarted && e.start;
    });
    if (lastStart != events.rend())
        events.erase(events.begin(), std::prev(lastStart.base()));
    else
        race.rebuildable = false;
    for (const JournalEvent& e : events) {
        if (HasClock(e.kind))
            race.lastRaceClock = e.raceClock;
        // Any event after the journal's note: it caught up.
        if (e.kind != JournalEventKind::JournalBehind)
            race.behind = false;
        switch (e.kind) {
        case JournalEventKind::RaceStarted:
            if (e.start)
                race.raceFormatText = e.start->RaceFormatText;
            race.lapsUnsaved = true;
            race.summaryUnsaved = true;
            break;
        case JournalEventKind::TimingStarted:
            race.reachedGreen = true;
            break;
        case JournalEventKind::DecoderLine:
        case JournalEventKind::TypedRecord: {
            const DecoderRecord record = ReadDecoderRecord(e.text);
            if (record.isRecord && !record.isClock)
                ++race.passes;
            break;
        }
        case JournalEventKind::DemoPass:
            ++race.passes;
            break;
        case JournalEventKind::RaceClosed:
            race.closed = true;
            break;
        case JournalEventKind::UnsavedMarks:
            race.lapsUnsaved = e.value != 0;
            race.summaryUnsaved = e.value2 != 0;
            break;
        case JournalEventKind::RaceAborted:
        case JournalEventKind::RaceReset:
            race.finished = true;
            break;
        case JournalEventKind::JournalBehind:
            if (e.value > 0) {
                race.lostEvents += e.value;
            } else {
                race.behind = true;
                race.behindAt = e.raceClock;
                race.behindReason = e.text;
            }
            break;
        default:
            break;
        }
    }
    race.events = std::move(events);
    return race;
}

std::optional<UnfinishedRace> FindUnfinishedRace(const std::filesystem::path& programFolder) {
    const std::filesystem::path path = ResolveInFolder(programFolder, JournalFileName);
    FoundJournal found = InspectJournalPlace(path, true);
    if (found.place != JournalPlace::Journal)
        return std::nullopt;
    JournalContents contents = ReadJournal(found.bytes);
    const JournalEnd end{found.bytes.size(), contents.lastSequence,
                         !found.bytes.empty() && found.bytes.back() == '\n'};
    found.bytes = std::string();
    if (contents.events.empty() && !contents.damage.Any() && !contents.tailDropped)
        return std::nullopt; // a header alone: no race began
    UnfinishedRace race = DescribeRace(std::move(contents));
    race.end = end;
    if (race.finished)
        return std::nullopt;
    if (!race.rebuildable)
        return race; // damaged: told and kept, never dropped unseen
    if (!race.reachedGreen)
        return std::nullopt;
    if (race.closed && !race.lapsUnsaved && !race.summaryUnsaved)
        return std::nullopt; // its results are saved: nothing would be lost
    return race;
}

bool JournalRaceIsDone(JournalContents contents) {
    if (contents.events.empty() && !contents.damage.Any() && !contents.tailDropped &&
        contents.headerValid)
        return true;
    const UnfinishedRace race = DescribeRace(std::move(contents));
    if (!race.rebuildable)
        return race.finished;
    return race.finished || !race.reachedGreen ||
           (race.closed && !race.lapsUnsaved && !race.summaryUnsaved);
}

void ReplayRace(const UnfinishedRace& race, RaceState& state, SoundChoices& sounds) {
    Replayer replayer(state, sounds);
    // An event the engine cannot take is skipped, as the race itself would.
    for (const JournalEvent& event : race.events)
        RunGuarded([&] { replayer.Apply(event); });
    if (race.reachedGreen)
        MarkAnnouncementsMade(state, sounds);
    state.ClockSeconds = RaceClockSeconds(state);
}

std::string SetJournalAside(const std::filesystem::path& programFolder) {
    const std::filesystem::path path = ResolveInFolder(programFolder, JournalFileName);
    const FoundJournal found = InspectJournalPlace(path, false);
    if (found.place == JournalPlace::Missing)
        return {};
    if (found.place == JournalPlace::Foreign)
        return found.error;
    // Never deleted: a journal that cannot be kept aside stays where it is.
    return KeepJournalAside(programFolder, path);
}

} // namespace kesto
