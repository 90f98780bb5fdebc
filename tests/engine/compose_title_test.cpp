// Window title, race format caption and lag header.
#include "engine/compose_title.h"

#include "config/data_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

class LagFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("kesto-lag-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string ReadAll(const std::string& name) {
        std::ifstream in(folder / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::filesystem::path folder;
};

TEST_F(LagFile, ComposeTitleKeepsTheModeWhenTheFileIsMissing) {
    RaceState state = LapRaceState();
    std::string lagMode = "Lag Behind";
    auto t = ComposeTitle(state, folder, lagMode);
    EXPECT_EQ(lagMode, "Lag Behind");
    EXPECT_EQ(state.LagColumnMode, "Lag Behind");
    EXPECT_EQ(state.RaceFormatText, "10 Lap Race");

    std::ofstream(folder / "kestoracelag.DAT") << "\"Lag First\"\r\n";
    t = ComposeTitle(state, folder, lagMode);
    EXPECT_EQ(t.lagHeader, "Lag First");
    EXPECT_EQ(state.LagColumnMode, "Lag First");

    state.LapRace = false;
    state.PracticeMode = true;
    ComposeTitle(state, folder, lagMode);
    EXPECT_EQ(state.LagColumnMode, "Median");
    EXPECT_EQ(lagMode, "Lag First");
}

} // namespace
} // namespace kesto
