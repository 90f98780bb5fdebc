#include "app/kesto_program.h"

#include "app/config_windows.h"
#include "app/main_window_load.h"
#include "base/guarded_step.h"
#include "config/first_run_seed.h"
#include "config/sound_choices_file.h"
#include "display/qt/diag_window.h"
#include "display/qt/hits_window.h"
#include "display/qt/rejected_passes_window.h"
#include "display/qt/send_command_window.h"
#include "display/resume_offer.h"
#include "engine/decoder_input.h"
#include "peripheral/qt/about_window.h"
#include "peripheral/qt/browser_launcher.h"
#include "peripheral/qt/help_window.h"
#include "reports/qt/lap_times_window.h"
#include "reports/qt/result_reports.h"
#include "reports/qt/summary_window.h"
#include "sound/qt/sound_window.h"

#include <QCoreApplication>
#include <QLocale>

namespace kesto {

namespace {

constexpr const char* PreloadedSound = "everylap.wav";
constexpr int LastSoundSlot = 30;

template <class Seam> Seam& GivenOr(Seam* given, Seam& real) {
    return given ? *given : real;
}

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
    m_state.Locale = SystemNumberLocale();
    m_window = std::make_unique<FrmKestoTimer>(m_ctx, m_folder);
    m_launcher = std::make_unique<QtStartSequenceLauncher>(m_ctx, m_window.get());
    m_control = std::make_unique<RaceControl>(m_ctx, *m_window, *m_launcher);
    m_tick = std::make_unique<RaceTick>(m_ctx, *m_control, *m_window);
    m_window->Attach(*m_control, *m_tick);
    ResultReportsOptions reportOptions;
    reportOptions.parent = m_window.get();
    m_reports = std::make_unique<ResultReports>(m_ctx, m_folder.string(), m_shell,
                                                QtResultPrinters(), reportOptions);
    m_browser = std::make_unique<BrowserLauncher>(m_folder, m_ctx.dialogs);
    m_config = std::make_unique<ConfigWindows>(*m_window, m_ctx, m_folder);
    WireMenus();
}

KestoProgram::~KestoProgram() {
    if (m_help)
        delete m_help.data();
}

void KestoProgram::WireMenus() {
    FrmKestoTimer* window = m_window.get();
    MainWindowHooks& hooks = window->Hooks();
    hooks.openResults = [this] { m_reports->mnuOpen_Click(); };
    hooks.showLapTimes = [this] { m_reports->mnuLapTimes_Click(); };
    hooks.showSummary = [this] { m_reports->mnuSummary_Click(); };
    hooks.viewerGridVisible = [this](bool visible) { m_reports->ViewerGridVisible(visible); };
    m_ctx.lapViewerGrid = hooks.viewerGridVisible;
    hooks.showHits = [this, window] { FrmHits::ShowModeless(window, &m_state); };
    hooks.showRejectedPasses = [this, window] { FrmRejectedPasses::ShowModeless(m_state, window); };
    hooks.showSendCommand = [this, window] {
        FrmSendCommand::ShowModeless(
            [this](const std::string& record) {
                m_ctx.Journal().Record(JournalEvent::TypedRecord(
                    m_state.RaceClock, record, static_cast<int32_t>(m_state.Decoder.Now())));
                ParseDecoderRecord(m_ctx, record);
            },
            window);
    };
    hooks.showDiagnostic = [this, window] {
        FrmKestoDiag::ShowModal(m_port, m_state.Settings.IdColor, m_folder, window);
    };
    hooks.showAbout = [this, window] { FrmKestoAbout::ShowModal(m_folder, window); };
    hooks.showBrowser = [this, window] { m_browser->ShowModal(window); };
    hooks.showHelp = [this] { ShowHelp(); };
    hooks.showSound = [this] { ShowSoundWindow(); };
    // "Settings", "Race Format" and "Racers".
    m_config->Install();
}

void KestoProgram::ShowHelp() {
    HelpWindow::ShowTopics(m_help, m_folder, m_window.get());
}

void KestoProgram::ShowSoundWindow() {
    FrmKestoSound sound(
        m_sounds, m_ring, m_ctx.dialogs, m_folder, [this] { ShowHelp(); }, m_window.get());
    sound.exec();
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
    steps.loadSoundChoices = [this] { LoadSoundChoices(m_folder, m_sounds, m_ctx.dialogs); };
    steps.comPortHooks = m_config->ComPortHooks();
    LoadMainWindow(*m_window, *m_control, m_ctx, steps);
    m_window->show();
    // Over the shown window; the port stays as the load left it, so a resumed
    // race goes on with the decoder's next lines.
    // A second timer on the same folder must not take over the first one's race.
    if (m_journal.OwnsFolder())
        RunGuarded([this] { OfferToResumeRace(m_ctx, *m_control, m_journal, m_folder); });
}

} // namespace kesto
