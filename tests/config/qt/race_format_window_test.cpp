#include "config/qt/race_format_window.h"

#include "support/temp_folder.h"
#include "support/test_doubles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace kesto {
namespace {

class RaceFormatWindowTest : public test::TempFolderTest {
protected:
    FrmKestoRaceFormat& Open() {
        RaceFormatWindowHooks hooks;
        hooks.setDemoLabelVisible = [this](bool visible) { demoLabel = visible; };
        hooks.composeTitle = [this] { // as the main window's: the label follows the state
            ++titles;
            demoLabel = race.state.DemoMode;
        };
        window = std::make_unique<FrmKestoRaceFormat>(race.state, race.dialogs, folder, hooks);
        window->show();
        return *window;
    }
    void Save(const std::string& line) {
        WriteBytes(folder / "KestoRaceFormatSettings.dat", line + "\r\n");
    }
    std::string Saved() const { return ReadBytes(folder / "KestoRaceFormatSettings.dat"); }

    test::TestRace race;
    bool demoLabel = false;
    int titles = 0;
    std::unique_ptr<FrmKestoRaceFormat> window;
};

TEST_F(RaceFormatWindowTest, CaptionsTipsAndLists) {
    Save("0,0,#FALSE#,#FALSE#,#TRUE#,0");
    FrmKestoRaceFormat& w = Open();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("  Race Format"));
    EXPECT_EQ(w.findChild<QGroupBox*>(QStringLiteral("frmRaceFormat"))->title(),
              QStringLiteral("Select Race Format"));
    EXPECT_EQ(w.optPractice()->text(), QStringLiteral("Practice"));
    EXPECT_EQ(w.optPractice()->toolTip(), QStringLiteral("Unlimited Race time"));
    EXPECT_EQ(w.optLapRace()->text(), QStringLiteral("Race, Laps"));
    EXPECT_EQ(w.optLapRace()->toolTip(), QStringLiteral("Select No of Laps"));
    EXPECT_EQ(w.cmbSelectNoOfLaps()->toolTip(), QStringLiteral("Select No of Laps"));
    EXPECT_EQ(w.optTimedRace()->text(), QStringLiteral("Race, Minutes"));
    EXPECT_EQ(w.optTimedRace()->toolTip(), QStringLiteral("Select time in minutes"));
    EXPECT_EQ(w.cmbSelectTime()->toolTip(), QStringLiteral("Select time in minutes"));
    EXPECT_EQ(w.chkDemo()->text(), QStringLiteral("Demo Mode"));
    EXPECT_EQ(w.chkDemo()->toolTip(), QStringLiteral("Will generate lap times automatically"));
    EXPECT_EQ(w.cmdCancel()->text(), QStringLiteral("&Cancel"));

    ASSERT_EQ(w.cmbSelectNoOfLaps()->count(), 33);
    EXPECT_EQ(w.cmbSelectNoOfLaps()->itemText(0), QStringLiteral("3"));
    EXPECT_EQ(w.cmbSelectNoOfLaps()->itemText(14), QStringLiteral("25"));
    EXPECT_EQ(w.cmbSelectNoOfLaps()->itemText(32), QStringLiteral("500"));
    ASSERT_EQ(w.cmbSelectTime()->count(), 45);
    EXPECT_EQ(w.cmbSelectTime()->itemText(15), QStringLiteral("20"));
    EXPECT_EQ(w.cmbSelectTime()->itemText(44), QStringLiteral("240"));
    EXPECT_TRUE(race.dialogs.shown.empty());
}

TEST_F(RaceFormatWindowTest, ASavedPracticeComesBackWithBothListsDisabled) {
    Save("5,3,#FALSE#,#FALSE#,#TRUE#,0");
    FrmKestoRaceFormat& w = Open();
    EXPECT_TRUE(w.optPractice()->isChecked());
    EXPECT_FALSE(w.cmbSelectNoOfLaps()->isEnabled());
    EXPECT_FALSE(w.cmbSelectTime()->isEnabled());
    EXPECT_EQ(w.cmbSelectNoOfLaps()->currentText(), QStringLiteral("8"));
    EXPECT_EQ(w.cmbSelectTime()->currentText(), QStringLiteral("4"));

    QTest::mouseClick(w.optLapRace(), Qt::LeftButton);
    EXPECT_TRUE(w.cmbSelectNoOfLaps()->isEnabled());
    EXPECT_FALSE(w.cmbSelectTime()->isEnabled());
    QTest::mouseClick(w.optTimedRace(), Qt::LeftButton);
    EXPECT_FALSE(w.cmbSelectNoOfLaps()->isEnabled());
    EXPECT_TRUE(w.cmbSelectTime()->isEnabled());
}

TEST_F(RaceFormatWindowTest, ATwentyFiveLapRaceIsSavedAsFourteenZeroLapRace) {
    FrmKestoRaceFormat& w = Open(); // no file yet: said, the controls show the state
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().text, "No such file or directory");
    EXPECT_EQ(race.dialogs.last().title, "");
    w.cmbSelectTime()->setCurrentIndex(0);
    w.optLapRace()->setChecked(true);
    w.cmbSelectNoOfLaps()->setCurrentIndex(14);
    QTest::mouseClick(w.cmdOK(), Qt::LeftButton);
    EXPECT_EQ(Saved(), "14,0,#FALSE#,#TRUE#,#FALSE#,0\r\n");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(titles, 1);
    EXPECT_TRUE(race.state.LapRace);
    EXPECT_EQ(race.state.NumberOfLaps, 25);
}

TEST_F(RaceFormatWindowTest, ATimedRaceStoresTheMinutesEvenWithLapsChosen) {
    Save("14,0,#FALSE#,#TRUE#,#FALSE#,0");
    FrmKestoRaceFormat& w = Open();
    EXPECT_EQ(w.cmbSelectNoOfLaps()->currentText(), QStringLiteral("25"));
    w.optTimedRace()->setChecked(true);
    w.cmbSelectTime()->setCurrentIndex(15);
    w.cmdOK_Click();
    EXPECT_EQ(Saved(), "14,15,#TRUE#,#FALSE#,#FALSE#,0\r\n");
    EXPECT_TRUE(race.state.TimedRace);
    EXPECT_FALSE(race.state.LapRace);
    EXPECT_EQ(race.state.RaceMinutes, 20);
}

TEST_F(RaceFormatWindowTest, ATimedRaceWithoutMinutesAsksForThem) {
    Save("0,-1,#TRUE#,#FALSE#,#FALSE#,0");
    FrmKestoRaceFormat& w = Open();
    EXPECT_EQ(w.cmbSelectTime()->currentIndex(), -1);
    EXPECT_EQ(w.cmbSelectTime()->placeholderText(), QStringLiteral("Select Time"));
    w.cmdOK_Click();
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().text, "Please select Time");
    EXPECT_EQ(race.dialogs.last().title, "");
    EXPECT_EQ(race.dialogs.last().buttons, MessageButtons::Ok);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(Saved(), "0,-1,#TRUE#,#FALSE#,#FALSE#,0\r\n");
    EXPECT_EQ(titles, 0);
}

TEST_F(RaceFormatWindowTest, DemoShowsTheLabelAtOnceAndCancelShowsTheFormatInForce) {
    Save("0,0,#FALSE#,#FALSE#,#TRUE#,0");
    race.state.PracticeMode = true;
    FrmKestoRaceFormat& w = Open();
    EXPECT_FALSE(w.chkDemo()->isChecked());
    w.chkDemo()->click(); // as the operator ticks it
    EXPECT_TRUE(demoLabel);
    EXPECT_TRUE(race.state.DemoMode);
    w.optLapRace()->setChecked(true);

    QTest::mouseClick(w.cmdCancel(), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(titles, 1);
    EXPECT_FALSE(demoLabel);
    // The race state is back to the saved choices.
    EXPECT_FALSE(race.state.DemoMode);
    EXPECT_TRUE(race.state.PracticeMode);
    EXPECT_FALSE(race.state.LapRace);
    EXPECT_EQ(Saved(), "0,0,#FALSE#,#FALSE#,#TRUE#,0\r\n");
}

TEST_F(RaceFormatWindowTest, DemoTickedByThePortDialogShowsTickedUntilCancelled) {
    Save("0,0,#FALSE#,#FALSE#,#TRUE#,0");
    race.state.PracticeMode = true;
    race.state.DemoMode = true; // "No" after a port error: not saved
    demoLabel = true;
    FrmKestoRaceFormat& w = Open();
    EXPECT_TRUE(w.chkDemo()->isChecked());
    EXPECT_TRUE(demoLabel);
    w.reject(); // the title bar's close box
    EXPECT_FALSE(race.state.DemoMode);
    EXPECT_FALSE(demoLabel);
    EXPECT_EQ(titles, 1);
}

TEST_F(RaceFormatWindowTest, OkSavesTheDemoTick) {
    Save("3,2,#FALSE#,#TRUE#,#FALSE#,0");
    FrmKestoRaceFormat& w = Open();
    w.chkDemo()->setChecked(true);
    w.cmdOK_Click();
    EXPECT_EQ(Saved(), "3,2,#FALSE#,#TRUE#,#FALSE#,1\r\n");
    EXPECT_TRUE(race.state.DemoMode);
    EXPECT_EQ(race.state.NumberOfLaps, 6);
}

} // namespace
} // namespace kesto
