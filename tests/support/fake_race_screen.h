#pragma once
// A race screen that keeps what the operator would see (names, flag, clock,
// start button, menus) and counts its refreshes; like the real one, it only
// reads the standings the engine refreshed. It is the race timer as well,
// as the main window holds Timer1.

#include "engine/clock_format.h"
#include "engine/race_screen.h"
#include "engine/race_state.h"
#include "engine/race_timer.h"

#include <array>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace kesto::test {

class FakeRaceScreen final : public RaceScreen, public RaceTimer {
public:
    explicit FakeRaceScreen(RaceState& state);

    void ResetRows() override;
    void ShowFlag(const std::string& bitmapFile) override;
    void HideFlag() override { flagVisible = false; }
    void ShowRaceOver(bool visible) override { raceOverVisible = visible; }
    void SetClockText(const std::string& text) override;
    void SetClockColor(int32_t windowsColor) override { clockColor = windowsColor; }
    void SetStartButton(StartButton caption) override {
        button = caption;
        buttonEnabled = true;
    }
    void EnableMenu(MainMenu menu, bool enabled) override { menus[menu] = enabled; }
    void SetRaceTimer(bool running) override;
    void ComposeTitle() override;
    void UpdateRaceScreen() override { ++raceUpdates; }
    void UpdatePracticeScreen() override { ++practiceUpdates; }
    void ShowLinkAlarm(const std::string& text) override;
    void HideLinkAlarm() override { linkAlarmVisible = false; }
    void ShowJournalAlarm(const std::string& text) override;
    void HideJournalAlarm() override { journalAlarmVisible = false; }

    bool MenuEnabled(MainMenu menu) const { return menus.at(menu); }
    bool AllMenusEnabled() const;

    std::array<std::string, MaxCarIds> nameLabels;
    int cellsCleared = 0;
    int rowsPainted = 0;
    bool flagVisible = false;
    std::string flagPicture;             // the picture loaded last
    std::vector<std::string> flagsShown; // every picture shown, in order
    bool failShowFlag = false;           // ShowFlag throws, as a picture that cannot load
    bool raceOverVisible = false;
    std::string clockText = "00:00";
    std::vector<std::string> clockHistory; // each change of the clock text
    int32_t clockColor = ClockWhite;
    StartButton button = StartButton::Start;
    bool buttonEnabled = true;
    std::map<MainMenu, bool> menus;
    bool raceTimerRunning = false;
    int titlesComposed = 0;
    int raceUpdates = 0;
    int practiceUpdates = 0;
    bool linkAlarmVisible = false;
    std::string linkAlarmText;           // the alarm shown last
    std::vector<std::string> linkAlarms; // every alarm text shown, in order
    bool journalAlarmVisible = false;
    std::vector<std::string> journalAlarms; // every journal alarm text shown, in order
    // Told when the race timer starts or stops, as the main window tells its tick.
    std::function<void(bool running)> onRaceTimer;

private:
    RaceState& m_state;
};

} // namespace kesto::test
