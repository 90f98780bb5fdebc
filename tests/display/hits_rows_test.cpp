// The hits table's Min and Max: each car's shortest and longest counted lap.
#include "display/hits_rows.h"

#include "engine/lap_counting.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

TEST(HitsRows, ShortestAndLongestCountedLapOfEachCar) {
    RaceState state;
    state.LapCount.fill(0);
    state.LapCount[2] = 4;
    state.LapTimes[2][0] = 1.00f; // the run to the line is no lap
    state.LapTimes[2][1] = 4.51f; // timed from the start: not a best lap either
    state.LapTimes[2][2] = 5.02f;
    state.LapTimes[2][3] = 7.80f;
    state.LapTimes[2][4] = 5.50f;
    state.LapTimes[2][5] = 2.00f; // beyond the lap count: an earlier race's lap
    state.LapCount[5] = 2;
    state.LapTimes[5][1] = 2.0f;
    state.LapTimes[5][2] = 12.3f;

    const auto ranges = HitsLapRanges(state);
    EXPECT_EQ(ranges[2].min, "5.02");
    EXPECT_EQ(ranges[2].max, "7.80");
    EXPECT_EQ(ranges[5].min, "12.30");
    EXPECT_EQ(ranges[5].max, "12.30");
    state.LapCount[7] = 1; // one pass: no lap from line to line yet
    state.LapTimes[7][1] = 9.0f;
    for (int i : {0, 1, 3, 4, 6, 7, 13}) {
        EXPECT_EQ(ranges[i].min, "") << i;
        EXPECT_EQ(ranges[i].max, "") << i;
    }
}

TEST(HitsRows, NoLapsBeforeTheFirstCountedOne) {
    RaceState state;
    state.LapCount.fill(-1); // "Race Begins With Lap:" 0, nothing counted yet
    state.LapTimes[0][1] = 4.0f;
    state.LapCount[1] = 0; // only the run to the line
    state.LapTimes[1][0] = 3.0f;
    const auto ranges = HitsLapRanges(state);
    EXPECT_EQ(ranges[0].min, "");
    EXPECT_EQ(ranges[1].max, "");
}

TEST(HitsRows, LapsBeyondTheLastColumnAreNotRead) {
    RaceState state;
    state.LapCount.fill(0);
    state.LapCount[0] = MaxLapNumber + 40;
    for (int n = 1; n <= MaxLapNumber; ++n)
        state.LapTimes[0][n] = 5.0f;
    state.LapTimes[0][MaxLapNumber] = 4.25f;
    const auto ranges = HitsLapRanges(state);
    EXPECT_EQ(ranges[0].min, "4.25");
    EXPECT_EQ(ranges[0].max, "5.00");
}

TEST(HitsRows, TimesAsTheLapViewersShowThem) {
    RaceState state;
    state.Locale.decimalSeparator = ',';
    state.Locale.groupSeparator = '.';
    state.LapCount.fill(0);
    state.LapCount[6] = 3;
    state.LapTimes[6][2] = 8.75f;
    state.LapTimes[6][3] = 1234.5f;
    const auto ranges = HitsLapRanges(state);
    EXPECT_EQ(ranges[6].min, "8,75");
    EXPECT_EQ(ranges[6].max, "1.234,50");
}

TEST(HitsRows, FollowsLapCounting) {
    test::TestRace race;
    race.state.Settings.FirstLapCount = 0;
    race.state.Settings.MinLapTime = 1.0f;
    race.state.LapCount.fill(0);
    race.state.BestLapTime.fill(NoBestLap);
    for (int32_t t : {3000, 8500, 8900 /* rejected */, 13000, 20000})
        CountLap(race.context, 4, t);
    const auto ranges = HitsLapRanges(race.state);
    // Laps of 5.5, 4.5 and 7 s after the run from the start (3 s).
    EXPECT_EQ(ranges[3].min, "4.50");
    EXPECT_EQ(ranges[3].max, "7.00");
    EXPECT_EQ(race.state.BestLapTime[3], 4500);
}

} // namespace
} // namespace kesto
