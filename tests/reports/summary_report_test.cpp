// The race summary grid: which cells a fill writes, in which colour, and the
// statistics it leaves in the race state.
#include "engine/positions.h"
#include "reports/summary_report.h"
#include "support/report_races.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

using test::DriveLaps;
using test::NewRace;
using test::Standings;

// Row of the car in practice is ID + 1.
constexpr int PracticeRow(int id) {
    return id + 1;
}

TEST(SummaryFill, NoCarWithALapShowsNoDataAndLeavesTheGridAlone) {
    RaceState state = NewRace(false, -1);
    DriveLaps(state, 3, {4.0}); // one pass: still 0 laps when the race begins with lap 0
    ReportGrid grid = MakeSummaryGrid();
    grid.SetText(5, 5, "old");

    std::optional<Message> message = FillSummary(state, grid);

    ASSERT_TRUE(message);
    EXPECT_EQ(message->title, "Summary");
    EXPECT_EQ(message->text, "No data for current race.");
    EXPECT_EQ(message->icon, MessageIcon::Information);
    EXPECT_EQ(state.IdsWithLaps, 0);
    EXPECT_EQ(grid.Text(5, 5), "old");
    EXPECT_TRUE(grid.Visible());
}

TEST(SummaryFill, RaceWithoutRunningOrderIsInsufficientData) {
    RaceState state = NewRace(false);
    DriveLaps(state, 1, {5.0, 5.0, 5.0}); // laps but RaceOrder never computed
    ReportGrid grid = MakeSummaryGrid();
    grid.ClearWrittenMarks();

    std::optional<Message> message = FillSummary(state, grid);

    ASSERT_TRUE(message);
    EXPECT_EQ(message->title, "Summary");
    EXPECT_EQ(message->text, "Insufficient data to view Summary");
    EXPECT_EQ(grid.Text(1, 0), "Pos ");
    for (int row = 2; row < SummaryRows; ++row)
        for (int col = 0; col < SummaryCols; ++col)
            EXPECT_FALSE(grid.Cell(row, col).written) << row << "," << col;
}

TEST(SummaryFill, PracticeCarsBelowThreeLapsShowInsufficentDataInRedOnly) {
    RaceState state = NewRace(true);
    state.Names.IdName[1] = "Alexander Graham Bell"; // cut to 12 characters
    state.Names.IdName[4] = "Eddie";
    DriveLaps(state, 2, {5.1, 5.2});
    DriveLaps(state, 5, {5.0, 4.8, 4.9, 5.5, 4.7});
    ReportGrid grid = MakeSummaryGrid();
    grid.ClearWrittenMarks();

    ASSERT_FALSE(FillSummary(state, grid));

    const int short2 = PracticeRow(2);
    EXPECT_EQ(grid.Text(short2, 0), "2");
    EXPECT_EQ(grid.Text(short2, 1), "Alexander Gr");
    EXPECT_EQ(grid.Text(short2, 4), "Insufficent");
    EXPECT_EQ(grid.Text(short2, 5), "Data");
    EXPECT_EQ(grid.Cell(short2, 4).foreground, RedColor);
    EXPECT_EQ(grid.Cell(short2, 5).foreground, RedColor);
    for (int col : {2, 3, 6, 7, 8, 9, 10, 11, 12})
        EXPECT_FALSE(grid.Cell(short2, col).written) << col;
    EXPECT_FALSE(grid.Cell(short2, 2).background);

    const int full5 = PracticeRow(5);
    EXPECT_EQ(grid.Text(full5, 1), "Eddie");
    EXPECT_EQ(grid.Text(full5, 2), "5");
    EXPECT_EQ(grid.Cell(full5, 2).background, state.Settings.IdColor[4]);
    EXPECT_EQ(grid.Text(full5, 3), "5");
    EXPECT_EQ(grid.Text(full5, 4), "0:24.900");
    EXPECT_EQ(grid.Text(full5, 8), "4.70");
    EXPECT_FALSE(grid.Cell(full5, 4).foreground);

    // Every unused ID still has its row; no "Lag" headers in practice.
    EXPECT_EQ(grid.Text(PracticeRow(14), 4), "Insufficent");
    EXPECT_EQ(grid.Text(1, 0), "");
    EXPECT_TRUE(grid.Cell(1, 0).written);
    for (int col : {5, 6}) {
        EXPECT_FALSE(grid.Cell(0, col).written);
        EXPECT_FALSE(grid.Cell(1, col).written);
    }
    EXPECT_EQ(grid.Text(0, 2), "ID");
    EXPECT_EQ(grid.Text(1, 12), "Crh %");
    EXPECT_TRUE(grid.Visible());
}

TEST(SummaryFill, RaceCarWithTwoLapsIsCompleteWithRedTimeAndGap) {
    RaceState state = NewRace(false);
    DriveLaps(state, 4, {5.0, 5.0, 5.0, 5.0});
    DriveLaps(state, 9, {12.0, 10.0}); // last pass after the leader's
    Standings(state);
    ReportGrid grid = MakeSummaryGrid();

    ASSERT_FALSE(FillSummary(state, grid));

    EXPECT_EQ(grid.Text(1, 0), "Pos ");
    EXPECT_EQ(grid.Text(0, 5), "Lag");
    EXPECT_EQ(grid.Text(1, 6), "Behind");
    const int row = 3; // second position
    EXPECT_EQ(grid.Text(row, 0), "2");
    EXPECT_EQ(grid.Text(row, 2), "9");
    EXPECT_EQ(grid.Cell(row, 2).background, state.Settings.IdColor[8]);
    EXPECT_EQ(grid.Text(row, 3), "2");
    EXPECT_EQ(grid.Text(row, 4), "0:22.000");
    EXPECT_EQ(grid.Text(row, 5), "2Lap");
    EXPECT_EQ(grid.Cell(row, 4).foreground, RedColor);
    EXPECT_EQ(grid.Cell(row, 5).foreground, RedColor);
    EXPECT_EQ(grid.Text(row, 6), "2Lap");
    EXPECT_EQ(grid.Text(row, 8), "10.00");
    EXPECT_EQ(grid.Text(row, 7), "163.6"); // 1636.36 / 10 s
    EXPECT_EQ(grid.Text(row, 9), "0.00");
    EXPECT_EQ(grid.Text(row, 10), "12.00"); // column 2 of the sorted laps 10, 12
    EXPECT_EQ(grid.Text(row, 11), "0");
    EXPECT_EQ(grid.Text(row, 12), "0");
    EXPECT_FALSE(grid.Cell(2, 4).foreground); // the leader has enough laps
}

TEST(SummaryFill, RaceRowsOfCarsWithoutLapsShowPositionNameAndColourOnly) {
    RaceState state = NewRace(false);
    DriveLaps(state, 1, {5.0, 5.0, 5.0});
    Standings(state);
    ReportGrid grid = MakeSummaryGrid();
    grid.ClearWrittenMarks();

    ASSERT_FALSE(FillSummary(state, grid));

    const int row = 3; // ID 2, never detected
    EXPECT_EQ(grid.Text(row, 0), "2");
    EXPECT_EQ(grid.Text(row, 2), "2");
    EXPECT_EQ(grid.Text(row, 4), "Insufficent");
    EXPECT_EQ(grid.Text(row, 5), "Data");
    for (int col : {3, 6, 7, 8, 9, 10, 11, 12})
        EXPECT_FALSE(grid.Cell(row, col).written) << col;
}

TEST(SummaryFill, RaceFromLapZeroWritesUndetectedCarsInFull) {
    RaceState state = NewRace(false, -1);
    DriveLaps(state, 6, {2.0, 5.0, 5.0, 5.0});
    Standings(state);
    ReportGrid grid = MakeSummaryGrid();

    ASSERT_FALSE(FillSummary(state, grid));

    const int row = 3; // ID 1, LapCount -1
    EXPECT_EQ(grid.Text(row, 2), "1");
    EXPECT_EQ(grid.Text(row, 3), "-1");
    EXPECT_EQ(grid.Text(row, 4), "0:00.000");
    EXPECT_EQ(grid.Text(row, 8), "1000.00");
    EXPECT_EQ(grid.Text(row, 9), "0.00");
    EXPECT_EQ(grid.Text(row, 11), "0");
    EXPECT_EQ(grid.Text(row, 12), "0");
    EXPECT_EQ(grid.Cell(row, 4).foreground, RedColor); // set before the row is written
}

TEST(SummaryFill, TheNextHeatLeavesNothingOfTheLastOne) {
    RaceState heat1 = NewRace(false);
    DriveLaps(heat1, 1, {5.0, 5.0});
    DriveLaps(heat1, 5, {5.0, 5.0, 5.0, 5.0, 5.0});
    Standings(heat1);
    ReportGrid grid = MakeSummaryGrid();
    ASSERT_FALSE(FillSummary(heat1, grid));
    ASSERT_EQ(grid.Text(2, 2), "5");

    // Heat 2 is practice, and car 5 does not run it.
    RaceState heat2 = NewRace(true);
    DriveLaps(heat2, 1, {5.0, 5.0, 5.0});
    ASSERT_FALSE(FillSummary(heat2, grid));

    EXPECT_EQ(grid.Text(0, 5), ""); // no "Lag" headers in practice
    EXPECT_EQ(grid.Text(2, 4), "0:15.000");
    EXPECT_FALSE(grid.Cell(2, 4).foreground);
    const int car5 = PracticeRow(5);
    EXPECT_EQ(grid.Text(car5, 4), "Insufficent");
    for (int col : {2, 3, 6, 7, 8, 9, 10, 11, 12})
        EXPECT_EQ(grid.Text(car5, col), "") << col;
    EXPECT_FALSE(grid.Cell(car5, 2).background);
}

TEST(SummaryStatistics, AverageFromLapOneNeedsMoreThanThreeLaps) {
    RaceState state = NewRace(false, 0);
    DriveLaps(state, 1, {6.0, 5.0, 7.0});
    state.AverageLap[0] = 99;
    ComputeAverageLap(state, 1);
    EXPECT_EQ(state.AverageLap[0], 0.0f);

    DriveLaps(state, 1, {9.0}); // laps 2..4 over 3
    ComputeAverageLap(state, 1);
    EXPECT_FLOAT_EQ(state.AverageLap[0], (5.0f + 7.0f + 9.0f) / 3);
}

TEST(SummaryStatistics, AverageFromLapZeroSumsEveryLapOverOneLess) {
    RaceState state = NewRace(false, -1);
    DriveLaps(state, 2, {3.0, 5.0, 6.0, 7.0, 8.0, 4.0}); // lap 0 and laps 1..5
    ComputeAverageLap(state, 2);
    EXPECT_FLOAT_EQ(state.AverageLap[1], (5.0f + 6.0f + 7.0f + 8.0f + 4.0f) / 4);
}

TEST(SummaryStatistics, ALapOfExactlyTheCrashThresholdIsNotACrash) {
    RaceState state = NewRace(false);
    // Best 5.00 s: the threshold is 6.0 in single precision.
    DriveLaps(state, 1, {7.0, 5.0, 6.0, 6.01});
    ComputeCrashes(state, 1);
    EXPECT_EQ(state.CrashCount[0], 2); // 7.00 and 6.01
    EXPECT_EQ(state.CrashPercent[0], 50);
}

TEST(SummaryStatistics, CrashPercentRoundsHalvesToEven) {
    RaceState state = NewRace(false);
    DriveLaps(state, 1, {9.0, 5.0, 5.0, 5.0, 5.0, 5.0, 5.0, 5.0});
    ComputeCrashes(state, 1);
    EXPECT_EQ(state.CrashCount[0], 1);
    EXPECT_EQ(state.CrashPercent[0], 12);

    DriveLaps(state, 2, {9.0, 5.0, 9.0, 5.0, 9.0, 5.0, 5.0, 5.0});
    ComputeCrashes(state, 2);
    EXPECT_EQ(state.CrashCount[1], 3);
    EXPECT_EQ(state.CrashPercent[1], 38);
}

TEST(SummaryStatistics, TotalTimeTextHasUnpaddedMinutes) {
    RaceState state = NewRace(false);
    DriveLaps(state, 1, {30.0, 20.0, 15.432});
    Standings(state);
    ReportGrid grid = MakeSummaryGrid();
    ASSERT_FALSE(FillSummary(state, grid));
    EXPECT_EQ(grid.Text(2, 4), "1:05.432");
}

TEST(SummaryStatistics, ACarPastTheLapTablesStillGetsItsStatistics) {
    RaceState state = NewRace(false);
    DriveLaps(state, 1, std::vector<double>(MaxLapNumber + 5, 2.0));
    ComputeAverageLap(state, 1);
    ComputeCrashes(state, 1);
    EXPECT_EQ(state.LapCount[0], MaxLapNumber + 5);
    EXPECT_EQ(state.CrashCount[0], 0);
    EXPECT_GT(state.AverageLap[0], 1.9f);
}

TEST(SummaryColumns, WidthsFollowTheWindowWidthBeyondSixteenBits) {
    auto widths = SummaryColumnWidths(11475);
    EXPECT_EQ(widths[0], 500); // 11475 / 22.95
    EXPECT_EQ(widths[2], 574); // 573.75
    EXPECT_EQ(widths[5], 875); // 874.6
    auto wide = SummaryColumnWidths(40000);
    EXPECT_EQ(wide[1], 4790); // 40000 / 8.35 = 4790.4
}

} // namespace
} // namespace kesto
