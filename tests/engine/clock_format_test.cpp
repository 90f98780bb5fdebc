// The race clock text and what the clock shows during and between races.
#include "engine/clock_format.h"
#include "support/fake_race_screen.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

TEST(FormatClock, MinutesAndSecondsOrHoursMinutesSeconds) {
    EXPECT_EQ(FormatClock(3725), "1:02:05");
    EXPECT_EQ(FormatClock(65), "1:05");
    EXPECT_EQ(FormatClock(5), "0:05");
    EXPECT_EQ(FormatClock(750), "12:30");
    EXPECT_EQ(FormatClock(0), "0:00");
    EXPECT_EQ(FormatClock(3600), "1:00:00");
    EXPECT_EQ(FormatClock(36000 * 10 + 59), "100:00:59");
}

TEST(FormatClock, NegativeCountsKeepTheirDigitsInPlace) {
    EXPECT_EQ(FormatClock(-65), "-1:05");
    EXPECT_EQ(FormatClock(INT32_MIN), "-596523:14:08");
}

TEST(RaceClockSeconds, TimedRaceCountsDownAndStopsAtZero) {
    RaceState state;
    state.TimedRace = true;
    state.RaceMinutes = 5;
    state.RaceClock = 0;
    EXPECT_EQ(RaceClockSeconds(state), 300);
    state.RaceClock = 1;
    EXPECT_EQ(RaceClockSeconds(state), 299); // 299.999 s left shows 4:59
    state.RaceClock = 299999;
    EXPECT_EQ(RaceClockSeconds(state), 0);
    state.RaceClock = 400000;
    EXPECT_EQ(RaceClockSeconds(state), 0);
}

TEST(RaceClockSeconds, OtherRacesCountUp) {
    RaceState state;
    state.LapRace = true;
    state.RaceClock = 61999;
    EXPECT_EQ(RaceClockSeconds(state), 61);
    state.LapRace = false;
    state.PracticeMode = true;
    state.RaceClock = 3725000;
    EXPECT_EQ(FormatClock(RaceClockSeconds(state)), "1:02:05");
}

TEST(RaceClockSeconds, HugeMinuteCountsDoNotOverflow) {
    RaceState state;
    state.TimedRace = true;
    state.RaceMinutes = 2000000;
    EXPECT_EQ(RaceClockSeconds(state), 120000000);
}

TEST(RefreshClockDisplay, TimedRaceAtRestIsRed) {
    RaceState state;
    test::FakeRaceScreen screen(state);
    state.TimedRace = true;
    state.RaceMinutes = 20;
    RefreshClockDisplay(state, screen);
    EXPECT_EQ(screen.clockText, "20:00");
    EXPECT_EQ(screen.clockColor, ClockRed);
}

TEST(RefreshClockDisplay, TimedRaceRunningKeepsItsColour) {
    RaceState state;
    test::FakeRaceScreen screen(state);
    state.TimedRace = true;
    state.RaceMinutes = 5;
    state.RaceClock = 61000;
    state.TimerEnabled = true;
    screen.clockColor = ClockWhite;
    RefreshClockDisplay(state, screen);
    EXPECT_EQ(screen.clockText, "3:59");
    EXPECT_EQ(screen.clockColor, ClockWhite);
}

TEST(RefreshClockDisplay, FinishedTimedRaceNeverShowsNegativeTime) {
    RaceState state;
    test::FakeRaceScreen screen(state);
    state.TimedRace = true;
    state.RaceMinutes = 5;
    state.RaceClock = 312000;
    RefreshClockDisplay(state, screen);
    EXPECT_EQ(screen.clockText, "0:00");
}

TEST(RefreshClockDisplay, LapRaceAndPracticeShowZerosInWhite) {
    RaceState state;
    test::FakeRaceScreen screen(state);
    state.LapRace = true;
    state.RaceClock = 42000;
    screen.clockColor = ClockRed;
    RefreshClockDisplay(state, screen);
    EXPECT_EQ(screen.clockText, "00:00");
    EXPECT_EQ(screen.clockColor, ClockWhite);
}

} // namespace
} // namespace kesto
