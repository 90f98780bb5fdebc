// Nothing lost when the timer is killed in the middle of a race. The real
// program runs as a process of its own (kesto_e2e_race_child), timing a race
// that decoder-sim plays from a script over a socat pseudo-terminal pair. The
// test kills it with SIGKILL once its journal holds a number of passings,
// starts it again, lets it resume the race (the resume question answered
// Yes), and lets the race run to its close. The four result files it saves
// must be byte for byte those of the same race run without interruption.
//
// What the decoder sends while the program is dead: the pseudo-terminal keeps
// it. Tried here with socat's pair: bytes written to the decoder's end while
// no process has the program's end open wait in the kernel and are read by
// the next process that opens it, in order, and socat stays up. The test does
// not hold the program's end open; it relies on that queue, and it checks that
// passings were really sent during the outage (their laps must be in the
// files like every other). The kill falls in a gap between passings (clock
// lines still come every second), so no passing is half read when the
// program dies: a line the killed program had read but not yet journaled
// would be lost, as it would be with a real decoder.
//
// The same race as the first heat of a race meeting: killed mid-heat and
// started again, the program knows its meeting and loaded heat again, and the
// resumed race closes into the meeting with the standings and heat files of
// the uninterrupted meeting.
#include "engine/journal_file.h"
#include "engine/journal_format.h"
#include "expected_race.h"
#include "meeting/finals.h"
#include "meeting/heat_load.h"
#include "meeting/heat_planning.h"
#include "meeting/heat_results.h"
#include "meeting/meeting.h"
#include "meeting/meeting_desk.h"
#include "meeting/meeting_file.h"
#include "meeting/qualifying_standings.h"
#include "meeting/standings_report.h"
#include "program_driver.h"
#include "result_file_reading.h"
#include "scripted_race.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <fstream>
#include <iostream>

namespace kesto::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int RaceLaps = 10;
constexpr double Speed = 3; // the decoder's clock runs three times real time
constexpr int TailSeconds = 4;
// The kill comes once the journal holds this many passings: the third of
// every car, followed by the widest gap of the race (1.32 s of decoder time).
constexpr int KillAfterPassings = 3 * ScriptedCars;
// Passings the decoder sends while the program is dead.
constexpr int WhileDead = 3;
constexpr int StepTimeoutMs = 30000;

// Passings (not clock lines) the journal on disk holds.
int JournaledPassings(const fs::path& folder) {
    const std::string bytes = ReadWholeFile((folder / JournalFileName).string());
    int passings = 0;
    for (const JournalEvent& event : ReadJournal(bytes).events)
        if (event.kind == JournalEventKind::DecoderLine && event.text.rfind("@", 0) == 0 &&
            event.text.rfind("@00", 0) != 0)
            ++passings;
    return passings;
}

// The program as a child process, and what it said.
class RaceChild final {
public:
    ~RaceChild() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    void Start(const fs::path& folder, bool resume, const fs::path& meeting = {}) {
        QStringList arguments = {
            QStringLiteral("--program-folder"), QString::fromStdString(folder.string()),
            QStringLiteral("--results"), QString::fromStdString(folder.string())};
        if (resume)
            arguments << QStringLiteral("--resume");
        if (!meeting.empty() && !resume)
            arguments << QStringLiteral("--meeting") << QString::fromStdString(meeting.string());
        m_said.clear();
        m_process.setProgram(QStringLiteral(KESTO_RACE_CHILD));
        m_process.setArguments(arguments);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
    }

    // Waits until the child said `line`; false when it said an error, ended
    // or the time ran out.
    bool WaitFor(const std::string& line, int timeoutMs = StepTimeoutMs) {
        (void)QTest::qWaitFor(
            [&] {
                Read();
                return Said(line) || m_said.find("error:") != std::string::npos ||
                       m_process.state() == QProcess::NotRunning;
            },
            timeoutMs);
        Read();
        return Said(line);
    }

    void Kill() {
        ::kill(static_cast<pid_t>(m_process.processId()), SIGKILL);
        m_process.waitForFinished(5000);
    }

    bool KilledBySignal() const {
        return m_process.exitStatus() == QProcess::CrashExit &&
               m_process.state() == QProcess::NotRunning;
    }
    const std::string& SaidSoFar() const { return m_said; }

private:
    void Read() { m_said += m_process.readAllStandardOutput().toStdString(); }
    bool Said(const std::string& line) const {
        return m_said.find(line + "\n") != std::string::npos;
    }

    QProcess m_process;
    std::string m_said;
};

struct RaceFiles {
    std::string lapGrid, lapText, summaryGrid, summaryText;
    // Passings the decoder sent while the program was dead (killed runs).
    int passingsWhileDead = 0;
    int64_t clockRestartedAt = -1; // race time the decoder restarted its clock, if it did
    // A meeting's run: the meeting file as the race left it, and its heat's summary file.
    std::optional<Meeting> meeting;
    std::string heatSummaryGrid;
};

struct RunOptions {
    bool kill = false;
    double speed = Speed;
    // The decoder restarts its clock when the resumed program raises RTS
    // (decoder-sim --restart-clock, signalled once the race is back).
    bool restartAtResume = false;
    // The race is heat 1 of a meeting of the four racers on their own IDs.
    bool meeting = false;
};

// "night.meeting.json" in `folder`: one round of one heat of the scripted racers.
fs::path WriteMeeting(const fs::path& folder) {
    Meeting meeting = NewMeeting("Club Night", "2026-12-08");
    meeting.heatFormat = HeatFormat{HeatFormatKind::Laps, RaceLaps};
    meeting.rounds = 1;
    meeting.scoring.countedRounds = 1;
    meeting.heatSize = ScriptedCars;
    for (int id = 1; id <= ScriptedCars; ++id)
        EXPECT_EQ(AddEntry(meeting, ScriptedRacers.at(static_cast<size_t>(id - 1)), id),
                  std::nullopt);
    EXPECT_EQ(PlanQualifying(meeting), std::nullopt);
    const fs::path path = folder / "night.meeting.json";
    EXPECT_EQ(WriteMeetingFile(path, meeting), std::nullopt);
    return path;
}

// One run of the scripted race in `folder`, killed once mid-race or not.
void RunRace(const fs::path& folder, const fs::path& script,
             const std::vector<sim::Passing>& passings, const RunOptions& options,
             RaceFiles& files) {
    const double speed = options.speed;
    ASSERT_NO_FATAL_FAILURE(WriteClubFolder(folder, RaceLaps));
    PseudoTerminalPair pair;
    std::string why;
    ASSERT_TRUE(pair.Open(folder / "decoder", folder / "COM1", &why)) << why;
    DecoderSimProcess sim;
    QStringList more;
    if (options.restartAtResume)
        more << QStringLiteral("--restart-clock");
    ASSERT_TRUE(sim.LaunchScript(folder / "decoder", script, speed, TailSeconds, &why, more))
        << why;

    const fs::path meeting = options.meeting ? WriteMeeting(folder) : fs::path();
    RaceChild child;
    child.Start(folder, false, meeting);
    ASSERT_TRUE(child.WaitFor("green")) << child.SaidSoFar();
    sim.StartClock(); // as the decoder starts on RTS
    QElapsedTimer sinceGreen;
    sinceGreen.start();

    if (options.kill) {
        // Mid-race for sure: after the third passing of every car, long before
        // the white flag (lap 9).
        ASSERT_TRUE(QTest::qWaitFor([&] { return JournaledPassings(folder) >= KillAfterPassings; },
                                    StepTimeoutMs))
            << "the journal never held " << KillAfterPassings << " passings; child said "
            << child.SaidSoFar();
        child.Kill();
        const int64_t killedAt = sinceGreen.elapsed();
        ASSERT_TRUE(child.KilledBySignal());
        ASSERT_EQ(JournaledPassings(folder), KillAfterPassings)
            << "the kill should fall in the gap after the " << KillAfterPassings << "th passing";

        // The program stays dead while the decoder sends its next passings:
        // a restart is quicker than the gap. This waits on the decoder's time
        // (its clock started a moment before `sinceGreen`, so it is further on
        // than this reckons); nothing else tells when a line has been sent.
        const int64_t downUntil = passings.at(KillAfterPassings + WhileDead - 1).ms + 300;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return static_cast<double>(sinceGreen.elapsed()) * speed > downUntil; },
            StepTimeoutMs));
        child.Start(folder, true);
        ASSERT_TRUE(child.WaitFor("resumed")) << child.SaidSoFar();
        const int64_t resumedAt = sinceGreen.elapsed();
        if (options.restartAtResume) {
            sim.RaiseRtsAgain();
            static const QRegularExpression restarted(
                QStringLiteral("clock restarted at ([0-9.]+) s"));
            QRegularExpressionMatch match;
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    match = restarted.match(QString::fromStdString(sim.Output()));
                    return match.hasMatch();
                },
                5000))
                << sim.Output();
            files.clockRestartedAt = std::llround(match.captured(1).toDouble() * 1000);
        }
        // The decoder's time while nobody read its lines (its clock began a
        // moment after green, so this errs on the short side).
        const auto deadFrom = static_cast<int64_t>(static_cast<double>(killedAt) * speed);
        const auto deadUntil = static_cast<int64_t>(static_cast<double>(resumedAt - 50) * speed);
        files.passingsWhileDead = static_cast<int>(
            std::count_if(passings.begin(), passings.end(), [&](const sim::Passing& p) {
                return p.ms > deadFrom && p.ms < deadUntil;
            }));
        ASSERT_LT(deadUntil, passings.front().ms + (RaceLaps - 2) * 2400)
            << "the restart took so long the race was nearly over";
    }

    ASSERT_TRUE(child.WaitFor("closed", 2 * StepTimeoutMs))
        << child.SaidSoFar() << "decoder-sim: " << sim.Output();
    ASSERT_TRUE(child.WaitFor("saved")) << child.SaidSoFar();
    files.summaryGrid = ReadWholeFile((folder / "e2e.sum").string());
    files.summaryText = ReadWholeFile((folder / "e2e-summary.txt").string());
    files.lapGrid = ReadWholeFile((folder / "e2e.lap").string());
    files.lapText = ReadWholeFile((folder / "e2e-laps.txt").string());
    if (options.meeting) {
        files.meeting.emplace();
        ASSERT_EQ(ReadMeetingFile(meeting, *files.meeting), std::nullopt);
        files.heatSummaryGrid = ReadWholeFile((folder / "Heat 1.sum").string());
    }
}

// The scripted race in a temporary folder of its own, for each test.
class KilledProgram : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PseudoTerminalPair::Available())
            GTEST_SKIP() << "socat is not installed";
        ASSERT_TRUE(m_temp.isValid());
        WriteScript(script, passings);
    }

private:
    QTemporaryDir m_temp; // before the paths made in it

protected:
    const fs::path root = m_temp.path().toStdString();
    const std::vector<sim::Passing> passings = ScriptedRace(RaceLaps);
    const fs::path script = root / "race.script";
};

TEST_F(KilledProgram, ResumesAndSavesTheResultsOfTheUninterruptedRace) {

    RaceFiles uninterrupted;
    ASSERT_NO_FATAL_FAILURE(RunRace(root / "uninterrupted", script, passings, {}, uninterrupted));
    RaceFiles killed;
    ASSERT_NO_FATAL_FAILURE(RunRace(root / "killed", script, passings, {.kill = true}, killed));

    // The uninterrupted race is the race the decoder ran: every car's laps.
    const ExpectedRace expected =
        PredictLapRace(DecoderStream(passings, TailSeconds * 1000), LapRaceRules{RaceLaps, 1000, 0},
                       static_cast<int64_t>(150 * Speed));
    ASSERT_TRUE(expected.closed);
    ASSERT_TRUE(expected.uncertain.empty());
    const std::vector<CarLine> laps = FromLapGridFile(uninterrupted.lapGrid);
    const std::vector<ExpectedCar> finishers = expected.Finishers();
    ASSERT_EQ(laps.size(), finishers.size()) << uninterrupted.lapGrid;
    for (size_t p = 0; p < finishers.size(); ++p) {
        std::vector<std::string> times;
        for (int32_t lap : finishers[p].lapMs)
            times.push_back(SecondsText(lap));
        EXPECT_EQ(laps[p].name, ScriptedRacers.at(static_cast<size_t>(finishers[p].id - 1)));
        EXPECT_EQ(laps[p].lapTimes, times) << laps[p].name;
    }

    EXPECT_GE(killed.passingsWhileDead, WhileDead);
    std::cout << "[ killed ] " << killed.passingsWhileDead
              << " passings were sent while the program was dead\n";
    EXPECT_FALSE(uninterrupted.summaryGrid.empty());
    EXPECT_EQ(killed.summaryGrid, uninterrupted.summaryGrid) << "e2e.sum";
    EXPECT_EQ(killed.summaryText, uninterrupted.summaryText) << "e2e-summary.txt";
    EXPECT_EQ(killed.lapGrid, uninterrupted.lapGrid) << "e2e.lap";
    EXPECT_EQ(killed.lapText, uninterrupted.lapText) << "e2e-laps.txt";
}

TEST_F(KilledProgram, MidHeatResumesIntoTheMeetingWithTheUninterruptedStandings) {

    RaceFiles uninterrupted, killed;
    ASSERT_NO_FATAL_FAILURE(
        RunRace(root / "uninterrupted", script, passings, {.meeting = true}, uninterrupted));
    ASSERT_NO_FATAL_FAILURE(
        RunRace(root / "killed", script, passings, {.kill = true, .meeting = true}, killed));

    ASSERT_TRUE(uninterrupted.meeting && killed.meeting);
    const HeatResult& result = *uninterrupted.meeting->heats.at(0).result;
    ASSERT_EQ(result.size(), static_cast<size_t>(ScriptedCars));
    for (const RacerResult& racer : result)
        EXPECT_GE(racer.laps, RaceLaps - 1) << EntryName(*uninterrupted.meeting, racer.entry);
    EXPECT_GE(killed.passingsWhileDead, WhileDead);
    EXPECT_EQ(*killed.meeting, *uninterrupted.meeting);
    EXPECT_EQ(StandingsReportText(*killed.meeting), StandingsReportText(*uninterrupted.meeting));
    EXPECT_FALSE(uninterrupted.heatSummaryGrid.empty());
    EXPECT_EQ(killed.heatSummaryGrid, uninterrupted.heatSummaryGrid) << "Heat 1.sum";
}

// The decoder restarts its clock from zero when the resumed program raises
// RTS: the race goes on at race time, every passing counts (those sent while
// the program was dead too), and the laps across the restart come out right
// to within a tick or two, as the program reckons the moment of the restart
// by its own clock across its death. The decoder runs at its own speed here.
TEST_F(KilledProgram, ResumedRaceFollowsTheDecoderClockTheResumeRestarted) {

    RaceFiles files;
    ASSERT_NO_FATAL_FAILURE(RunRace(root / "restarted", script, passings,
                                    {.kill = true, .speed = 1, .restartAtResume = true}, files));
    ASSERT_GE(files.clockRestartedAt, 0);
    EXPECT_GE(files.passingsWhileDead, WhileDead);

    const ExpectedRace expected = PredictLapRace(DecoderStream(passings, TailSeconds * 1000),
                                                 LapRaceRules{RaceLaps, 1000, 0}, 150);
    ASSERT_TRUE(expected.closed);
    const std::vector<CarLine> laps = FromLapGridFile(files.lapGrid);
    const std::vector<ExpectedCar> finishers = expected.Finishers();
    ASSERT_EQ(laps.size(), finishers.size()) << files.lapGrid;
    for (size_t p = 0; p < finishers.size(); ++p) {
        EXPECT_EQ(laps[p].name, ScriptedRacers.at(static_cast<size_t>(finishers[p].id - 1)));
        EXPECT_EQ(
            LapsAcrossARestart(laps[p].lapTimes, finishers[p].lapMs, files.clockRestartedAt, 50),
            "")
            << laps[p].name << ", clock restarted at " << files.clockRestartedAt << " ms";
    }
    std::cout << "[ restart ] the decoder restarted its clock at " << files.clockRestartedAt
              << " ms of race time\n";
}

} // namespace
} // namespace kesto::e2e
