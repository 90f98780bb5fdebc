#include "engine/race_control.h"

#include "engine/standings.h"
#include "engine/unsaved_results.h"

#include "base/guarded_step.h"
#include "engine/announcements.h"
#include "engine/clock_format.h"
#include "engine/demo_generator.h"
#include "engine/number_format.h"
#include "engine/positions.h"

#include <algorithm>
#include <string>

namespace kesto {

namespace {

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

Message Question(const std::string& title, const std::string& text, MessageIcon icon,
                 MessageAnswer preselected) {
    return Message{title, text, icon, MessageButtons::YesNo, preselected};
}

} // namespace

RaceControl::RaceControl(RaceContext& ctx, RaceScreen& screen, StartSequenceLauncher& launcher,
                         RaceTimer& timer)
    : m_ctx(ctx), m_state(ctx.state), m_screen(screen), m_launcher(launcher), m_timer(timer) {}

// --- the start button --------------------------------------------------------

void RaceControl::cmdStart_Click() {
    switch (m_state.Button) {
    case StartButton::Start:
        StartClicked();
        break;
    case StartButton::Abort:
        AbortClicked();
        break;
    case StartButton::Reset:
        ResetClicked();
        break;
    }
}

void RaceControl::StartClicked() {
    if (!EveryRowNamed() || !SameNamesAccepted())
        return;

    LockMenus();
    m_state.LapsUnsaved = true;
    m_state.SummaryUnsaved = true;
    m_state.RaceDateStamp.clear();

    ClearLapTimes();
    ResetSortedLapTimesArray(m_state);
    StartReset();
    m_state.FlagBitmap = GreenFlagBitmap;
    RunGuarded([&] { m_ctx.Journal().Record(JournalEvent::RaceStarted(m_state)); });

    if (m_state.PracticeMode) {
        RunGuarded([&] { m_ctx.Journal().Record(JournalEvent::TimingStarted()); });
        // As at a race's green: what the decoder sent before is no lap of this one.
        RunGuarded([&] { m_ctx.port.DiscardInput(); });
        m_input.Clear();
        RunGuarded([&] { m_screen.ShowFlag(m_state.FlagBitmap); });
        SetButton(StartButton::Abort);
        SetTiming(true);
        m_state.RaceClock = 0;
        m_state.Decoder.Start();
        return;
    }
    // The start windows begin the timing themselves (StartTimingAtGreen).
    if (m_state.Settings.StartDelay < 1)
        m_launcher.ShowStartLights(*this);
    else
        m_launcher.ShowCountdown(*this);
}

bool RaceControl::EveryRowNamed() {
    for (int id = 1; id <= MaxCarIds; ++id) {
        if (Trim(NameLabelText(m_state, id)) == "Select Name") {
            m_ctx.dialogs.Show(Message{"Select Name",
                                       "Please select name for Flag " + std::to_string(id),
                                       MessageIcon::None, MessageButtons::Ok, MessageAnswer::Ok});
            return false;
        }
    }
    return true;
}

bool RaceControl::SameNamesAccepted() {
    for (int i = 1; i <= MaxCarIds; ++i) {
        std::string name = NameLabelText(m_state, i);
        if (name == " Empty")
            continue;
        for (int j = i + 1; j <= MaxCarIds; ++j) {
            if (name != NameLabelText(m_state, j))
                continue;
            std::string text = "Warning, names in ID's " + std::to_string(i) + " and " +
                               std::to_string(j) + " are the same\nDo you want to continue race?";
            if (m_ctx.dialogs.Show(Question("Same Names", text, MessageIcon::Question,
                                            MessageAnswer::No)) != MessageAnswer::Yes)
                return false;
        }
    }
    return true;
}

void RaceControl::AbortClicked() {
    if (!m_state.RaceIsOver &&
        m_ctx.dialogs.Show(
            // Enter must not throw the race away: No is the default.
            Question("Abort", "Are you sure you want to abort?\nAll Data will be lost",
                     MessageIcon::Question, MessageAnswer::No)) != MessageAnswer::Yes)
        return;
    RunGuarded([&] { m_ctx.Journal().Record(JournalEvent::RaceAborted()); });
    SetTiming(false);
    m_state.LapsUnsaved = false;
    m_state.SummaryUnsaved = false;
    ReSet();
    m_state.RaceIsOver = false;
}

void RaceControl::ResetClicked() {
    if (!ResetConfirmed())
        return;
    RunGuarded([&] { m_ctx.Journal().Record(JournalEvent::RaceReset()); });
    SetButton(StartButton::Start);
    ReSet();
    StartReset();
    ClearLapTimes();
    ResetSortedLapTimesArray(m_state);
}

bool RaceControl::ResetConfirmed() {
    if (!ConfirmUnsavedResults(m_ctx.dialogs, m_state, "Do you want to Reset?"))
        return false;
    m_state.SummaryUnsaved = false;
    m_state.LapsUnsaved = false;
    return true;
}

// --- resets ----------------------------------------------------------------------

void RaceControl::StartReset() {
    for (int i = 0; i < MaxCarIds; ++i) {
        m_state.LapCount[i] = m_state.Settings.FirstLapCount;
        m_state.LastPassTime[i] = 0;
        m_state.LastLapTime[i] = 0;
        m_state.LagBehind[i].clear();
        m_state.LagFirst[i].clear();
        m_state.FinishLap[i] = NotFlaggedLap;
    }
    RunGuarded([&] { DrawDemoCars(m_state, m_ctx.random); });
    m_state.RaceCloseTime = NoCloseTime;
    m_state.Decoder.Stop();
    m_state.RejectedPasses.clear();
    m_state.RejectedPassesNotKept = 0;
    ResetBestLaps();
    m_state.RaceIsOver = false;
    ClearTimeLeftSounds(m_ctx.sounds);
    ComputePosition(m_state);
}

void RaceControl::ReSet() {
    m_shownInputsValid = false;
    RunGuarded([&] { m_screen.ResetRows(); });
    RunGuarded([&] { m_ctx.random.Reseed(); });
    RunGuarded([&] { m_screen.ShowRaceOver(false); });
    RunGuarded([&] { m_screen.HideFlag(); });
    m_state.WhiteFlagOut = false;
    m_state.CheckeredFlagOut = false;
    m_state.RaceClock = 0;
    m_state.Decoder.Stop();
    // With the clock at 0 this is the full race time of a timed race.
    RunGuarded([&] {
        m_screen.SetClockText(m_state.TimedRace ? FormatClock(RaceClockSeconds(m_state))
                                                : std::string("00:00"));
    });
    SetButton(StartButton::Start);
    for (MainMenu menu : {MainMenu::File, MainMenu::RaceFormat, MainMenu::Settings, MainMenu::Help})
        RunGuarded([&] { m_screen.EnableMenu(menu, true); });
    RunGuarded([&] { m_screen.ComposeTitle(); });
}

void RaceControl::ResetBestLaps() {
    m_state.BestLapTime.fill(NoBestLap);
}

void RaceControl::ClearLapTimes() {
    for (auto& row : m_state.LapTimes)
        row.fill(0.0f);
}

void RaceControl::LockMenus() {
    for (MainMenu menu : {MainMenu::File, MainMenu::RaceFormat, MainMenu::Help})
        RunGuarded([&] { m_screen.EnableMenu(menu, false); });
}

// --- every tick --------------------------------------------------------------------

void RaceControl::ShowRaceClock() {
    m_state.ClockSeconds = RaceClockSeconds(m_state);
    RunGuarded([&] { m_screen.SetClockText(FormatClock(m_state.ClockSeconds)); });
}

void RaceControl::CheckFinish() {
    if (m_state.TimedRace) {
        RunGuarded(
            [&] { PlayTimeLeftSounds(m_state, m_ctx.sounds, m_ctx.player, m_ctx.Caller()); });
        int64_t raceEnd = int64_t{m_state.RaceMinutes} * 60000;
        if (m_state.RaceClock >= raceEnd && !m_state.CheckeredFlagOut)
            DropCheckeredFlag(1.9, 5000);
    } else {
        RunGuarded(
            [&] { PlayLapHalfwaySound(m_state, m_ctx.sounds, m_ctx.player, m_ctx.Caller()); });
        int leader = m_state.RaceOrder[0];
        if (m_state.LapRace && IsValidId(leader) && m_state.LapCount[leader - 1] >= 1) {
            int leaderLaps = m_state.LapCount[leader - 1];
            if (m_state.NumberOfLaps == leaderLaps + 1 && !m_state.WhiteFlagOut)
                ShowWhiteFlag();
            if (leaderLaps == m_state.NumberOfLaps && !m_state.CheckeredFlagOut)
                DropCheckeredFlag(1.5, 0);
        }
    }

    if (m_state.CheckeredFlagOut && !m_state.RaceIsOver &&
        (AllCarsFinished() || m_state.RaceCloseTime < m_state.RaceClock))
        CloseRace();
}

void RaceControl::ShowWhiteFlag() {
    RunGuarded([&] { m_ctx.Journal().Record(JournalEvent::WhiteFlagShown(m_state)); });
    m_state.FlagBitmap = WhiteFlagBitmap;
    RunGuarded([&] { m_screen.ShowFlag(m_state.FlagBitmap); });
    RunGuarded([&] { PlayRaceSound(m_ctx.sounds, m_ctx.player, WhiteFlag); });
    m_state.WhiteFlagOut = true;
}

void RaceControl::DropCheckeredFlag(double bestLapFactor, int32_t extraMs) {
    int leader = m_state.RaceOrder[0];
    // The leader has finished; everyone else completes the lap they are on.
    for (int position = 2; position <= MaxCarIds; ++position) {
        int id = m_state.RaceOrder[position - 1];
        if (IsValidId(id))
            m_state.FinishLap[id - 1] = static_cast<int16_t>(m_state.LapCount[id - 1] + 1);
    }
    if (IsValidId(leader)) {
        // Under the RC rule a timed race's leader also completes its lap.
        const bool leaderRunsOn =
            m_state.TimedRace && m_state.Finish == FinishRule::EveryCarOnNextPass;
        m_state.FinishLap[leader - 1] =
            static_cast<int16_t>(m_state.LapCount[leader - 1] + (leaderRunsOn ? 1 : 0));
        double best = m_state.BestLapTime[leader - 1];
        m_state.RaceCloseTime = RoundToInt32(m_state.RaceClock + bestLapFactor * best + extraMs);
    }
    m_state.CheckeredFlagOut = true;
    // Recorded with its finish laps and close time before anyone sees the flag.
    RunGuarded([&] { m_ctx.Journal().Record(JournalEvent::CheckeredFlagDropped(m_state)); });

    RunGuarded([&] { PlayRaceSound(m_ctx.sounds, m_ctx.player, CheckeredFlag); });
    m_state.FlagBitmap = CheckeredFlagBitmap;
    RunGuarded([&] { m_screen.ShowFlag(m_state.FlagBitmap); });
}

bool RaceControl::AllCarsFinished() const {
    for (int i = 0; i < MaxCarIds; ++i) {
        bool neverPassed = m_state.LapCount[i] == m_state.Settings.FirstLapCount;
        if (!neverPassed && m_state.LapCount[i] < m_state.FinishLap[i])
            return false;
    }
    return true;
}

void RaceControl::CloseRace() {
    m_state.RaceIsOver = true;
    // Records typed in after the close are taken as they come.
    m_state.Decoder.Stop();
    RunGuarded([&] { m_state.RaceDateStamp = FormatRaceDateStamp(m_ctx.clock.Now()); });
    RunGuarded([&] { m_ctx.Journal().Record(JournalEvent::RaceClosed(m_state)); });
    SetTiming(false);
    RunGuarded([&] { PlayRaceSound(m_ctx.sounds, m_ctx.player, RaceOver); });
    RunGuarded([&] { m_screen.ShowRaceOver(true); });
    SetButton(StartButton::Reset);
    RunGuarded([&] { m_screen.EnableMenu(MainMenu::File, true); });
    RunGuarded([&] { RefreshRaceStandings(m_state, m_ctx.lapViewerGrid); });
    RunGuarded([&] { m_screen.UpdateRaceScreen(); });
    RunGuarded([&] { m_ctx.Caller().RaceClosed(m_state); });
}

// --- the start lights' hand-over -------------------------------------------------------

void RaceControl::StartTimingAtGreen() {
    RunGuarded([&] { m_ctx.Journal().Record(JournalEvent::TimingStarted()); });
    // Nothing the decoder sent before green is a lap of this race, not even
    // the start of a line received before.
    RunGuarded([&] { m_ctx.port.DiscardInput(); });
    m_input.Clear();
    RunGuarded([&] { m_screen.ShowFlag(m_state.FlagBitmap); });
    SetTiming(true);
    m_state.RaceClock = 0;
    m_state.Decoder.Start();
    RunGuarded([&] { m_screen.SetClockColor(ClockWhite); });
}

void RaceControl::StartLightsClosed() {
    SetButton(StartButton::Abort);
}

// --- resuming a race rebuilt from its journal ------------------------------------------

void RaceControl::ResumeRace(int64_t downtimeMs) {
    m_input.Clear();
    // The decoder's clock ran on while the timer was down.
    m_state.Decoder.Advance(downtimeMs);
    m_shownInputsValid = false;
    RunGuarded([&] { m_screen.ResetRows(); });
    RunGuarded([&] { m_screen.ComposeTitle(); });
    if (m_state.FlagBitmap.empty())
        RunGuarded([&] { m_screen.HideFlag(); });
    else
        RunGuarded([&] { m_screen.ShowFlag(m_state.FlagBitmap); });
    RunGuarded([&] { m_screen.ShowRaceOver(m_state.RaceIsOver); });
    SetButton(m_state.RaceIsOver ? StartButton::Reset : StartButton::Abort);
    // As during the race; after the close the File menu has the reports.
    RunGuarded([&] { m_screen.EnableMenu(MainMenu::File, m_state.RaceIsOver); });
    RunGuarded([&] { m_screen.EnableMenu(MainMenu::RaceFormat, false); });
    RunGuarded([&] { m_screen.EnableMenu(MainMenu::Help, false); });
    RunGuarded([&] { m_screen.EnableMenu(MainMenu::Settings, true); });
    SetTiming(!m_state.RaceIsOver);
    RunGuarded([&] { m_screen.SetClockColor(ClockWhite); });
    ShowRaceClock();
    RefreshRaceScreen();
}

void RaceControl::RefreshChangedRaceScreen() {
    StandingsInputs inputs = StandingsInputsOf(m_state);
    if (m_shownInputsValid && inputs == m_shownInputs)
        return;
    Repaint(std::move(inputs));
}

void RaceControl::RefreshRaceScreen() {
    Repaint(StandingsInputsOf(m_state));
}

void RaceControl::Repaint(StandingsInputs inputs) {
    m_shownInputs = std::move(inputs);
    m_shownInputsValid = true;
    RunGuarded([&] { RefreshStandings(m_state, m_ctx.lapViewerGrid); });
    RunGuarded([&] {
        if (m_state.PracticeMode)
            m_screen.UpdatePracticeScreen();
        else
            m_screen.UpdateRaceScreen();
    });
}

// --- helpers -------------------------------------------------------------------------

void RaceControl::SetTiming(bool on) {
    m_state.TimerEnabled = on;
    RunGuarded([&] { m_timer.SetRaceTimer(on); });
    m_state.RtsRaised = on;
    // A port without modem lines (or no port at all in demo mode) is no error.
    RunGuarded([&] { m_ctx.port.SetRts(on); });
}

void RaceControl::SetButton(StartButton caption) {
    m_state.Button = caption;
    RunGuarded([&] { m_screen.SetStartButton(caption); });
}

} // namespace kesto
