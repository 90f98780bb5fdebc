// Window title, race format caption and lag header.
#include "engine/compose_title.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

RaceState LapRaceState() {
    RaceState state;
    state.LapRace = true;
    state.NumberOfLaps = 10;
    state.Settings.StartDelay = 10;
    state.Settings.MinLapTime = 4;
    return state;
}

TEST(ComposeTitleTexts, PracticeShowsMedianWhateverTheSavedMode) {
    RaceState state;
    state.PracticeMode = true;
    const auto t = ComposeTitleTexts(state, "Lag First");
    EXPECT_EQ(t.windowTitle, "Kesto Timer - Practice");
    EXPECT_EQ(t.raceFormatText, "Practice");
    EXPECT_EQ(t.lagHeader, "Median");
}

TEST(ComposeTitleTexts, LapRaceTitleNamesDelayAndMinimumLapTime) {
    const auto t = ComposeTitleTexts(LapRaceState(), "Lag First");
    EXPECT_EQ(t.windowTitle,
              "Kesto Timer - 10 seconds delay before Formula 1 start - 4 seconds minimum lap time");
    EXPECT_EQ(t.raceFormatText, "10 Lap Race");
    EXPECT_EQ(t.lagHeader, "Lag First");
}

TEST(ComposeTitleTexts, DemoTimedRaceOfTwentyMinutes) {
    RaceState state;
    state.TimedRace = true;
    state.RaceMinutes = 20;
    state.DemoMode = true;
    EXPECT_EQ(ComposeTitleTexts(state, "Lag Behind").raceFormatText, "Demo - 20 Minute Race");
    state.TimedRace = false;
    state.PracticeMode = true;
    EXPECT_EQ(ComposeTitleTexts(state, "Lag Behind").raceFormatText, "Demo - Practice");
}

TEST(ComposeTitleTexts, FractionalMinimumLapTimeUsesTheUsersSeparator) {
    RaceState state = LapRaceState();
    state.Settings.MinLapTime = 2.5f;
    state.Locale.decimalSeparator = ',';
    EXPECT_EQ(ComposeTitleTexts(state, "").windowTitle,
              "Kesto Timer - 10 seconds delay before Formula 1 start - 2,5 seconds minimum lap "
              "time");
    EXPECT_EQ(MinLapTimeText(0.1f, NumberLocale{}), "0.1");
}

} // namespace
} // namespace kesto
