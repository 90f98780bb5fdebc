#include "app/kesto_program.h"

#include "app/config_windows.h"
#include "app/live_board_wiring.h"
#include "app/main_window_load.h"
#include "app/meeting_board.h"
#include "app/meeting_wiring.h"
#include "base/guarded_step.h"
#include "config/first_run_seed.h"
#include "config/sound_choices_file.h"
#include "display/qt/diag_window.h"
#include "display/qt/hits_window.h"
#include "display/qt/rejected_passes_window.h"
#include "display/qt/send_command_window.h"
#include "display/resume_offer.h"
#include "engine/decoder_input.h"
#include "engine/journal_alarm.h"
#include "peripheral/qt/about_window.h"
#include "peripheral/qt/browser_launcher.h"
#include "peripheral/qt/help_window.h"
#include "reports/qt/lap_times_window.h"
#include "reports/qt/result_reports.h"
#include "reports/qt/summary_window.h"
#include "sound/qt/audio_plugin.h"
#include "sound/qt/audio_rest.h"
#include "sound/qt/sound_window.h"
#include "sound/qt/spoken_calls.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QLocale>
#include <QMenu>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <utility>

namespace kesto {

namespace {

constexpr const char* PreloadedSound = "everylap.wav";
constexpr int LastSoundSlot = 30;
constexpr int JournalRetryMs = 1000;

template <class Seam> Seam& GivenOr(Seam* given, Seam& real) {
    return given ? *given : real;
}

// Runs `then` once, just after `window` first shows on the screen: its first
// paint comes with that expose, before anything queued runs.
class AfterFirstExpose final : public QObject {
public:
    AfterFirstExpose(QWindow& window, std::function<void()> then)
        : QObject(&window), m_then(std::move(then)) {
        if (window.isExposed())
            RunQueued();
        else
            window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            RunQueued();
        }
        return false;
    }

private:
    void RunQueued() {
        QTimer::singleShot(0, this, [this] {
            m_then();
            deleteLater();
        });
    }

    std::function<void()> m_then;
};

char AsciiOr(const QString& text, char fallback) {
    if (text.size() == 1 && text.at(0).unicode() < 128)
        return static_cast<char>(text.at(0).unicode());
    return fallback;
}

} // namespace

std::filesystem::path ProgramFolderFromArguments(const QStringList& arguments) {
    const int option = static_cast<int>(arguments.indexOf(QStringLiteral("--program-folder")));
    if (option >= 0 && option + 1 < arguments.size())
        return std::filesystem::path(arguments.at(option + 1).toStdString());
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

NumberLocale SystemNumberLocale() {
    const QLocale locale = QLocale::system();
    NumberLocale numbers;
    numbers.decimalSeparator = AsciiOr(locale.decimalPoint(), '.');
    numbers.groupSeparator =
        AsciiOr(locale.groupSeparator(), numbers.decimalSeparator == ',' ? '.' : ',');
    return numbers;
}

KestoProgram::KestoProgram(std::filesystem::path programFolder, Dialogs* dialogs, WallClock* clock)
    : m_folder(std::move(programFolder)), m_ring(m_audio, GivenOr<Dialogs>(dialogs, m_dialogs)),
      m_port(m_folder), m_journal(m_folder), m_ctx{m_state,  m_sounds,
                                                   m_ring,   GivenOr<Dialogs>(dialogs, m_dialogs),
                                                   m_random, GivenOr<WallClock>(clock, m_clock),
                                                   m_port} {
    m_ctx.journal = &m_journal;
    m_speech = std::make_unique<SpokenCalls>(m_folder, m_state, m_ring, m_ctx.dialogs);
    m_ctx.caller = &m_speech->Caller();
    m_state.Locale = SystemNumberLocale();
    m_parts = std::make_unique<MainWindowParts>(m_ctx, m_folder);
    // The meeting hears a race close after the spoken calls do.
    m_meetings = std::make_unique<MeetingWiring>(m_ctx, Window(), m_folder, m_speech->Caller());
    m_ctx.caller = &m_meetings->Caller();
    ResultReportsOptions reportOptions;
    reportOptions.parent = &Window();
    reportOptions.fileOpened = [this](const std::string& path, bool summaryFile) {
        m_liveBoard->FileOpened(path, summaryFile);
    };
    m_reports = std::make_unique<ResultReports>(m_ctx, m_folder.string(), m_shell,
                                                QtResultPrinters(), reportOptions);
    m_liveBoard = std::make_unique<LiveBoardWiring>(m_ctx, m_parts->Screen(), *m_reports, m_folder,
                                                    QtResultPrinters().pdfPrinter);
    // The meeting's standings and next heat on the board, after every heat and change.
    m_meetings->OnChanged(
        [this] { m_liveBoard->Board().SetMeeting(MeetingStandingsBoard(m_meetings->Desk())); });
    m_browser = std::make_unique<BrowserLauncher>(m_folder, m_ctx.dialogs);
    m_config = std::make_unique<ConfigWindows>(Window(), m_ctx, m_folder);
    WireMenus();
    WireJournal();
}

void KestoProgram::WireJournal() {
    // A journal that cannot be written is on the race screen while it lasts.
    m_journal.OnErrorChanged(
        [this](const std::string& error) { ShowJournalError(Window(), error); });
    // Between races too (the race's events try on their own): what the disk
    // did not take is written as soon as it can be.
    m_journalRetry = new QTimer(&Window());
    m_journalRetry->setInterval(JournalRetryMs);
    QObject::connect(m_journalRetry, &QTimer::timeout, &Window(), [this] { m_journal.Retry(); });
    m_journalRetry->start();
}

KestoProgram::~KestoProgram() {
    m_ctx.caller = &m_speech->Caller(); // the meeting goes first
    m_liveBoard.reset();                // its server thread ends before the race state goes
    if (m_help)
        delete m_help.data();
}

template <class Show> void KestoProgram::OnCommand(MenuCommand command, Show show) {
    QObject::connect(Window().Action(command), &QAction::triggered, &Window(), show);
}

void KestoProgram::WireMenus() {
    FrmKestoTimer* window = &Window();
    m_ctx.lapViewerGrid = [this](bool visible) { m_reports->ViewerGridVisible(visible); };
    OnCommand(MenuCommand::Open, [this] { m_reports->mnuOpen_Click(); });
    OnCommand(MenuCommand::LapTimes, [this] { m_reports->mnuLapTimes_Click(); });
    OnCommand(MenuCommand::Summary, [this] { m_reports->mnuSummary_Click(); });
    // "Charts" of the View Data menu, below "Summary".
    if (auto* viewData = window->findChild<QMenu*>(QStringLiteral("mnuViewData"))) {
        auto* charts = new QAction(QStringLiteral("Charts"), viewData);
        charts->setObjectName(QStringLiteral("mnuCharts"));
        viewData->insertAction(Window().Action(MenuCommand::Hits), charts);
        QObject::connect(charts, &QAction::triggered, m_reports.get(), &ResultReports::ShowCharts);
    }
    OnCommand(MenuCommand::Hits, [this, window] { FrmHits::ShowModeless(window, &m_state); });
    OnCommand(MenuCommand::RejectedPasses,
              [this, window] { FrmRejectedPasses::ShowModeless(m_state, window); });
    OnCommand(MenuCommand::SendCommand, [this, window] {
        FrmSendCommand::ShowModeless(
            [this](const std::string& record) {
                m_ctx.Journal().Record(JournalEvent::TypedRecord(
                    m_state.RaceClock, record, static_cast<int32_t>(m_state.Decoder.Now())));
                ParseDecoderRecord(m_ctx, record);
            },
            window);
    });
    OnCommand(MenuCommand::Diagnostic, [this, window] {
        FrmKestoDiag::ShowModal(m_port, m_state.Settings.IdColor, m_folder, window);
    });
    OnCommand(MenuCommand::About, [this, window] { FrmKestoAbout::ShowModal(m_folder, window); });
    OnCommand(MenuCommand::WebSite, [this, window] { m_browser->ShowModal(window); });
    OnCommand(MenuCommand::Help, [this] { ShowHelp(); });
    OnCommand(MenuCommand::Sound, [this] { ShowSoundWindow(); });
    // "Settings", "Race Format" and "Racers".
    m_config->Install();
    m_liveBoard->AddMenuItem(*window);
    m_meetings->AddMenuItem(*window);
    // After Exit: what must survive is saved, then the program ends.
    QObject::connect(window, &FrmKestoTimer::unloaded, window, [this] {
        UnloadMainWindow(m_ctx, m_folder);
        QCoreApplication::quit();
    });
}

void KestoProgram::ShowHelp() {
    HelpWindow::ShowTopics(m_help, m_folder, &Window());
}

void KestoProgram::ShowSoundWindow() {
    // A recording replaced in the sound folder is heard from now on.
    m_ring.ForgetLoadedFiles();
    FrmKestoSound sound(
        m_sounds, m_ring, m_ctx.dialogs, m_folder, [this] { ShowHelp(); }, &Window());
    sound.ShowSpeechCalls(*m_speech);
    sound.exec();
    m_ring.ForgetLoadedFiles();
}

void KestoProgram::OpenSoundDeviceOnceShown() {
    auto open = [this] {
        m_audio.Attach(LoadAudioPlugin(QCoreApplication::applicationDirPath().toStdString()));
    };
    if (QWindow* shown = Window().windowHandle())
        new AfterFirstExpose(*shown, open);
    else
        QTimer::singleShot(0, &Window(), open);
    RestAudioBetweenRaces(Window(), m_audio, [this] { return m_state.TimerEnabled; });
}

void KestoProgram::Start() {
    // A newcomer's first run: ready for a demo race instead of empty settings.
    RunGuarded([this] { SeedFirstRun(m_folder); });
    MainWindowLoadSteps steps;
    steps.initSound = [this] {
        m_ring.SetSoundFolder(m_folder);
        m_ring.InitSoundBuffers(LastSoundSlot, PreloadedSound);
    };
    // The sound choices are read once, here; the sound window shows them.
    steps.loadSoundChoices = [this] {
        LoadSoundChoices(m_folder, m_sounds, m_ctx.dialogs);
        m_speech->LoadSettings();
    };
    steps.comPortHooks = m_config->ComPortHooks();
    LoadMainWindow(Window(), Control(), m_ctx, steps);
    Window().show();
    OpenSoundDeviceOnceShown();
    // Off unless the operator switched it on: a first run opens no port.
    RunGuarded([this] { m_liveBoard->ApplySavedChoice(); });
    // Over the shown window; the port stays as the load left it, so a resumed
    // race goes on with the decoder's next lines.
    // A second timer on the same folder must not take over the first one's race.
    if (!m_journal.OwnsFolder())
        return;
    // The meeting first, so a race resumed mid-heat closes into it.
    RunGuarded([this] { m_meetings->Restore(); });
    RunGuarded([this] {
        if (OfferToResumeRace(m_ctx, Control(), m_journal, m_folder) == ResumeOutcome::Resumed)
            m_meetings->RaceResumed();
    });
}

} // namespace kesto
