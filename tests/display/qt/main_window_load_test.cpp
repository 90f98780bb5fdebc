// The load of the main window: what a first run in an empty folder does, and
// a load with the files of a club that has raced before.
#include "app/main_window_load.h"

#include "config/data_files.h"
#include "config/settings_files.h"
#include "display/qt/race_screen_window.h"
#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "support/qt/wired_main_window.h"
#include "support/test_doubles.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kesto {
namespace {

class NoStart final : public StartSequenceLauncher {
public:
    void ShowCountdown(StartSequenceHost&) override {}
    void ShowStartLights(StartSequenceHost&) override {}
};

class MainWindowLoad : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("kesto-load-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        window.reset();
        std::filesystem::remove_all(folder);
    }
    void Load(MainWindowLoadSteps steps = {}) {
        test::WireMainWindow(race.context, folder, launcher, window, control, tick);
        steps.comPortHooks.composeTitle = [this] { window->ComposeTitle(); };
        LoadMainWindow(*window, *control, race.context, steps);
    }
    void WriteFile(const std::string& name, const std::string& content) {
        std::ofstream(folder / name, std::ios::binary) << content;
    }

    std::filesystem::path folder;
    test::TestRace race;
    NoStart launcher;
    std::unique_ptr<FrmKestoTimer> window;
    std::unique_ptr<RaceControl> control;
    std::unique_ptr<RaceTick> tick;
};

TEST_F(MainWindowLoad, FirstRunInAnEmptyFolder) {
    Load();
    EXPECT_EQ(FileStatus(folder, "KestoSettings.dat"), 1) << "created from the empty settings";
    EXPECT_TRUE(std::filesystem::exists(folder / "Racers.dat"));
    EXPECT_EQ(window->Select_Name(1)->count(), 0) << "no roster, no names to choose";
    EXPECT_EQ(window->lblName(1)->text(), QStringLiteral(" Select Name"));
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().text, "Invalid Port Number");
    EXPECT_FALSE(race.port.open);
    EXPECT_EQ(window->cmdStart()->text(), QStringLiteral("Start"));
    EXPECT_TRUE(window->Resizer().Initialised());
    EXPECT_FALSE(window->Timer1()->isActive());
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
    EXPECT_EQ(window->lblName(1)->text(), QStringLiteral(" Ann"));
    EXPECT_EQ(window->lblName(1)->backgroundColor(), QColor(255, 0, 0));
    EXPECT_EQ(window->Select_Name(5)->count(), 3);
    EXPECT_EQ(window->lblRaceFormat()->text(), QStringLiteral("Demo - 20 Minute Race"));
    EXPECT_FALSE(window->lblDemo()->isHidden());
    EXPECT_EQ(window->lblLag()->text(), QStringLiteral("Lag First"));
    EXPECT_EQ(window->lblClock()->text(), QStringLiteral("20:00"));
    EXPECT_FLOAT_EQ(race.state.SpeedMultiplier, 1636.364f);
    EXPECT_EQ(window->windowTitle(),
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
    EXPECT_EQ(window->lblRaceFormat()->text(), QStringLiteral("Demo - 10 Lap Race"));
    EXPECT_FALSE(window->lblDemo()->isHidden());
}

} // namespace
} // namespace kesto
