// The decoder link healing itself, end to end: the real program (offscreen)
// races decoder-sim --reconnect over a socat pseudo-terminal pair; mid-race
// the far end of the pair dies (socat killed, as a USB cable pulled) and comes
// back two seconds later with the same links. The alarm must show, the port
// must be closed and the process nearly idle while the link is down, the
// alarm must go when the decoder is heard again, every passing the simulator
// sent after its reconnect must be counted with lap times from the decoder's
// own time stamps, and the race must close normally.
#include "config/data_files.h"
#include "config/first_run_seed.h"
#include "config/race_format_lists.h"
#include "config/settings_files.h"
#include "engine/decoder_link_watch.h"
#include "expected_race.h"
#include "program_driver.h"
#include "result_file_reading.h"
#include "scripted_race.h"

#include "support/qt/find_child.h"
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <fstream>
#include <set>

namespace kesto::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int RaceLaps = 10;
constexpr int SimulatedCars = ScriptedCars; // the cars the club folder names
constexpr double Speed = 3;                 // the decoder's clock runs three times real time
constexpr int TailSeconds = 20;
constexpr const char* Seed = "5";
constexpr int64_t SameTickRealMs = 150;
constexpr int32_t OutageAtDecoderMs = 9000;
constexpr int DownRealMs = 2000;
// Most of a core is what a spinning event loop costs; a quiet one costs next to nothing.
constexpr double MaxCpuShareWhileDown = 0.25;

// socat joining two pseudo-terminals through two links, which the test can
// kill outright and start again with the same links.
class FarEnd final {
public:
    FarEnd(fs::path decoderEnd, fs::path programEnd)
        : m_decoderEnd(std::move(decoderEnd)), m_programEnd(std::move(programEnd)) {}
    ~FarEnd() { Kill(); }
    FarEnd(const FarEnd&) = delete;
    FarEnd& operator=(const FarEnd&) = delete;

    bool Start(std::string* why) {
        m_socat.setProgram(QStringLiteral("socat"));
        m_socat.setArguments(
            {QStringLiteral("-d"), QStringLiteral("-d"),
             QString::fromStdString("pty,raw,echo=0,link=" + m_decoderEnd.string()),
             QString::fromStdString("pty,raw,echo=0,link=" + m_programEnd.string())});
        m_socat.setReadChannel(QProcess::StandardError);
        m_socat.start();
        if (!m_socat.waitForStarted(5000)) {
            *why = "socat did not start";
            return false;
        }
        // The links of a killed socat stay behind, dangling: wait until both
        // lead to this socat's terminals.
        QDeadlineTimer deadline(10000);
        while (!(Live(m_decoderEnd) && Live(m_programEnd)) && !deadline.hasExpired() &&
               m_socat.state() == QProcess::Running)
            m_socat.waitForReadyRead(50);
        if (Live(m_decoderEnd) && Live(m_programEnd))
            return true;
        *why = "socat made no links: " + m_socat.readAllStandardError().toStdString();
        return false;
    }

    // SIGKILL: the terminals vanish at once, the links stay dangling.
    void Kill() {
        if (m_socat.state() == QProcess::NotRunning)
            return;
        m_socat.kill();
        m_socat.waitForFinished(3000);
    }

private:
    static bool Live(const fs::path& link) {
        std::error_code error;
        return fs::exists(link, error); // follows the link
    }

    fs::path m_decoderEnd;
    fs::path m_programEnd;
    QProcess m_socat;
};

// CPU time of this process (every thread), in milliseconds.
double CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Does any descriptor of this process lead to `device`? A terminal whose far
// end has gone shows as "/dev/pts/N (deleted)".
bool HoldsOpen(const fs::path& device) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
        std::error_code readError;
        const std::string target = fs::read_symlink(entry.path(), readError).string();
        if (!readError && (target == device.string() || target == device.string() + " (deleted)"))
            return true;
    }
    return false;
}

// Pass times of each car as the timer counted them (decoder milliseconds),
// from its lap table: laps are measured pass to pass from the start.
std::array<std::vector<int64_t>, MaxCarIds> CountedPasses(const RaceState& state) {
    std::array<std::vector<int64_t>, MaxCarIds> passes;
    for (int i = 0; i < MaxCarIds; ++i) {
        int64_t at = 0;
        for (int lap = 1; lap <= state.LapCount[i] - state.Settings.FirstLapCount; ++lap) {
            at += std::llround(state.LapTimes[i][lap] * 100.0) * 10;
            passes[i].push_back(at);
        }
    }
    return passes;
}

bool Counted(const std::array<std::vector<int64_t>, MaxCarIds>& passes, const sim::Passing& p) {
    const auto& car = passes.at(static_cast<size_t>(p.id - 1));
    return std::find(car.begin(), car.end(), p.ms) != car.end();
}

// A club folder for a lap race, with the decoder's end of the link made by a
// socat the test can kill and start again.
class LinkOutageEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PseudoTerminalPair::Available())
            GTEST_SKIP() << "socat is not installed";
        ASSERT_TRUE(m_temp.isValid());
    }

    void StartLink(int laps) {
        fs::create_directories(folder);
        ASSERT_NO_FATAL_FAILURE(WriteClubFolder(folder, laps));
        std::string why;
        ASSERT_TRUE(farEnd.Start(&why)) << why;
    }

private:
    QTemporaryDir m_temp; // before the paths made in it

protected:
    const fs::path folder = fs::path(m_temp.path().toStdString()) / "KestoTimer";
    const fs::path decoderEnd = folder / "decoder";
    const fs::path com1 = folder / "COM1";
    const fs::path log = folder / "passings.log";
    FarEnd farEnd{decoderEnd, com1};
};

TEST_F(LinkOutageEndToEnd, FarEndKilledMidRaceAndBroughtBack) {
    ASSERT_NO_FATAL_FAILURE(StartLink(RaceLaps));
    std::string why;
    DecoderSimProcess sim;
    ASSERT_TRUE(sim.Launch({QStringLiteral("--device"),
                            QString::fromStdString(decoderEnd.string()),
                            QStringLiteral("--cars"),
                            QString::number(SimulatedCars),
                            QStringLiteral("--laps"),
                            QStringLiteral("13"),
                            QStringLiteral("--lap"),
                            QStringLiteral("2.2"),
                            QStringLiteral("--step"),
                            QStringLiteral("0.35"),
                            QStringLiteral("--spread"),
                            QStringLiteral("0.5"),
                            QStringLiteral("--crash"),
                            QStringLiteral("10"),
                            QStringLiteral("--seed"),
                            QString::fromLatin1(Seed),
                            QStringLiteral("--speed"),
                            QString::number(Speed),
                            QStringLiteral("--tail"),
                            QString::number(TailSeconds),
                            QStringLiteral("--reconnect"),
                            QStringLiteral("--log"),
                            QString::fromStdString(log.string())},
                           &why))
        << why;
    std::ifstream logFile(log);
    std::string logErrors;
    const std::vector<sim::Passing> passings = sim::ReadScript(logFile, &logErrors);
    ASSERT_TRUE(logErrors.empty()) << logErrors;

    test::FakeDialogs dialogs;
    KestoProgram program(folder, &dialogs);
    program.State().Locale = NumberLocale{};
    program.Start();
    ASSERT_TRUE(dialogs.shown.empty()) << dialogs.last().title << ": " << dialogs.last().text;
    RaceState& state = program.State();
    QLabel* banner = test::Child<QLabel>(&program.Window(), "lblLinkAlarm");
    ASSERT_NE(banner, nullptr);
    ASSERT_TRUE(PressStartThroughTheLights(
        program, [&] { sim.StartClock(); }, &why))
        << why;

    // The race runs until the outage.
    ASSERT_TRUE(QTest::qWaitFor([&] { return state.RaceClock >= OutageAtDecoderMs; }, 10000))
        << "race clock " << state.RaceClock << "; decoder-sim said: " << sim.Output();
    EXPECT_FALSE(banner->isVisible());
    const int32_t heardUntil = state.RaceClock; // every line before it has arrived
    const fs::path programTerminal = fs::canonical(com1);
    ASSERT_TRUE(HoldsOpen(programTerminal)) << "the program reads " << programTerminal;

    farEnd.Kill();
    ASSERT_TRUE(QTest::qWaitFor([&] { return banner->isVisible(); }, 3000))
        << "no alarm after the far end died";
    EXPECT_EQ(banner->text().toStdString(), LinkLostAlarmText(1));
    EXPECT_FALSE(HoldsOpen(programTerminal)) << "the dead terminal must be closed";

    // Down for two seconds: the event loop turns, the process stays nearly idle.
    const double cpuBefore = CpuMs();
    QElapsedTimer wall;
    wall.start();
    bool closedThroughout = true;
    QDeadlineTimer down(DownRealMs);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            closedThroughout = closedThroughout && !HoldsOpen(programTerminal);
            return down.hasExpired();
        },
        DownRealMs + 1000));
    const double cpuShare = (CpuMs() - cpuBefore) / static_cast<double>(wall.elapsed());
    EXPECT_LT(cpuShare, MaxCpuShareWhileDown) << "CPU while the link was down";
    EXPECT_TRUE(closedThroughout);
    EXPECT_TRUE(banner->isVisible());
    EXPECT_NE(sim.Output().find("link lost at"), std::string::npos) << sim.Output();
    std::cout << "[          ] CPU while the link was down: " << std::lround(cpuShare * 100)
              << "% of one core over " << wall.elapsed() << " ms\n";

    // The far end is back with the same links and the decoder finds it at
    // once. The race timer is held until the decoder has sent a passing on the
    // new link, so the program's reopen comes after it, as when an adapter is
    // plugged in a moment before the program's next attempt: what waits on
    // the new link must be read, not thrown away.
    QTimer* raceTimer = test::Child<QTimer>(&program.Window(), "Timer1");
    raceTimer->stop();
    ASSERT_TRUE(farEnd.Start(&why)) << why;
    static const QRegularExpression reconnected(QStringLiteral("reconnected at ([0-9.]+) s"));
    QRegularExpressionMatch match;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            match = reconnected.match(QString::fromStdString(sim.Output()));
            return match.hasMatch();
        },
        5000))
        << sim.Output();
    QElapsedTimer sinceBack;
    sinceBack.start();
    const auto backAt = static_cast<int64_t>(std::llround(match.captured(1).toDouble() * 1000));
    const auto firstBack = std::find_if(passings.begin(), passings.end(),
                                        [&](const sim::Passing& p) { return p.ms >= backAt; });
    ASSERT_NE(firstBack, passings.end());
    const int64_t heldRealMs = static_cast<int64_t>((firstBack->ms - backAt) / Speed) + 200;
    EXPECT_TRUE(QTest::qWaitFor([&] { return sinceBack.elapsed() > heldRealMs; },
                                static_cast<int>(heldRealMs) + 1000));
    EXPECT_TRUE(banner->isVisible());
    raceTimer->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !banner->isVisible(); }, 5000))
        << "the alarm stayed: " << banner->text().toStdString();
    EXPECT_FALSE(state.RaceIsOver) << "the outage should fall well before the flag";

    const int raceMs = static_cast<int>((passings.back().ms + TailSeconds * 1000) / Speed) + 5000;
    ASSERT_TRUE(RunUntilRaceCloses(program, raceMs))
        << "race clock " << state.RaceClock << "; decoder-sim said: " << sim.Output();
    EXPECT_EQ(test::Child<QPushButton>(&program.Window(), "cmdStart")->text(),
              QStringLiteral("Reset"));
    EXPECT_FALSE(banner->isVisible());
    EXPECT_TRUE(dialogs.shown.empty()) << dialogs.last().text;

    // What the race must come to: the decoder's passings, less those of the
    // outage the program never received (from the last clock line it had heard
    // to the simulator's reconnect).
    const auto counted = CountedPasses(state);
    std::vector<sim::Passing> received;
    int lost = 0;
    for (const sim::Passing& p : passings) {
        if (p.ms >= heardUntil && p.ms < backAt && !Counted(counted, p))
            ++lost;
        else
            received.push_back(p);
    }
    EXPECT_GT(lost, 0) << "the outage should cost some passings";
    const ExpectedRace expected =
        PredictLapRace(DecoderStream(received, TailSeconds * 1000), LapRaceRules{RaceLaps, 1000, 0},
                       static_cast<int64_t>(SameTickRealMs * Speed));
    ASSERT_TRUE(expected.closed);
    ASSERT_TRUE(expected.uncertain.empty()) << expected.uncertain.front();

    int afterReturn = 0;
    for (int id = 1; id <= SimulatedCars; ++id) {
        SCOPED_TRACE("car " + std::to_string(id));
        const ExpectedCar& car = expected.byId[id - 1];
        std::vector<std::string> want, got;
        for (int32_t lap : car.lapMs)
            want.push_back(SecondsText(lap));
        for (int lap = 1; lap <= state.LapCount[id - 1]; ++lap)
            got.push_back(SecondsText(
                static_cast<int32_t>(std::llround(state.LapTimes[id - 1][lap] * 100.0) * 10)));
        EXPECT_EQ(got, want) << "lap times by the decoder's time stamps";
        EXPECT_EQ(state.LastPassTime[id - 1], car.totalMs);
        // Each passing sent after the reconnect that the race still took is counted.
        int64_t at = 0;
        for (int32_t lap : car.lapMs) {
            at += lap;
            if (at >= backAt) {
                ++afterReturn;
                EXPECT_TRUE(Counted(counted, sim::Passing{at, id})) << "passing at " << at;
            }
        }
    }
    EXPECT_GT(afterReturn, SimulatedCars) << "laps after the return";
    std::cout << "[          ] heard until " << heardUntil << " ms, decoder back at " << backAt
              << " ms: " << lost << " passings lost, " << afterReturn
              << " laps counted after the return\n";
    EXPECT_EQ(std::vector<int>(state.RaceOrder.begin(), state.RaceOrder.begin() + SimulatedCars),
              std::vector<int>(expected.order.begin(), expected.order.begin() + SimulatedCars));
}

// The decoder restarts its clock from zero when the program reopens its port
// after the outage (RTS rises again): decoder-sim --restart-clock, at its own
// speed, so the program's reckoning of the time gone by is the decoder's.
// SIGUSR1 stands for the raise, sent once the program holds the port again.
// Every passing the program received counts, with lap times across the
// restart right to within a tick or two.
TEST_F(LinkOutageEndToEnd, DecoderThatRestartsItsClockAtTheReconnect) {
    constexpr int Laps = 8;
    constexpr int Tail = 6;
    ASSERT_NO_FATAL_FAILURE(StartLink(Laps));
    std::string why;
    DecoderSimProcess sim;
    ASSERT_TRUE(
        sim.Launch({QStringLiteral("--device"),    QString::fromStdString(decoderEnd.string()),
                    QStringLiteral("--cars"),      QString::number(SimulatedCars),
                    QStringLiteral("--laps"),      QString::number(Laps + 2),
                    QStringLiteral("--lap"),       QStringLiteral("2.2"),
                    QStringLiteral("--step"),      QStringLiteral("0.35"),
                    QStringLiteral("--crash"),     QStringLiteral("0"),
                    QStringLiteral("--seed"),      QStringLiteral("8"),
                    QStringLiteral("--tail"),      QString::number(Tail),
                    QStringLiteral("--reconnect"), QStringLiteral("--restart-clock"),
                    QStringLiteral("--log"),       QString::fromStdString(log.string())},
                   &why))
        << why;
    std::ifstream logFile(log);
    const std::vector<sim::Passing> passings = sim::ReadScript(logFile);

    test::FakeDialogs dialogs;
    KestoProgram program(folder, &dialogs);
    program.State().Locale = NumberLocale{};
    program.Start();
    RaceState& state = program.State();
    auto* banner = program.Window().findChild<QLabel*>(QStringLiteral("lblLinkAlarm"));
    ASSERT_TRUE(PressStartThroughTheLights(
        program, [&] { sim.StartClock(); }, &why))
        << why;
    ASSERT_TRUE(QTest::qWaitFor([&] { return state.RaceClock >= 6000; }, 10000)) << sim.Output();
    const int32_t heardUntil = state.RaceClock;
    farEnd.Kill();
    ASSERT_TRUE(QTest::qWaitFor([&] { return banner->isVisible(); }, 3000));
    QDeadlineTimer down(1500);
    EXPECT_TRUE(QTest::qWaitFor([&] { return down.hasExpired(); }, 2500));
    ASSERT_TRUE(farEnd.Start(&why)) << why;
    const fs::path programTerminal = fs::canonical(com1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return HoldsOpen(programTerminal); }, 5000))
        << "the program never reopened its port";
    sim.RaiseRtsAgain();

    static const QRegularExpression reconnected(QStringLiteral("reconnected at ([0-9.]+) s"));
    static const QRegularExpression restarted(QStringLiteral("clock restarted at ([0-9.]+) s"));
    QRegularExpressionMatch back, restart;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            back = reconnected.match(QString::fromStdString(sim.Output()));
            restart = restarted.match(QString::fromStdString(sim.Output()));
            return back.hasMatch() && restart.hasMatch();
        },
        5000))
        << sim.Output();
    const auto backAt = static_cast<int64_t>(std::llround(back.captured(1).toDouble() * 1000));
    const auto restartAt =
        static_cast<int64_t>(std::llround(restart.captured(1).toDouble() * 1000));
    ASSERT_TRUE(RunUntilRaceCloses(program, 60000))
        << "race clock " << state.RaceClock << "; decoder-sim said: " << sim.Output();
    EXPECT_FALSE(banner->isVisible());
    EXPECT_TRUE(dialogs.shown.empty());

    // The passings the program received: all but those of the outage.
    const auto counted = CountedPasses(state);
    std::vector<sim::Passing> received;
    for (const sim::Passing& p : passings)
        if (p.ms < heardUntil || p.ms >= backAt || Counted(counted, p))
            received.push_back(p);
    const ExpectedRace expected =
        PredictLapRace(DecoderStream(received, Tail * 1000), LapRaceRules{Laps, 1000, 0}, 150);
    ASSERT_TRUE(expected.closed);
    int across = 0;
    for (int id = 1; id <= SimulatedCars; ++id) {
        std::vector<std::string> got;
        for (int lap = 1; lap <= state.LapCount[id - 1]; ++lap)
            got.push_back(SecondsText(
                static_cast<int32_t>(std::llround(state.LapTimes[id - 1][lap] * 100.0) * 10)));
        EXPECT_EQ(LapsAcrossARestart(got, expected.byId[id - 1].lapMs, restartAt, 50), "")
            << "car " << id << ", clock restarted at " << restartAt << " ms";
        int64_t at = 0;
        for (int32_t lap : expected.byId[id - 1].lapMs) {
            const int64_t from = at;
            at += lap;
            across += from < restartAt && restartAt <= at ? 1 : 0;
        }
    }
    EXPECT_EQ(across, SimulatedCars) << "every car laps across the restart";
    EXPECT_TRUE(std::none_of(state.RejectedPasses.begin(), state.RejectedPasses.end(),
                             [](const RejectedPass& pass) {
                                 return pass.reason != RejectReason::UnderMinimumLap &&
                                        pass.reason != RejectReason::DistanceRun;
                             }))
        << "no line of the decoder refused";
    std::cout << "[          ] outage from " << heardUntil << " ms to " << backAt
              << " ms, clock restarted at " << restartAt << " ms\n";
}

} // namespace
} // namespace kesto::e2e
