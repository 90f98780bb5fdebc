#include "web/observed_race_screen.h"

#include "engine/clock_format.h"

namespace kesto {

ObservedRaceScreen::ObservedRaceScreen(RaceScreen& screen, const RaceState& state)
    : m_screen(screen), m_state(state) {}

void ObservedRaceScreen::Tell(Change change) {
    if (m_changed)
        m_changed(change);
}

void ObservedRaceScreen::ResetRows() {
    m_screen.ResetRows();
    Tell(Change::Rows);
}

void ObservedRaceScreen::ShowFlag(const std::string& bitmapFile) {
    m_screen.ShowFlag(bitmapFile);
    m_shown.flagBitmap = bitmapFile;
    Tell(Change::Panel);
}

void ObservedRaceScreen::HideFlag() {
    m_screen.HideFlag();
    m_shown.flagBitmap.clear();
    Tell(Change::Panel);
}

void ObservedRaceScreen::ShowRaceOver(bool visible) {
    m_screen.ShowRaceOver(visible);
    m_shown.raceOver = visible;
    Tell(visible ? Change::RaceOver : Change::Panel);
}

void ObservedRaceScreen::SetClockText(const std::string& text) {
    m_screen.SetClockText(text);
    if (text == m_shown.clockText)
        return; // the tick writes the clock every 10 ms; it changes once a second
    m_shown.clockText = text;
    Tell(Change::Panel);
}

void ObservedRaceScreen::SetClockColor(int32_t windowsColor) {
    m_screen.SetClockColor(windowsColor);
    if (windowsColor == m_shown.clockColor)
        return;
    m_shown.clockColor = windowsColor;
    Tell(Change::Panel);
}

void ObservedRaceScreen::SetStartButton(StartButton caption) {
    m_screen.SetStartButton(caption);
    Tell(Change::Panel);
}

void ObservedRaceScreen::EnableMenu(MainMenu menu, bool enabled) {
    m_screen.EnableMenu(menu, enabled);
}

void ObservedRaceScreen::ComposeTitle() {
    m_screen.ComposeTitle();
    // The screen ends its title with the clock at rest, told to itself: the
    // same clock once more through here, so the board sees it too.
    RefreshClockDisplay(m_state, *this);
    Tell(Change::Panel);
}

void ObservedRaceScreen::UpdateRaceScreen() {
    m_screen.UpdateRaceScreen();
    Tell(Change::Rows);
}

void ObservedRaceScreen::UpdatePracticeScreen() {
    m_screen.UpdatePracticeScreen();
    Tell(Change::Rows);
}

void ObservedRaceScreen::ShowLinkAlarm(const std::string& text) {
    m_screen.ShowLinkAlarm(text);
    m_shown.alarm = text;
    Tell(Change::Panel);
}

void ObservedRaceScreen::HideLinkAlarm() {
    m_screen.HideLinkAlarm();
    m_shown.alarm.clear();
    Tell(Change::Panel);
}

void ObservedRaceScreen::ShowJournalAlarm(const std::string& text) {
    m_screen.ShowJournalAlarm(text);
}

void ObservedRaceScreen::HideJournalAlarm() {
    m_screen.HideJournalAlarm();
}

} // namespace kesto
