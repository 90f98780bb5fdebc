// The lap times table: lap rows, car columns, sorting and the viewer's sizes.
#include "engine/positions.h"
#include "reports/lap_times_report.h"
#include "support/report_races.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

using test::DriveLaps;
using test::NewRace;
using test::Standings;

TEST(LapTimesFill, NoDataLeavesTheGridHidden) {
    RaceState state = NewRace(true);
    LapTableState table;
    ReportGrid grid = MakeLapGrid();

    LapTimesFill fill = FillLapTimes(state, table, grid);

    ASSERT_TRUE(fill.message);
    EXPECT_EQ(fill.message->title, "Lap Times");
    EXPECT_EQ(fill.message->text, "No data for current race.");
    EXPECT_EQ(fill.message->icon, MessageIcon::Information);
    EXPECT_FALSE(grid.Visible());
    EXPECT_EQ(grid.Text(1, 0), "");
}

TEST(LapTimesFill, RaceWithoutRunningOrderIsInsufficientData) {
    RaceState state = NewRace(false);
    DriveLaps(state, 2, {5.0});
    LapTableState table;
    ReportGrid grid = MakeLapGrid();

    LapTimesFill fill = FillLapTimes(state, table, grid);

    ASSERT_TRUE(fill.message);
    EXPECT_EQ(fill.message->text, "Insufficient data to view Laps");
    EXPECT_EQ(fill.message->title, "Lap Times");
    EXPECT_EQ(grid.Text(1, 0), "Laps");
    EXPECT_EQ(grid.Text(2, 0), "");
    EXPECT_FALSE(grid.Visible());
}

TEST(LapTimesFill, PracticeRowsRunWhileAnyIdHasATime) {
    RaceState state = NewRace(true);
    state.Names.IdName[4] = "Eddie";
    DriveLaps(state, 5, {5.01, 4.87, 5.2});
    LapTableState table;
    ReportGrid grid = MakeLapGrid();

    LapTimesFill fill = FillLapTimes(state, table, grid);

    ASSERT_FALSE(fill.message);
    EXPECT_EQ(fill.caption, "Lap Times... sorted by LAP NUMBER");
    EXPECT_EQ(grid.Rows(), 20);
    EXPECT_EQ(table.LapRowCount, 5);
    EXPECT_EQ(grid.Text(1, 0), "Laps");
    EXPECT_EQ(grid.Text(0, 5), "5");
    EXPECT_EQ(grid.Cell(0, 5).background, state.Settings.IdColor[4]);
    EXPECT_EQ(grid.Cell(0, 5).align, CellAlign::Left);
    EXPECT_EQ(grid.Text(1, 5), "Eddie");
    EXPECT_EQ(grid.Text(2, 0), "1");
    EXPECT_EQ(grid.Text(4, 0), "3");
    EXPECT_EQ(grid.Cell(4, 0).align, CellAlign::Centre);
    EXPECT_EQ(grid.Text(5, 0), "");
    EXPECT_EQ(grid.Text(2, 5), "5.01");
    EXPECT_EQ(grid.Text(3, 5), "4.87");
    EXPECT_EQ(grid.Text(4, 5), "5.20");
    EXPECT_EQ(grid.Text(2, 1), ""); // every other ID's column is empty
    EXPECT_TRUE(grid.Cell(2, 1).written);
    EXPECT_EQ(grid.Text(0, 14), "14");
    EXPECT_TRUE(grid.Visible());
}

TEST(LapTimesFill, RaceBegunWithLapZeroStartsWithTheRtRow) {
    RaceState state = NewRace(false, -1);
    DriveLaps(state, 3, {1.5, 5.0, 5.1});
    DriveLaps(state, 8, {1.7, 5.3});
    state.Names.NamedId[2] = 3; // a name was chosen for ID 3 only
    Standings(state);
    LapTableState table;
    ReportGrid grid = MakeLapGrid();

    LapTimesFill fill = FillLapTimes(state, table, grid);

    ASSERT_FALSE(fill.message);
    EXPECT_EQ(fill.caption, "Lap Times sorted by Lap number");
    EXPECT_EQ(grid.Text(2, 0), "RT");
    EXPECT_EQ(grid.Text(3, 0), "1");
    EXPECT_EQ(grid.Text(4, 0), "2");
    EXPECT_EQ(grid.Text(5, 0), "");
    EXPECT_EQ(grid.Text(2, 1), "1.50");
    EXPECT_EQ(grid.Text(4, 1), "5.10");
    // Column 2 is the car in second place; its table ends in an empty cell.
    EXPECT_EQ(grid.Text(0, 2), "0"); // NamedId of ID 8: no name chosen
    EXPECT_EQ(grid.Cell(0, 2).background, state.Settings.IdColor[7]);
    EXPECT_EQ(grid.Text(0, 1), "3");
    EXPECT_EQ(grid.Cell(0, 1).background, state.Settings.IdColor[2]);
    EXPECT_EQ(grid.Text(3, 2), "5.30");
    EXPECT_EQ(grid.Text(4, 2), "");
    // Only the cars with laps get columns.
    EXPECT_FALSE(grid.Cell(0, 3).written);
    EXPECT_FALSE(grid.Cell(2, 3).written);
}

TEST(LapTimesFill, RaceRowsFollowTheLeadersLapsAlone) {
    RaceState state = NewRace(false);
    DriveLaps(state, 1, {5.0, 5.0, 5.0, 5.0});
    DriveLaps(state, 2, {7.0, 7.0});
    Standings(state);
    LapTableState table;
    ReportGrid grid = MakeLapGrid();

    ASSERT_FALSE(FillLapTimes(state, table, grid).message);
    EXPECT_EQ(table.LapRowCount, 6);
    EXPECT_EQ(grid.Text(5, 0), "4");
    EXPECT_EQ(grid.Text(5, 2), "");
}

TEST(LapTimesFill, SortedByLapTimeKeepsTheLapLabels) {
    RaceState state = NewRace(true);
    DriveLaps(state, 1, {5.3, 5.1, 5.2});
    LapTableState table;
    table.SortByLapTime = true;
    ReportGrid grid = MakeLapGrid();

    LapTimesFill fill = FillLapTimes(state, table, grid);

    EXPECT_EQ(fill.caption, "Lap Times... sorted by LAP TIMES");
    EXPECT_EQ(grid.Text(2, 0), "1");
    EXPECT_EQ(grid.Text(3, 0), "2");
    EXPECT_EQ(grid.Text(2, 1), "5.10");
    EXPECT_EQ(grid.Text(3, 1), "5.20");
    EXPECT_EQ(grid.Text(4, 1), "5.30");
    EXPECT_EQ(state.LapTimes[0][1], 5.3f); // the lap table itself is untouched

    state.PracticeMode = false;
    Standings(state);
    EXPECT_EQ(FillLapTimes(state, table, grid).caption, "Lap Times sorted by Lap Times");
    table.SortByLapTime = false;
    EXPECT_EQ(FillLapTimes(state, table, grid).caption, "Lap Times sorted by Lap number");
}

TEST(LapTimesFill, ALongerEarlierTableLeavesNothingBehind) {
    RaceState state = NewRace(true);
    DriveLaps(state, 1, std::vector<double>(30, 5.0));
    LapTableState table;
    ReportGrid grid = MakeLapGrid();
    ASSERT_FALSE(FillLapTimes(state, table, grid).message);
    EXPECT_EQ(grid.Rows(), 32);

    RaceState shorter = NewRace(true);
    DriveLaps(shorter, 1, {5.0, 5.0});
    ASSERT_FALSE(FillLapTimes(shorter, table, grid).message);
    EXPECT_EQ(grid.Rows(), 20);
    EXPECT_EQ(grid.Text(19, 0), ""); // nothing of the longer table is left
}

TEST(LapTimesFill, PracticeRowsStopAtTheEndOfTheLapTables) {
    RaceState state = NewRace(true, -1);
    for (int id = 1; id <= MaxCarIds; ++id)
        state.LapTimes[id - 1].fill(4.5f);
    state.LapCount[0] = MaxLapNumber;
    LapTableState table;
    ReportGrid grid = MakeLapGrid();

    ASSERT_FALSE(FillLapTimes(state, table, grid).message);
    EXPECT_EQ(table.LapRowCount, 2 + MaxLapNumber + 1); // laps 0..3000
    EXPECT_EQ(grid.Rows(), table.LapRowCount);
    EXPECT_EQ(grid.Text(grid.Rows() - 1, 0), "3000");
    EXPECT_EQ(grid.Text(grid.Rows() - 1, 14), "4.50");
}

TEST(LapTimesCells, ZeroIsEmptyAndLargeTimesAreGrouped) {
    NumberLocale locale;
    EXPECT_EQ(LapCellText(0.0f, locale), "");
    EXPECT_EQ(LapCellText(0.004f, locale), "");
    EXPECT_EQ(LapCellText(0.01f, locale), "0.01");
    EXPECT_EQ(LapCellText(1234.5f, locale), "1,234.50");
    NumberLocale comma{',', '.'};
    EXPECT_EQ(LapCellText(12.34f, comma), "12,34");
}

TEST(LapTimesSizes, PracticeHasFourteenColumnsAndARaceOneColumnPerCar) {
    RaceState practice = NewRace(true);
    LapCellSizes sizes = SizeCells(practice);
    EXPECT_EQ(sizes.firstColumnWidth, 510);
    EXPECT_EQ(sizes.carColumns, 14);
    EXPECT_EQ(sizes.gridWidth, 11510);
    EXPECT_EQ(sizes.windowWidth, 11610);

    RaceState race = NewRace(false);
    for (int id : {2, 4, 6, 8})
        DriveLaps(race, id, {5.0});
    sizes = SizeCells(race);
    EXPECT_EQ(sizes.carColumns, 4);
    EXPECT_EQ(sizes.gridWidth, 4010);
    EXPECT_EQ(sizes.windowWidth, 4110);
}

} // namespace
} // namespace kesto
