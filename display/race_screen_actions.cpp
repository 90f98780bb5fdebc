#include "display/race_screen_actions.h"

#include "engine/number_format.h"
#include "engine/race_control.h"
#include "engine/unsaved_results.h"

namespace kesto {

RaceScreenActions::RaceScreenActions(RaceContext& ctx, RaceControl& control)
    : m_ctx(ctx), m_state(ctx.state), m_control(control), m_names(ctx) {}

bool RaceScreenActions::ClockStopped() const {
    return !m_state.TimerEnabled;
}

bool RaceScreenActions::Idle() const {
    return m_state.Button == StartButton::Start;
}

void RaceScreenActions::RefreshUnlessIdle() {
    if (!Idle())
        m_control.RefreshRaceScreen();
}

void RaceScreenActions::lblBestLap_Click() {
    m_names.CloseComboNames();
    const std::string& mode = m_state.BestColumnMode;
    std::string next;
    if (m_state.PracticeMode)
        next = mode == BestLapMode ? MphMode : BestLapMode;
    else if (mode == BestLapMode)
        next = MphMode;
    else if (mode == MphMode)
        next = MedianMode;
    else
        next = BestLapMode;
    m_state.BestColumnMode = next;
    m_ctx.Journal().Record(JournalEvent::SettingsChanged(m_state));
    RefreshUnlessIdle();
}

void RaceScreenActions::lblLag_Click() {
    m_names.CloseComboNames();
    if (!m_state.PracticeMode) {
        const std::string& mode = m_state.LagColumnMode;
        std::string next;
        if (mode == LagBehindMode)
            next = LagFirstMode;
        else if (mode == LagFirstMode)
            next = MedianMode;
        else
            next = LagBehindMode;
        m_state.LagColumnMode = next;
        // The operator's choice outlives the race: Reset shows it again.
        m_lagModeSetting = next;
        m_ctx.Journal().Record(JournalEvent::SettingsChanged(m_state));
    }
    RefreshUnlessIdle();
}

RaceScreenActions::BestCellClick RaceScreenActions::lblBest_Click(int row) {
    BestCellClick click;
    if (!IsValidId(row) || m_state.BestColumnMode != BestLapMode)
        return click;
    if (m_state.PracticeMode) {
        ClearBestLapOf(row); // practice rows are in ID order
        click.emptyCell = true;
    }
    const int car = m_state.RaceOrder[row - 1];
    if (IsValidId(car) && !ClockStopped()) {
        ClearBestLapOf(car);
        click.emptyCell = true;
        click.beep = true;
    }
    return click;
}

void RaceScreenActions::ClearBestLapOf(int id) {
    if (!IsValidId(id))
        return;
    m_ctx.Journal().Record(JournalEvent::BestLapCleared(id));
    m_state.BestLapTime[id - 1] = NoBestLap;
}

KeyOutcome RaceScreenActions::Form_KeyDown(ScreenKey key, int digit, bool withModifier) {
    switch (key) {
    case ScreenKey::F4:
        lblLag_Click();
        break;
    case ScreenKey::F5:
        lblBestLap_Click();
        break;
    case ScreenKey::F8:
        return KeyOutcome::ReduceFontSize;
    case ScreenKey::F9:
        return KeyOutcome::IncreaseFontSize;
    case ScreenKey::Digit:
        if (digit >= 0 && digit <= 9) {
            // 1..4 with a modifier reach IDs 11..14; 0 is ID 10 either way.
            // The cell empties at the next refresh, without a beep.
            int id = digit == 0 ? 10 : digit;
            if (withModifier && digit >= 1 && digit <= 4)
                id += 10;
            ClearBestLapOf(id);
        }
        break;
    case ScreenKey::RawRecordWindow:
        return KeyOutcome::OpenSendCommand;
    case ScreenKey::Other:
        break;
    }
    return KeyOutcome::Done;
}

std::optional<int> RaceScreenActions::ClockSizeAfter(ClockButton button, double pointSize) {
    const int s = RoundHalfEven(pointSize);
    if (button == ClockButton::Left && s + 2 < 80)
        return s + 2;
    if (button == ClockButton::Right && s - 2 > 10)
        return s - 2;
    return std::nullopt;
}

std::optional<int> RaceScreenActions::ReducedRowSize(double pointSize) {
    const int n = RoundHalfEven(pointSize) - 1;
    // After a window resize made the rows smaller the key still stops at 1.
    if (n == 15 || n < 1)
        return std::nullopt;
    return n;
}

std::optional<int> RaceScreenActions::IncreasedRowSize(double pointSize) {
    const int n = RoundHalfEven(pointSize) + 1;
    if (n < 40)
        return n;
    return std::nullopt;
}

bool RaceScreenActions::lblRaceFormat_Click() const {
    return ClockStopped() && Idle();
}

bool RaceScreenActions::imgLapmark_Click() const {
    return Idle();
}

bool RaceScreenActions::mnuExit_Click() {
    if (!m_state.PracticeMode &&
        !ConfirmUnsavedResults(m_ctx.dialogs, m_state, "Do you want to exit?"))
        return false;
    try {
        if (m_ctx.port.IsOpen())
            m_ctx.port.Close();
    } catch (...) {
    }
    return true;
}

} // namespace kesto
