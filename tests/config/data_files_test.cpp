#include "config/data_files.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

namespace fs = std::filesystem;

class DataFiles : public test::TempFolderTest {};

TEST_F(DataFiles, SpeedMultiplierIsOneLineWithOneSingle) {
    ASSERT_TRUE(WriteSpeedMultiplier(folder, 100.f / 5280 * 3600 * 24));
    EXPECT_EQ(ReadBytes(folder / "KestoSpeedMultiplier.dat"), "1636.364\r\n");
    float value = 0;
    ASSERT_TRUE(ReadSpeedMultiplier(folder, value));
    EXPECT_FLOAT_EQ(value, 1636.364f);

    WriteBytes(folder / "kestospeedmultiplier.dat", ".5\r\n"); // leading zero left out
    fs::remove(folder / "KestoSpeedMultiplier.dat");
    ASSERT_TRUE(ReadSpeedMultiplier(folder, value));
    EXPECT_EQ(value, 0.5f);
}

TEST_F(DataFiles, AMissingSpeedMultiplierFileKeepsTheValueAndSaysWhy) {
    float value = 0;
    std::string error;
    EXPECT_FALSE(ReadSpeedMultiplier(folder, value, &error));
    EXPECT_EQ(value, 0);
    EXPECT_EQ(error, "No such file or directory");

    WriteBytes(folder / "KestoSpeedMultiplier.dat", "fast\r\n");
    value = 3;
    EXPECT_FALSE(ReadSpeedMultiplier(folder, value, &error));
    EXPECT_EQ(value, 3);
    EXPECT_EQ(error, "Type mismatch");
}

TEST_F(DataFiles, RaceFormatIsWrittenAsOneLineOfSixValues) {
    RaceFormatChoices lapRace;
    lapRace.NumberOfLapsIndex = 5;
    lapRace.RaceMinutesIndex = 3;
    lapRace.LapRace = true;
    ASSERT_TRUE(WriteRaceFormat(folder, lapRace));
    EXPECT_EQ(ReadBytes(folder / "KestoRaceFormatSettings.dat"),
              "5,3,#FALSE#,#TRUE#,#FALSE#,0\r\n");

    RaceFormatChoices back;
    back.PracticeMode = true;
    back.DemoMode = 1;
    ASSERT_TRUE(ReadRaceFormat(folder, back));
    EXPECT_EQ(back.NumberOfLapsIndex, 5);
    EXPECT_EQ(back.RaceMinutesIndex, 3);
    EXPECT_FALSE(back.TimedRace);
    EXPECT_TRUE(back.LapRace);
    EXPECT_FALSE(back.PracticeMode);
    EXPECT_EQ(back.DemoMode, 0);
}

TEST_F(DataFiles, PracticeWithDemoModeComesBackFromItsLine) {
    WriteBytes(folder / "KestoRaceFormatSettings.dat", "0,0,#FALSE#,#FALSE#,#TRUE#,1\r\n");
    RaceFormatChoices choices;
    choices.LapRace = true;
    ASSERT_TRUE(ReadRaceFormat(folder, choices));
    EXPECT_TRUE(choices.PracticeMode);
    EXPECT_FALSE(choices.LapRace);
    EXPECT_FALSE(choices.TimedRace);
    EXPECT_EQ(choices.DemoMode, 1);
}

TEST_F(DataFiles, AShortRaceFormatFileKeepsWhatItHoldsAndReportsTheRest) {
    WriteBytes(folder / "KestoRaceFormatSettings.dat", "14,2,#TRUE#\r\n");
    RaceFormatChoices choices;
    choices.DemoMode = 1;
    std::string error;
    EXPECT_FALSE(ReadRaceFormat(folder, choices, &error));
    EXPECT_EQ(error, "Input past end of file");
    EXPECT_EQ(choices.NumberOfLapsIndex, 14);
    EXPECT_EQ(choices.RaceMinutesIndex, 2);
    EXPECT_TRUE(choices.TimedRace);
    EXPECT_EQ(choices.DemoMode, 1);
}

TEST_F(DataFiles, LagModeIsWrittenAndReadUnderEitherSpellingOfItsName) {
    ASSERT_TRUE(WriteLagColumnMode(folder, "Median"));
    EXPECT_EQ(Entries(), std::vector<std::string>{"KestoRaceLag.dat"});
    EXPECT_EQ(ReadBytes(folder / "KestoRaceLag.dat"), "\"Median\"\r\n");
    std::string mode = "Lag Behind";
    ASSERT_TRUE(ReadLagColumnMode(folder, mode));
    EXPECT_EQ(mode, "Median");

    ASSERT_TRUE(WriteLagColumnMode(folder, ""));
    EXPECT_EQ(ReadBytes(folder / "KestoRaceLag.dat"), "\"Lag First\"\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"KestoRaceLag.dat"});

    fs::rename(folder / "KestoRaceLag.dat", folder / "KESTORACELAG.DAT");
    ASSERT_TRUE(WriteLagColumnMode(folder, "Lag Behind"));
    EXPECT_EQ(Entries(), std::vector<std::string>{"KESTORACELAG.DAT"});
    ASSERT_TRUE(ReadLagColumnMode(folder, mode));
    EXPECT_EQ(mode, "Lag Behind");
}

TEST_F(DataFiles, WithoutALagFileTheModeStaysAsItWas) {
    std::string mode = "Lag Behind";
    EXPECT_FALSE(ReadLagColumnMode(folder, mode));
    EXPECT_EQ(mode, "Lag Behind");
}

} // namespace
} // namespace kesto
