#pragma once
// The configuration windows behind the main window's menus: "Settings"
// (frmKestoSettings, modal), "Race Format" (frmKestoRaceFormat, modal) and
// "Racers" (frmKestoAddRacer, modeless, one at a time). The program makes one
// ConfigWindows beside the main window and calls Install() to plug them into
// its menu hooks.

#include "config/qt/roster_window.h"
#include "config/qt/settings_window.h"
#include "engine/open_com_port.h"

#include <QPointer>

#include <filesystem>

namespace kesto {

class FrmKestoTimer;

class ConfigWindows final {
public:
    ConfigWindows(FrmKestoTimer& mainWindow, RaceContext& ctx, std::filesystem::path programFolder,
                  std::filesystem::path devFolder = "/dev");

    // Connects the main window's "Settings", "Race Format" and "Racers" commands.
    void Install();

    void ShowSettings();
    void ShowRaceFormat();
    // Shows the roster window, or brings the open one to the front.
    void ShowRacers();

    bool SettingsShowing() const { return m_settings != nullptr; }
    FrmKestoSettings* Settings() const { return m_settings; }
    FrmKestoAddRacer* Racers() const { return m_racers; }

    // What OpenComPort needs at start-up: the settings window to choose
    // another port, and the title to recompose after demo mode is chosen.
    OpenComPortHooks ComPortHooks();

private:
    FrmKestoTimer& m_main;
    RaceContext& m_ctx;
    std::filesystem::path m_folder;
    std::filesystem::path m_devFolder;
    FrmKestoSettings* m_settings = nullptr; // while its modal loop runs
    QPointer<FrmKestoAddRacer> m_racers;
};

} // namespace kesto
