// What the windows record in the race journal, and when: a best lap cleared by
// a digit key or a click on its cell, a name chosen for a row, and the unsaved
// marks after a save through a viewer, each recorded before the screen shows
// its effect (or, for a save, once the marks have changed).
#include "reports/qt/lap_times_window.h"
#include "reports/qt/result_reports.h"
#include "reports/qt/summary_window.h"
#include "support/qt/main_window_rig.h"
#include "support/recording_desktop_shell.h"
#include "tools/decoder-sim/decoder_lines.h"

#include <QTest>
#include <gtest/gtest.h>

namespace kesto {
namespace {

using sim::DetectionLine;
using test::Child;

// The window's events, each with what the state and screen held when it came.
class WindowEvents final : public RaceJournal {
public:
    WindowEvents(const RaceState& state, const QWidget*& window)
        : m_state(state), m_window(window) {}

    void Record(const JournalEvent& event) override {
        const int id = event.id;
        switch (event.kind) {
        case JournalEventKind::BestLapCleared:
            seen.push_back("best " + std::to_string(id) + " was " +
                           std::to_string(m_state.BestLapTime.at(static_cast<size_t>(id - 1))));
            break;
        case JournalEventKind::NameChosen:
            seen.push_back("name " + std::to_string(id) + " " + event.text + " over \"" +
                           Child<RowLabel>(m_window, "lblName", id)->text().toStdString() + "\"");
            break;
        case JournalEventKind::UnsavedMarks:
            seen.push_back(std::string("marks ") + (event.value != 0 ? "laps" : "-") + " " +
                           (event.value2 != 0 ? "summary" : "-") + " state " +
                           (m_state.LapsUnsaved ? "laps" : "-") + " " +
                           (m_state.SummaryUnsaved ? "summary" : "-"));
            break;
        case JournalEventKind::SettingsChanged:
            seen.push_back("modes " + event.start->BestColumnMode + " / " +
                           event.start->LagColumnMode + " over " +
                           Child<QLabel>(m_window, "lblBestLap")->text().toStdString() + " / " +
                           Child<QLabel>(m_window, "lblLag")->text().toStdString());
            break;
        default:
            break;
        }
    }

    std::vector<std::string> seen;

private:
    const RaceState& m_state;
    const QWidget*& m_window;
};

class WindowJournal : public test::MainWindowTest {
protected:
    void SetUp() override {
        race.context.journal = &journal;
        MainWindowTest::SetUp();
        shown = &Window();
    }
    void TearDown() override {
        reports.reset();
        MainWindowTest::TearDown();
    }

    const QWidget* shown = nullptr;
    WindowEvents journal{race.state, shown};
    test::RecordingDesktopShell shell;
    std::unique_ptr<ResultReports> reports;
};

TEST_F(WindowJournal, BestLapsClearedByKeyAndByClickAreRecordedFirst) {
    StartRace();
    Decoder(DetectionLine(11, 100) + DetectionLine(6, 200) + DetectionLine(8, 300));
    Decoder(DetectionLine(11, 3100) + DetectionLine(6, 3200) + DetectionLine(8, 3300));
    ASSERT_EQ(race.state.RaceOrder[2], 8);

    QTest::keyClick(&Window(), Qt::Key_1, Qt::ShiftModifier); // ID 11
    QTest::mouseClick(Row("lblBest", 3), Qt::LeftButton);     // third place: ID 8
    EXPECT_EQ(race.state.BestLapTime[10], NoBestLap);
    EXPECT_EQ(race.state.BestLapTime[7], NoBestLap);
    EXPECT_EQ(journal.seen, (std::vector<std::string>{"best 11 was 3000", "best 8 was 3000"}));
}

TEST_F(WindowJournal, ColumnModesSwitchedByTheHeadersAreRecordedFirst) {
    StartRace();
    Window().show();
    QTest::mouseClick(Label("lblBestLap"), Qt::LeftButton);
    QTest::keyClick(&Window(), Qt::Key_F4); // the Lag header
    EXPECT_EQ(journal.seen,
              (std::vector<std::string>{"modes MPH / Lag Behind over Best Lap / Lag Behind",
                                        "modes MPH / Lag First over MPH / Lag Behind"}));
    Window().hide();
}

TEST_F(WindowJournal, ANameChosenIsRecordedBeforeTheRowShowsIt) {
    WriteBytes(folder / "kestoRacers.dat", "\"Ann\"\r\n\"Bob\"\r\n");
    Window().LoadRacerLists();
    race.state.PracticeMode = true;
    rig->StartButton()->click();
    ASSERT_TRUE(race.state.TimerEnabled);
    Window().show();
    QTest::mouseClick(Row("lblName", 2), Qt::LeftButton);
    QComboBox* combo = rig->NameList(2);
    ASSERT_TRUE(combo->isVisible());
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(race.state.Names.IdName[1], "Ann");
    EXPECT_EQ(journal.seen, (std::vector<std::string>{"name 2 Ann over \" Racer 2\""}));
    Window().hide();
}

TEST_F(WindowJournal, SavesThroughTheViewersRecordTheMarksAsTheyBecame) {
    StartRace();
    Decoder(DetectionLine(1, 100) + DetectionLine(2, 200));
    Decoder(DetectionLine(1, 3100) + DetectionLine(2, 3200));
    race.state.LapsUnsaved = true;
    race.state.SummaryUnsaved = true;
    ResultReportsOptions options;
    options.lapWindowModal = false;
    reports = std::make_unique<ResultReports>(race.context, folder.string(), shell,
                                              ResultPrinters{}, options);

    reports->mnuLapTimes_Click();
    ASSERT_NE(reports->LapTimesWindow(), nullptr);
    reports->LapTimesWindow()->mnuSave()->trigger(); // cancelled: nothing saved
    EXPECT_TRUE(journal.seen.empty());
    race.dialogs.files.push_back((folder / "race.lap").string());
    reports->LapTimesWindow()->mnuSave()->trigger();
    EXPECT_EQ(journal.seen, (std::vector<std::string>{"marks - summary state - summary"}));

    reports->mnuSummary_Click();
    ASSERT_NE(reports->SummaryWindow(), nullptr);
    race.dialogs.files.push_back((folder / "race.sum").string());
    reports->SummaryWindow()->mnuSave()->trigger();
    EXPECT_EQ(journal.seen.back(), "marks - - state - -");
    EXPECT_EQ(journal.seen.size(), 2u);
}

} // namespace
} // namespace kesto
