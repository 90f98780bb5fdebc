// The decoder link's alarm on the real main window: hidden until the race
// tick's link watch raises it, a white-on-red banner over the top race rows,
// its text following the fault, gone when the race is aborted.
// KESTO_SCREENSHOT_DIR=folder saves what the operator sees as PNG files.
#include "display/qt/race_screen_window.h"

#include "engine/decoder_link_watch.h"
#include "engine/quiet_platform.h"
#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "support/qt/wired_main_window.h"
#include "support/test_doubles.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace kesto {
namespace {

class LinkAlarmBanner : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / "kesto-link-alarm-banner";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        RaceState& s = race.state;
        s.Settings.ComPort = 3;
        s.Settings.MinLapTime = 2;
        s.Settings.FirstLapCount = 0;
        for (int i = 0; i < MaxCarIds; ++i) {
            s.Settings.IdColor[i] = 0x00C0FF - i * 0x000800;
            s.Names.IdName[i] = "Racer " + std::to_string(i + 1);
        }
        s.LapRace = true;
        s.NumberOfLaps = 10;
        race.port.open = true;
        test::WireMainWindow(race.context, folder, launcher, window, control, tick);
        window->InitResizer();
        control->ReSet();
        control->StartReset();
        window->show();
    }
    void TearDown() override {
        window.reset();
        std::filesystem::remove_all(folder);
    }

    void Ticks(int count) {
        for (int i = 0; i < count; ++i)
            tick->Timer1_Timer(10);
    }

    void Screenshot(const char* name) {
        if (const char* dir = std::getenv("KESTO_SCREENSHOT_DIR")) {
            QApplication::processEvents();
            window->grab().save(
                QString::fromStdString((std::filesystem::path(dir) / name).string()));
        }
    }

    std::filesystem::path folder;
    test::TestRace race;
    InstantStart launcher;
    std::unique_ptr<FrmKestoTimer> window;
    std::unique_ptr<RaceControl> control;
    std::unique_ptr<RaceTick> tick;
};

TEST_F(LinkAlarmBanner, ABannerOverTheTopRowsWhileTheLinkIsDown) {
    QLabel* banner = window->lblLinkAlarm();
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->objectName(), QStringLiteral("lblLinkAlarm"));
    EXPECT_TRUE(banner->isHidden());
    EXPECT_TRUE(banner->font().bold());
    EXPECT_GE(banner->font().pointSizeF(), 20);
    EXPECT_EQ(banner->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(banner->palette().color(QPalette::Window).red(), 200);
    EXPECT_EQ(banner->palette().color(QPalette::Window).green(), 0);
    // Across the race rows, from the ID column to the best column, rows 1 to 3.
    EXPECT_EQ(banner->geometry().left(), window->lblID(1)->geometry().left());
    EXPECT_EQ(banner->geometry().top(), window->lblID(1)->geometry().top());
    EXPECT_EQ(banner->geometry().right(), window->lblBest(1)->geometry().right());
    EXPECT_GE(banner->geometry().bottom(), window->lblID(3)->geometry().bottom());

    control->cmdStart_Click();
    ASSERT_TRUE(race.state.TimerEnabled);
    Ticks(299); // 2.99 s without a clock line
    EXPECT_TRUE(banner->isHidden());
    Ticks(1);
    ASSERT_TRUE(banner->isVisible());
    EXPECT_EQ(banner->text().toStdString(), NoSignalAlarmText());
    // On top: what sits under the middle of the banner is the banner.
    EXPECT_EQ(window->Canvas()->childAt(banner->geometry().center()), banner);
    EXPECT_EQ(race.player.played, std::vector<std::string>{DecoderLostSound});
    Screenshot("link-alarm-no-signal.png");

    race.port.linkLost = true;
    race.port.failOpen = true;
    Ticks(1);
    EXPECT_FALSE(race.port.open);
    EXPECT_EQ(banner->text(), QStringLiteral("DECODER LINK LOST - reconnecting to COM3 ..."));
    Screenshot("link-alarm-link-lost.png");

    race.port.failOpen = false;
    Ticks(100);
    ASSERT_TRUE(race.port.open);
    race.port.Feed("@00000012\n");
    Ticks(1);
    EXPECT_TRUE(banner->isHidden());

    Ticks(300);
    ASSERT_TRUE(banner->isVisible());
    race.dialogs.answers = {MessageAnswer::Yes};
    control->cmdStart_Click(); // Abort, answered Yes
    ASSERT_FALSE(race.state.TimerEnabled);
    EXPECT_TRUE(banner->isHidden()) << "the alarm goes with the race";
}

} // namespace
} // namespace kesto
