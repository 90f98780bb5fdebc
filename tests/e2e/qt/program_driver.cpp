#include "program_driver.h"

#include "engine/qt/start_lights_window.h"
#include "reports/qt/lap_times_window.h"
#include "reports/qt/summary_window.h"
#include "result_file_reading.h"
#include "support/qt/find_child.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <memory>

namespace kesto::e2e {

namespace fs = std::filesystem;

namespace {

void Stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace

// --- socat ------------------------------------------------------------------------

bool PseudoTerminalPair::Available() {
    return !QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty();
}

PseudoTerminalPair::~PseudoTerminalPair() {
    Stop(m_socat);
}

bool PseudoTerminalPair::Open(const fs::path& oneEnd, const fs::path& otherEnd, std::string* why) {
    m_socat.setProgram(QStringLiteral("socat"));
    m_socat.setArguments({QStringLiteral("-d"), QStringLiteral("-d"),
                          QString::fromStdString("pty,raw,echo=0,link=" + oneEnd.string()),
                          QString::fromStdString("pty,raw,echo=0,link=" + otherEnd.string())});
    m_socat.setReadChannel(QProcess::StandardError);
    m_socat.start();
    if (!m_socat.waitForStarted(5000)) {
        *why = "socat did not start";
        return false;
    }
    // socat reports each pseudo-terminal as it makes it; wait on that output
    // until both links exist.
    QDeadlineTimer deadline(10000);
    while (!(fs::exists(oneEnd) && fs::exists(otherEnd)) && !deadline.hasExpired() &&
           m_socat.state() == QProcess::Running)
        m_socat.waitForReadyRead(50);
    if (fs::exists(oneEnd) && fs::exists(otherEnd))
        return true;
    *why = "socat made no links: " + m_socat.readAllStandardError().toStdString();
    return false;
}

// --- decoder-sim ----------------------------------------------------------------

fs::path DecoderSimProcess::Program() {
    return KESTO_DECODER_SIM;
}

DecoderSimProcess::~DecoderSimProcess() {
    Stop(m_process);
}

bool DecoderSimProcess::Launch(const QStringList& arguments, std::string* why) {
    m_process.setProgram(QString::fromStdString(Program().string()));
    m_process.setArguments(QStringList(arguments)
                           << QStringLiteral("--start") << QStringLiteral("signal"));
    m_process.setReadChannel(QProcess::StandardError);
    m_process.start();
    if (!m_process.waitForStarted(5000)) {
        *why = "decoder-sim did not start: " + m_process.errorString().toStdString();
        return false;
    }
    QDeadlineTimer deadline(10000);
    while (Output().find("ready") == std::string::npos && !deadline.hasExpired() &&
           m_process.state() == QProcess::Running)
        m_process.waitForReadyRead(50);
    if (Output().find("ready") != std::string::npos)
        return true;
    *why = "decoder-sim is not ready: " + Output();
    return false;
}

bool DecoderSimProcess::LaunchScript(const std::filesystem::path& device,
                                     const std::filesystem::path& script, double speed,
                                     int tailSeconds, std::string* why, QStringList more) {
    return Launch(QStringList{QStringLiteral("--device"), QString::fromStdString(device.string()),
                              QStringLiteral("--script"), QString::fromStdString(script.string()),
                              QStringLiteral("--speed"), QString::number(speed),
                              QStringLiteral("--tail"), QString::number(tailSeconds)}
                      << more,
                  why);
}

void DecoderSimProcess::StartClock() {
    if (m_process.state() == QProcess::Running && !m_started) {
        ::kill(static_cast<pid_t>(m_process.processId()), SIGUSR1);
        m_started = true;
    }
}

void DecoderSimProcess::RaiseRtsAgain() {
    if (m_process.state() == QProcess::Running && m_started)
        ::kill(static_cast<pid_t>(m_process.processId()), SIGUSR1);
}

std::string DecoderSimProcess::Output() {
    m_errors += m_process.readAllStandardError().toStdString();
    return m_errors;
}

// --- the program ------------------------------------------------------------------

namespace {

// What drives the start lights from inside their modal loop. Shared with the
// timer callbacks, which may still be queued after the lights are gone.
struct LightsDriver {
    KestoProgram* program = nullptr;
    std::function<void()> atGreen;
    bool lightsSeen = false;
    bool green = false;
    bool done = false;
    int looks = 0;
};

void DriveLights(const std::shared_ptr<LightsDriver>& d) {
    if (d->done)
        return;
    auto* lights = qobject_cast<FrmKestoFormula1*>(QApplication::activeModalWidget());
    if (!lights) {
        if (++d->looks < 500)
            QTimer::singleShot(10, [d] { DriveLights(d); });
        return;
    }
    d->lightsSeen = true;
    // Second by second (their random wait is a few seconds) until they close.
    for (int second = 0; second < 30 && !lights->Sequence().Closed(); ++second) {
        lights->tmrRandom_Timer();
        if (!d->green && d->program->State().TimerEnabled) {
            d->green = true;
            d->atGreen();
        }
    }
}

} // namespace

bool PressStartThroughTheLights(KestoProgram& program, const std::function<void()>& atGreen,
                                std::string* why) {
    auto driver = std::make_shared<LightsDriver>();
    driver->program = &program;
    driver->atGreen = atGreen;
    QTimer::singleShot(0, [driver] { DriveLights(driver); });
    test::Child<QPushButton>(&program.Window(), "cmdStart")->click();
    driver->done = true;
    if (!driver->lightsSeen)
        *why = "the start lights never opened";
    else if (!driver->green)
        *why = "the start lights never turned green";
    return driver->lightsSeen && driver->green;
}

bool RunUntilRaceCloses(KestoProgram& program, int timeoutMs) {
    return QTest::qWaitFor([&] { return program.State().RaceIsOver; }, timeoutMs);
}

SavedResults SaveResults(KestoProgram& program, test::FakeDialogs& dialogs, const fs::path& folder,
                         std::string* why) {
    SavedResults saved;
    FrmKestoTimer& window = program.Window();
    auto menu = [&](const char* name) {
        if (auto* action = window.findChild<QAction*>(QString::fromLatin1(name)))
            action->trigger();
        else
            *why += std::string("no menu item ") + name + "; ";
    };
    // One Save of a viewer, answered with `name`; the file's content, or empty.
    auto save = [&](QAction* saveItem, const std::string& name) {
        const fs::path path = folder / name;
        dialogs.files.push_back(path.string());
        const size_t shown = dialogs.shown.size();
        saveItem->trigger();
        if (dialogs.shown.size() == shown || dialogs.last().title != "File Saved")
            *why += "saving " + name + " said nothing; ";
        saved.paths.push_back(path.string());
        return ReadWholeFile(path.string());
    };

    menu("mnuSummary");
    if (auto* summary = window.findChild<FrmKestoSummary*>()) {
        saved.summaryGrid = save(summary->mnuSave(), "e2e.sum");
        saved.summaryText = save(summary->mnuSave(), "e2e-summary.txt");
    } else {
        *why += "no summary window; ";
    }
    menu("mnuLapTimes");
    if (auto* laps = window.findChild<FrmKestoViewLaps*>()) {
        saved.lapGrid = save(laps->mnuSave(), "e2e.lap");
        saved.lapText = save(laps->mnuSave(), "e2e-laps.txt");
    } else {
        *why += "no lap times window; ";
    }
    return saved;
}

} // namespace kesto::e2e
