// What the windows record in the race journal, and when: a best lap cleared by
// a digit key or a click on its cell, a name chosen for a row, and the unsaved
// marks after a save through a viewer, each recorded before the screen shows
// its effect (or, for a save, once the marks have changed).
#include "display/qt/race_screen_window.h"

#include "engine/quiet_platform.h"
#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "reports/qt/lap_times_window.h"
#include "reports/qt/result_reports.h"
#include "reports/qt/summary_window.h"
#include "support/qt/wired_main_window.h"
#include "support/race_rig.h"
#include "support/recording_desktop_shell.h"
#include "support/test_doubles.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace kesto {
namespace {

std::string Pass(int id, int ms) {
    char line[32];
    std::snprintf(line, sizeof line, "@%02d%02d%02d%02d%02d\n", id, ms / 3600000, ms / 60000 % 60,
                  ms / 1000 % 60, ms / 10 % 100);
    return line;
}

// The window's events, each with what the state and screen held when it came.
class WindowEvents final : public RaceJournal {
public:
    WindowEvents(const RaceState& state, const FrmKestoTimer*& window)
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
                           m_window->lblName(id)->text().toStdString() + "\"");
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
                           m_window->lblBestLap()->text().toStdString() + " / " +
                           m_window->lblLag()->text().toStdString());
            break;
        default:
            break;
        }
    }

    std::vector<std::string> seen;

private:
    const RaceState& m_state;
    const FrmKestoTimer*& m_window;
};

class WindowJournal : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("kesto-window-journal-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        RaceState& s = race.state;
        s.Settings.MinLapTime = 2;
        for (int i = 0; i < MaxCarIds; ++i)
            s.Names.IdName[i] = "Racer " + std::to_string(i + 1);
        s.LapRace = true;
        s.NumberOfLaps = 10;
        race.port.open = true;
        race.context.journal = &journal;

        test::WireMainWindow(race.context, folder, launcher, window, control, tick);
        shown = window.get();
        window->Hooks().beep = [] {};
        window->InitResizer();
        control->ReSet();
        control->StartReset();
    }
    void TearDown() override {
        reports.reset();
        window.reset();
        std::filesystem::remove_all(folder);
    }
    void Decoder(const std::string& lines) {
        race.port.Feed(lines);
        // The race timer runs as long as the decoder's clock did.
        const int32_t latest = std::max(decoderMs, test::LatestDecoderTime(lines));
        tick->Timer1_Timer(std::max(10, latest - decoderMs));
        decoderMs = latest;
    }
    int32_t decoderMs = 0;

    std::filesystem::path folder;
    test::TestRace race;
    const FrmKestoTimer* shown = nullptr;
    WindowEvents journal{race.state, shown};
    InstantStart launcher;
    std::unique_ptr<FrmKestoTimer> window;
    std::unique_ptr<RaceControl> control;
    std::unique_ptr<RaceTick> tick;
    test::RecordingDesktopShell shell;
    std::unique_ptr<ResultReports> reports;
};

TEST_F(WindowJournal, BestLapsClearedByKeyAndByClickAreRecordedFirst) {
    control->cmdStart_Click();
    Decoder(Pass(11, 100) + Pass(6, 200) + Pass(8, 300));
    Decoder(Pass(11, 3100) + Pass(6, 3200) + Pass(8, 3300));
    ASSERT_EQ(race.state.RaceOrder[2], 8);

    QTest::keyClick(window.get(), Qt::Key_1, Qt::ShiftModifier); // ID 11
    QTest::mouseClick(window->lblBest(3), Qt::LeftButton);       // third place: ID 8
    EXPECT_EQ(race.state.BestLapTime[10], NoBestLap);
    EXPECT_EQ(race.state.BestLapTime[7], NoBestLap);
    EXPECT_EQ(journal.seen, (std::vector<std::string>{"best 11 was 3000", "best 8 was 3000"}));
}

TEST_F(WindowJournal, ColumnModesSwitchedByTheHeadersAreRecordedFirst) {
    control->cmdStart_Click();
    window->show();
    QTest::mouseClick(window->lblBestLap(), Qt::LeftButton);
    QTest::keyClick(window.get(), Qt::Key_F4); // the Lag header
    EXPECT_EQ(journal.seen,
              (std::vector<std::string>{"modes MPH / Lag Behind over Best Lap / Lag Behind",
                                        "modes MPH / Lag First over MPH / Lag Behind"}));
    window->hide();
}

TEST_F(WindowJournal, ANameChosenIsRecordedBeforeTheRowShowsIt) {
    std::ofstream(folder / "kestoRacers.dat", std::ios::binary) << "\"Ann\"\r\n\"Bob\"\r\n";
    window->LoadRacerLists();
    race.state.PracticeMode = true;
    control->cmdStart_Click();
    ASSERT_TRUE(race.state.TimerEnabled);
    window->show();
    QTest::mouseClick(window->lblName(2), Qt::LeftButton);
    QComboBox* combo = window->Select_Name(2);
    ASSERT_TRUE(combo->isVisible());
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(race.state.Names.IdName[1], "Ann");
    EXPECT_EQ(journal.seen, (std::vector<std::string>{"name 2 Ann over \" Racer 2\""}));
    window->hide();
}

TEST_F(WindowJournal, SavesThroughTheViewersRecordTheMarksAsTheyBecame) {
    control->cmdStart_Click();
    Decoder(Pass(1, 100) + Pass(2, 200));
    Decoder(Pass(1, 3100) + Pass(2, 3200));
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
