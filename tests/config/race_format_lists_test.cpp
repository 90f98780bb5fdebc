// The race format lists and how stored list positions become the race format.
#include "config/data_files.h"
#include "config/race_format_lists.h"
#include "engine/race_state.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

TEST(RaceFormatLists, LapsListHoldsTheThirtyThreeCountsInOrder) {
    const std::vector<int> expected{3,  4,   5,   6,   7,   8,   9,   10,  11,  12,  13,
                                    14, 15,  20,  25,  30,  35,  40,  50,  60,  70,  80,
                                    90, 100, 125, 150, 200, 250, 300, 350, 400, 450, 500};
    const auto& list = LapsList();
    ASSERT_EQ(list.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(list[i], expected[i]) << "position " << i;
}

TEST(RaceFormatLists, MinutesListHoldsTheFortyFiveTimesInOrder) {
    std::vector<int> expected;
    for (int m = 1; m <= 15; ++m)
        expected.push_back(m);
    for (int m = 20; m <= 90; m += 5)
        expected.push_back(m);
    for (int m = 100; m <= 240; m += 10)
        expected.push_back(m);
    const auto& list = MinutesList();
    ASSERT_EQ(expected.size(), 45u);
    ASSERT_EQ(list.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(list[i], expected[i]) << "position " << i;
}

TEST(RaceFormatLists, PositionsOutsideTheListsHaveNoEntry) {
    EXPECT_EQ(LapsAt(14), 25);
    EXPECT_EQ(LapsAt(7), 10);
    EXPECT_FALSE(LapsAt(-1));
    EXPECT_FALSE(LapsAt(33));
    EXPECT_EQ(MinutesAt(0), 1);
    EXPECT_EQ(MinutesAt(44), 240);
    EXPECT_FALSE(MinutesAt(45));
}

TEST(ApplyRaceFormatChoices, LapRaceOfTwentyFiveLaps) {
    RaceState state;
    ApplyRaceFormatChoices({14, 0, false, true, false, 0}, state);
    EXPECT_TRUE(state.LapRace);
    EXPECT_FALSE(state.TimedRace);
    EXPECT_FALSE(state.PracticeMode);
    EXPECT_EQ(state.NumberOfLaps, 25);
    EXPECT_EQ(state.RaceMinutes, 1);
    EXPECT_FALSE(state.DemoMode);
}

TEST(ApplyRaceFormatChoices, PracticeWithDemoTicked) {
    RaceState state;
    ApplyRaceFormatChoices({0, 0, false, false, true, 1}, state);
    EXPECT_TRUE(state.PracticeMode);
    EXPECT_FALSE(state.LapRace);
    EXPECT_FALSE(state.TimedRace);
    EXPECT_TRUE(state.DemoMode);
}

TEST(ApplyRaceFormatChoices, TimedRaceTakesTheMinutesEntry) {
    RaceState state;
    ApplyRaceFormatChoices({5, 15, true, false, false, 0}, state); // 20 minutes
    EXPECT_TRUE(state.TimedRace);
    EXPECT_EQ(state.RaceMinutes, 20);
    EXPECT_EQ(state.NumberOfLaps, 8);
}

TEST(ApplyRaceFormatChoices, DamagedFileKeepsExactlyOneFormatAndOldNumbers) {
    RaceState state;
    state.NumberOfLaps = 10;
    state.RaceMinutes = 5;
    ApplyRaceFormatChoices({99, -3, true, true, false, 0}, state);
    EXPECT_EQ(state.NumberOfLaps, 10);
    EXPECT_EQ(state.RaceMinutes, 5);
    EXPECT_TRUE(state.LapRace); // laps is set after timed
    EXPECT_FALSE(state.TimedRace);

    ApplyRaceFormatChoices({0, 0, false, false, false, 0}, state);
    EXPECT_TRUE(state.PracticeMode);
    EXPECT_EQ(int{state.PracticeMode} + int{state.LapRace} + int{state.TimedRace}, 1);
}

} // namespace
} // namespace kesto
