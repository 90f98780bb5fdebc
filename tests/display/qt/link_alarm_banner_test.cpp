// The decoder link's alarm on the real main window: hidden until the race
// tick's link watch raises it, a white-on-red banner over the top race rows,
// its text following the fault, gone when the race is aborted.
// KESTO_SCREENSHOT_DIR=folder saves what the operator sees as PNG files.
#include "engine/decoder_link_watch.h"
#include "engine/journal_alarm.h"
#include "support/qt/main_window_rig.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace kesto {
namespace {

class LinkAlarmBanner : public test::MainWindowTest {
protected:
    void ArrangeRace(RaceState& s) override {
        MainWindowTest::ArrangeRace(s);
        s.Settings.ComPort = 3;
        for (int i = 0; i < MaxCarIds; ++i)
            s.Settings.IdColor[i] = 0x00C0FF - i * 0x000800;
    }
    void SetUp() override {
        MainWindowTest::SetUp();
        Window().show();
    }

    void Ticks(int count) {
        for (int i = 0; i < count; ++i)
            rig->tick.Timer1_Timer(10);
    }

    void Screenshot(const char* name) {
        if (const char* dir = std::getenv("KESTO_SCREENSHOT_DIR")) {
            QApplication::processEvents();
            Window().grab().save(
                QString::fromStdString((std::filesystem::path(dir) / name).string()));
        }
    }
};

TEST_F(LinkAlarmBanner, ABannerOverTheTopRowsWhileTheLinkIsDown) {
    QLabel* banner = Label("lblLinkAlarm");
    EXPECT_EQ(banner->objectName(), QStringLiteral("lblLinkAlarm"));
    EXPECT_TRUE(banner->isHidden());
    EXPECT_TRUE(banner->font().bold());
    EXPECT_GE(banner->font().pointSizeF(), 20);
    EXPECT_EQ(banner->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(banner->palette().color(QPalette::Window).red(), 200);
    EXPECT_EQ(banner->palette().color(QPalette::Window).green(), 0);
    // Across the race rows, from the ID column to the best column, rows 1 to 3.
    EXPECT_EQ(banner->geometry().left(), Row("lblID", 1)->geometry().left());
    EXPECT_EQ(banner->geometry().top(), Row("lblID", 1)->geometry().top());
    EXPECT_EQ(banner->geometry().right(), Row("lblBest", 1)->geometry().right());
    EXPECT_GE(banner->geometry().bottom(), Row("lblID", 3)->geometry().bottom());

    rig->StartButton()->click();
    ASSERT_TRUE(race.state.TimerEnabled);
    Ticks(299); // 2.99 s without a clock line
    EXPECT_TRUE(banner->isHidden());
    Ticks(1);
    ASSERT_TRUE(banner->isVisible());
    EXPECT_EQ(banner->text().toStdString(), NoSignalAlarmText());
    // On top: what sits under the middle of the banner is the banner.
    EXPECT_EQ(Window().centralWidget()->childAt(banner->geometry().center()), banner);
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
    rig->StartButton()->click(); // Abort, answered Yes
    ASSERT_FALSE(race.state.TimerEnabled);
    EXPECT_TRUE(banner->isHidden()) << "the alarm goes with the race";
}

// The race journal's alarm: the same banner, below the link's, so both show.
TEST_F(LinkAlarmBanner, TheJournalsBannerShowsBelowTheLinksAndWithIt) {
    QLabel* journal = Label("lblJournalAlarm");
    QLabel* link = Label("lblLinkAlarm");
    EXPECT_TRUE(journal->isHidden());
    EXPECT_EQ(journal->font(), link->font());
    EXPECT_EQ(journal->palette().color(QPalette::Window), link->palette().color(QPalette::Window));
    EXPECT_EQ(journal->geometry().left(), link->geometry().left());
    EXPECT_EQ(journal->geometry().width(), link->geometry().width());
    EXPECT_GT(journal->geometry().top(), link->geometry().bottom());
    EXPECT_LE(journal->geometry().bottom(), Row("lblID", 6)->geometry().bottom());

    ShowJournalError(Window(), "Race journal /x/KestoRace.jnl (write): No space left on device");
    rig->StartButton()->click();
    Ticks(300);
    ASSERT_TRUE(link->isVisible());
    ASSERT_TRUE(journal->isVisible());
    EXPECT_EQ(journal->text(), QStringLiteral("RACE JOURNAL NOT WRITTEN - Race journal "
                                              "/x/KestoRace.jnl (write): No space left on device"));
    EXPECT_EQ(Window().centralWidget()->childAt(journal->geometry().center()), journal);
    Screenshot("journal-alarm.png");
    ShowJournalError(Window(), "");
    EXPECT_TRUE(journal->isHidden());
    EXPECT_TRUE(link->isVisible());
}

} // namespace
} // namespace kesto
