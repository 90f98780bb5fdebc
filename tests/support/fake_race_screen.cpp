#include "support/fake_race_screen.h"

namespace kesto::test {

FakeRaceScreen::FakeRaceScreen(RaceState& state) : m_state(state) {
    for (MainMenu menu : {MainMenu::File, MainMenu::RaceFormat, MainMenu::Settings, MainMenu::Help})
        menus[menu] = true;
    nameLabels.fill(" Select Name");
}

void FakeRaceScreen::ResetRows() {
    for (int id = 1; id <= MaxCarIds; ++id)
        nameLabels[id - 1] = NameLabelText(m_state, id);
    ++cellsCleared;
    ++rowsPainted;
}

void FakeRaceScreen::ShowFlag(const std::string& bitmapFile) {
    if (failShowFlag)
        throw std::runtime_error("cannot load " + bitmapFile);
    flagPicture = bitmapFile;
    flagsShown.push_back(bitmapFile);
    flagVisible = true;
}

void FakeRaceScreen::SetRaceTimer(bool running) {
    raceTimerRunning = running;
    if (onRaceTimer)
        onRaceTimer(running);
}

void FakeRaceScreen::ShowLinkAlarm(const std::string& text) {
    linkAlarmText = text;
    linkAlarms.push_back(text);
    linkAlarmVisible = true;
}

void FakeRaceScreen::ShowJournalAlarm(const std::string& text) {
    journalAlarms.push_back(text);
    journalAlarmVisible = true;
}

void FakeRaceScreen::SetClockText(const std::string& text) {
    if (clockHistory.empty() || clockHistory.back() != text)
        clockHistory.push_back(text);
    clockText = text;
}

void FakeRaceScreen::ComposeTitle() {
    ++titlesComposed;
    RefreshClockDisplay(m_state, *this);
}

bool FakeRaceScreen::AllMenusEnabled() const {
    for (const auto& [menu, enabled] : menus)
        if (!enabled)
            return false;
    return true;
}

} // namespace kesto::test
