#pragma once
// Race control: the life of a race on the main window, driven by the one start
// button cmdStart ("Start" -> "Abort" -> "Reset" -> "Start"): the checks before
// a start, the resets of the race state and the screen, the race clock shown on
// every tick and the finish check with the white and checkered flags and the
// close of the race. Lap and timed races are released by the start sequences.

#include "engine/race_context.h"
#include "engine/race_screen.h"
#include "engine/race_timer.h"
#include "engine/receive_buffer.h"
#include "engine/standings.h"
#include "engine/start_sequence.h"

namespace kesto {

// The flag pictures in the program folder.
inline constexpr const char* GreenFlagBitmap = "GreenFlagblack.bmp";
inline constexpr const char* WhiteFlagBitmap = "whiteflagblack.bmp";
inline constexpr const char* CheckeredFlagBitmap = "CheckeredFlagblack.bmp";

class RaceControl final : public StartSequenceHost {
public:
    RaceControl(RaceContext& ctx, RaceScreen& screen, StartSequenceLauncher& launcher,
                RaceTimer& timer);

    // The start button, by its caption (state.Button).
    void cmdStart_Click();

    // Start reset of the race state: lap counts, pass and lap times, gaps,
    // finish laps, demo cars, close time, best laps, announcements, positions.
    void StartReset();
    // Display reset: names, random seed, empty cells, row colours, no flag and
    // no race-over label, flags down, clock at rest, "Start", all menus on, title.
    void ReSet();
    // Every BestLapTime = NoBestLap.
    void ResetBestLaps();
    // Every cell of LapTimes = 0.
    void ClearLapTimes();
    // File, Race Format and Help menus off while a race is timed.
    void LockMenus();

    // First steps of every tick: the race clock and the finish check.
    void ShowRaceClock();
    void CheckFinish();

    // The start lights' hand-over (StartSequenceHost).
    void StartTimingAtGreen() override;
    void StartLightsClosed() override;

    // After a race was rebuilt from its journal (ReplayRace): the screen and
    // the timing brought in line with it, as they were before the program
    // ended: names, title, flag, race-over label, the button (Abort, or Reset
    // after the close), menus locked as during a race (File back after the
    // close), the race timer and RTS on unless the race had closed, one refresh.
    // `downtimeMs`: how long the timer was down since the journal's last line.
    void ResumeRace(int64_t downtimeMs = 0);

    // The standings brought up to date (engine/standings.h), then the race
    // screen repainted from them: by position in a race, in ID order in practice.
    void RefreshRaceScreen();
    // The tick's refresh: nothing is done when nothing a refresh reads has
    // changed since the last one (most ticks pass without a lap).
    void RefreshChangedRaceScreen();

    // Characters of the decoder line being received; the tick fills it.
    ReceiveBuffer& Input() { return m_input; }

private:
    void StartClicked();
    void AbortClicked();
    void ResetClicked();
    bool EveryRowNamed();
    bool SameNamesAccepted();
    bool ResetConfirmed();

    void ShowWhiteFlag();
    void DropCheckeredFlag(double bestLapFactor, int32_t extraMs);
    bool AllCarsFinished() const;
    void CloseRace();

    // The standings refreshed and the screen repainted from them, for `inputs`.
    void Repaint(StandingsInputs inputs);
    void SetTiming(bool on); // race timer and RTS line
    void SetButton(StartButton caption);

    RaceContext& m_ctx;
    RaceState& m_state;
    RaceScreen& m_screen;
    StartSequenceLauncher& m_launcher;
    RaceTimer& m_timer;
    ReceiveBuffer m_input;
    StandingsInputs m_shownInputs;   // of the last refresh
    bool m_shownInputsValid = false; // false once the rows were written otherwise
};

} // namespace kesto
