#include "config/settings_confirm.h"

#include "config/data_files.h"
#include "config/settings_files.h"
#include "engine/race_state.h"
#include "support/temp_folder.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

namespace fs = std::filesystem;

SettingsChoices OneMileAt24() {
    SettingsChoices choices;
    choices.trackLength = "5280";
    choices.trackLengthIndex = 491;
    choices.scale = "1:24";
    choices.scaleIndex = 7;
    choices.minLapTime = "2.5";
    choices.minLapTimeIndex = 6;
    choices.comPort = "3";
    choices.comPortIndex = 2;
    choices.startDelay = "10";
    choices.startDelayIndex = 10;
    choices.firstLap = "0";
    choices.firstLapIndex = 0;
    choices.trackName = "Kesto Raceway";
    return choices;
}

class ConfirmSettingsTest : public test::TempFolderTest {
protected:
    SettingsRecord StoredSettings() const {
        SettingsRecord record;
        DecodeSettingsRecord(ReadBytes(folder / "KestoSettings.dat"), record);
        return record;
    }

    // Runs OK, recording what the title and the port saw of the files.
    SettingsConfirmResult Confirm(const SettingsChoices& choices) {
        SettingsConfirmHooks hooks;
        hooks.composeTitle = [&] {
            steps.push_back("ComposeTitle");
            divisorSeenByTitle = StoredSettings().ScaleDivisor;
            multiplierFileAtTitle = fs::exists(folder / "KestoSpeedMultiplier.dat");
        };
        hooks.openComPort = [&](int port) {
            steps.push_back("OpenComPort " + std::to_string(port));
            float multiplier = 0;
            ReadSpeedMultiplier(folder, multiplier);
            multiplierSeenByPort = multiplier;
        };
        return ConfirmSettings(race.state, choices, folder, race.dialogs, hooks);
    }

    test::TestRace race;
    std::vector<std::string> steps;
    int16_t divisorSeenByTitle = -1;
    bool multiplierFileAtTitle = true;
    float multiplierSeenByPort = -1;
};

TEST_F(ConfirmSettingsTest, AnEmptyListSaysSoAndChangesNothing) {
    race.state.KeepSettingsOpen = true;
    for (std::string SettingsChoices::*text :
         {&SettingsChoices::trackLength, &SettingsChoices::scale, &SettingsChoices::minLapTime,
          &SettingsChoices::comPort, &SettingsChoices::startDelay, &SettingsChoices::firstLap}) {
        SettingsChoices choices = OneMileAt24();
        choices.*text = "";
        EXPECT_EQ(Confirm(choices), SettingsConfirmResult::MissingOptions);
        EXPECT_EQ(race.dialogs.last().text, "Please select all options");
        EXPECT_EQ(race.dialogs.last().title, "Missing options");
        EXPECT_EQ(race.dialogs.last().icon, MessageIcon::Error);
    }
    EXPECT_EQ(race.dialogs.shown.size(), 6u);
    EXPECT_FALSE(race.state.KeepSettingsOpen);
    EXPECT_TRUE(steps.empty());
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(race.state.Settings.TrackLength, 0);
}

TEST_F(ConfirmSettingsTest, TheSettingsFileIsWrittenBeforeTheScaleIsConverted) {
    ASSERT_EQ(Confirm(OneMileAt24()), SettingsConfirmResult::Confirmed);
    EXPECT_TRUE(race.dialogs.shown.empty());
    EXPECT_EQ(steps, (std::vector<std::string>{"ComposeTitle", "OpenComPort 3"}));
    // The title saw the settings saved, with the divisor of no conversion yet,
    // and no speed multiplier file; the port saw the new multiplier.
    EXPECT_EQ(divisorSeenByTitle, 0);
    EXPECT_FALSE(multiplierFileAtTitle);
    EXPECT_EQ(multiplierSeenByPort, 86400.0f);
    EXPECT_EQ(ReadBytes(folder / "KestoSpeedMultiplier.dat"), "86400\r\n");

    EXPECT_EQ(race.state.Settings.ScaleDivisor, 24);
    EXPECT_EQ(race.state.SpeedMultiplier, 86400.0f);
    EXPECT_EQ(StoredSettings().ScaleDivisor, 0);
    EXPECT_TRUE(fs::exists(folder / "Racers.dat"));

    // Confirming again stores the divisor of the first confirmation.
    SettingsChoices oneTo32 = OneMileAt24();
    oneTo32.scale = "1:32";
    oneTo32.scaleIndex = 9;
    ASSERT_EQ(Confirm(oneTo32), SettingsConfirmResult::Confirmed);
    EXPECT_EQ(StoredSettings().ScaleDivisor, 24);
    EXPECT_EQ(StoredSettings().ScaleText, "1:32");
    EXPECT_EQ(race.state.Settings.ScaleDivisor, 32);
    EXPECT_EQ(race.state.SpeedMultiplier, 115200.0f);
}

TEST_F(ConfirmSettingsTest, TheRecordTakesTheNumbersPositionsAndTrackName) {
    race.state.Settings.IdColor[4] = 0x00FF00;
    race.state.Names.IdName[0] = "Ann";
    ASSERT_EQ(Confirm(OneMileAt24()), SettingsConfirmResult::Confirmed);
    const SettingsRecord stored = StoredSettings();
    EXPECT_EQ(stored.TrackLength, 5280);
    EXPECT_EQ(stored.TrackLengthIndex, 491);
    EXPECT_EQ(stored.ScaleText, "1:24");
    EXPECT_EQ(stored.ScaleIndex, 7);
    EXPECT_EQ(stored.MinLapTime, 2.5f);
    EXPECT_EQ(stored.MinLapTimeIndex, 6);
    EXPECT_EQ(stored.StartDelay, 10);
    EXPECT_EQ(stored.StartDelayIndex, 10);
    EXPECT_EQ(stored.ComPort, 3);
    EXPECT_EQ(stored.ComPortIndex, 2);
    EXPECT_EQ(stored.FirstLapIndex, 0);
    EXPECT_EQ(stored.TrackName, "Kesto Raceway");
    EXPECT_EQ(stored.IdColor[4], 0x00FF00); // colours are kept as they are
    IdNamesRecord names;
    LoadIdNames(folder, "Racers.dat", names);
    EXPECT_EQ(names.IdName[0], "Ann");
}

TEST_F(ConfirmSettingsTest, RaceBeginsWithLapZeroStoresMinusOneAndLapOneStoresZero) {
    ASSERT_EQ(Confirm(OneMileAt24()), SettingsConfirmResult::Confirmed);
    EXPECT_EQ(race.state.Settings.FirstLapCount, -1);
    EXPECT_EQ(StoredSettings().FirstLapCount, -1);
    SettingsChoices lapOne = OneMileAt24();
    lapOne.firstLap = "1";
    lapOne.firstLapIndex = 1;
    ASSERT_EQ(Confirm(lapOne), SettingsConfirmResult::Confirmed);
    EXPECT_EQ(race.state.Settings.FirstLapCount, 0);
    EXPECT_EQ(StoredSettings().FirstLapCount, 0);
}

TEST_F(ConfirmSettingsTest, TenFeetAtOneToOneGives6Point818182) {
    SettingsChoices choices = OneMileAt24();
    choices.trackLength = "10";
    choices.scale = "1:1";
    ASSERT_EQ(Confirm(choices), SettingsConfirmResult::Confirmed);
    EXPECT_FLOAT_EQ(race.state.SpeedMultiplier, 6.818182f);
    EXPECT_EQ(ReadBytes(folder / "KestoSpeedMultiplier.dat"), "6.818182\r\n");
}

TEST_F(ConfirmSettingsTest, AFailedSaveIsShownAndTheOtherStepsStillRun) {
    folder /= "gone"; // no such folder: every save fails
    ASSERT_EQ(Confirm(OneMileAt24()), SettingsConfirmResult::Confirmed);
    ASSERT_EQ(race.dialogs.shown.size(), 3u); // settings, names, speed multiplier
    for (const Message& box : race.dialogs.shown) {
        EXPECT_EQ(box.title, "");
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_EQ(box.text, "No such file or directory");
    }
    EXPECT_EQ(steps, (std::vector<std::string>{"ComposeTitle", "OpenComPort 3"}));
    EXPECT_EQ(race.state.SpeedMultiplier, 86400.0f);
}

TEST_F(ConfirmSettingsTest, ATextThatIsNoNumberKeepsItsFieldAndIsSaid) {
    race.state.Settings.TrackLength = 120;
    SettingsChoices choices = OneMileAt24();
    choices.trackLength = "long";
    choices.comPort = "99999";
    ASSERT_EQ(Confirm(choices), SettingsConfirmResult::Confirmed);
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_NE(race.dialogs.last().text.find("\"long\""), std::string::npos);
    EXPECT_NE(race.dialogs.last().text.find("\"99999\""), std::string::npos);
    EXPECT_EQ(race.state.Settings.TrackLength, 120);
}

} // namespace
} // namespace kesto
