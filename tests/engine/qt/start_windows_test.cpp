// The countdown and start-lights windows over their state machines, driven by
// calling their tick slots, and the launcher that shows them one after the other.
#include "engine/qt/countdown_window.h"
#include "engine/qt/qt_start_sequence_launcher.h"
#include "engine/qt/start_lights_window.h"
#include "support/test_doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <vector>

namespace kesto {
namespace {

class RecordingHost final : public StartSequenceHost {
public:
    void StartTimingAtGreen() override { ++greens; }
    void StartLightsClosed() override { ++closes; }
    int greens = 0;
    int closes = 0;
};

class CountdownWindow : public ::testing::Test {
protected:
    CountdownWindow() {
        race.sounds.RaceSoundEnabled.fill(true);
        race.state.Settings.StartDelay = 12;
    }
    QString Shown(FrmKestoCountdown& window) {
        return window.findChild<QLabel*>(QStringLiteral("lblCountDown"))->text();
    }
    test::TestRace race;
};

TEST_F(CountdownWindow, LooksAsTheOperatorKnowsIt) {
    FrmKestoCountdown window(race.context);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("  Lapmark Timer Delay"));
    auto* label = window.findChild<QLabel*>(QStringLiteral("lblCountDown"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("12"));
    EXPECT_TRUE(label->toolTip().contains(QStringLiteral("Enter")));
    EXPECT_TRUE(label->toolTip().contains(QStringLiteral("space")));
    auto* skip = window.findChild<QPushButton*>(QStringLiteral("cmdSkip"));
    auto* pause = window.findChild<QPushButton*>(QStringLiteral("cmdPauseDelay"));
    ASSERT_NE(skip, nullptr);
    ASSERT_NE(pause, nullptr);
    EXPECT_EQ(skip->text(), QStringLiteral("&Skip Delay"));
    EXPECT_TRUE(skip->isDefault());
    EXPECT_EQ(pause->text(), QStringLiteral("&Pause Delay"));
    EXPECT_TRUE(window.tmrCountDown()->isActive());
    EXPECT_EQ(window.tmrCountDown()->interval(), 1000);
}

TEST_F(CountdownWindow, PauseAtTwelveAndContinueShowsEleven) {
    FrmKestoCountdown window(race.context);
    window.tmrCountDown_Timer();
    EXPECT_EQ(Shown(window), QStringLiteral("12"));
    auto* pause = window.findChild<QPushButton*>(QStringLiteral("cmdPauseDelay"));
    QTest::mouseClick(pause, Qt::LeftButton);
    EXPECT_EQ(pause->text(), QStringLiteral("&Continue Delay"));
    EXPECT_FALSE(window.tmrCountDown()->isActive());
    QTest::mouseClick(pause, Qt::LeftButton);
    EXPECT_EQ(pause->text(), QStringLiteral("&Pause Delay"));
    EXPECT_TRUE(window.tmrCountDown()->isActive());
    window.tmrCountDown_Timer();
    EXPECT_EQ(Shown(window), QStringLiteral("11"));
}

TEST_F(CountdownWindow, ClosesOnTheTickThatShowsZero) {
    race.state.Settings.StartDelay = 3;
    FrmKestoCountdown window(race.context);
    window.show();
    QSignalSpy finished(&window, &QDialog::finished);
    for (int i = 0; i < 3; ++i)
        window.tmrCountDown_Timer();
    EXPECT_EQ(finished.count(), 0);
    window.tmrCountDown_Timer();
    EXPECT_EQ(Shown(window), QStringLiteral("0"));
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.tmrCountDown()->isActive());
}

TEST_F(CountdownWindow, SkippedByButtonClickEnterSpaceOrCloseBox) {
    enum How { Button, LabelClick, Enter, Space, CloseBox };
    for (How how : {Button, LabelClick, Enter, Space, CloseBox}) {
        FrmKestoCountdown window(race.context);
        window.show();
        QSignalSpy finished(&window, &QDialog::finished);
        auto* skip = window.findChild<QPushButton*>(QStringLiteral("cmdSkip"));
        switch (how) {
        case Button:
            QTest::mouseClick(skip, Qt::LeftButton);
            break;
        case LabelClick:
            QTest::mouseClick(window.findChild<QLabel*>(QStringLiteral("lblCountDown")),
                              Qt::LeftButton);
            break;
        case Enter:
            QTest::keyClick(&window, Qt::Key_Return);
            break;
        case Space:
            QTest::keyClick(skip, Qt::Key_Space);
            break;
        case CloseBox:
            window.close();
            break;
        }
        EXPECT_EQ(finished.count(), 1) << how;
        EXPECT_EQ(window.result(), QDialog::Accepted) << how;
        EXPECT_FALSE(window.tmrCountDown()->isActive()) << how;
    }
}

class StartLightsWindow : public ::testing::Test {
protected:
    StartLightsWindow() { race.sounds.RaceSoundEnabled.fill(true); }
    std::vector<QColor> Colors(FrmKestoFormula1& window) {
        std::vector<QColor> colors;
        for (int i = 0; i < 4; ++i)
            colors.push_back(window.Shape1(i)->Color());
        return colors;
    }
    test::TestRace race;
    RecordingHost host;
};

TEST_F(StartLightsWindow, RedOneByOneThenGreenThenCloses) {
    race.random.values = {0.5}; // GoDelay 2: green on the sixth tick
    FrmKestoFormula1 window(race.context, host);
    window.show();
    QSignalSpy finished(&window, &QDialog::finished);
    EXPECT_EQ(race.player.played.front(), "Get Ready.wav");
    EXPECT_TRUE(window.tmrRandom()->isActive());
    EXPECT_EQ(window.tmrRandom()->interval(), 1000);
    const QColor red(255, 0, 0), green(0, 255, 0);
    for (int tick = 1; tick <= 4; ++tick) {
        window.tmrRandom_Timer();
        EXPECT_EQ(window.Shape1(tick - 1)->Color(), red);
        if (tick < 4) {
            EXPECT_NE(window.Shape1(tick)->Color(), red);
        }
    }
    window.tmrRandom_Timer();
    EXPECT_EQ(host.greens, 0);
    window.tmrRandom_Timer();
    EXPECT_EQ(host.greens, 1);
    EXPECT_THAT(Colors(window), ::testing::Each(green));
    EXPECT_EQ(finished.count(), 0);
    window.tmrRandom_Timer();
    EXPECT_EQ(host.closes, 1);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.tmrRandom()->isActive());
}

TEST_F(StartLightsWindow, AClickSkipsTheRedLightsButNotTheRandomWait) {
    race.random.values = {0.9}; // GoDelay 3
    FrmKestoFormula1 window(race.context, host);
    window.show();
    window.tmrRandom_Timer();
    QTest::mouseClick(window.Shape1(2), Qt::LeftButton);
    EXPECT_EQ(window.Sequence().LightStep(), 5);
    window.tmrRandom_Timer();
    window.tmrRandom_Timer();
    EXPECT_EQ(host.greens, 0);
    EXPECT_NE(window.Shape1(1)->Color(), QColor(255, 0, 0)); // skipped, never red
    window.tmrRandom_Timer();
    EXPECT_EQ(host.greens, 1);
}

TEST_F(StartLightsWindow, EscapeAndTheCloseBoxCannotCancelTheStart) {
    FrmKestoFormula1 window(race.context, host);
    window.show();
    QSignalSpy finished(&window, &QDialog::finished);
    QTest::keyClick(&window, Qt::Key_Escape);
    window.close();
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.tmrRandom()->isActive());
}

// Ticks whatever start window is showing, one tick per event-loop turn, so the
// launcher's modal windows run to their end without waiting for real seconds.
class StartWindowDriver final {
public:
    StartWindowDriver() {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { TickShownWindow(); });
        m_timer.start();
    }
    std::vector<QString> seen; // object names of the windows ticked, one per tick

private:
    void TickShownWindow() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (!widget->isVisible())
                continue;
            if (auto* countdown = qobject_cast<FrmKestoCountdown*>(widget)) {
                seen.push_back(countdown->objectName());
                countdown->tmrCountDown_Timer();
                return;
            }
            if (auto* lights = qobject_cast<FrmKestoFormula1*>(widget)) {
                seen.push_back(lights->objectName());
                lights->tmrRandom_Timer();
                return;
            }
        }
    }
    QTimer m_timer;
};

TEST(QtStartSequenceLauncher, CountdownThenStartLights) {
    test::TestRace race;
    race.state.Settings.StartDelay = 2;
    race.random.values = {0.0}; // GoDelay 1
    RecordingHost host;
    QtStartSequenceLauncher launcher(race.context, nullptr);
    StartWindowDriver driver;

    launcher.ShowCountdown(host);

    EXPECT_EQ(host.greens, 1);
    EXPECT_EQ(host.closes, 1);
    // Ticks 2, 1, 0 of the countdown; then red x4, green, close.
    std::vector<QString> expected(3, QStringLiteral("frmKestoCountdown"));
    expected.insert(expected.end(), 6, QStringLiteral("frmKestoFormula1"));
    EXPECT_EQ(driver.seen, expected);
}

TEST(QtStartSequenceLauncher, StartLightsAlone) {
    test::TestRace race;
    race.random.values = {0.99}; // GoDelay 3
    RecordingHost host;
    QtStartSequenceLauncher launcher(race.context, nullptr);
    StartWindowDriver driver;

    launcher.ShowStartLights(host);

    EXPECT_EQ(host.greens, 1);
    EXPECT_EQ(host.closes, 1);
    EXPECT_EQ(driver.seen, std::vector<QString>(8, QStringLiteral("frmKestoFormula1")));
}

} // namespace
} // namespace kesto
