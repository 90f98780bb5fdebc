#include "base/wall_clock.h"
#include "engine/race_state.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

TEST(RaceState, ProgramStartHoldsNoRunningOrder) {
    RaceState state;
    EXPECT_EQ(state.RaceOrder[0], 0); // the reports check this for "no running order"
    EXPECT_EQ(state.LapTimes.size(), 14u);
    EXPECT_EQ(state.LapTimes[13][MaxLapNumber], 0.0f);
    EXPECT_EQ(state.BestColumnMode, "Best Lap");
}

TEST(RaceState, DateStampHasMonthNameDayHourAndMinute) {
    EXPECT_EQ(FormatRaceDateStamp({2026, 12, 7, 9, 5, 0}), "Dec-07, 9-05");
    EXPECT_EQ(FormatRaceDateStamp({2026, 1, 31, 21, 45, 0}), "Jan-31, 21-45");
}

} // namespace
} // namespace kesto
