#include "engine/demo_generator.h"

#include "support/test_doubles.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

TEST(DemoCars, OneDrawSetsStartLapBaseAndSpreadTheSecondTheCrashChance) {
    RaceState state;
    state.Settings.MinLapTime = 4.0f;
    test::ScriptedRandom random({0.5, 0.5, 0.0, 0.999}, 0.25);
    DrawDemoCars(state, random);

    EXPECT_EQ(state.DemoNextPass[0], 400);   // 0.5*600 + 100
    EXPECT_EQ(state.DemoLapSpread[0], 525);  // 4000/10 + 0.5*250
    EXPECT_EQ(state.DemoLapBase[0], 5375);   // 4000 + 0.5*750 + 1000
    EXPECT_EQ(state.DemoCrashChance[0], 10); // 0.5*18 + 1

    EXPECT_EQ(state.DemoNextPass[1], 100); // an early car is a fast car
    EXPECT_EQ(state.DemoLapSpread[1], 400);
    EXPECT_EQ(state.DemoLapBase[1], 5000);
    EXPECT_EQ(state.DemoCrashChance[1], 18);

    // Cars 3..14 took their draws in turn from the fallback 0.25.
    EXPECT_EQ(state.DemoNextPass[13], 250);
    EXPECT_EQ(state.DemoCrashChance[13], 5);
    EXPECT_TRUE(random.values.empty());
}

TEST(DemoCars, MinimumLapTimeIsTakenAsItsDecimalSeconds) {
    RaceState state;
    state.Settings.MinLapTime = 0.7f; // 0.69999999 in single precision
    test::ScriptedRandom random({}, 0.0);
    DrawDemoCars(state, random);
    EXPECT_EQ(state.DemoLapSpread[0], 70);
    EXPECT_EQ(state.DemoLapBase[0], 1700);
}

class DemoStepTest : public ::testing::Test {
protected:
    DemoStepTest() {
        for (int i = 0; i < MaxCarIds; ++i) {
            state().DemoNextPass[i] = 1000000; // not due
            state().DemoLapBase[i] = 5000;
            state().DemoLapSpread[i] = 400;
            state().DemoCrashChance[i] = 10;
        }
        state().RaceClock = 95;
    }
    RaceState& state() { return race.state; }
    void Step(int32_t ms) {
        DemoStep(race.context, ms,
                 [this] { screenLaps.push_back(state().LapCount[0] + state().LapCount[1]); });
    }
    test::TestRace race;
    std::vector<int> screenLaps;
};

TEST_F(DemoStepTest, DueCarCountsALapAtTheCurrentClockAndDrawsItsNextPass) {
    state().DemoNextPass[0] = 100;
    race.random.values = {0.5, 0.5}; // lap draw, no crash (50 is not below 10)
    Step(10);
    EXPECT_EQ(state().RaceClock, 105);
    EXPECT_EQ(state().LapCount[0], 1);
    EXPECT_EQ(state().LastPassTime[0], 105); // the clock, not the scheduled 100
    EXPECT_EQ(state().DemoNextPass[0], 200 + 5000 + 105);
    EXPECT_EQ(screenLaps, std::vector<int>{1});
}

TEST_F(DemoStepTest, CrashAddsOneToFourSeconds) {
    state().DemoNextPass[0] = 100;
    race.random.values = {0.5, 0.05, 0.5}; // 5 is below the 10 % crash chance
    Step(10);
    EXPECT_EQ(state().DemoNextPass[0], (200 + 5000 + 105) + 1500 + 1000);
}

TEST_F(DemoStepTest, CarIsDueOnlyOnceTheClockHasPassedItsTime) {
    state().DemoNextPass[0] = 105;
    Step(10); // 105 is not below 105
    EXPECT_EQ(state().LapCount[0], 0);
    EXPECT_EQ(race.random.values.size(), 0u);
    Step(10);
    EXPECT_EQ(state().LapCount[0], 1);
}

TEST_F(DemoStepTest, ScreenIsUpdatedAfterEachSimulatedLap) {
    state().DemoNextPass[0] = 50;
    state().DemoNextPass[1] = 60;
    Step(10);
    EXPECT_EQ(screenLaps, (std::vector<int>{1, 2}));
    Step(10);
    EXPECT_EQ(screenLaps.size(), 2u); // no lap due, no update from the demo step
}

} // namespace
} // namespace kesto
