// The meeting in the program: the meeting and standings windows driven by
// their buttons, and a heat loaded from the Racers menu's "Meeting..." that
// closes into the meeting with its result files beside the meeting file.
#include "app/meeting_wiring.h"
#include "reports/qt/qt_printer.h"
#include "support/qt/find_child.h"
#include "support/qt/main_window_rig.h"
#include "support/race_rig.h"
#include "support/recording_printer.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace kesto {
namespace {

using test::Child;

struct NoHeatFiles final : HeatFiles {
    Refusal WriteHeatFiles(const RaceState&, const std::filesystem::path&,
                           const std::string&) override {
        return std::nullopt;
    }
};

// Hands the window a printer whose pages the test reads after the window let it go.
struct LentPrinter final : Printer {
    explicit LentPrinter(test::RecordingPrinter& paper) : paper(paper) {}
    bool SetLandscape() override { return paper.SetLandscape(); }
    bool SetFontSize(int points) override { return paper.SetFontSize(points); }
    bool PrintAt(int column, const std::string& text, bool more) override {
        return paper.PrintAt(column, text, more);
    }
    bool EndLine() override { return paper.EndLine(); }
    bool PrintPicturePage(const std::string& svg) override { return paper.PrintPicturePage(svg); }
    bool EndDocument() override { return paper.EndDocument(); }
    test::RecordingPrinter& paper;
};

class MeetingWindowTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        desk.emplace(folder, files, dialogs, NoRaceCaller());
        MeetingWindowHooks hooks;
        hooks.loadHeat = [this](int heat) { return desk->LoadHeat(heat, state); };
        hooks.roster = {"Ann Baker", "Ben Cole", "Cal Dunn", "Dan Eyre"};
        window = std::make_unique<FrmMeeting>(*desk, dialogs, folder, hooks);
    }
    void Click(const char* button) { Child<QPushButton>(window.get(), button)->click(); }
    QTableWidget* Heats() { return Child<QTableWidget>(window.get(), "grdHeats"); }
    // A meeting of the four rostered racers in heats of 2, one round.
    void PlanFourRacers() {
        Child<QLineEdit>(window.get(), "txtMeetingName")->setText("Club Night");
        Child<QLineEdit>(window.get(), "txtMeetingDate")->setText("2026-12-08");
        Child<QSpinBox>(window.get(), "spnRounds")->setValue(1);
        Child<QSpinBox>(window.get(), "spnCountedRounds")->setValue(1);
        Child<QSpinBox>(window.get(), "spnHeatSize")->setValue(2);
        Child<QComboBox>(window.get(), "cmbFinish")->setCurrentIndex(1);
        dialogs.files.push_back((folder / "night.meeting.json").string());
        Click("cmdNewMeeting");
        ASSERT_TRUE(desk->IsOpen()) << (dialogs.shown.empty() ? "" : dialogs.last().text);
        for (int r = 0; r < 4; ++r) {
            Child<QListWidget>(window.get(), "lstRoster")->setCurrentRow(r);
            Child<QSpinBox>(window.get(), "spnTransponder")->setValue(r + 1);
            Click("cmdAddEntry");
        }
        Click("cmdPlanHeats");
    }

    RaceState state;
    NoHeatFiles files;
    test::FakeDialogs dialogs;
    std::optional<MeetingDesk> desk;
    std::unique_ptr<FrmMeeting> window;
};

TEST_F(MeetingWindowTest, SetUpEntriesAndHeatsAreMadeByTheButtonsAndSavedAtOnce) {
    PlanFourRacers();
    EXPECT_EQ(dialogs.fileChoices.at(0).initialPath,
              (folder / "Club Night 2026-12-08.meeting.json").string());
    EXPECT_EQ(desk->meeting().finish, FinishRule::EveryCarOnNextPass);
    EXPECT_EQ(Child<QTableWidget>(window.get(), "grdEntries")->rowCount(), 4);
    ASSERT_EQ(Heats()->rowCount(), 2);
    EXPECT_EQ(Heats()->item(0, 0)->text(), "Next");
    EXPECT_EQ(Heats()->item(0, 3)->text(), "1 Ann Baker, 2 Ben Cole");

    // The second racer of heat 1 is a no-show, then moves to heat 2 instead.
    Heats()->selectRow(0);
    Child<QComboBox>(window.get(), "cmbHeatRacer")->setCurrentIndex(1);
    Click("cmdNoShow");
    EXPECT_TRUE(desk->meeting().heats[0].grid[1].noShow);
    Click("cmdNoShow");
    Child<QComboBox>(window.get(), "cmbMoveTo")->setCurrentIndex(1);
    Click("cmdMoveRacer");
    EXPECT_EQ(Heats()->item(1, 3)->text(), "3 Cal Dunn, 4 Dan Eyre, 2 Ben Cole");

    Heats()->selectRow(0);
    Click("cmdLoadHeat");
    EXPECT_EQ(desk->LoadedHeat(), 1);
    EXPECT_EQ(state.IdName(1), "Ann Baker");
    Click("cmdReRun");
    EXPECT_EQ(dialogs.last().text, "Only a heat that has been run can be re-run.");

    Meeting onDisk;
    ASSERT_EQ(ReadMeetingFile(desk->Path(), onDisk), std::nullopt);
    EXPECT_EQ(onDisk, desk->meeting());
}

TEST_F(MeetingWindowTest, TheStandingsPrintSaveAsPdfAndAsText) {
    PlanFourRacers();
    test::RecordingPrinter paper;
    StandingsPrinters printers;
    printers.defaultPrinter = [] { return std::unique_ptr<Printer>(); };
    printers.pdfPrinter = [&](const std::string&) { return std::make_unique<LentPrinter>(paper); };
    FrmStandings standings(*desk, dialogs, printers);
    EXPECT_TRUE(Child<QPlainTextEdit>(&standings, "txtStandings")
                    ->toPlainText()
                    .startsWith("Club Night, 2026-12-08\nHeats: 5 Minute Race"));

    Child<QPushButton>(&standings, "cmdPrint")->click();
    EXPECT_EQ(dialogs.last().text, "The standings could not be printed.");

    dialogs.files.push_back((folder / "standings.pdf").string());
    Child<QPushButton>(&standings, "cmdSavePdf")->click();
    EXPECT_TRUE(paper.landscape && paper.ended);
    EXPECT_EQ(paper.lines.at(0), "Club Night, 2026-12-08");
    EXPECT_GE(paper.LineWith("Ann Baker"), 0);

    dialogs.files.push_back((folder / "standings.txt").string());
    Child<QPushButton>(&standings, "cmdSaveText")->click();
    EXPECT_EQ(dialogs.last().text,
              "File " + (folder / "standings.txt").string() + " has been saved");
    EXPECT_EQ(ReadBytes(folder / "standings.txt").rfind("Club Night, 2026-12-08\r\n", 0), 0u);
}

class MeetingProgramTest : public test::MainWindowTest {};

TEST_F(MeetingProgramTest, AHeatLoadedFromTheRacersMenuClosesIntoTheMeetingWithItsFiles) {
    MeetingWiring wiring(race.context, Window(), folder, NoRaceCaller());
    race.context.caller = &wiring.Caller();
    wiring.AddMenuItem(Window());
    Meeting meeting = NewMeeting("Club Night", "2026-12-08");
    meeting.rounds = 1;
    meeting.scoring.countedRounds = 1;
    meeting.heatSize = 2;
    meeting.heatFormat = HeatFormat{HeatFormatKind::Laps, 3};
    ASSERT_FALSE(AddEntry(meeting, "Ann Baker", 1));
    ASSERT_FALSE(AddEntry(meeting, "Ben Cole", 2));
    ASSERT_FALSE(PlanQualifying(meeting));
    const auto path = folder / "night" / "club.meeting.json";
    std::filesystem::create_directories(path.parent_path());
    ASSERT_EQ(wiring.Desk().Create(path, meeting), std::nullopt);

    rig->Trigger("mnuMeeting");
    ASSERT_NE(wiring.MeetingWindow(), nullptr);
    Child<QPushButton>(wiring.MeetingWindow(), "cmdLoadHeat")->click();
    EXPECT_EQ(Row("lblName", 1)->text(), " Ann Baker");
    EXPECT_EQ(race.state.NumberOfLaps, 3);

    StartRace();
    for (int32_t ms = 1000; !race.state.RaceIsOver && ms < 60000; ms += 1000)
        Decoder(test::DecoderClockLine(ms) + test::DecoderPassLine(1, ms) +
                test::DecoderPassLine(2, ms + 300));
    ASSERT_TRUE(race.state.RaceIsOver);
    EXPECT_TRUE(wiring.Desk().meeting().heats[0].result);
    EXPECT_EQ(wiring.Desk().LoadedHeat(), 0);
    EXPECT_TRUE(std::filesystem::exists(path.parent_path() / "Heat 1.sum"));
    EXPECT_TRUE(std::filesystem::exists(path.parent_path() / "Heat 1.lap"));
    EXPECT_EQ(Child<QTableWidget>(wiring.MeetingWindow(), "grdHeats")->item(0, 4)->text(), "Run");
}

} // namespace
} // namespace kesto

namespace kesto {
namespace {

// Not a check: the pictures of the manual and the README. Run with
// KESTO_SCREENSHOT_DIR=docs to remake docs/meeting-window.png,
// docs/standings-window.png and docs/standings.pdf.
TEST(MeetingScreenshots, OfTheMeetingAndStandingsWindowsAndTheStandingsPdf) {
    const char* out = std::getenv("KESTO_SCREENSHOT_DIR");
    if (!out)
        GTEST_SKIP() << "KESTO_SCREENSHOT_DIR is not set";
    const std::filesystem::path folder(out);
    const std::vector<std::string> racers = {"Ann Baker", "Ben Cole",  "Cal Dunn", "Dee Ennis",
                                             "Eli Fox",   "Fay Grant", "Gus Hale", "Ivy Jones"};
    Meeting meeting = NewMeeting("Club Night", "2026-12-08");
    meeting.heatSize = 4;
    meeting.heatFormat = HeatFormat{HeatFormatKind::Minutes, 5};
    for (size_t i = 0; i < racers.size(); ++i)
        ASSERT_FALSE(AddEntry(meeting, racers[i], static_cast<int>(i) + 1));
    ASSERT_FALSE(PlanQualifying(meeting));
    // Laps and times of a plausible night: faster racers first, varying a little.
    for (Heat& heat : meeting.heats) {
        HeatResult result;
        for (const HeatSlot& slot : heat.grid)
            result.push_back(RacerResult{slot.entry, 42 - slot.entry + heat.round % 2,
                                         300000 + 977 * slot.entry + 413 * heat.round, false});
        if (heat.round < 3 || heat.number % 2 == 1) {
            ASSERT_FALSE(RecordHeatResult(meeting, heat.number, result));
        }
    }
    const auto path = std::filesystem::temp_directory_path() / "kesto-shot.meeting.json";
    std::filesystem::remove(path);
    test::FakeDialogs dialogs;
    NoHeatFiles files;
    MeetingDesk desk(std::filesystem::temp_directory_path(), files, dialogs, NoRaceCaller());
    ASSERT_EQ(desk.Create(path, meeting), std::nullopt);

    MeetingWindowHooks hooks;
    hooks.roster = racers;
    FrmMeeting window(desk, dialogs, folder, hooks);
    window.show();
    ASSERT_TRUE(
        window.grab().save(QString::fromStdString((folder / "meeting-window.png").string())));

    StandingsPrinters printers;
    printers.pdfPrinter = [](const std::string& pdf) {
        return std::unique_ptr<Printer>(QtPrinter::ForPdf(QString::fromStdString(pdf)));
    };
    FrmStandings standings(desk, dialogs, printers);
    standings.show();
    ASSERT_TRUE(
        standings.grab().save(QString::fromStdString((folder / "standings-window.png").string())));
    dialogs.files.push_back((folder / "standings.pdf").string());
    Child<QPushButton>(&standings, "cmdSavePdf")->click();
    std::filesystem::remove(path);
    std::filesystem::remove(std::filesystem::temp_directory_path() / MeetingDeskFileName);
}

} // namespace
} // namespace kesto
