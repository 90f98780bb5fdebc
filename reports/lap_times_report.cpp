#include "reports/lap_times_report.h"

#include "engine/number_format.h"
#include "engine/positions.h"
#include "reports/report_messages.h"

#include <algorithm>

namespace kesto {
namespace {

constexpr int FirstLapRow = 2;
constexpr int FillRows = 3000;

bool AnyIdHasLap(const RaceState& state, int lap) {
    for (int id = 1; id <= MaxCarIds; ++id)
        if (state.LapTimes[id - 1][lap] != 0)
            return true;
    return false;
}

// Writes the lap labels from the first lap on while `hasLap` says so, and
// returns the row after the last one. The lap tables end at MaxLapNumber.
template <class HasLap>
int WriteLapLabels(const RaceState& state, ReportGrid& grid, HasLap hasLap) {
    int lap = state.Settings.FirstLapCount + 1;
    int row = FirstLapRow;
    while (lap >= 0 && lap <= MaxLapNumber && hasLap(lap)) {
        grid.EnsureRows(row + 1);
        grid.SetText(row, 0, LapLabel(lap));
        grid.SetAlign(row, 0, CellAlign::Centre);
        ++lap;
        ++row;
    }
    return row;
}

void WriteHeader(ReportGrid& grid, int col, int32_t color, std::string idText,
                 const std::string& name) {
    grid.SetBackground(0, col, color);
    grid.SetText(0, col, std::move(idText));
    grid.SetAlign(0, col, CellAlign::Left);
    grid.SetText(1, col, name);
    grid.SetAlign(1, col, CellAlign::Left);
}

void WriteColumn(const RaceState& state, const LapTable& table, ReportGrid& grid, int col, int id,
                 int lapRowCount) {
    for (int row = FirstLapRow; row < lapRowCount; ++row) {
        const int lap = state.Settings.FirstLapCount + row - 1;
        grid.SetText(row, col, LapCellText(table[id - 1][lap], state.Locale));
        grid.SetAlign(row, col, CellAlign::Centre);
    }
}

} // namespace

ReportGrid MakeLapGrid() {
    return ReportGrid(LapGridDesignRows, LapGridCols, 2, 1);
}

std::string LapTimesCaption(bool practice, bool sortByLapTime) {
    if (practice)
        return sortByLapTime ? "Lap Times... sorted by LAP TIMES"
                             : "Lap Times... sorted by LAP NUMBER";
    return sortByLapTime ? "Lap Times sorted by Lap Times" : "Lap Times sorted by Lap number";
}

std::string LapLabel(int lap) {
    return lap == 0 ? "RT" : std::to_string(lap);
}

std::string LapCellText(float seconds, const NumberLocale& locale) {
    if (FormatFixed(seconds, 2, locale) == FormatFixed(0, 2, locale))
        return {};
    return FormatNumberGrouped(seconds, 2, locale);
}

LapTimesFill FillLapTimes(RaceState& state, LapTableState& table, ReportGrid& grid) {
    LapTimesFill fill;
    grid.SetVisible(false);
    state.IdsWithLaps = CountIdsWithLaps(state);
    if (state.IdsWithLaps == 0) {
        fill.message = InformationMessage(LapTimesTitle, NoDataText);
        return fill;
    }
    // A fresh grid: no cell of an earlier race or file may pass for this one's.
    grid = MakeLapGrid();
    grid.SetVisible(false);
    grid.SetText(1, 0, "Laps");

    const LapTable* values = &state.LapTimes;
    if (state.PracticeMode) {
        for (int col = 1; col <= MaxCarIds; ++col) {
            WriteHeader(grid, col, state.Settings.IdColor[col - 1], std::to_string(col),
                        state.IdName(col));
        }
        grid.SetRows(FillRows);
        table.LapRowCount = static_cast<int16_t>(
            WriteLapLabels(state, grid, [&](int lap) { return AnyIdHasLap(state, lap); }));
        if (table.SortByLapTime) {
            subSortLapTimes(state);
            values = &state.SortedLapTimes;
        }
        for (int id = 1; id <= MaxCarIds; ++id)
            WriteColumn(state, *values, grid, id, id, table.LapRowCount);
    } else {
        grid.SetRows(FillRows);
        const int leader = state.RaceOrder[0];
        if (!IsValidId(leader)) {
            fill.message = InformationMessage(LapTimesTitle, "Insufficient data to view Laps");
            return fill;
        }
        table.LapRowCount = static_cast<int16_t>(WriteLapLabels(
            state, grid, [&](int lap) { return state.LapTimes[leader - 1][lap] > 0; }));
        for (int position = 1; position <= state.IdsWithLaps; ++position) {
            const int id = state.RaceOrder[position - 1];
            if (IsValidId(id))
                WriteHeader(grid, position, state.Settings.IdColor[id - 1],
                            std::to_string(state.Names.NamedId[id - 1]), state.IdName(id));
        }
        if (table.SortByLapTime) {
            subSortLapTimes(state);
            values = &state.SortedLapTimes;
        }
        for (int position = 1; position <= state.IdsWithLaps; ++position) {
            const int id = state.RaceOrder[position - 1];
            if (IsValidId(id))
                WriteColumn(state, *values, grid, position, id, table.LapRowCount);
        }
    }
    fill.caption = LapTimesCaption(state.PracticeMode, table.SortByLapTime);
    grid.SetRows(std::max<int>(table.LapRowCount, LapGridMinRows));
    grid.SetVisible(true);
    return fill;
}

LapCellSizes SizeCells(const RaceState& state) {
    LapCellSizes sizes;
    if (state.PracticeMode) {
        sizes.carColumns = MaxCarIds;
        sizes.gridWidth = 11510;
    } else {
        sizes.carColumns = CountIdsWithLaps(state);
        sizes.gridWidth = sizes.carColumnWidth * sizes.carColumns + sizes.firstColumnWidth + 500;
    }
    sizes.windowWidth = sizes.gridWidth + 100;
    return sizes;
}

} // namespace kesto
