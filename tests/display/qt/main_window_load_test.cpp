// The load of the main window: what a first run in an empty folder does, and
// a load with the files of a club that has raced before.
#include "app/main_window_load.h"

#include "config/data_files.h"
#include "config/settings_files.h"
#include "support/qt/main_window_rig.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <filesystem>

namespace kesto {
namespace {

class MainWindowLoad : public test::TempFolderTest {
protected:
    void TearDown() override {
        rig.reset();
        TempFolderTest::TearDown();
    }
    void Load(MainWindowLoadSteps steps = {}) {
        rig = std::make_unique<test::MainWindowRig>(race, folder);
        steps.comPortHooks.composeTitle = [this] { Window().ComposeTitle(); };
        LoadMainWindow(Window(), rig->control, race.context, steps);
    }
    void WriteFile(const std::string& name, const std::string& content) {
        WriteBytes(folder / name, content);
    }
    FrmKestoTimer& Window() { return rig->window; }

    test::TestRace race;
    std::unique_ptr<test::MainWindowRig> rig;
};

TEST_F(MainWindowLoad, FirstRunInAnEmptyFolder) {
    Load();
    EXPECT_EQ(FileStatus(folder, "KestoSettings.dat"), 1) << "created from the empty settings";
    EXPECT_TRUE(std::filesystem::exists(folder / "Racers.dat"));
    EXPECT_EQ(rig->NameList(1)->count(), 0) << "no roster, no names to choose";
    EXPECT_EQ(rig->Row("lblName", 1)->text(), QStringLiteral(" Select Name"));
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().text, "Invalid Port Number");
    EXPECT_FALSE(race.port.open);
    EXPECT_EQ(rig->StartButton()->text(), QStringLiteral("Start"));
    EXPECT_FALSE(rig->Timer1()->isActive());
    // The resizer has the design layout: a resize of the shown window scales it.
    Window().show();
    const int designWidth = rig->Row("lblName", 1)->width();
    Window().resize(Window().width() * 2, Window().height());
    QApplication::processEvents();
    EXPECT_NEAR(rig->Row("lblName", 1)->width(), designWidth * 2, 1);
    Window().hide();
    EXPECT_FALSE(race.state.LapsUnsaved);
}

TEST_F(MainWindowLoad, ClubFilesGiveNamesColoursFormatAndAnOpenPort) {
    SettingsRecord settings;
    settings.ComPort = 3;
    settings.StartDelay = 10;
    settings.MinLapTime = 4;
    settings.IdColor[0] = 0x0000FF; // red
    ASSERT_TRUE(SaveSettingsFile(folder, "KestoSettings.dat", settings));
    IdNamesRecord names;
    names.IdName[0] = "Ann";
    ASSERT_TRUE(SaveIdNames(folder, "Racers.dat", names));
    WriteFile("kestoRacers.dat", "\"Ann\"\r\n\"Bob\"\r\n");
    WriteFile("KestoRaceFormatSettings.dat", "0,15,#TRUE#,#FALSE#,#FALSE#,1\r\n"); // 20 minutes
    WriteFile("KestoSpeedMultiplier.dat", "1636.364\r\n");
    WriteFile("KestoRaceLag.dat", "\"Lag First\"\r\n");

    int soundInits = 0;
    MainWindowLoadSteps steps;
    steps.initSound = [&] { ++soundInits; };
    Load(steps);

    EXPECT_EQ(soundInits, 1);
    EXPECT_TRUE(race.dialogs.shown.empty());
    EXPECT_TRUE(race.port.open);
    EXPECT_EQ(race.port.openedPort, 3);
    EXPECT_EQ(rig->Row("lblName", 1)->text(), QStringLiteral(" Ann"));
    EXPECT_EQ(rig->Row("lblName", 1)->backgroundColor(), QColor(255, 0, 0));
    EXPECT_EQ(rig->NameList(5)->count(), 3);
    EXPECT_EQ(rig->Label("lblRaceFormat")->text(), QStringLiteral("Demo - 20 Minute Race"));
    EXPECT_FALSE(rig->Label("lblDemo")->isHidden());
    EXPECT_EQ(rig->Label("lblLag")->text(), QStringLiteral("Lag First"));
    EXPECT_EQ(rig->Label("lblClock")->text(), QStringLiteral("20:00"));
    EXPECT_FLOAT_EQ(race.state.SpeedMultiplier, 1636.364f);
    EXPECT_EQ(Window().windowTitle(),
              QStringLiteral("Kesto Timer - 10 seconds delay before Formula 1 start - 4 seconds "
                             "minimum lap time"));
}

TEST_F(MainWindowLoad, PortThatWillNotOpenOffersDemoMode) {
    SettingsRecord settings;
    settings.ComPort = 2;
    ASSERT_TRUE(SaveSettingsFile(folder, "KestoSettings.dat", settings));
    WriteFile("KestoRaceFormatSettings.dat", "7,0,#FALSE#,#TRUE#,#FALSE#,0\r\n");
    race.port.failOpen = true;
    race.dialogs.answers = {MessageAnswer::No};
    Load();
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().title, "Com Port");
    EXPECT_TRUE(race.state.DemoMode);
    EXPECT_EQ(rig->Label("lblRaceFormat")->text(), QStringLiteral("Demo - 10 Lap Race"));
    EXPECT_FALSE(rig->Label("lblDemo")->isHidden());
}

} // namespace
} // namespace kesto
