#pragma once
// The main window with what drives it, wired as the program runs them: race
// control paints through the window, the race tick follows race control, and
// the race timer Timer1 (beside the window) drives the tick. Both reach the
// window through a watcher the live board follows (web/observed_race_screen.h).
// The program makes one; the window tests and benchmarks make theirs the same
// way.

#include "app/qt_race_timer.h"
#include "display/qt/race_screen_window.h"
#include "engine/qt/qt_start_sequence_launcher.h"
#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "web/observed_race_screen.h"

#include <filesystem>
#include <memory>

namespace kesto {

class MainWindowParts final {
public:
    // `launcher` runs the start windows; the real ones over the main window
    // when none is given.
    MainWindowParts(RaceContext& ctx, std::filesystem::path programFolder,
                    StartSequenceLauncher* launcher = nullptr);

    ~MainWindowParts();

    FrmKestoTimer& Window() { return *m_window; }
    RaceControl& Control() { return *m_control; }
    RaceTick& Tick() { return *m_tick; }
    // The window as race control and the tick see it.
    ObservedRaceScreen& Screen() { return *m_screen; }

private:
    std::unique_ptr<FrmKestoTimer> m_window;
    std::unique_ptr<ObservedRaceScreen> m_screen;
    std::unique_ptr<QtStartSequenceLauncher> m_startWindows;
    std::unique_ptr<RaceControl> m_control;
    std::unique_ptr<RaceTick> m_tick;
    DecoderPort* m_port = nullptr;
};

} // namespace kesto
