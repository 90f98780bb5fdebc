// The pictures' data of races driven by the race timer's ticks: lap times,
// crash and best laps, positions after each lap, and the same from the .lap
// file the race was saved in.
#include "engine/race_control.h"
#include "reports/race_charts.h"
#include "reports/result_book.h"
#include "reports/result_files.h"
#include "reports/summary_report.h"
#include "support/race_rig.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace kesto {
namespace {

using PassPlan = std::multimap<int32_t, int>; // decoder time ms -> car ID

void AddLaps(PassPlan& plan, int id, const std::vector<int32_t>& lapMs) {
    int32_t at = 0;
    for (int32_t ms : lapMs)
        plan.emplace(at += ms, id);
}

// Ticks of `stepMs` from the start; each sends, in time order, the decoder's
// clock line of every whole second and the passes made since the last tick.
void Drive(test::RaceRig& rig, const PassPlan& plan, int32_t untilMs, int32_t stepMs = 10) {
    auto next = plan.begin();
    for (int32_t t = stepMs; t <= untilMs && rig.state.TimerEnabled; t += stepMs) {
        std::string sent;
        for (int32_t second = (t - stepMs) / 1000 * 1000 + 1000; second <= t; second += 1000) {
            for (; next != plan.end() && next->first <= second; ++next)
                sent += test::DecoderPassLine(next->second, next->first);
            sent += test::DecoderClockLine(second);
        }
        for (; next != plan.end() && next->first <= t; ++next)
            sent += test::DecoderPassLine(next->second, next->first);
        rig.race.port.Feed(sent);
        rig.Tick(stepMs);
    }
}

// The position of every car after each lap, straight from the pass times:
// earlier first, a tie to the lower ID.
std::map<int, std::vector<ChartPosition>> PositionsOf(const PassPlan& plan) {
    std::map<int, int> laps;
    std::map<int, std::vector<std::pair<int32_t, int>>> passesOfLap;
    for (const auto& [ms, id] : plan)
        passesOfLap[++laps[id]].emplace_back(ms, id);
    std::map<int, std::vector<ChartPosition>> positions;
    for (auto& [lap, passes] : passesOfLap) {
        std::sort(passes.begin(), passes.end());
        for (std::size_t i = 0; i < passes.size(); ++i)
            positions[passes[i].second].push_back({lap, static_cast<int>(i) + 1});
    }
    return positions;
}

const CarChart& Car(const RaceCharts& charts, int id) {
    auto car = std::find_if(charts.cars.begin(), charts.cars.end(),
                            [id](const CarChart& c) { return c.id == id; });
    EXPECT_NE(car, charts.cars.end()) << "car " << id;
    return *car;
}

class RaceChartsTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        rig.NameAllCars();
        for (int id = 1; id <= MaxCarIds; ++id) {
            rig.state.Names.NamedId[id - 1] = static_cast<int16_t>(id);
            rig.state.Settings.IdColor[id - 1] = 0x10101 * id;
        }
    }
    void Start() {
        rig.control.ReSet();
        rig.control.cmdStart_Click();
        ASSERT_TRUE(rig.state.TimerEnabled);
    }

    test::RaceRig rig;
    RaceState& state = rig.state;
};

TEST_F(RaceChartsTest, ALapRaceHasItsLapTimesCrashesBestLapsAndPositions) {
    state.LapRace = true;
    state.NumberOfLaps = 10;
    state.RaceFormatText = "10 Lap Race";
    PassPlan plan;
    AddLaps(plan, 3, {5000, 5000, 5000, 9000, 5000, 5000, 5000, 5000, 5000, 5000}); // lap 4 a crash
    AddLaps(plan, 5, {4800, 5100, 5100, 5100, 5100, 5100, 5100, 5100, 5100, 5100});
    AddLaps(plan, 2, std::vector<int32_t>(10, 5500)); // level with car 7 all race
    AddLaps(plan, 7, std::vector<int32_t>(10, 5500));
    AddLaps(plan, 9, {6000}); // one lap; car 12 never passes
    Start();
    Drive(rig, plan, 70000);
    ASSERT_TRUE(state.RaceIsOver);

    const RaceCharts charts = ChartsOfRace(state);

    std::vector<int> order;
    for (const CarChart& car : charts.cars)
        order.push_back(car.id);
    EXPECT_EQ(order, (std::vector<int>{5, 3, 2, 7, 9})); // as the race screen ranks them
    EXPECT_TRUE(std::equal(order.begin(), order.end(), state.RaceOrder.begin()));
    const auto positions = PositionsOf(plan);
    for (const CarChart& car : charts.cars) {
        SCOPED_TRACE(car.id);
        ASSERT_EQ(car.laps.size(), static_cast<std::size_t>(state.LapCount[car.id - 1]));
        int crashes = 0;
        for (std::size_t i = 0; i < car.laps.size(); ++i) {
            EXPECT_EQ(car.laps[i].lap, static_cast<int>(i) + 1);
            EXPECT_EQ(car.laps[i].seconds, state.LapTimes[car.id - 1][i + 1]);
            crashes += car.laps[i].crash;
        }
        ComputeCrashes(state, car.id);
        EXPECT_EQ(crashes, state.CrashCount[car.id - 1]);
        EXPECT_EQ(car.positions, positions.at(car.id));
        EXPECT_EQ(car.name, "Racer " + std::to_string(car.id));
        EXPECT_EQ(car.color, 0x10101 * car.id);
    }
    EXPECT_TRUE(Car(charts, 3).laps[3].crash);
    EXPECT_EQ(Car(charts, 3).bestLap, 2); // the first of its 5.00 laps that can be a best lap
    EXPECT_EQ(Car(charts, 5).bestLap, 2);
    EXPECT_EQ(Car(charts, 9).bestLap, -1); // a first lap is never a best lap
    // Lap 3: cars 3 and 5 both pass at 15.00 s, the lower ID ahead; lap 4: car 3 crashed.
    EXPECT_EQ(Car(charts, 3).positions[2], (ChartPosition{3, 1}));
    EXPECT_EQ(Car(charts, 5).positions[2], (ChartPosition{3, 2}));
    EXPECT_EQ(Car(charts, 3).positions[3], (ChartPosition{4, 4}));
    EXPECT_EQ(charts.LastLap(), 10);
    EXPECT_EQ(charts.MaxPosition(), 5);

    // Saved as a .lap file and opened again: the same pictures.
    ResultBook book;
    ASSERT_FALSE(book.FillLapTimes(state).message);
    rig.race.dialogs.files = {(folder / "heat.lap").string()};
    ASSERT_TRUE(book.SaveLaps(rig.race.context, folder.string()));
    std::string text;
    ASSERT_TRUE(ReadResultFile((folder / "heat.lap").string(), text, nullptr));
    ResultBook reopened;
    reopened.OpenLapFile((folder / "heat.lap").string(), text);
    const RaceCharts fromFile = reopened.Charts(state);
    EXPECT_EQ(fromFile.caption, "heat.lap");
    EXPECT_EQ(fromFile.cars, charts.cars);
    reopened.CloseLapFile();
    EXPECT_EQ(reopened.Charts(state).caption, "10 Lap Race");
}

TEST_F(RaceChartsTest, APracticeBeyondTheLapTablesShowsTheLapsTheyHold) {
    state.PracticeMode = true;
    state.Settings.FirstLapCount = -1; // the first pass is lap 0, "RT"
    PassPlan plan;
    AddLaps(plan, 4, std::vector<int32_t>(MaxLapNumber + 6, 4500));
    AddLaps(plan, 8, {4600, 4700});
    Start();
    Drive(rig, plan, (MaxLapNumber + 10) * 4500, 20000);
    ASSERT_EQ(state.LapCount[3], MaxLapNumber + 5);

    const RaceCharts charts = ChartsOfRace(state);

    ASSERT_EQ(charts.cars.size(), 2u);
    const CarChart& car = charts.cars[0];
    ASSERT_EQ(car.laps.size(), static_cast<std::size_t>(MaxLapNumber + 1)); // laps 0..3000
    for (int lap = 0; lap <= MaxLapNumber; ++lap)
        ASSERT_EQ(car.laps[lap].seconds, state.LapTimes[3][lap]) << lap;
    EXPECT_EQ(car.laps.back().lap, MaxLapNumber);
    EXPECT_EQ(car.positions[0], (ChartPosition{0, 1}));
    EXPECT_EQ(car.positions.back(), (ChartPosition{MaxLapNumber, 1}));
    EXPECT_EQ(charts.cars[1].positions,
              (std::vector<ChartPosition>{{0, 2}, {1, 2}})); // one lap after its "RT"
}

TEST(LapCellNumbers, ReadUnderEitherSeparatorAndRefuseOtherCells) {
    int64_t h = 0;
    EXPECT_TRUE(ParseLapHundredths("4.90", h) && h == 490);
    EXPECT_TRUE(ParseLapHundredths("1,234.50", h) && h == 123450);
    EXPECT_TRUE(ParseLapHundredths("1.234,50", h) && h == 123450);
    for (const char* cell : {"", "RT", "Insufficent", "12.3", "1.2.", ".50", "4.9x"})
        EXPECT_FALSE(ParseLapHundredths(cell, h)) << cell;
}

} // namespace
} // namespace kesto
