#include "engine/decoder_record.h"
#include "tools/decoder-sim/decoder_lines.h"
#include "tools/decoder-sim/passing_plan.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace kesto::sim {
namespace {

TEST(DecoderSim, LinesReadBackAsTheTimesTheyCarry) {
    EXPECT_EQ(DetectionLine(5, 45296780), "@0512345678\n");
    EXPECT_EQ(ClockLine(45296000, true), "@00123456\r\n");
    for (int64_t ms : {0, 10, 59990, 61230, 3600000, 45296780}) {
        DecoderRecord detection = ReadDecoderRecord(DetectionLine(14, ms));
        EXPECT_EQ(detection.id, 14);
        EXPECT_EQ(detection.timeMs, ms);
        DecoderRecord clock = ReadDecoderRecord(ClockLine(ms));
        EXPECT_TRUE(clock.isClock);
        EXPECT_EQ(clock.timeMs, ms / 1000 * 1000);
    }
}

TEST(DecoderSim, PlannedRaceGivesEveryCarItsLapsInTimeOrder) {
    CarPlan plan;
    plan.cars = 4;
    plan.laps = 10;
    plan.crashPercent = 50;
    std::vector<Passing> passings = PlanRace(plan);
    std::map<int, int> perCar;
    for (size_t i = 0; i < passings.size(); ++i) {
        ++perCar[passings[i].id];
        if (i > 0) {
            EXPECT_LE(passings[i - 1].ms, passings[i].ms);
        }
        EXPECT_EQ(passings[i].ms % 10, 0); // the decoder counts hundredths
    }
    EXPECT_EQ(perCar.size(), 4u);
    for (auto [id, count] : perCar)
        EXPECT_EQ(count, 11) << "ID " << id; // the first passing plus ten laps
    EXPECT_EQ(PlanRace(plan), passings);     // the seed makes it repeatable
}

TEST(DecoderSim, BouncesAreSecondReadsShortlyAfterAPassingAndKeepThePlan) {
    CarPlan plan;
    plan.cars = 3;
    plan.laps = 6;
    const std::vector<Passing> clean = PlanRace(plan);
    plan.bouncePercent = 100;
    const std::vector<Passing> bouncy = PlanRace(plan);
    ASSERT_EQ(bouncy.size(), 2 * clean.size());
    // Per car: every other passing is the plan's, each followed by its bounce.
    for (int id = 1; id <= 3; ++id) {
        std::vector<int64_t> mine, planned;
        for (const Passing& p : bouncy)
            if (p.id == id)
                mine.push_back(p.ms);
        for (const Passing& p : clean)
            if (p.id == id)
                planned.push_back(p.ms);
        ASSERT_EQ(mine.size(), 2 * planned.size());
        for (size_t n = 0; n < planned.size(); ++n) {
            EXPECT_EQ(mine[2 * n], planned[n]);
            EXPECT_GE(mine[2 * n + 1] - planned[n], 50);
            EXPECT_LE(mine[2 * n + 1] - planned[n], 300);
        }
    }
}

TEST(DecoderSim, ScriptReadsSecondsAndIdsAndReportsBadLines) {
    std::istringstream script("# practice\n12.5 3\n\n4.25 7  # first\nnonsense\n");
    std::string error;
    std::vector<Passing> passings = ReadScript(script, &error);
    ASSERT_EQ(passings.size(), 2u);
    EXPECT_EQ(passings[0], (Passing{4250, 7}));
    EXPECT_EQ(passings[1], (Passing{12500, 3}));
    EXPECT_NE(error.find("line 5"), std::string::npos);
}

} // namespace
} // namespace kesto::sim
