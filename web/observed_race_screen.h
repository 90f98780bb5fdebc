#pragma once
// The race screen with someone looking over its shoulder: every call goes on
// to the real screen unchanged, and what the board needs beyond the race
// state (clock text, flag, "Race  Over", the decoder alarm) is noted. After
// each call that changes what the operator sees, `changed` is told, so the
// live board can follow the screen without the screen knowing of it.

#include "engine/race_screen.h"
#include "web/board_document.h"

#include <functional>

namespace kesto {

class ObservedRaceScreen final : public RaceScreen {
public:
    enum class Change {
        Rows,     // a refresh, names, colours or cleared cells
        Panel,    // clock, flag, start button, alarm
        RaceOver, // the race closed: its results are final
    };

    ObservedRaceScreen(RaceScreen& screen, const RaceState& state);

    // Told after each change; may be empty.
    void SetObserver(std::function<void(Change)> changed) { m_changed = std::move(changed); }
    const ScreenShown& Shown() const { return m_shown; }

    void ResetRows() override;
    void ShowFlag(const std::string& bitmapFile) override;
    void HideFlag() override;
    void ShowRaceOver(bool visible) override;
    void SetClockText(const std::string& text) override;
    void SetClockColor(int32_t windowsColor) override;
    void SetStartButton(StartButton caption) override;
    void EnableMenu(MainMenu menu, bool enabled) override;
    void ComposeTitle() override;
    void UpdateRaceScreen() override;
    void UpdatePracticeScreen() override;
    void ShowLinkAlarm(const std::string& text) override;
    void HideLinkAlarm() override;
    // The race journal's alarm is the operator's business: passed on only.
    void ShowJournalAlarm(const std::string& text) override;
    void HideJournalAlarm() override;

private:
    void Tell(Change change);

    RaceScreen& m_screen;
    const RaceState& m_state;
    ScreenShown m_shown;
    std::function<void(Change)> m_changed;
};

} // namespace kesto
