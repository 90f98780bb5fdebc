#include "config/race_format_confirm.h"

#include "engine/race_state.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

class RaceFormatConfirm : public test::TempFolderTest {
protected:
    RaceState state;
};

TEST_F(RaceFormatConfirm, ATwentyFiveLapRaceIsSavedAsItsListPositions) {
    RaceFormatChoices choices;
    choices.NumberOfLapsIndex = 14;
    choices.RaceMinutesIndex = 0;
    choices.LapRace = true;
    ASSERT_TRUE(ConfirmRaceFormat(state, choices, folder));
    EXPECT_EQ(ReadBytes(folder / "KestoRaceFormatSettings.dat"),
              "14,0,#FALSE#,#TRUE#,#FALSE#,0\r\n");
    EXPECT_TRUE(state.LapRace);
    EXPECT_FALSE(state.TimedRace);
    EXPECT_FALSE(state.PracticeMode);
    EXPECT_FALSE(state.DemoMode);
    EXPECT_EQ(state.NumberOfLaps, 25);
    EXPECT_EQ(state.RaceMinutes, 1);
}

TEST_F(RaceFormatConfirm, ATimedRaceTakesTheMinutesWhateverTheLapsListHolds) {
    RaceFormatChoices choices;
    choices.NumberOfLapsIndex = 5;
    choices.RaceMinutesIndex = 16; // 25 minutes
    choices.TimedRace = true;
    choices.DemoMode = 1;
    ASSERT_TRUE(ConfirmRaceFormat(state, choices, folder));
    EXPECT_TRUE(state.TimedRace);
    EXPECT_EQ(state.RaceMinutes, 25);
    EXPECT_TRUE(state.DemoMode);
    EXPECT_EQ(ReadBytes(folder / "KestoRaceFormatSettings.dat"),
              "5,16,#TRUE#,#FALSE#,#FALSE#,1\r\n");
}

TEST_F(RaceFormatConfirm, APositionOutsideItsListGivesZero) {
    state.NumberOfLaps = 10;
    RaceFormatChoices choices;
    choices.NumberOfLapsIndex = -1;
    choices.RaceMinutesIndex = 45;
    choices.PracticeMode = true;
    ASSERT_TRUE(ConfirmRaceFormat(state, choices, folder));
    EXPECT_EQ(state.NumberOfLaps, 0);
    EXPECT_EQ(state.RaceMinutes, 0);
}

TEST_F(RaceFormatConfirm, AFailedWriteStillAppliesTheChoices) {
    RaceFormatChoices choices;
    choices.LapRace = true;
    std::string error;
    EXPECT_FALSE(ConfirmRaceFormat(state, choices, folder / "gone", &error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_TRUE(state.LapRace);
    EXPECT_EQ(state.NumberOfLaps, 3);
}

TEST_F(RaceFormatConfirm, ReloadPutsTheSavedPracticeAndDemoBack) {
    WriteBytes(folder / "KestoRaceFormatSettings.dat", "0,0,#FALSE#,#FALSE#,#TRUE#,1\r\n");
    state.TimedRace = true;
    state.RaceMinutes = 20;
    ASSERT_TRUE(ReloadRaceFormat(state, folder));
    EXPECT_TRUE(state.PracticeMode);
    EXPECT_FALSE(state.TimedRace);
    EXPECT_TRUE(state.DemoMode);
    EXPECT_EQ(state.NumberOfLaps, 3);
    EXPECT_EQ(state.RaceMinutes, 1);

    // A demo tick that was never saved ends with the reload.
    WriteBytes(folder / "kestoraceformatsettings.DAT", "");
    std::filesystem::remove(folder / "KestoRaceFormatSettings.dat");
    WriteBytes(folder / "kestoraceformatsettings.DAT", "2,3,#TRUE#,#FALSE#,#FALSE#,0\r\n");
    ASSERT_TRUE(ReloadRaceFormat(state, folder));
    EXPECT_TRUE(state.TimedRace);
    EXPECT_FALSE(state.DemoMode);
    EXPECT_EQ(state.RaceMinutes, 4);
}

TEST_F(RaceFormatConfirm, WithoutAReadableFileTheStateStaysAsItIs) {
    state.LapRace = true;
    state.NumberOfLaps = 40;
    state.DemoMode = true;
    EXPECT_FALSE(ReloadRaceFormat(state, folder));
    WriteBytes(folder / "KestoRaceFormatSettings.dat", "14,0,#FALSE#\r\n"); // cut short
    EXPECT_FALSE(ReloadRaceFormat(state, folder));
    EXPECT_TRUE(state.LapRace);
    EXPECT_EQ(state.NumberOfLaps, 40);
    EXPECT_TRUE(state.DemoMode);
}

TEST_F(RaceFormatConfirm, TheStateAsListPositions) {
    state.NumberOfLaps = 25;
    state.RaceMinutes = 240;
    state.TimedRace = true;
    state.DemoMode = true;
    RaceFormatChoices choices = RaceFormatChoicesOf(state);
    EXPECT_EQ(choices.NumberOfLapsIndex, 14);
    EXPECT_EQ(choices.RaceMinutesIndex, 44);
    EXPECT_TRUE(choices.TimedRace);
    EXPECT_EQ(choices.DemoMode, 1);
    state.NumberOfLaps = 26;
    state.RaceMinutes = 0;
    choices = RaceFormatChoicesOf(state);
    EXPECT_EQ(choices.NumberOfLapsIndex, -1);
    EXPECT_EQ(choices.RaceMinutesIndex, -1);
}

} // namespace
} // namespace kesto
