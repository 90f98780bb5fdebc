// A newcomer's first run: an empty program folder is seeded for a demo race,
// and a folder that has been set up before is left alone.
#include "config/first_run_seed.h"

#include "config/data_files.h"
#include "config/race_format_lists.h"
#include "config/roster_file.h"
#include "config/settings_files.h"
#include "config/settings_lists.h"
#include "engine/race_state.h"
#include "support/temp_folder.h"

#include <gmock/gmock.h>

#include <set>

namespace kesto {
namespace {

using ::testing::UnorderedElementsAre;

class FirstRunSeed : public test::TempFolderTest {};

TEST_F(FirstRunSeed, EmptyFolderIsReadyForATenLapDemoRace) {
    ASSERT_TRUE(IsFirstRun(folder));
    EXPECT_THAT(SeedFirstRun(folder),
                UnorderedElementsAre("kestoRacers.dat", "Racers.dat", "KestoSpeedMultiplier.dat",
                                     "KestoRaceFormatSettings.dat", "KestoSettings.dat"));
    EXPECT_FALSE(IsFirstRun(folder));

    // What the load reads back.
    SettingsRecord settings;
    LoadSettingsFile(folder, SettingsFileName, settings);
    EXPECT_EQ(settings.ComPort, 1);
    EXPECT_FLOAT_EQ(settings.MinLapTime, 2);
    EXPECT_EQ(settings.FirstLapCount, 0) << "race begins with lap 1";
    EXPECT_EQ(settings.StartDelay, 0);
    EXPECT_GT(settings.TrackLength, 0);
    EXPECT_EQ(settings.ScaleText, "1:24");
    std::set<int32_t> colours(settings.IdColor.begin(), settings.IdColor.end());
    EXPECT_EQ(colours.size(), 14u) << "every car its own colour";

    IdNamesRecord names;
    LoadIdNames(folder, IdNamesFileName, names);
    const auto roster = ReadRoster(folder);
    ASSERT_TRUE(roster.has_value());
    EXPECT_GE(roster->size(), 14u);
    std::set<std::string> distinct;
    for (int i = 0; i < MaxCarIds; ++i) {
        EXPECT_FALSE(names.IdName[i].empty()) << "ID " << i + 1;
        EXPECT_NE(std::find(roster->begin(), roster->end(), names.IdName[i]), roster->end())
            << names.IdName[i] << " is in the roster, so its name list can show it";
        EXPECT_EQ(names.NamedId[i], i + 1);
        distinct.insert(names.IdName[i]);
    }
    EXPECT_EQ(distinct.size(), 14u) << "no same-name question at Start";

    float multiplier = 0;
    ASSERT_TRUE(ReadSpeedMultiplier(folder, multiplier));
    EXPECT_FLOAT_EQ(multiplier, ComputeSpeedMultiplier(settings.TrackLength, 24));

    RaceFormatChoices choices;
    ASSERT_TRUE(ReadRaceFormat(folder, choices));
    RaceState state;
    ApplyRaceFormatChoices(choices, state);
    EXPECT_TRUE(state.LapRace);
    EXPECT_FALSE(state.TimedRace);
    EXPECT_FALSE(state.PracticeMode);
    EXPECT_EQ(state.NumberOfLaps, 10);
    EXPECT_TRUE(state.DemoMode);
}

TEST_F(FirstRunSeed, ListPositionsMatchTheSettingsWindowLists) {
    const SettingsRecord s = FirstRunSettings();
    EXPECT_EQ(TrackLengthEntries().at(s.TrackLengthIndex), std::to_string(s.TrackLength));
    EXPECT_EQ(ScaleEntries().at(s.ScaleIndex), s.ScaleText);
    EXPECT_EQ(MinLapTimeEntries().at(s.MinLapTimeIndex), "2");
    EXPECT_EQ(StartDelayEntries().at(s.StartDelayIndex), std::to_string(s.StartDelay));
    EXPECT_EQ(PortEntries().at(s.ComPortIndex), std::to_string(s.ComPort));
    EXPECT_EQ(FirstLapEntries().at(s.FirstLapIndex), std::to_string(s.FirstLapCount + 1));
    int16_t divisor = 0;
    ConvertScale(s.ScaleText, divisor);
    EXPECT_EQ(divisor, s.ScaleDivisor);
}

TEST_F(FirstRunSeed, FolderWithSettingsIsLeftAlone) {
    SettingsRecord club;
    club.ComPort = 3;
    ASSERT_TRUE(SaveSettingsFile(folder, SettingsFileName, club));
    EXPECT_FALSE(IsFirstRun(folder));
    EXPECT_TRUE(SeedFirstRun(folder).empty());
    EXPECT_EQ(Entries(), std::vector<std::string>{"KestoSettings.dat"});
}

TEST_F(FirstRunSeed, EmptySettingsFileIsNotAFirstRun) {
    // The load writes the settings held in memory over an empty file; the
    // folder has been used before, so nothing is invented for it.
    WriteBytes(folder / "KestoSettings.dat", "");
    EXPECT_TRUE(SeedFirstRun(folder).empty());
}

TEST_F(FirstRunSeed, ClubFilesWithoutSettingsAreKept) {
    WriteBytes(folder / "KESTORACERS.DAT", "\"Ann\"\r\n\"Bob\"\r\n");
    IdNamesRecord names;
    names.IdName[0] = "Ann";
    ASSERT_TRUE(SaveIdNames(folder, "racers.dat", names));
    const std::string rosterBefore = ReadBytes(folder / "KESTORACERS.DAT");
    const std::string namesBefore = ReadBytes(folder / "racers.dat");

    EXPECT_THAT(SeedFirstRun(folder),
                UnorderedElementsAre("KestoSpeedMultiplier.dat", "KestoRaceFormatSettings.dat",
                                     "KestoSettings.dat"));
    EXPECT_EQ(ReadBytes(folder / "KESTORACERS.DAT"), rosterBefore);
    EXPECT_EQ(ReadBytes(folder / "racers.dat"), namesBefore);
    EXPECT_EQ(Entries().size(), 5u) << "no second file under another letter case";
}

TEST_F(FirstRunSeed, SeedsOnlyOnce) {
    ASSERT_FALSE(SeedFirstRun(folder).empty());
    std::filesystem::remove(folder / "kestoRacers.dat"); // the club emptied its roster
    EXPECT_TRUE(SeedFirstRun(folder).empty());
    EXPECT_FALSE(std::filesystem::exists(folder / "kestoRacers.dat"));
}

TEST_F(FirstRunSeed, MissingFolderWritesNothingAndDoesNotThrow) {
    EXPECT_TRUE(SeedFirstRun(folder / "nowhere").empty());
}

} // namespace
} // namespace kesto
