#include "display/qt/race_screen_menus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace kesto {

QMenu* RaceScreenMenus::Menu(MainMenu menu) const {
    switch (menu) {
    case MainMenu::File:
        return file;
    case MainMenu::RaceFormat:
        return raceFormat;
    case MainMenu::Settings:
        return settings;
    case MainMenu::Help:
        return help;
    }
    return nullptr;
}

RaceScreenMenus BuildRaceScreenMenus(QMainWindow* window) {
    RaceScreenMenus menus;
    QMenuBar* bar = window->menuBar();
    auto menu = [bar](const char* text, const char* name) {
        QMenu* m = bar->addMenu(QString::fromLatin1(text));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto item = [&menus](QMenu* m, MenuCommand command, const char* text, const char* name) {
        QAction* a = m->addAction(QString::fromLatin1(text));
        a->setObjectName(QString::fromLatin1(name));
        menus.actions[static_cast<int>(command)] = a;
        return a;
    };

    menus.file = menu("&File", "mnuFile");
    item(menus.file, MenuCommand::Open, "&Open", "mnuOpen");
    item(menus.file, MenuCommand::Exit, "E&xit", "mnuExit");

    menus.raceFormat = menu("R&ace Format", "mnuRaceFormatMenu");
    item(menus.raceFormat, MenuCommand::RaceFormat, "Race Format", "mnuRaceFormat");

    menus.viewData = menu("&View Data", "mnuViewData");
    item(menus.viewData, MenuCommand::LapTimes, "Lap Times", "mnuLapTimes");
    item(menus.viewData, MenuCommand::Summary, "Summary", "mnuSummary");
    item(menus.viewData, MenuCommand::Hits, "Hits", "mnuHits");
    item(menus.viewData, MenuCommand::RejectedPasses, "Rejected Passes", "mnuRejectedPasses");

    menus.racers = menu("&Racers", "mnuRacersMenu");
    item(menus.racers, MenuCommand::Racers, "Racers", "mnuRacers");

    menus.settings = menu("&Settings", "mnuSettingsMenu");
    item(menus.settings, MenuCommand::Sound, "S&ound", "mnuSound");
    item(menus.settings, MenuCommand::Settings, "Settings", "mnuSettings");

    menus.help = menu("&Help", "mnuHelpMenu");
    item(menus.help, MenuCommand::Help, "Help", "mnuHelp");
    item(menus.help, MenuCommand::Diagnostic, "Diagnostic...", "mnuDiagnostic")
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    item(menus.help, MenuCommand::WebSite, "Lapmark Web site...", "mnuWebSite");
    item(menus.help, MenuCommand::About, "About...", "mnuAbout");

    // In no menu: the window's own key triggers it.
    auto* sendCommand = new QAction(QStringLiteral("Send Command"), window);
    sendCommand->setObjectName(QStringLiteral("mnuSendCommand"));
    menus.actions[static_cast<int>(MenuCommand::SendCommand)] = sendCommand;
    return menus;
}

} // namespace kesto
