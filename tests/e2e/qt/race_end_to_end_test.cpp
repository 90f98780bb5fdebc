// The whole timer, end to end, as a club runs it: the real program (offscreen)
// in its own program folder, started through its Start button and start
// lights, timing a race from decoder-sim's serial lines alone over a socat
// pseudo-terminal pair, then saving its results through the viewers. The lap
// counts, lap times and order in the state and in every saved file must be
// exactly what the passings the simulator logged imply: one lap lost or
// counted twice fails. A second race runs in demo mode in a folder the program
// seeds on its first run.
#include "config/data_files.h"
#include "config/first_run_seed.h"
#include "config/race_format_lists.h"
#include "config/settings_files.h"
#include "expected_race.h"
#include "program_driver.h"
#include "result_file_reading.h"
#include "scripted_race.h"

#include "reports/qt/charts_window.h"
#include "support/qt/find_child.h"
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <gmock/gmock.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

namespace kesto::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int RaceLaps = 5;
constexpr int SimulatedCars = ScriptedCars; // the cars the club folder names
constexpr double Speed = 3;                 // the decoder's clock runs three times real time
constexpr int TailSeconds = 20;
// A race whose flag and close fall clear of other lines (see ExpectedRace::uncertain).
constexpr const char* Seed = "16";
// Lines closer than this in real time may be read in one tick of the timer.
constexpr int64_t SameTickRealMs = 150;

// Lap time, total time and best lap texts of the cars the decoder raced.
std::vector<CarLine> LinesOf(const ExpectedRace& race) {
    std::vector<CarLine> cars;
    int position = 0;
    for (const ExpectedCar& car : race.Finishers()) {
        CarLine line;
        line.position = ++position;
        line.name = ScriptedRacers.at(static_cast<size_t>(car.id - 1));
        line.laps = car.Laps();
        for (int32_t lap : car.lapMs)
            line.lapTimes.push_back(SecondsText(lap));
        line.total = TotalTimeText(car.totalMs);
        line.best = SecondsText(car.bestMs);
        cars.push_back(line);
    }
    return cars;
}

std::string Describe(const std::vector<CarLine>& cars) {
    std::string text;
    for (const CarLine& car : cars) {
        text += std::to_string(car.position) + " " + car.name;
        if (car.laps)
            text += " laps " + std::to_string(*car.laps);
        if (!car.total.empty())
            text += " total " + car.total;
        if (!car.best.empty())
            text += " best " + car.best;
        if (!car.lapTimes.empty()) {
            text += " [";
            for (const std::string& lap : car.lapTimes)
                text += " " + lap;
            text += " ]";
        }
        text += "\n";
    }
    return text;
}

// Order, names and every lap time, as the lap files tell them.
void ExpectSameLaps(const std::vector<CarLine>& expected, const std::vector<CarLine>& actual,
                    const std::string& source) {
    SCOPED_TRACE(source + ":\n" + Describe(actual) + "expected:\n" + Describe(expected));
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t p = 0; p < expected.size(); ++p) {
        EXPECT_EQ(actual[p].position, expected[p].position);
        EXPECT_EQ(actual[p].name, expected[p].name) << "position " << p + 1;
        EXPECT_EQ(actual[p].lapTimes, expected[p].lapTimes) << expected[p].name;
    }
}

// Order, names, lap counts and total times, as the summaries tell them; and
// the best laps where both know them.
void ExpectSameSummary(const std::vector<CarLine>& expected, const std::vector<CarLine>& actual,
                       const std::string& source) {
    SCOPED_TRACE(source + ":\n" + Describe(actual) + "expected:\n" + Describe(expected));
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t p = 0; p < expected.size(); ++p) {
        EXPECT_EQ(actual[p].position, expected[p].position);
        EXPECT_EQ(actual[p].name, expected[p].name) << "position " << p + 1;
        EXPECT_EQ(actual[p].laps, expected[p].laps) << expected[p].name;
        EXPECT_EQ(actual[p].total, expected[p].total) << expected[p].name;
        if (!expected[p].best.empty() && !actual[p].best.empty()) {
            EXPECT_EQ(actual[p].best, expected[p].best) << expected[p].name;
        }
    }
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_temp.isValid());
        folder = fs::path(m_temp.path().toStdString()) / "KestoTimer";
        fs::create_directories(folder);
        // The sound folder as installed beside the program.
        fs::copy(KESTO_SOUND_FOLDER, folder / "LmSound", fs::copy_options::recursive);
    }

    void ExpectSavedAndConsistent(const SavedResults& saved, const std::string& raceFormatText) {
        std::string header;
        FromSummaryGridFile(saved.summaryGrid, &header);
        EXPECT_EQ(header, raceFormatText);
        FromLapTextFile(saved.lapText, &header);
        EXPECT_EQ(header, raceFormatText);
        EXPECT_FALSE(program->State().LapsUnsaved);
        EXPECT_FALSE(program->State().SummaryUnsaved);
    }

    fs::path folder;
    test::FakeDialogs dialogs;
    std::unique_ptr<KestoProgram> program;

private:
    QTemporaryDir m_temp;
};

// A club's program folder for the decoder race: port 1 (the COM1 link),
// minimum lap 1 s, no start delay, the race begins with lap 1, four named cars
// and a 5-lap race.
TEST_F(EndToEnd, LapRaceAgainstTheDecoderSimulator) {
    if (!PseudoTerminalPair::Available())
        GTEST_SKIP() << "socat is not installed";
    ASSERT_NO_FATAL_FAILURE(WriteClubFolder(folder, RaceLaps));

    // The decoder at one end of the pair, the program's COM1 at the other.
    PseudoTerminalPair pair;
    std::string why;
    ASSERT_TRUE(pair.Open(folder / "decoder", folder / "COM1", &why)) << why;
    const fs::path log = folder / "passings.log";
    DecoderSimProcess sim;
    ASSERT_TRUE(sim.Launch({QStringLiteral("--device"),
                            QString::fromStdString((folder / "decoder").string()),
                            QStringLiteral("--cars"),
                            QString::number(SimulatedCars),
                            QStringLiteral("--laps"),
                            QStringLiteral("8"), // they race on past the flag
                            QStringLiteral("--lap"),
                            QStringLiteral("2.2"),
                            QStringLiteral("--step"),
                            QStringLiteral("0.35"),
                            QStringLiteral("--spread"),
                            QStringLiteral("0.5"),
                            QStringLiteral("--crash"),
                            QStringLiteral("15"),
                            QStringLiteral("--crash-time"),
                            QStringLiteral("2"),
                            QStringLiteral("--bounce"),
                            QStringLiteral("25"), // second reads to drop
                            QStringLiteral("--garbage"),
                            QStringLiteral("5"),
                            QStringLiteral("--crlf"),
                            QStringLiteral("--seed"),
                            QString::fromLatin1(Seed),
                            QStringLiteral("--speed"),
                            QString::number(Speed),
                            QStringLiteral("--tail"),
                            QString::number(TailSeconds),
                            QStringLiteral("--log"),
                            QString::fromStdString(log.string())},
                           &why))
        << why;

    // What the race must come to, from the log alone.
    std::ifstream logFile(log);
    std::string logErrors;
    const std::vector<sim::Passing> passings = sim::ReadScript(logFile, &logErrors);
    ASSERT_TRUE(logErrors.empty()) << logErrors;
    const ExpectedRace expected =
        PredictLapRace(DecoderStream(passings, TailSeconds * 1000), LapRaceRules{RaceLaps, 1000, 0},
                       static_cast<int64_t>(SameTickRealMs * Speed));
    ASSERT_TRUE(expected.closed);
    ASSERT_FALSE(expected.closedByTime) << "the race should close when every car has finished";
    ASSERT_THAT(expected.uncertain, ::testing::IsEmpty())
        << "this seed puts lines too close to the flag or the close; choose another";
    ASSERT_EQ(expected.Finishers().size(), static_cast<size_t>(SimulatedCars));
    const auto bounces =
        std::count_if(passings.begin(), passings.end(), [&](const sim::Passing& p) {
            return std::any_of(passings.begin(), passings.end(), [&](const sim::Passing& q) {
                return q.id == p.id && q.ms < p.ms && p.ms - q.ms <= 300;
            });
        });
    ASSERT_GT(bounces, 0) << "the race should have second reads for the timer to drop";
    const std::vector<CarLine> race = LinesOf(expected);

    // The program comes up on the decoder's port with the club's settings.
    program = std::make_unique<KestoProgram>(folder, &dialogs);
    program->State().Locale = NumberLocale{};
    program->Start();
    ASSERT_TRUE(dialogs.shown.empty()) << dialogs.last().title << ": " << dialogs.last().text;
    RaceState& state = program->State();
    ASSERT_EQ(state.RaceFormatText, std::to_string(RaceLaps) + " Lap Race");

    // Start, lights, and the decoder's clock starts at green as on RTS.
    ASSERT_TRUE(PressStartThroughTheLights(
        *program, [&] { sim.StartClock(); }, &why))
        << why;
    ASSERT_TRUE(sim.ClockStarted());
    EXPECT_EQ(test::Child<QPushButton>(&program->Window(), "cmdStart")->text(),
              QStringLiteral("Abort"));

    // The race runs on the decoder's lines alone until it closes.
    const int raceMs = static_cast<int>((passings.back().ms + TailSeconds * 1000) / Speed) + 5000;
    ASSERT_TRUE(RunUntilRaceCloses(*program, raceMs))
        << "race clock " << state.RaceClock << " ms; decoder-sim said: " << sim.Output();
    EXPECT_EQ(test::Child<QPushButton>(&program->Window(), "cmdStart")->text(),
              QStringLiteral("Reset"));
    EXPECT_TRUE(dialogs.shown.empty()) << dialogs.last().text;

    ExpectSameSummary(race, FromRaceState(state), "race state");
    ExpectSameLaps(race, FromRaceState(state), "race state");

    const SavedResults saved = SaveResults(*program, dialogs, folder, &why);
    ASSERT_TRUE(why.empty()) << why;
    ExpectSavedAndConsistent(saved, state.RaceFormatText);
    ExpectSameLaps(race, FromLapGridFile(saved.lapGrid), "e2e.lap");
    ExpectSameLaps(race, FromLapTextFile(saved.lapText), "e2e-laps.txt");
    ExpectSameSummary(race, FromSummaryGridFile(saved.summaryGrid), "e2e.sum");
    ExpectSameSummary(race, FromSummaryTextFile(saved.summaryText), "e2e-summary.txt");
}

TEST_F(EndToEnd, FirstRunFolderIsSeededAndRacesADemo) {
    // A newcomer's folder: the sound folder and nothing else. No decoder is
    // plugged in: port 1 is a COM1 link to nowhere, so the port question comes
    // up whatever serial ports this machine has, and is answered "No" (demo).
    fs::create_symlink(folder / "no-decoder", folder / "COM1");
    dialogs.answers = {MessageAnswer::No};
    program = std::make_unique<KestoProgram>(folder, &dialogs);
    program->State().Locale = NumberLocale{};
    program->Start();
    RaceState& state = program->State();

    ASSERT_EQ(dialogs.shown.size(), 1u) << dialogs.last().text;
    EXPECT_EQ(dialogs.shown[0].title, "Com Port") << "not \"Invalid Port Number\"";
    for (const char* file : {"KestoSettings.dat", "Racers.dat", "kestoRacers.dat",
                             "KestoSpeedMultiplier.dat", "KestoRaceFormatSettings.dat"})
        EXPECT_EQ(FileStatus(folder, file), 1) << file;
    EXPECT_EQ(test::Child<QLabel>(&program->Window(), "lblRaceFormat")->text(),
              QStringLiteral("Demo - 10 Lap Race"));
    EXPECT_EQ(test::Child<RowLabel>(&program->Window(), "lblName", 1)->text(),
              QStringLiteral(" Alice"));
    EXPECT_EQ(test::Child<QComboBox>(&program->Window(), "Select_Name", 1)->count(),
              static_cast<int>(SampleRacers().size()) + 1);

    // Start races at once: no name to choose, no question.
    std::string why;
    ASSERT_TRUE(PressStartThroughTheLights(
        *program, [] {}, &why))
        << why;
    ASSERT_EQ(dialogs.shown.size(), 1u) << dialogs.last().title << ": " << dialogs.last().text;
    ASSERT_TRUE(RunUntilRaceCloses(*program, 90000)) << "race clock " << state.RaceClock;

    const std::vector<CarLine> cars = FromRaceState(state);
    ASSERT_EQ(cars.size(), static_cast<size_t>(MaxCarIds));
    EXPECT_EQ(cars.front().laps, 10) << "the leader ran the distance";
    for (const CarLine& car : cars)
        EXPECT_LE(*car.laps, 10) << car.name;

    // View Data / Charts, below Summary: a line per car holding its laps.
    QStringList viewData;
    for (QAction* item : test::Child<QMenu>(&program->Window(), "mnuViewData")->actions())
        viewData << item->text();
    EXPECT_EQ(viewData.indexOf(QStringLiteral("Charts")),
              viewData.indexOf(QStringLiteral("Summary")) + 1);
    test::Child<QAction>(&program->Window(), "mnuCharts")->trigger();
    auto* charts = test::Child<FrmCharts>(&program->Window(), "frmCharts");
    std::map<QString, qsizetype> chartedLaps;
    for (QAbstractSeries* series : charts->LapTimesView()->chart()->series())
        if (auto* line = qobject_cast<QLineSeries*>(series))
            chartedLaps[line->name()] = line->count();
    ASSERT_EQ(chartedLaps.size(), cars.size());
    for (const CarLine& car : cars)
        EXPECT_EQ(chartedLaps[QString::fromStdString(car.name)], *car.laps) << car.name;
    charts->close();

    const SavedResults saved = SaveResults(*program, dialogs, folder, &why);
    ASSERT_TRUE(why.empty()) << why;
    ExpectSavedAndConsistent(saved, "Demo - 10 Lap Race");
    ExpectSameLaps(cars, FromLapGridFile(saved.lapGrid), "e2e.lap");
    ExpectSameLaps(cars, FromLapTextFile(saved.lapText), "e2e-laps.txt");
    ExpectSameSummary(cars, FromSummaryGridFile(saved.summaryGrid), "e2e.sum");
    ExpectSameSummary(cars, FromSummaryTextFile(saved.summaryText), "e2e-summary.txt");
    // The two summaries agree on the best laps too.
    const std::vector<CarLine> grid = FromSummaryGridFile(saved.summaryGrid);
    ExpectSameSummary(grid, FromSummaryTextFile(saved.summaryText), "summary text against grid");
}

} // namespace
} // namespace kesto::e2e
