#pragma once
// The running timer as one object: the race state, the platform links (sound
// device, serial port, dialogs, clock, random numbers), the main window, race
// control and its tick, and the windows behind the main window's menus. Made
// once by main(); everything lives as long as the program.

#include "base/random_source.h"
#include "base/wall_clock.h"
#include "display/qt/race_screen_window.h"
#include "engine/journal_file.h"
#include "engine/qt/qt_dialogs.h"
#include "engine/qt/qt_start_sequence_launcher.h"
#include "engine/qt/serial_decoder_port.h"
#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "peripheral/qt/desktop_shell.h"
#include "sound/qt/sdl_audio_device.h"
#include "sound/sound_ring.h"

#include <QPointer>

#include <filesystem>
#include <memory>

namespace kesto {

class BrowserLauncher;
class ConfigWindows;
class HelpWindow;
class ResultReports;

class KestoProgram final {
public:
    // `dialogs`, when given, answers every message box and file dialog instead
    // of the real ones (the end-to-end tests drive the whole program so);
    // `clock`, when given, dates the races instead of the system clock.
    explicit KestoProgram(std::filesystem::path programFolder, Dialogs* dialogs = nullptr,
                          WallClock* clock = nullptr);
    ~KestoProgram();
    KestoProgram(const KestoProgram&) = delete;
    KestoProgram& operator=(const KestoProgram&) = delete;

    // The load of the main window (see main_window_load.h), then shows it. A
    // program folder without settings is first seeded for a demo race
    // (config/first_run_seed.h). A race the program was stopped in the middle
    // of is then offered for resuming (display/resume_offer.h).
    void Start();

    FrmKestoTimer& Window() { return *m_window; }
    RaceControl& Control() { return *m_control; }
    RaceState& State() { return m_state; }
    JournalFile& Journal() { return m_journal; }

private:
    void WireMenus();
    void ShowHelp();
    void ShowSoundWindow();

    std::filesystem::path m_folder;
    RaceState m_state;
    SoundChoices m_sounds;
    QtDialogs m_dialogs;
    SdlAudioDevice m_audio;
    SoundRing m_ring;
    SerialDecoderPort m_port;
    SystemRandom m_random;
    SystemWallClock m_clock;
    // The race journal, "KestoRace.jnl" in the program folder; it outlives
    // everything that reports to it.
    JournalFile m_journal;
    RaceContext m_ctx;
    std::unique_ptr<FrmKestoTimer> m_window;
    std::unique_ptr<QtStartSequenceLauncher> m_launcher;
    std::unique_ptr<RaceControl> m_control;
    std::unique_ptr<RaceTick> m_tick;
    QtDesktopShell m_shell;
    std::unique_ptr<ResultReports> m_reports;
    std::unique_ptr<ConfigWindows> m_config;
    std::unique_ptr<BrowserLauncher> m_browser;
    QPointer<HelpWindow> m_help;
};

// The program folder: the folder of the executable, or the folder given with
// "--program-folder DIR" (used by tests and by runs from a build tree, so a
// test never touches the files of an installed timer).
std::filesystem::path ProgramFolderFromArguments(const QStringList& arguments);

// The user's decimal and group separators, where they are plain ASCII.
NumberLocale SystemNumberLocale();

} // namespace kesto
