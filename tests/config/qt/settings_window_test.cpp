#include "config/qt/settings_window.h"

#include "config/data_files.h"
#include "config/settings_files.h"
#include "support/temp_folder.h"
#include "support/test_doubles.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace kesto {
namespace {

namespace fs = std::filesystem;

class SettingsWindowTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directories(folder / "dev");
        race.state.Names.IdName[0] = "Ann Lee";
        race.state.Names.IdName[13] = "Bob";
    }

    FrmKestoSettings& Open() {
        SettingsWindowHooks hooks;
        hooks.composeTitle = [this] { ++titles; };
        hooks.applyIdColors = [this] { ++recolours; };
        hooks.devFolder = folder / "dev";
        window = std::make_unique<FrmKestoSettings>(race.context, folder, hooks);
        return *window;
    }

    static QStringList Entries(QComboBox* list) {
        QStringList entries;
        for (int n = 0; n < list->count(); ++n)
            entries << list->itemText(n);
        return entries;
    }

    SettingsRecord StoredSettings() const {
        SettingsRecord record;
        DecodeSettingsRecord(ReadBytes(folder / "KestoSettings.dat"), record);
        return record;
    }

    test::TestRace race;
    int titles = 0;
    int recolours = 0;
    std::unique_ptr<FrmKestoSettings> window;
};

TEST_F(SettingsWindowTest, CaptionsTipsAndListsAsTheClubKnowsThem) {
    FrmKestoSettings& w = Open();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("  Settings"));
    EXPECT_EQ(w.cmbTrackLength()->count(), 492);
    EXPECT_EQ(w.cmbTrackLength()->itemText(491), QStringLiteral("5280"));
    EXPECT_EQ(w.cmbMinLapTime()->count(), 87);
    EXPECT_EQ(w.cmbMinLapTime()->itemText(1), QStringLiteral("1.25"));
    EXPECT_EQ(w.cmbDelay()->count(), 31);
    EXPECT_EQ(Entries(w.cmbCommPort()).join(QLatin1Char(',')),
              QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16"));
    EXPECT_EQ(Entries(w.cmbFirstLap()), (QStringList{QStringLiteral("0"), QStringLiteral("1")}));
    EXPECT_EQ(w.cmbScale()->count(), 13);
    EXPECT_EQ(w.cmbScale()->itemText(7), QStringLiteral("1:24"));

    auto text = [&](const char* name) { return w.findChild<QLabel*>(QLatin1String(name))->text(); };
    EXPECT_EQ(text("lblLapmarkConnectedToComm"), QStringLiteral("Lapmark Connected to Comm Port:"));
    EXPECT_EQ(text("lblFirstLap"), QStringLiteral("Race Begins With Lap:"));
    EXPECT_EQ(text("lblStartDelay"), QStringLiteral("Start Delay, Seconds:"));
    EXPECT_EQ(text("lblFeet"), QStringLiteral("Feet"));
    EXPECT_EQ(text("lblSeconds"), QStringLiteral("Seconds"));
    EXPECT_EQ(text("lblTrackName"), QStringLiteral("Enter Track Name:"));
    EXPECT_EQ(w.cmbCommPort()->toolTip(),
              QStringLiteral("Lapmark Hardware is connected to this port"));
    EXPECT_EQ(w.cmbFirstLap()->toolTip(),
              QStringLiteral("Car before sensor,select 0. Car after sensor select 1."));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("lblStartDelay"))->toolTip(),
              QStringLiteral("Delay in seconds before \"Formula1 Starts\""));
    EXPECT_EQ(w.cmbTrackLength()->toolTip(), QStringLiteral("Average length of track in feet"));
    EXPECT_EQ(w.cmbMinLapTime()->toolTip(),
              QStringLiteral("Lap will not count if under this time"));
    EXPECT_EQ(w.cmdCancel()->text(), QStringLiteral("&Cancel"));

    EXPECT_EQ(w.lblTrackColor(1)->text(), QStringLiteral("Ann Lee"));
    EXPECT_EQ(w.lblTrackColor(14)->text(), QStringLiteral("Bob"));
    EXPECT_EQ(w.lblTrackColor(7)->toolTip(), QStringLiteral(" Left Click to select color of ID 7"));
    EXPECT_EQ(w.lblID(14)->text(), QStringLiteral("14"));
}

TEST_F(SettingsWindowTest, StoredPositionsAreSelectedAndAPortPastTheListSelectsPortOne) {
    SettingsRecord& s = race.state.Settings;
    s.TrackLengthIndex = 491;
    s.ScaleIndex = 7;
    s.MinLapTimeIndex = 6;
    s.StartDelayIndex = 10;
    s.ComPortIndex = 16; // one past the last port
    s.FirstLapIndex = 1;
    s.TrackName = "Kesto Raceway";
    s.IdColor[2] = 0x0000FF; // red
    FrmKestoSettings& w = Open();
    EXPECT_EQ(w.cmbTrackLength()->currentText(), QStringLiteral("5280"));
    EXPECT_EQ(w.cmbScale()->currentText(), QStringLiteral("1:24"));
    EXPECT_EQ(w.cmbMinLapTime()->currentText(), QStringLiteral("2.5"));
    EXPECT_EQ(w.cmbDelay()->currentText(), QStringLiteral("10"));
    EXPECT_EQ(w.cmbCommPort()->currentText(), QStringLiteral("1"));
    EXPECT_EQ(race.state.Settings.ComPortIndex, 0);
    EXPECT_EQ(w.cmbFirstLap()->currentText(), QStringLiteral("1"));
    EXPECT_EQ(w.txtTrackName()->text(), QStringLiteral("Kesto Raceway"));
    EXPECT_EQ(w.lblTrackColor(3)->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_TRUE(race.dialogs.shown.empty());
}

TEST_F(SettingsWindowTest, ADamagedPositionIsSaidAndLeavesItsListWithoutAChoice) {
    race.state.Settings.ScaleIndex = 40;
    FrmKestoSettings& w = Open();
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().title, "");
    EXPECT_EQ(w.cmbScale()->currentText(), QString());
    // OK then finds the scale missing and keeps the window open.
    w.show();
    w.cmdOK_Click();
    EXPECT_EQ(race.dialogs.last().text, "Please select all options");
    EXPECT_EQ(race.dialogs.last().title, "Missing options");
    EXPECT_EQ(race.dialogs.last().icon, MessageIcon::Error);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(fs::exists(folder / "KestoSettings.dat"));
}

TEST_F(SettingsWindowTest, OkSavesConvertsAndReopensThePort) {
    FrmKestoSettings& w = Open();
    w.show();
    w.cmbTrackLength()->setCurrentIndex(491);
    w.cmbScale()->setCurrentIndex(7);
    w.cmbFirstLap()->setCurrentIndex(0);
    w.cmbCommPort()->setCurrentIndex(2);
    QTest::keyClicks(w.txtTrackName(), QStringLiteral("Club Track"));
    QTest::mouseClick(w.cmdOK(), Qt::LeftButton);

    EXPECT_TRUE(race.dialogs.shown.empty());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(titles, 1);
    EXPECT_EQ(race.port.openedPort, 3);
    EXPECT_TRUE(race.port.open);
    EXPECT_EQ(race.state.SpeedMultiplier, 86400.0f);
    EXPECT_EQ(race.state.Settings.FirstLapCount, -1);
    EXPECT_EQ(ReadBytes(folder / "KestoSpeedMultiplier.dat"), "86400\r\n");
    EXPECT_EQ(StoredSettings().TrackName, "Club Track");
    EXPECT_EQ(StoredSettings().ScaleDivisor, 0); // the divisor before this conversion
    EXPECT_EQ(StoredSettings().FirstLapCount, -1);
}

TEST_F(SettingsWindowTest, APortThatFailsAndYesKeepsTheWindowOpenForAnotherChoice) {
    race.port.failOpen = true;
    race.dialogs.answers = {MessageAnswer::Yes};
    FrmKestoSettings& w = Open();
    w.show();
    w.cmdOK_Click();
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().title, "Com Port");
    EXPECT_TRUE(race.state.KeepSettingsOpen);
    EXPECT_TRUE(w.isVisible());

    // No: demo mode, and the window closes.
    race.dialogs.answers = {MessageAnswer::No};
    w.cmdOK_Click();
    EXPECT_TRUE(race.state.DemoMode);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(SettingsWindowTest, CancelKeepsNoListChange) {
    race.state.Settings.TrackLengthIndex = 3;
    race.state.Settings.TrackLength = 13;
    FrmKestoSettings& w = Open();
    w.show();
    w.cmbTrackLength()->setCurrentIndex(200);
    QTest::mouseClick(w.cmdCancel(), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(race.state.Settings.TrackLength, 13);
    EXPECT_EQ(race.state.Settings.TrackLengthIndex, 3);
    EXPECT_FALSE(fs::exists(folder / "KestoSettings.dat"));
    EXPECT_EQ(titles, 0);
}

// Sees the border of lblID n while the colour dialog is open.
class BorderWatchingDialogs final : public Dialogs {
public:
    explicit BorderWatchingDialogs(test::FakeDialogs& fake) : m_fake(fake) {}
    MessageAnswer Show(const Message& message) override { return m_fake.Show(message); }
    std::optional<std::string> ChooseFile(const FileChoice& choice) override {
        return m_fake.ChooseFile(choice);
    }
    std::optional<int32_t> ChooseColor(int32_t initial) override {
        if (watched)
            borderWhileChoosing = watched->frameShape();
        return m_fake.ChooseColor(initial);
    }
    QLabel* watched = nullptr;
    QFrame::Shape borderWhileChoosing = QFrame::NoFrame;

private:
    test::FakeDialogs& m_fake;
};

TEST_F(SettingsWindowTest, AChosenColourIsSavedAtOnceAndRecoloursTheRaceScreen) {
    race.state.Settings.TrackLength = 120; // confirmed earlier
    BorderWatchingDialogs dialogs(race.dialogs);
    RaceContext ctx{race.state,  race.sounds, race.player, dialogs,
                    race.random, race.clock,  race.port};
    SettingsWindowHooks hooks;
    hooks.applyIdColors = [this] { ++recolours; };
    hooks.devFolder = folder / "dev";
    FrmKestoSettings w(ctx, folder, hooks);
    w.show();
    w.cmbTrackLength()->setCurrentIndex(300); // not confirmed: not saved with the colour
    dialogs.watched = w.lblID(5);
    race.dialogs.colors = {0x00FF00};
    QTest::mouseClick(w.lblTrackColor(5), Qt::LeftButton);

    EXPECT_EQ(race.dialogs.colorRequests.size(), 1u);
    EXPECT_EQ(dialogs.borderWhileChoosing, QFrame::Box);
    EXPECT_EQ(w.lblID(5)->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(w.lblTrackColor(5)->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(race.state.Settings.IdColor[4], 0x00FF00);
    EXPECT_EQ(recolours, 1);
    const SettingsRecord stored = StoredSettings();
    EXPECT_EQ(stored.IdColor[4], 0x00FF00);
    EXPECT_EQ(stored.TrackLength, 120);
}

TEST_F(SettingsWindowTest, CancellingTheColourDialogChangesNothing) {
    race.state.Settings.IdColor[4] = 0x123456;
    FrmKestoSettings& w = Open();
    w.lblTrackColor_Click(5);
    ASSERT_EQ(race.dialogs.colorRequests, std::vector<int32_t>{0x123456});
    EXPECT_EQ(w.lblID(5)->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(race.state.Settings.IdColor[4], 0x123456);
    EXPECT_EQ(w.lblTrackColor(5)->palette().color(QPalette::Window), QColor(0x56, 0x34, 0x12));
    EXPECT_FALSE(fs::exists(folder / "KestoSettings.dat"));
    EXPECT_EQ(recolours, 0);
}

TEST_F(SettingsWindowTest, DuringARaceASwatchOnlySaysColourIsNotAvailable) {
    race.state.Button = StartButton::Reset;
    FrmKestoSettings& w = Open();
    race.dialogs.colors = {0x00FF00};
    w.lblTrackColor_Click(2);
    EXPECT_EQ(w.lblTrackColor(2)->toolTip(),
              QStringLiteral("Changing color is not available during race"));
    EXPECT_TRUE(race.dialogs.colorRequests.empty());
    EXPECT_EQ(race.state.Settings.IdColor[1], 0);
    EXPECT_FALSE(fs::exists(folder / "KestoSettings.dat"));
    EXPECT_EQ(recolours, 0);

    // Hovering tells the same until the race is reset.
    w.lblTrackColor_MouseMove(3);
    EXPECT_EQ(w.lblTrackColor(3)->toolTip(),
              QStringLiteral("Changing color is not available during race"));
    race.state.Button = StartButton::Start;
    w.lblTrackColor_MouseMove(3);
    EXPECT_EQ(w.lblTrackColor(3)->toolTip(), QStringLiteral(" Left Click to select color of ID 3"));
}

TEST_F(SettingsWindowTest, BesideThePortNumberTheDeviceItReaches) {
    std::ofstream(folder / "dev" / "ttyUSB1").put('\0');
    FrmKestoSettings& w = Open();
    EXPECT_EQ(w.lblPortDevice()->text(), QStringLiteral("not present"));
    w.cmbCommPort()->setCurrentIndex(1);
    EXPECT_EQ(w.lblPortDevice()->text(),
              QString::fromStdString((folder / "dev" / "ttyUSB1").string()));
    EXPECT_TRUE(w.lblPortDevice()->toolTip().startsWith(QStringLiteral("COM2: ")));
}

} // namespace
} // namespace kesto
