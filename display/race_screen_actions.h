#pragma once
// What the operator does on the race screen, as plain operations on the race
// state: switching the best and lag columns, clearing best laps by click or
// key, the row and clock text sizes, when the race format and about windows
// may open, and Exit's question. The main window forwards its mouse and key
// events here and paints what changed; tests drive these without a widget.

#include "display/name_choice.h"
#include "engine/race_context.h"

#include <optional>
#include <string>

namespace kesto {

class RaceControl;

// The keys of the race screen's shortcuts, whatever the toolkit calls them.
enum class ScreenKey { F4, F5, F8, F9, Digit, RawRecordWindow, Other };

// What a key leaves to the window.
enum class KeyOutcome { Done, ReduceFontSize, IncreaseFontSize, OpenSendCommand };

enum class ClockButton { Left, Right, Other };

class RaceScreenActions final {
public:
    RaceScreenActions(RaceContext& ctx, RaceControl& control);

    // The name lists; the column toggles close them.
    NameChoice& Names() { return m_names; }
    const NameChoice& Names() const { return m_names; }

    // Clock stopped: the race timer does not run. Idle: the button reads "Start".
    bool ClockStopped() const;
    bool Idle() const;

    // Best column toggle (also F5): "Best Lap" -> "MPH" (-> "Median" in a
    // race) -> "Best Lap"; refreshes at once unless idle.
    void lblBestLap_Click();
    // Lag column toggle (also F4), in a race only: "Lag Behind" -> "Lag First"
    // -> "Median" -> "Lag Behind"; refreshes at once unless idle.
    void lblLag_Click();

    // The lag mode a race shows (the practice header reads "Median"): read
    // from the lag file at start-up, then the one the operator chose last.
    const std::string& LagModeSetting() const { return m_lagModeSetting; }
    void SetLagModeSetting(std::string mode) { m_lagModeSetting = std::move(mode); }

    // A click on the best cell of `row` in "Best Lap" mode: in practice the
    // best lap of ID `row`; while the clock runs, that of the car shown on
    // the row, with a beep. True when the row's best cell is to be emptied.
    struct BestCellClick {
        bool emptyCell = false;
        bool beep = false;
    };
    BestCellClick lblBest_Click(int row);

    // Form_KeyDown: F4, F5, the digits (1..4 with a modifier are IDs 11..14,
    // 0 is ID 10), F8, F9 and Ctrl+Shift+B.
    KeyOutcome Form_KeyDown(ScreenKey key, int digit, bool withModifier);

    // The new clock size for a click on the clock, or none: two points up to
    // below 80 (left), down to above 10 (right), from the size rounded.
    static std::optional<int> ClockSizeAfter(ClockButton button, double pointSize);
    // ReduceFontSize and IncreaseFontSize: the rows' new text size, or none.
    // Down by one, but never to 15 (the design size 15.75 is the smallest
    // the key gives) nor below 1; up by one while below 40.
    static std::optional<int> ReducedRowSize(double pointSize);
    static std::optional<int> IncreasedRowSize(double pointSize);

    // Whether a click opens the race format window (clock stopped and idle)
    // or the about window (idle).
    bool lblRaceFormat_Click() const;
    bool imgLapmark_Click() const;

    // Exit: outside practice, the question about unsaved results; then the
    // port is closed. True when the program is to end.
    bool mnuExit_Click();

private:
    void ClearBestLapOf(int id);
    void RefreshUnlessIdle();

    RaceContext& m_ctx;
    RaceState& m_state;
    RaceControl& m_control;
    NameChoice m_names;
    std::string m_lagModeSetting = LagBehindMode;
};

} // namespace kesto
