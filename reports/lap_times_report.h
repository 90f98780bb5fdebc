#pragma once
// The lap times table: one row per lap number, one column per car (IDs 1 to
// 14 in practice, running order in a race), written into the lap viewer's grid
// (mnuLapTimes_Click of the race screen), in lap order or each car's column
// sorted from fastest to slowest.

#include "base/dialogs.h"
#include "engine/race_state.h"
#include "reports/report_grid.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kesto {

inline constexpr int LapGridCols = 15;
inline constexpr int LapGridDesignRows = 2002;
inline constexpr int LapGridMinRows = 20;

// The lap viewer's own state, kept for the life of the main window.
struct LapTableState {
    bool SortByLapTime = false; // set by the viewer's sort menu
    int16_t LapRowCount = 0;    // first grid row after the last lap row, from the last fill
};

// An empty lap grid as the viewer has it when it is created: 2002 rows,
// 15 columns, 2 fixed header rows and 1 fixed column.
ReportGrid MakeLapGrid();

struct LapTimesFill {
    // Shown instead of the table (title "Lap Times", information icon):
    // "No data for current race." or "Insufficient data to view Laps".
    std::optional<Message> message;
    std::string caption; // the viewer's caption after a fill
};

// Fills `grid`, emptied first once there is data; the grid stays hidden when
// a message is returned.
LapTimesFill FillLapTimes(RaceState& state, LapTableState& table, ReportGrid& grid);

// "Lap Times... sorted by LAP NUMBER" and the other three captions.
std::string LapTimesCaption(bool practice, bool sortByLapTime);

// The label of a lap row: the lap number, "RT" for lap 0.
std::string LapLabel(int lap);

// A lap time cell: two decimals, digits grouped; empty when it shows as 0.
std::string LapCellText(float seconds, const NumberLocale& locale);

// Column and window widths of the lap viewer in twips (SizeCells): column 0
// 510, each car column 750; practice 14 columns and a grid 11510 wide, a race
// one column per car with laps and a grid 750 x n + 510 + 500 wide; the window
// 100 wider than the grid.
struct LapCellSizes {
    int firstColumnWidth = 510;
    int carColumnWidth = 750;
    int carColumns = 0; // columns 1..carColumns get carColumnWidth
    int gridWidth = 0;
    int windowWidth = 0;
};
LapCellSizes SizeCells(const RaceState& state);

} // namespace kesto
