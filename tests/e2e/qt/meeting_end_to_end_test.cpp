// A whole club night through the real program, end to end: 20 racers, 3
// qualifying rounds in heats of 10 (the best 2 rounds count), then a B main
// and an A main of 10 with the B main's winner bumped up. Every heat is loaded
// through the meeting, started through the start lights and timed from
// decoder-sim's lines over a socat pseudo-terminal alone. The heats are
// 1-minute races under the RC finish rule: at the minute every car finishes
// on its next pass, so a racer who laps steadily every p ms ends with
// floor(60000 / p) + 1 laps in that many times p; nothing it does after its
// finish counts (each racer passes once more to prove it). No passing falls
// near the minute, so no flag depends on which tick reads a line.
#include "app/kesto_program.h"
#include "app/meeting_wiring.h"
#include "meeting/finals.h"
#include "meeting/heat_planning.h"
#include "meeting/meeting_desk.h"
#include "meeting/meeting_file.h"
#include "meeting/qualifying_standings.h"
#include "program_driver.h"
#include "scripted_race.h"

#include "support/qt/find_child.h"
#include <QPushButton>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <map>

namespace kesto::e2e {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

constexpr double Speed = 10; // the decoder's clock runs ten times real time
constexpr int TailSeconds = 2;
constexpr int HeatMs = 60000;

// Each racer's steady lap (ms) in qualifying rounds 1, 2 and 3, and what it
// makes of a 1-minute heat (laps, seconds):
const std::vector<std::pair<std::string, std::array<int, 3>>> Qualifying = {
    {"Ann", {5740, 5200, 7270}},  // 11 63.14   12 62.40    9 65.43
    {"Ben", {5770, 5820, 6400}},  // 11 63.47   11 64.02   10 64.00
    {"Cal", {6490, 5180, 6380}},  // 10 64.90   12 62.16   10 63.80
    {"Dan", {7210, 7200, 4870}},  //  9 64.89    9 64.80   13 63.31
    {"Eve", {5300, 4790, 5210}},  // 12 63.60   13 62.27   12 62.52
    {"Fay", {7160, 4810, 5830}},  //  9 64.44   13 62.53   11 64.13
    {"Gus", {5830, 5290, 5250}},  // 11 64.13   12 63.48   12 63.00
    {"Hal", {5180, 5750, 5210}},  // 12 62.16   11 63.25   12 62.52
    {"Ian", {5780, 5730, 6480}},  // 11 63.58   11 63.03   10 64.80
    {"Jo", {4770, 5200, 5220}},   // 13 62.01   12 62.40   12 62.64
    {"Kim", {7210, 5310, 6340}},  //  9 64.89   12 63.72   10 63.40
    {"Lee", {7240, 5260, 5710}},  //  9 65.16   12 63.12   11 62.81
    {"Max", {5700, 6360, 7180}},  // 11 62.70   10 63.60    9 64.62
    {"Ned", {5270, 5740, 7220}},  // 12 63.24   11 63.14    9 64.98
    {"Ola", {5290, 6450, 5300}},  // 12 63.48   10 64.50   12 63.60
    {"Pia", {6490, 5830, 5790}},  // 10 64.90   11 64.13   11 63.69
    {"Quin", {5260, 5800, 7250}}, // 12 63.12   11 63.80    9 65.25
    {"Rex", {5180, 5220, 7220}},  // 12 62.16   12 62.64    9 64.98
    {"Sam", {4860, 5260, 4750}},  // 13 63.18   12 63.12   13 61.75
    {"Tia", {7120, 5260, 4840}},  //  9 64.08   12 63.12   13 62.92
};

// The finals' laps: B main first, then the A main.
const std::map<std::string, int> BMain = {
    {"Max", 4750},  // 13 61.75: wins and goes up
    {"Lee", 5200},  // 12 62.40
    {"Ned", 5230},  // 12 62.76
    {"Quin", 5250}, // 12 63.00
    {"Cal", 5700},  // 11 62.70
    {"Ian", 5720},  // 11 62.92
    {"Kim", 5760},  // 11 63.36
    {"Ben", 6400},  // 10 64.00
    {"Pia", 6450},  // 10 64.50
    {"Dan", 7200},  //  9 64.80
};
const std::map<std::string, int> AMain = {
    {"Jo", 4740},  // 13 61.62
    {"Sam", 4760}, // 13 61.88
    {"Max", 4800}, // 13 62.40
    {"Eve", 5180}, // 12 62.16
    {"Hal", 5190}, // 12 62.28
    {"Tia", 5210}, // 12 62.52
    {"Rex", 5240}, // 12 62.88
    {"Fay", 5700}, // 11 62.70
    {"Gus", 5730}, // 11 63.03
    {"Ola", 5760}, // 11 63.36
    {"Ann", 6400}, // 10 64.00
};

class MeetingEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PseudoTerminalPair::Available())
            GTEST_SKIP() << "socat is not installed";
        ASSERT_TRUE(m_temp.isValid());
        folder = fs::path(m_temp.path().toStdString()) / "KestoTimer";
        fs::create_directories(folder / "Club Night");
        ASSERT_NO_FATAL_FAILURE(WriteClubFolder(folder, 5));
        std::string why;
        ASSERT_TRUE(m_pair.Open(folder / "decoder", folder / "COM1", &why)) << why;
        program = std::make_unique<KestoProgram>(folder, &dialogs);
        program->State().Locale = NumberLocale{};
        program->Start();
        ASSERT_TRUE(dialogs.shown.empty()) << dialogs.last().title << ": " << dialogs.last().text;
    }

    MeetingDesk& Desk() { return program->Meetings().Desk(); }

    void Change(const std::function<Refusal(Meeting&)>& change) {
        ASSERT_EQ(Desk().Change(change), std::nullopt);
    }

    // Loads the proposed heat, starts it through the lights with decoder-sim
    // sending each racer's laps (`lapMs` by name) on the ID the heat gave it,
    // and lets it run until it closes; then Reset, as the operator does.
    void RunProposedHeat(const std::map<std::string, int>& lapMs) {
        const Heat* heat = Desk().ProposedHeat();
        ASSERT_NE(heat, nullptr);
        const int number = heat->number;
        ASSERT_EQ(program->Meetings().LoadHeat(number), std::nullopt);
        SCOPED_TRACE("heat " + std::to_string(number));

        std::vector<sim::Passing> passings;
        for (const HeatSlot& slot : heat->grid) {
            const int p = lapMs.at(EntryName(Desk().meeting(), slot.entry));
            const int finishingLap = HeatMs / p + 1;
            for (int lap = 1; lap <= finishingLap + 1; ++lap)
                passings.push_back({int64_t{p} * lap, slot.carId});
        }
        std::sort(passings.begin(), passings.end(),
                  [](const auto& a, const auto& b) { return a.ms < b.ms; });
        const fs::path script = folder / ("heat" + std::to_string(number) + ".script");
        WriteScript(script, passings);

        std::string why;
        DecoderSimProcess sim;
        ASSERT_TRUE(sim.LaunchScript(folder / "decoder", script, Speed, TailSeconds, &why)) << why;
        ASSERT_TRUE(PressStartThroughTheLights(
            *program, [&] { sim.StartClock(); }, &why))
            << why;
        const int raceMs = static_cast<int>(passings.back().ms / Speed) + 10000;
        ASSERT_TRUE(RunUntilRaceCloses(*program, raceMs))
            << "race clock " << program->State().RaceClock << " ms; decoder-sim said "
            << sim.Output();
        ASSERT_TRUE(FindHeat(Desk().meeting(), number)->result) << "the heat took no result";

        // The heat's files are saved in the meeting's folder: Reset asks nothing.
        test::Child<QPushButton>(&program->Window(), "cmdStart")->click();
        ASSERT_EQ(program->State().Button, StartButton::Start);
        ASSERT_TRUE(dialogs.shown.empty()) << dialogs.last().title << ": " << dialogs.last().text;
    }

    std::map<std::string, int> Round(int round) const {
        std::map<std::string, int> laps;
        for (const auto& [name, rounds] : Qualifying)
            laps[name] = rounds[static_cast<size_t>(round - 1)];
        return laps;
    }

    template <class Rows> std::vector<std::string> Names(const Rows& rows) {
        std::vector<std::string> names;
        for (const auto& row : rows)
            names.push_back(EntryName(Desk().meeting(), row.entry));
        return names;
    }

    fs::path folder;
    test::FakeDialogs dialogs;
    std::unique_ptr<KestoProgram> program;

private:
    QTemporaryDir m_temp;
    PseudoTerminalPair m_pair;
};

TEST_F(MeetingEndToEnd, TwentyRacersThreeRoundsAndABFinalsWithABumpUp) {
    Meeting setup = NewMeeting("Club Night", "2026-12-08");
    setup.heatFormat = HeatFormat{HeatFormatKind::Minutes, 1};
    setup.finish = FinishRule::EveryCarOnNextPass;
    ASSERT_EQ(Desk().Create(folder / "Club Night" / MeetingFileName(setup), setup), std::nullopt);
    for (size_t i = 0; i < Qualifying.size(); ++i)
        Change([&](Meeting& m) {
            return AddEntry(m, Qualifying[i].first, static_cast<int>(i % 14) + 1);
        });
    Change(PlanQualifying);
    ASSERT_EQ(Desk().meeting().heats.size(), 6u);
    for (int round = 1; round <= 3; ++round) {
        ASSERT_NO_FATAL_FAILURE(RunProposedHeat(Round(round)));
        ASSERT_NO_FATAL_FAILURE(RunProposedHeat(Round(round)));
    }

    // Each racer's best 2 rounds (laps, then time), worked out by hand:
    //   Sam  13 61.75 + 13 63.18 = 26 124.93   Jo   13 62.01 + 12 62.40 = 25 124.41
    //   Eve  13 62.27 + 12 62.52 = 25 124.79   Tia  13 62.92 + 12 63.12 = 25 126.04
    //   Hal  12 62.16 + 12 62.52 = 24 124.68   Rex  12 62.16 + 12 62.64 = 24 124.80
    //   Gus  12 63.00 + 12 63.48 = 24 126.48   Fay  13 62.53 + 11 64.13 = 24 126.66
    //   Ola  12 63.48 + 12 63.60 = 24 127.08   Ann  12 62.40 + 11 63.14 = 23 125.54
    //   Lee  12 63.12 + 11 62.81 = 23 125.93   Ned  12 63.24 + 11 63.14 = 23 126.38
    //   Quin 12 63.12 + 11 63.80 = 23 126.92   Cal  12 62.16 + 10 63.80 = 22 125.96
    //   Ian  11 63.03 + 11 63.58 = 22 126.61   Kim  12 63.72 + 10 63.40 = 22 127.12
    //   Ben  11 63.47 + 11 64.02 = 22 127.49   Pia  11 63.69 + 11 64.13 = 22 127.82
    //   Dan  13 63.31 +  9 64.80 = 22 128.11   Max  11 62.70 + 10 63.60 = 21 126.30
    const auto qualifying = QualifyingStandings(Desk().meeting());
    EXPECT_THAT(Names(qualifying),
                ElementsAre("Sam", "Jo", "Eve", "Tia", "Hal", "Rex", "Gus", "Fay", "Ola", "Ann",
                            "Lee", "Ned", "Quin", "Cal", "Ian", "Kim", "Ben", "Pia", "Dan", "Max"));
    ASSERT_EQ(qualifying.size(), 20u);
    EXPECT_EQ(qualifying[0].laps, 26);
    EXPECT_EQ(qualifying[0].timeMs, 124930);
    EXPECT_EQ(qualifying[19].laps, 21);
    EXPECT_EQ(qualifying[19].timeMs, 126300);

    // A main: places 1 to 10 and the B main's winner; B main: places 11 to 20.
    Change([](Meeting& m) {
        return PlanFinals(m, FinalsSetup{{10, 10}, 1, {HeatFormatKind::Minutes, 1}});
    });
    ASSERT_NO_FATAL_FAILURE(RunProposedHeat(BMain));
    ASSERT_NO_FATAL_FAILURE(RunProposedHeat(AMain));
    EXPECT_EQ(Desk().ProposedHeat(), nullptr);

    // The night: the A main by place (Max, up from the B main, third), then
    // the B main without him.
    EXPECT_THAT(Names(FinalStandings(Desk().meeting())),
                ElementsAre("Jo", "Sam", "Max", "Eve", "Hal", "Tia", "Rex", "Fay", "Gus", "Ola",
                            "Ann", "Lee", "Ned", "Quin", "Cal", "Ian", "Kim", "Ben", "Pia", "Dan"));

    // Every heat's result files are in the meeting's folder, and the meeting
    // reopens as it was.
    size_t summaries = 0;
    for (const auto& file : fs::directory_iterator(folder / "Club Night"))
        summaries += file.path().extension() == ".sum";
    EXPECT_EQ(summaries, 8u);
    std::string problem;
    const auto reopened = OpenMeeting::Open(Desk().Path(), problem);
    ASSERT_TRUE(reopened) << problem;
    EXPECT_EQ(reopened->meeting(), Desk().meeting());
}

} // namespace
} // namespace kesto::e2e
