#pragma once
// The running timer as one object: the race state, the platform links (sound
// device, serial port, dialogs, clock, random numbers), the main window, race
// control and its tick, and the windows behind the main window's menus. Made
// once by main(); everything lives as long as the program.

#include "app/main_window_parts.h"
#include "base/random_source.h"
#include "base/wall_clock.h"
#include "engine/journal_file.h"
#include "engine/qt/qt_dialogs.h"
#include "engine/qt/serial_decoder_port.h"
#include "peripheral/qt/desktop_shell.h"
#include "sound/late_audio_device.h"
#include "sound/sound_ring.h"

#include <QPointer>
#include <QTimer>

#include <filesystem>
#include <memory>

namespace kesto {

class BrowserLauncher;
class ConfigWindows;
class HelpWindow;
class LiveBoardWiring;
class MeetingWiring;
class ResultReports;
class SpokenCalls;

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

    FrmKestoTimer& Window() { return m_parts->Window(); }
    RaceControl& Control() { return m_parts->Control(); }
    RaceState& State() { return m_state; }
    JournalFile& Journal() { return m_journal; }
    LiveBoardWiring& LiveBoard() { return *m_liveBoard; }
    MeetingWiring& Meetings() { return *m_meetings; }

private:
    void WireMenus();
    // Runs `show` when the menu command is chosen.
    template <class Show> void OnCommand(MenuCommand command, Show show);
    void WireJournal();
    void ShowHelp();
    void ShowSoundWindow();
    void OpenSoundDeviceOnceShown();

    std::filesystem::path m_folder;
    RaceState m_state;
    SoundChoices m_sounds;
    QtDialogs m_dialogs;
    // Silent until the sound device opens, just after the window first shows.
    LateAudioDevice m_audio;
    SoundRing m_ring;
    std::unique_ptr<SpokenCalls> m_speech; // the race called out loud, when the club wants it
    SerialDecoderPort m_port;
    SystemRandom m_random;
    SystemWallClock m_clock;
    // The race journal, "KestoRace.jnl" in the program folder; it outlives
    // everything that reports to it.
    JournalFile m_journal;
    RaceContext m_ctx;
    std::unique_ptr<MainWindowParts> m_parts;
    QtDesktopShell m_shell;
    std::unique_ptr<ResultReports> m_reports;
    std::unique_ptr<ConfigWindows> m_config;
    std::unique_ptr<BrowserLauncher> m_browser;
    std::unique_ptr<LiveBoardWiring> m_liveBoard;
    std::unique_ptr<MeetingWiring> m_meetings; // the race meeting, when one is open
    QPointer<HelpWindow> m_help;
    QTimer* m_journalRetry = nullptr; // owned by the window
};

// The program folder: the folder of the executable, or the folder given with
// "--program-folder DIR" (used by tests and by runs from a build tree, so a
// test never touches the files of an installed timer).
std::filesystem::path ProgramFolderFromArguments(const QStringList& arguments);

// The user's decimal and group separators, where they are plain ASCII.
NumberLocale SystemNumberLocale();

} // namespace kesto
