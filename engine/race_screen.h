#pragma once
// The race screen as race control paints it: the rows of the main window
// frmKestoTimer, its flag picture, clock, start button, menus, title and the
// decoder link's alarm. The standings are the engine's (engine/standings.h);
// the screen only shows them. The main window implements it; tests use a fake.

#include "engine/race_state.h"

#include <cstdint>
#include <string>

namespace kesto {

// The menus of the main window that race control locks and unlocks.
enum class MainMenu { File, RaceFormat, Settings, Help };

class RaceScreen {
public:
    virtual ~RaceScreen() = default;

    // The rows as Reset leaves them, in ID order: LoadNames (ID and name
    // columns, names as NameLabelText gives them), the lap-number, lap-time,
    // best and lag cells emptied, every cell of row i in IdColor of ID i.
    virtual void ResetRows() = 0;
    // Race refresh: rows written by position from the standings.
    virtual void UpdateRaceScreen() = 0;
    // Practice refresh: rows stay in ID order.
    virtual void UpdatePracticeScreen() = 0;

    // Loads the picture file from the program folder into imgFlag and shows it; a
    // file that cannot be loaded leaves the previous picture.
    virtual void ShowFlag(const std::string& bitmapFile) = 0;
    // Hides imgFlag.
    virtual void HideFlag() = 0;
    // Shows or hides the "Race  Over" label lblRaceOver.
    virtual void ShowRaceOver(bool visible) = 0;
    // Text of the race clock lblClock.
    virtual void SetClockText(const std::string& text) = 0;
    // Text colour of the race clock, a Windows colour value (red in the low byte).
    virtual void SetClockColor(int32_t windowsColor) = 0;
    // Caption of cmdStart ("Start", "Abort" or "Reset"); the button is enabled.
    virtual void SetStartButton(StartButton caption) = 0;
    // Enables or disables one menu of the menu bar.
    virtual void EnableMenu(MainMenu menu, bool enabled) = 0;
    // Window title, race format caption and lag header; ends with RefreshClockDisplay.
    virtual void ComposeTitle() = 0;
    // A banner across the race rows that nobody can miss: the decoder link is
    // down (engine/decoder_link_watch.h). Showing another text replaces it.
    virtual void ShowLinkAlarm(const std::string& text) = 0;
    virtual void HideLinkAlarm() = 0;
    // The same kind of banner, apart from the link's: the race journal cannot
    // be written (engine/journal_alarm.h). Showing another text replaces it.
    virtual void ShowJournalAlarm(const std::string& text) = 0;
    virtual void HideJournalAlarm() = 0;
};

// The name cell of ID `id` as LoadNames writes it: a blank and the racer name,
// or " Select Name" while the ID has no name.
std::string NameLabelText(const RaceState& state, int id);

} // namespace kesto
