// The two result viewers driven through their menus, as the operator would:
// fills, switching, sorting, files, printing.
#include "base/windows1252.h"
#include "engine/positions.h"
#include "reports/lap_times_report.h"
#include "reports/qt/grid_view.h"
#include "reports/qt/lap_times_window.h"
#include "reports/qt/qt_printer.h"
#include "reports/qt/result_reports.h"
#include "reports/qt/summary_window.h"
#include "reports/qt/text_report_window.h"
#include "reports/qt/twips.h"
#include "reports/result_files.h"
#include "support/recording_desktop_shell.h"
#include "support/recording_printer.h"
#include "support/report_races.h"
#include "support/test_doubles.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace kesto {
namespace {

namespace fs = std::filesystem;
using test::DriveLaps;
using test::Standings;

// KESTO_SCREENSHOT_DIR=<folder> saves a picture of the window there, for a look by eye.
void SaveScreenshot(QWidget* window, const char* name) {
    const QString folder = qEnvironmentVariable("KESTO_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        window->grab().save(folder + QLatin1Char('/') + QLatin1String(name) +
                            QStringLiteral(".png"));
}

QString CellText(GridView* grid, int row, int col) {
    QTableWidgetItem* item = grid->Table()->item(row, col);
    return item ? item->text() : QString();
}

void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class ResultViewersTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("kesto-viewers-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        race.state = test::NewRace(false);
        race.state.Names.IdName[6] = "Veronica";
        race.state.Names.NamedId[6] = 7;
        DriveLaps(race.state, 7, {5.0, 4.9, 5.1, 5.0});
        DriveLaps(race.state, 2, {6.5, 6.4, 8.6});
        DriveLaps(race.state, 11, {7.0});
        Standings(race.state);
        MakeReports(false);
    }
    void TearDown() override {
        reports.reset();
        FlushDeletes();
        fs::remove_all(folder);
    }
    void MakeReports(bool modal) {
        ResultPrinters printers;
        printers.defaultPrinter = [this]() -> std::unique_ptr<Printer> {
            return std::make_unique<test::PrinterRef>(printed);
        };
        printers.pdfPrinter = [](const std::string& path) -> std::unique_ptr<Printer> {
            return QtPrinter::ForPdf(QString::fromStdString(path));
        };
        ResultReportsOptions options;
        options.lapWindowModal = modal;
        reports = std::make_unique<ResultReports>(race.context, folder.string(), shell, printers,
                                                  options);
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }
    int Px(QWidget* widget, double twips) const { return TwipsToPixels(widget, twips); }

    fs::path folder;
    test::TestRace race;
    test::RecordingPrinter printed;
    test::RecordingDesktopShell shell;
    std::unique_ptr<ResultReports> reports;
};

TEST_F(ResultViewersTest, SummaryWithoutDataShowsTheMessageAndNoWindow) {
    race.state = test::NewRace(true);
    reports->mnuSummary_Click();
    EXPECT_EQ(reports->SummaryWindow(), nullptr);
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().text, "No data for current race.");
    EXPECT_EQ(race.dialogs.last().title, "Summary");
}

TEST_F(ResultViewersTest, SummaryWindowShowsTheFilledGrid) {
    reports->mnuSummary_Click();

    FrmKestoSummary* window = reports->SummaryWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "View Summary");
    EXPECT_EQ(window->objectName(), "frmKestoSummary");
    GridView* grid = window->GridWidget();
    EXPECT_TRUE(grid->isVisible());
    QTableWidget* table = grid->Table();
    EXPECT_EQ(table->rowCount(), 16);
    EXPECT_EQ(table->columnCount(), 13);
    EXPECT_EQ(grid->font().family(), "MS Sans Serif");
    EXPECT_EQ(CellText(grid, 1, 0), "Pos ");
    EXPECT_EQ(CellText(grid, 2, 1), "Veronica");
    EXPECT_EQ(CellText(grid, 2, 4), "0:20.000");
    EXPECT_EQ(table->item(2, 2)->background().color(),
              QColor(race.state.Settings.IdColor[6] & 0xFF,
                     (race.state.Settings.IdColor[6] >> 8) & 0xFF,
                     (race.state.Settings.IdColor[6] >> 16) & 0xFF));
    EXPECT_EQ(CellText(grid, 4, 4), "0:07.000"); // one lap: red time
    EXPECT_EQ(table->item(4, 4)->foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(table->item(2, 4)->textAlignment(), int(Qt::AlignCenter));
    EXPECT_TRUE(table->isRowHidden(0)); // header rows stay in view above the body
    EXPECT_FALSE(grid->HeaderRows()->isRowHidden(1));
    EXPECT_TRUE(grid->HeaderRows()->isRowHidden(2));

    const long long width = std::llround(PixelsToTwips(window, window->frameGeometry().width()));
    EXPECT_EQ(grid->ColumnWidth(0), Px(window, std::round(width / 22.95)));
    EXPECT_EQ(grid->ColumnWidth(4), Px(window, std::round(width / 9.66)));
}

TEST_F(ResultViewersTest, SummaryRefreshDuringARaceShowsTheCurrentStandings) {
    reports->mnuSummary_Click();
    FrmKestoSummary* window = reports->SummaryWindow();
    DriveLaps(race.state, 11, {5.0, 5.0, 5.0, 5.0, 5.0});
    Standings(race.state);

    window->mnuRefresh()->trigger();

    EXPECT_EQ(reports->SummaryWindow(), window);
    EXPECT_EQ(CellText(window->GridWidget(), 2, 2), "11");
    EXPECT_EQ(CellText(window->GridWidget(), 2, 3), "6");
}

TEST_F(ResultViewersTest, SummaryColumnsFollowTheWindowWidth) {
    reports->mnuSummary_Click();
    FrmKestoSummary* window = reports->SummaryWindow();
    const int gridWidth = window->GridWidget()->width();
    window->resize(window->width() * 2, window->height());
    QApplication::processEvents();
    const long long width = std::llround(PixelsToTwips(window, window->frameGeometry().width()));
    EXPECT_EQ(window->GridWidget()->ColumnWidth(1), Px(window, std::round(width / 8.35)));
    EXPECT_NEAR(window->GridWidget()->width(), gridWidth * 2, 2);
}

TEST_F(ResultViewersTest, ExitUnloadsTheSummaryWindow) {
    reports->mnuSummary_Click();
    reports->SummaryWindow()->mnuExit()->trigger();
    EXPECT_EQ(reports->SummaryWindow(), nullptr);
}

TEST_F(ResultViewersTest, SwitchingUnloadsOneViewerAndFillsTheOther) {
    reports->mnuSummary_Click();
    QPointer<FrmKestoSummary> summary = reports->SummaryWindow();

    summary->mnuLaps()->trigger();
    FlushDeletes();

    EXPECT_TRUE(summary.isNull());
    FrmKestoViewLaps* laps = reports->LapTimesWindow();
    ASSERT_NE(laps, nullptr);
    EXPECT_TRUE(laps->isVisible());
    EXPECT_EQ(laps->windowTitle(), "Lap Times sorted by Lap number");

    QPointer<FrmKestoViewLaps> lapsGuard = laps;
    laps->mnuSummary()->trigger();
    FlushDeletes();
    EXPECT_TRUE(lapsGuard.isNull());
    ASSERT_NE(reports->SummaryWindow(), nullptr);
    EXPECT_TRUE(reports->SummaryWindow()->isVisible());
    // A fresh window: its menus are all enabled again.
    EXPECT_TRUE(reports->SummaryWindow()->mnuLaps()->isEnabled());
}

TEST_F(ResultViewersTest, LapWindowShowsTheTableInCourierAtItsRaceWidth) {
    DriveLaps(race.state, 3, {9.0});
    Standings(race.state); // 4 cars with laps
    reports->mnuLapTimes_Click();

    FrmKestoViewLaps* window = reports->LapTimesWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), "frmKestoViewLaps");
    GridView* grid = window->GridWidget();
    EXPECT_EQ(grid->font().family(), "Courier New");
    EXPECT_EQ(grid->Table()->columnCount(), 15);
    EXPECT_EQ(grid->Table()->rowCount(), 20);
    EXPECT_EQ(CellText(grid, 1, 0), "Laps");
    EXPECT_EQ(CellText(grid, 0, 1), "7");
    EXPECT_EQ(CellText(grid, 1, 1), "Veronica");
    EXPECT_EQ(grid->Table()->item(0, 1)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter));
    EXPECT_EQ(CellText(grid, 3, 1), "4.90");
    EXPECT_EQ(grid->ColumnWidth(0), Px(window, 510));
    EXPECT_EQ(grid->ColumnWidth(4), Px(window, 750));
    EXPECT_EQ(window->frameGeometry().width(), Px(window, 4110));
    EXPECT_EQ(grid->width(), Px(window, 4110) - Px(window, 100));
}

TEST_F(ResultViewersTest, TheLapGridFollowsTheWindowOnlyInItsNormalState) {
    reports->mnuLapTimes_Click();
    FrmKestoViewLaps* window = reports->LapTimesWindow();
    window->resize(window->width() + 50, window->height() + 40);
    QApplication::processEvents();
    const QSize normal = window->GridWidget()->size();
    EXPECT_EQ(normal.width(), window->frameGeometry().width() - Px(window, 100));
    EXPECT_EQ(normal.height(), window->frameGeometry().height() - Px(window, 1250));

    const QSize before = window->size();
    window->showMaximized();
    QApplication::processEvents();
    EXPECT_NE(window->size(), before);
    EXPECT_EQ(window->GridWidget()->size(), normal);
}

TEST_F(ResultViewersTest, SortingTheLapStatisticsHidesTheLapGridMeanwhile) {
    reports->ViewerGridVisible(false); // no lap window: nothing to hide
    reports->mnuLapTimes_Click();
    GridView* grid = reports->LapTimesWindow()->GridWidget();
    std::vector<bool> seen;
    subSortLapTimes(race.state, [&](bool visible) {
        reports->ViewerGridVisible(visible);
        seen.push_back(grid->isVisible());
    });
    EXPECT_EQ(seen, (std::vector<bool>{false, true}));
}

TEST_F(ResultViewersTest, TheLapWindowIsModalUnlessTestsSayOtherwise) {
    reports->mnuLapTimes_Click();
    EXPECT_EQ(reports->LapTimesWindow()->windowModality(), Qt::NonModal);
    reports.reset();
    MakeReports(true);
    reports->mnuLapTimes_Click();
    EXPECT_EQ(reports->LapTimesWindow()->windowModality(), Qt::ApplicationModal);
    reports->LapTimesWindow()->close();
}

TEST_F(ResultViewersTest, SortingSwitchesTheItemsAndKeepsTheLapLabels) {
    race.state.PracticeMode = true;
    reports->mnuLapTimes_Click();
    FrmKestoViewLaps* window = reports->LapTimesWindow();
    EXPECT_TRUE(window->mnuByLapTime()->isEnabled());
    EXPECT_FALSE(window->mnuByLap()->isEnabled());

    window->mnuByLapTime()->trigger();

    EXPECT_TRUE(reports->LapTable().SortByLapTime);
    EXPECT_FALSE(window->mnuByLapTime()->isEnabled());
    EXPECT_TRUE(window->mnuByLap()->isEnabled());
    EXPECT_EQ(window->windowTitle(), "Lap Times... sorted by LAP TIMES");
    GridView* grid = window->GridWidget();
    EXPECT_EQ(CellText(grid, 2, 0), "1");
    EXPECT_EQ(CellText(grid, 2, 7), "4.90");
    EXPECT_EQ(CellText(grid, 5, 7), "5.10");

    window->mnuByLap()->trigger();
    EXPECT_FALSE(reports->LapTable().SortByLapTime);
    EXPECT_TRUE(window->mnuByLapTime()->isEnabled());
    EXPECT_FALSE(window->mnuByLap()->isEnabled());
    EXPECT_EQ(CellText(grid, 2, 7), "5.00");
}

TEST_F(ResultViewersTest, LapWindowWithoutDataKeepsItsGridHidden) {
    race.state = test::NewRace(false);
    reports->mnuLapTimes_Click();
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().title, "Lap Times");
    ASSERT_NE(reports->LapTimesWindow(), nullptr);
    EXPECT_FALSE(reports->LapTimesWindow()->isVisible());
}

TEST_F(ResultViewersTest, SavingFromTheLapWindowWritesTheFileAndSaysSo) {
    race.state.LapsUnsaved = true;
    reports->mnuLapTimes_Click();
    race.dialogs.files.push_back(Path("race.lap"));

    reports->LapTimesWindow()->mnuSave()->trigger();

    EXPECT_TRUE(fs::exists(Path("race.lap")));
    EXPECT_FALSE(race.state.LapsUnsaved);
    EXPECT_EQ(race.dialogs.last().title, "File Saved");
    EXPECT_EQ(race.dialogs.fileChoices.back().title, "Save Laps File");
}

TEST_F(ResultViewersTest, OpeningATextReportHandsItToTheDesktop) {
    race.dialogs.files.push_back(Path("Race.TXT"));
    reports->mnuOpen_Click();
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], Path("Race.TXT"));
    EXPECT_EQ(reports->LapTimesWindow(), nullptr);
    EXPECT_EQ(reports->SummaryWindow(), nullptr);
}

TEST_F(ResultViewersTest, ATextReportTheDesktopCannotOpenIsShownInAWindowOfTheTimer) {
    race.state.Locale = NumberLocale{',', '.'};
    race.state.Names.IdName[6] = "Smith, Jo";
    reports->mnuSummary_Click();
    race.dialogs.files = {Path("summary.txt"), Path("summary.txt")};
    reports->SummaryWindow()->mnuSave()->trigger();
    race.dialogs.shown.clear();
    shell.canOpen = false;

    reports->mnuOpen_Click();

    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().text, "The desktop could not open\n" + Path("summary.txt") +
                                            "\nIt is shown in a window of the timer.");
    TextReportWindow* window = reports->TextWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), Path("summary.txt"));
    EXPECT_TRUE(window->Text()->isReadOnly());
    EXPECT_TRUE(window->Text()->font().fixedPitch());
    std::string saved;
    ASSERT_TRUE(ReadResultFile(Path("summary.txt"), saved, nullptr));
    saved.erase(std::remove(saved.begin(), saved.end(), '\r'), saved.end());
    EXPECT_EQ(window->Text()->toPlainText().toStdString(), saved); // as saved, byte for byte
    EXPECT_NE(saved.find("1 Smith, Jo"), std::string::npos);
    SaveScreenshot(window, "text-report");
}

TEST_F(ResultViewersTest, AnOpenedLapFileShowsUnsortableUnderItsPath) {
    reports->mnuLapTimes_Click();
    race.dialogs.files.push_back(Path("race.lap"));
    reports->LapTimesWindow()->mnuSave()->trigger();
    reports->LapTimesWindow()->close();
    reports->mnuSummary_Click();
    ASSERT_TRUE(reports->SummaryWindow()->isVisible());

    race.dialogs.files.push_back(Path("race.lap"));
    reports->SummaryWindow()->mnuOpen()->trigger();

    EXPECT_EQ(reports->SummaryWindow(), nullptr); // the summary was unloaded
    FrmKestoViewLaps* window = reports->LapTimesWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), Path("race.lap"));
    EXPECT_FALSE(window->mnuSort()->menuAction()->isEnabled());
    EXPECT_EQ(CellText(window->GridWidget(), 1, 1), "Veronica");
    EXPECT_EQ(CellText(window->GridWidget(), 3, 1), "4.90");
}

TEST_F(ResultViewersTest, AnOpenedSummaryFileCannotBeSavedOrSwitched) {
    std::string text = "20 Lap Race\r\n";
    for (int row = 0; row < 16; ++row)
        for (int col = 0; col < 13; ++col)
            text += (row == 5 && col == 4)
                        ? "Insufficent\r\n"
                        : "r" + std::to_string(row) + "c" + std::to_string(col) + "\r\n";
    std::ofstream(Path("final.sum"), std::ios::binary) << text;
    race.dialogs.files.push_back(Path("final.sum"));

    reports->mnuOpen_Click();

    FrmKestoSummary* window = reports->SummaryWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), Path("final.sum"));
    EXPECT_FALSE(window->mnuLaps()->isEnabled());
    EXPECT_FALSE(window->mnuSave()->isEnabled());
    EXPECT_TRUE(window->mnuPrint()->isEnabled());
    EXPECT_EQ(CellText(window->GridWidget(), 15, 12), "r15c12");
    EXPECT_EQ(window->GridWidget()->Table()->item(5, 4)->foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(window->GridWidget()->ColumnWidth(0), Px(window, 400));
    EXPECT_EQ(window->GridWidget()->ColumnWidth(1), Px(window, 1100));
    EXPECT_EQ(window->GridWidget()->ColumnWidth(12), Px(window, 500));
}

TEST_F(ResultViewersTest, PrintMenusPrintTheReports) {
    reports->mnuSummary_Click();
    reports->SummaryWindow()->mnuPrint()->trigger();
    EXPECT_TRUE(printed.ended);
    EXPECT_EQ(printed.ColumnOf(8, "1 Veronica"), 8);

    printed = test::RecordingPrinter();
    reports->mnuLapTimes_Click();
    reports->LapTimesWindow()->mnuPrint()->trigger();
    EXPECT_TRUE(printed.ended);
    EXPECT_EQ(printed.ColumnOf(6, "First"), 12);
    EXPECT_TRUE(race.dialogs.shown.empty());
}

TEST_F(ResultViewersTest, WithoutAPrinterThePrintoutReportsAProblem) {
    ResultPrinters printers;
    printers.defaultPrinter = []() -> std::unique_ptr<Printer> {
        return QtPrinter::ForPrinter(QString()); // no printer queue
    };
    reports = std::make_unique<ResultReports>(race.context, folder.string(), shell, printers);
    reports->PrintLaps();
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().text, "There was a problem printing to your printer.");
    EXPECT_EQ(race.dialogs.last().title, "");

    reports->mnuSummary_Click();
    reports->SummaryWindow()->mnuPrint()->trigger();
    EXPECT_EQ(race.dialogs.shown.size(), 2u);
    EXPECT_EQ(race.dialogs.last().text, "There was a problem printing to your printer.");
}

} // namespace
} // namespace kesto
