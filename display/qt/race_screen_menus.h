#pragma once
// The menu bar of the race screen and the commands behind it. Each command is
// an action of the window; the program connects the ones that open other
// windows (app/), the window keeps Exit. Three commands are also reached from
// the screen itself: the race format caption, the logo (About) and
// Ctrl+Shift+B (the raw-record window, which has no menu item).

#include "engine/race_screen.h"

#include <array>

class QAction;
class QMainWindow;
class QMenu;

namespace kesto {

enum class MenuCommand {
    Open,           // "&File" / "&Open"
    Exit,           // "&File" / "E&xit"
    RaceFormat,     // "R&ace Format" / "Race Format" (modal)
    LapTimes,       // "&View Data" / "Lap Times"
    Summary,        // "&View Data" / "Summary"
    Hits,           // "&View Data" / "Hits" (not modal)
    RejectedPasses, // "&View Data" / "Rejected Passes" (not modal)
    Racers,         // "&Racers" / "Racers" (not modal)
    Sound,          // "&Settings" / "S&ound" (modal)
    Settings,       // "&Settings" / "Settings" (modal)
    Help,           // "&Help" / "Help"
    Diagnostic,     // "&Help" / "Diagnostic..." (modal, Ctrl+D)
    WebSite,        // "&Help" / "Lapmark Web site..." (modal)
    About,          // "&Help" / "About..." (modal)
    SendCommand,    // Ctrl+Shift+B: the raw-record window (not modal)
};
inline constexpr int MenuCommands = static_cast<int>(MenuCommand::SendCommand) + 1;

struct RaceScreenMenus {
    QMenu* file = nullptr;
    QMenu* raceFormat = nullptr;
    QMenu* viewData = nullptr;
    QMenu* racers = nullptr;
    QMenu* settings = nullptr;
    QMenu* help = nullptr;
    std::array<QAction*, MenuCommands> actions{};

    QAction* Action(MenuCommand command) const { return actions[static_cast<int>(command)]; }
    QMenu* Menu(MainMenu menu) const;
};

// Fills the window's menu bar.
RaceScreenMenus BuildRaceScreenMenus(QMainWindow* window);

} // namespace kesto
