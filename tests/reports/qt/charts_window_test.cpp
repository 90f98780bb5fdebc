// The charts of the race on the screen, on paper and as SVG: the charts
// window driven as the operator would, the charts page of the printouts
// through the printer seam, and the SVG picture for the live board.
#include "config/first_run_seed.h"
#include "engine/race_control.h"
#include "reports/qt/charts_window.h"
#include "reports/qt/lap_times_window.h"
#include "reports/qt/qt_printer.h"
#include "reports/qt/race_charts_svg.h"
#include "reports/qt/result_reports.h"
#include "reports/qt/summary_window.h"
#include "support/race_rig.h"
#include "support/recording_desktop_shell.h"
#include "support/recording_printer.h"
#include "support/report_races.h"
#include "support/temp_folder.h"
#include "support/test_doubles.h"
#include "web/qt/result_sets.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QSvgRenderer>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace kesto {
namespace {

// The points of car `id`'s line in a chart.
QList<QPointF> LineOf(QChartView* view, int id) {
    for (QAbstractSeries* series : view->chart()->series())
        if (series->type() == QAbstractSeries::SeriesTypeLine &&
            SeriesCarKey(series) == QString::number(id))
            return qobject_cast<QLineSeries*>(series)->points();
    return {};
}

bool CarShown(QChartView* view, int id) {
    bool shown = false;
    for (QAbstractSeries* series : view->chart()->series())
        if (SeriesCarKey(series) == QString::number(id))
            shown = shown || series->isVisible();
    return shown;
}

class ChartsTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        race.state = test::NewRace(false);
        race.state.Names.IdName[6] = "Veronica";
        race.state.Names.NamedId[6] = 7;
        race.state.Names.IdName[1] = "Bob";
        race.state.Names.NamedId[1] = 2;
        test::DriveLaps(race.state, 7, {5.0, 4.9, 5.1, 5.0, 4.95});
        test::DriveLaps(race.state, 2, {4.8, 6.4, 8.6, 6.0}); // lap 3 a crash
        test::Standings(race.state);
        ResultPrinters printers;
        printers.defaultPrinter = [this]() -> std::unique_ptr<Printer> {
            return std::make_unique<test::PrinterRef>(printed);
        };
        printers.pdfPrinter = [this](const std::string&) -> std::unique_ptr<Printer> {
            return std::make_unique<test::PrinterRef>(printed);
        };
        ResultReportsOptions options;
        options.lapWindowModal = false;
        reports = std::make_unique<ResultReports>(race.context, folder.string(), shell, printers,
                                                  options);
    }
    void TearDown() override {
        reports.reset();
        TempFolderTest::TearDown();
    }
    FrmCharts* OpenCharts() {
        reports->ShowCharts();
        FrmCharts* window = reports->ChartsWindow();
        EXPECT_TRUE(window && window->isVisible());
        return window;
    }

    test::TestRace race;
    test::RecordingPrinter printed;
    test::RecordingDesktopShell shell;
    std::unique_ptr<ResultReports> reports;
};

TEST_F(ChartsTest, TheWindowDrawsTheRaceAndRebuildsOnlyWhenLapsChange) {
    FrmCharts* window = OpenCharts();
    EXPECT_EQ(window->FollowTimer().interval(), 1000);
    EXPECT_TRUE(window->FollowTimer().isActive());
    EXPECT_EQ(window->Rebuilds(), 1);
    const RaceCharts charts = ChartsOfRace(race.state);
    for (const CarChart& car : charts.cars) {
        QList<QPointF> laps, positions;
        for (const ChartLap& lap : car.laps)
            laps.append(QPointF(lap.lap, lap.seconds));
        for (const ChartPosition& p : car.positions)
            positions.append(QPointF(p.lap, p.position));
        EXPECT_EQ(LineOf(window->LapTimesView(), car.id), laps);
        EXPECT_EQ(LineOf(window->LapChartView(), car.id), positions);
    }
    EXPECT_EQ(LineOf(window->LapChartView(), 2).first(), QPointF(1, 1)); // 4.8 s leads lap 1

    window->Follow(); // the timer's step with nothing new
    EXPECT_EQ(window->Rebuilds(), 1);
    test::DriveLaps(race.state, 2, {6.1});
    window->Follow();
    EXPECT_EQ(window->Rebuilds(), 2);
    EXPECT_EQ(LineOf(window->LapTimesView(), 2).size(), 5);

    window->close();
    EXPECT_FALSE(window->FollowTimer().isActive());
}

TEST_F(ChartsTest, LegendEntriesSwitchACarAndCrashLapsCanBeHidden) {
    FrmCharts* window = OpenCharts();
    window->resize(1000, 760);
    QLegendMarker* veronica = nullptr;
    for (QLegendMarker* marker : window->LapChartView()->chart()->legend()->markers())
        if (marker->isVisible() && marker->label() == QStringLiteral("Veronica"))
            veronica = marker;
    ASSERT_NE(veronica, nullptr);

    emit veronica->clicked();
    EXPECT_FALSE(CarShown(window->LapTimesView(), 7));
    EXPECT_FALSE(CarShown(window->LapChartView(), 7));
    EXPECT_TRUE(CarShown(window->LapTimesView(), 2));
    emit veronica->clicked();
    EXPECT_TRUE(CarShown(window->LapTimesView(), 7));

    auto* lapTime =
        qobject_cast<QValueAxis*>(window->LapTimesView()->chart()->axes(Qt::Vertical).first());
    EXPECT_GT(lapTime->max(), 8.6);
    window->HideCrashLapsBox()->setChecked(true);
    lapTime =
        qobject_cast<QValueAxis*>(window->LapTimesView()->chart()->axes(Qt::Vertical).first());
    EXPECT_LT(lapTime->max(), 8.6);
    EXPECT_EQ(LineOf(window->LapTimesView(), 2), (QList<QPointF>{{1, 4.8f}, {2, 6.4f}, {4, 6.0f}}));
    window->HideCrashLapsBox()->setChecked(false);
    if (const QString dir = qEnvironmentVariable("KESTO_SCREENSHOT_DIR"); !dir.isEmpty())
        window->grab().save(dir + QStringLiteral("/charts_window.png"));
}

TEST_F(ChartsTest, AnOpenedLapFileIsChartedUntilTheRaceIsAskedFor) {
    reports->mnuLapTimes_Click();
    race.dialogs.files = {(folder / "heat.lap").string(), (folder / "heat.lap").string()};
    reports->LapTimesWindow()->mnuSave()->trigger();
    FrmCharts* window = OpenCharts();
    EXPECT_FALSE(window->ShowRaceButton()->isVisibleTo(window));
    test::DriveLaps(race.state, 7, {5.0}); // the race goes on; the file does not

    reports->mnuOpen_Click();

    EXPECT_EQ(window->LapTimesView()->chart()->title(), QStringLiteral("Lap Times, heat.lap"));
    EXPECT_EQ(LineOf(window->LapTimesView(), 7).size(), 5);
    EXPECT_TRUE(window->ShowRaceButton()->isVisibleTo(window));
    window->ShowRaceButton()->click();
    EXPECT_EQ(window->LapTimesView()->chart()->title(), QStringLiteral("Lap Times, 20 Lap Race"));
    EXPECT_EQ(LineOf(window->LapTimesView(), 7).size(), 6);
}

TEST_F(ChartsTest, PrintoutsOfferTheChartsPageAndPdfsAlwaysHaveIt) {
    reports->mnuLapTimes_Click();
    QAction* item = reports->mnuPrintCharts();
    const QList<QAction*> file =
        reports->LapTimesWindow()->findChild<QMenu*>(QStringLiteral("mnuFile"))->actions();
    ASSERT_EQ(file.indexOf(item), file.indexOf(reports->LapTimesWindow()->mnuSavePdf()) + 1);
    EXPECT_FALSE(item->isChecked());

    reports->PrintLaps();
    EXPECT_TRUE(printed.ended);
    EXPECT_TRUE(printed.pictures.empty()); // the printout as it always was

    item->trigger(); // "Print with Charts"
    printed = test::RecordingPrinter();
    reports->PrintLaps();
    ASSERT_EQ(printed.pictures.size(), 1u);
    EXPECT_NE(printed.pictures[0].find("Lap Chart, 20 Lap Race"), std::string::npos);
    EXPECT_NE(printed.pictures[0].find("Veronica"), std::string::npos);

    item->trigger();
    race.dialogs.files = {(folder / "laps.pdf").string()};
    printed = test::RecordingPrinter();
    reports->LapTimesWindow()->mnuSavePdf()->trigger();
    EXPECT_EQ(printed.pictures.size(), 1u);

    // An opened summary file holds no laps: its printout has no charts page.
    std::string sum = "20 Lap Race\r\n";
    for (int cell = 0; cell < 16 * 13; ++cell)
        sum += "\r\n";
    WriteBytes(folder / "old.sum", sum);
    race.dialogs.files = {(folder / "old.sum").string(), (folder / "summary.pdf").string()};
    reports->mnuOpen_Click();
    printed = test::RecordingPrinter();
    reports->SummaryWindow()->mnuSavePdf()->trigger();
    EXPECT_TRUE(printed.ended);
    EXPECT_TRUE(printed.pictures.empty());
}

// The live board's results: the race's charts, an opened lap file's, none
// for a summary file; each a picture the page carries inside itself.
TEST_F(ChartsTest, TheLiveBoardResultsShowBothChartsAsPictures) {
    std::vector<RaceCharts> drawn;
    const ChartPicturesMaker pictures = [&](const RaceCharts& charts) {
        drawn.push_back(charts);
        return std::vector<ResultChart>{{"Lap Times", RenderLapTimeChartSvg(charts).toStdString()},
                                        {"Lap Chart", RenderLapChartSvg(charts).toStdString()}};
    };
    const ResultSet results = RaceResultSet(race.state, {}, pictures);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].cars, ChartsOfRace(race.state).cars);
    ASSERT_EQ(results.charts.size(), 2u);
    EXPECT_TRUE(QSvgRenderer(QByteArray::fromStdString(results.charts[0].svg)).isValid());
    EXPECT_NE(results.charts[0].svg.find("Lap Times, 20 Lap Race"), std::string::npos);
    EXPECT_NE(results.charts[1].svg.find("Lap Chart, 20 Lap Race"), std::string::npos);
    EXPECT_NE(results.charts[1].svg.find(", sans-serif\""),
              std::string::npos); // any browser's face
    const std::string page = ResultsPageHtml(&results, false);
    EXPECT_NE(page.find("<img alt=\"Lap Chart\" src=\"data:image/svg+xml;base64,"),
              std::string::npos);
    if (const QString dir = qEnvironmentVariable("KESTO_SCREENSHOT_DIR"); !dir.isEmpty()) {
        QFile file(dir + QStringLiteral("/results_page.html"));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray::fromStdString(page));
    }

    reports->mnuLapTimes_Click();
    race.dialogs.files = {(folder / "heat.lap").string(), (folder / "heat.lap").string()};
    reports->LapTimesWindow()->mnuSave()->trigger();
    reports->mnuOpen_Click();
    const ResultSet file = OpenedResultSet(reports->Book(), (folder / "heat.lap").string(), false,
                                           race.context, {}, pictures);
    EXPECT_EQ(file.charts.size(), 2u);
    EXPECT_EQ(drawn.back().caption, "heat.lap");
    EXPECT_TRUE(OpenedResultSet(reports->Book(), "old.sum", true, race.context, {}, pictures)
                    .charts.empty());
}

TEST(ChartsSvg, BothChartsWithTheirTitlesAndNames) {
    RaceState state = test::NewRace(false);
    state.Names.IdName[2] = "Carla";
    test::DriveLaps(state, 3, {5.0, 5.2, 5.1});
    test::DriveLaps(state, 9, {5.5, 4.9});

    const QByteArray svg = RenderRaceChartsSvg(ChartsOfRace(state), QSize(1200, 900));

    EXPECT_TRUE(QSvgRenderer(svg).isValid());
    for (const char* text : {"Lap Times, 20 Lap Race", "Lap Chart, 20 Lap Race", "Carla", "ID 9"})
        EXPECT_TRUE(svg.contains(text)) << text;
}

// A 20-lap demo race of the first run's 14 cars, raced tick by tick, on the
// screen and saved as PDF; KESTO_SCREENSHOT_DIR keeps both for docs/.
TEST(ChartsPictures, ADemoRaceOnTheScreenAndOnPaper) {
    test::RaceRig rig;
    rig.state.Settings = FirstRunSettings();
    rig.state.Names = FirstRunNames();
    rig.state.DemoMode = true;
    rig.state.LapRace = true;
    rig.state.NumberOfLaps = 20;
    rig.state.RaceFormatText = "Demo - 20 Lap Race";
    std::mt19937 numbers(2026);
    std::uniform_real_distribution<double> draw(0, 1);
    for (int i = 0; i < 20000; ++i)
        rig.race.random.values.push_back(draw(numbers));
    rig.control.ReSet();
    rig.control.cmdStart_Click();
    for (int tick = 0; tick < 100000 && !rig.state.RaceIsOver; ++tick)
        rig.Tick(10);
    ASSERT_TRUE(rig.state.RaceIsOver);

    const QString dir = qEnvironmentVariable("KESTO_SCREENSHOT_DIR");
    const std::filesystem::path pdf =
        std::filesystem::temp_directory_path() / "kesto-charts-demo-race.pdf";
    ResultPrinters printers;
    printers.pdfPrinter = [](const std::string& path) -> std::unique_ptr<Printer> {
        return QtPrinter::ForPdf(QString::fromStdString(path));
    };
    ResultReportsOptions options;
    options.lapWindowModal = false;
    test::RecordingDesktopShell shell;
    ResultReports reports(rig.race.context, dir.toStdString(), shell, printers, options);
    reports.ShowCharts();
    FrmCharts* window = reports.ChartsWindow();
    window->resize(1200, 900);
    QCoreApplication::sendPostedEvents();
    int entries = 0;
    for (QLegendMarker* marker : window->LapTimesView()->chart()->legend()->markers())
        entries += marker->isVisible();
    EXPECT_EQ(entries, 14);
    if (!dir.isEmpty())
        window->grab().save(dir + QStringLiteral("/charts_window_demo.png"));

    reports.mnuLapTimes_Click();
    rig.race.dialogs.files = {pdf.string()};
    reports.LapTimesWindow()->mnuSavePdf()->trigger();
    ASSERT_TRUE(std::filesystem::exists(pdf));
    if (!dir.isEmpty())
        std::filesystem::copy_file(pdf, dir.toStdString() + "/charts_demo_laps.pdf",
                                   std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(pdf);
}

} // namespace
} // namespace kesto
