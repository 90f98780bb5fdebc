#include "app/config_windows.h"

#include "config/qt/race_format_window.h"
#include "display/qt/race_screen_window.h"

#include <QAction>

namespace kesto {

ConfigWindows::ConfigWindows(FrmKestoTimer& mainWindow, RaceContext& ctx,
                             std::filesystem::path programFolder, std::filesystem::path devFolder)
    : m_main(mainWindow), m_ctx(ctx), m_folder(std::move(programFolder)),
      m_devFolder(std::move(devFolder)) {}

void ConfigWindows::Install() {
    auto on = [this](MenuCommand command, void (ConfigWindows::*show)()) {
        QObject::connect(m_main.Action(command), &QAction::triggered, &m_main,
                         [this, show] { (this->*show)(); });
    };
    on(MenuCommand::Settings, &ConfigWindows::ShowSettings);
    on(MenuCommand::Racers, &ConfigWindows::ShowRacers);
    // The race format window, then the default pointer (also from the caption).
    on(MenuCommand::RaceFormat, &ConfigWindows::ShowRaceFormat);
}

void ConfigWindows::ShowSettings() {
    if (m_settings) {
        m_settings->raise();
        return;
    }
    SettingsWindowHooks hooks;
    hooks.composeTitle = [this] { m_main.ComposeTitle(); };
    hooks.applyIdColors = [this] { m_main.ApplyIdColors(); };
    hooks.devFolder = m_devFolder;
    FrmKestoSettings window(m_ctx, m_folder, hooks, &m_main);
    m_settings = &window;
    window.exec();
    m_settings = nullptr;
}

void ConfigWindows::ShowRaceFormat() {
    RaceFormatWindowHooks hooks;
    hooks.setDemoLabelVisible = [this](bool visible) { m_main.SetDemoLabelVisible(visible); };
    hooks.composeTitle = [this] { m_main.ComposeTitle(); };
    FrmKestoRaceFormat window(m_ctx.state, m_ctx.dialogs, m_folder, hooks, &m_main);
    window.exec();
    m_main.SetPointer(Pointer::Default);
}

void ConfigWindows::ShowRacers() {
    if (!m_racers) {
        m_racers = new FrmKestoAddRacer(
            m_ctx.dialogs, m_folder, [this] { m_main.LoadRacerLists(); }, &m_main);
        m_racers->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_racers->show();
    m_racers->raise();
    m_racers->activateWindow();
}

OpenComPortHooks ConfigWindows::ComPortHooks() {
    OpenComPortHooks hooks;
    hooks.settingsWindowShowing = [this] { return SettingsShowing(); };
    hooks.showSettingsWindow = [this] { ShowSettings(); };
    hooks.closeSettingsWindow = [this] {
        if (m_settings)
            m_settings->reject();
    };
    hooks.composeTitle = [this] { m_main.ComposeTitle(); };
    return hooks;
}

} // namespace kesto
