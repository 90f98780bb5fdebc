#include "reports/summary_report.h"

#include "base/report_text.h"
#include "engine/number_format.h"
#include "engine/positions.h"
#include "reports/report_messages.h"

#include <algorithm>
#include <cmath>

namespace kesto {
namespace {

constexpr int NameChars = 12;

// The last lap column of a car that the lap tables hold (a car may count
// more than 3000 laps; the tables end at column 3000).
int LastStoredLap(int lapCount) {
    return std::min(lapCount, MaxLapNumber);
}

void WriteHeaders(const RaceState& state, ReportGrid& grid) {
    grid.SetText(1, 0, state.PracticeMode ? "" : "Pos ");
    grid.SetText(1, 1, "Name");
    grid.SetText(0, 2, "ID");
    grid.SetText(1, 2, "Color");
    grid.SetText(0, 3, "Total");
    grid.SetText(1, 3, "Laps");
    grid.SetText(0, 4, "Total");
    grid.SetText(1, 4, "Time");
    if (!state.PracticeMode) {
        grid.SetText(0, 5, "Lag");
        grid.SetText(1, 5, "First");
        grid.SetText(0, 6, "Lag");
        grid.SetText(1, 6, "Behind");
    }
    grid.SetText(0, 7, "Best");
    grid.SetText(1, 7, "MPH");
    grid.SetText(0, 8, "Best");
    grid.SetText(1, 8, "Lap");
    grid.SetText(0, 9, "Avg");
    grid.SetText(1, 9, "Time");
    grid.SetText(1, 10, "Med");
    grid.SetText(1, 11, "Crash");
    grid.SetText(1, 12, "Crh %");
}

void MarkInsufficient(ReportGrid& grid, int row) {
    grid.SetText(row, 4, "Insufficent");
    grid.SetForeground(row, 4, RedColor);
    grid.SetText(row, 5, "Data");
    grid.SetForeground(row, 5, RedColor);
}

void WriteIdCell(const RaceState& state, ReportGrid& grid, int row, int id) {
    grid.SetBackground(row, 2, state.Settings.IdColor[id - 1]);
    grid.SetText(row, 2, std::to_string(id));
}

// Columns 3 to 12 of a car's row.
void WriteStatistics(RaceState& state, ReportGrid& grid, int row, int id) {
    grid.SetText(row, 3, std::to_string(state.LapCount[id - 1]));
    grid.SetText(row, 4, TotalTimeText(state.LastPassTime[id - 1]));
    grid.SetText(row, 5, state.LagFirst[id - 1]);
    grid.SetText(row, 6, state.LagBehind[id - 1]);
    grid.SetText(row, 7, BestLapSpeedText(state, id));
    grid.SetText(row, 8, BestLapText(state, id));
    ComputeAverageLap(state, id);
    grid.SetText(row, 9, FormatFixed(state.AverageLap[id - 1], 2, state.Locale));
    subSortLapTimes(state);
    grid.SetText(row, 10, state.MedianLap[id - 1]);
    ComputeCrashes(state, id);
    grid.SetText(row, 11, std::to_string(state.CrashCount[id - 1]));
    grid.SetText(row, 12, std::to_string(state.CrashPercent[id - 1]));
}

} // namespace

ReportGrid MakeSummaryGrid() {
    return ReportGrid(SummaryRows, SummaryCols, 2, 0);
}

void ComputeAverageLap(RaceState& state, int id) {
    const int laps = state.LapCount[id - 1];
    const int firstLapCount = state.Settings.FirstLapCount;
    state.AverageLap[id - 1] = 0;
    if (laps > firstLapCount + 3) {
        float sum = 0;
        for (int n = firstLapCount + 2; n <= LastStoredLap(laps); ++n)
            sum += state.LapTimes[id - 1][n];
        state.AverageLap[id - 1] = sum / static_cast<float>(laps - 1);
    }
}

float CrashThreshold(int32_t bestLapMs) {
    return static_cast<float>(bestLapMs / 1000.0 * 1.2);
}

bool IsCrashLap(float lapSeconds, float threshold) {
    return !(threshold >= lapSeconds);
}

void ComputeCrashes(RaceState& state, int id) {
    const int laps = state.LapCount[id - 1];
    const float threshold = CrashThreshold(state.BestLapTime[id - 1]);
    int crashes = 0;
    for (int n = 1; n <= LastStoredLap(laps); ++n)
        if (IsCrashLap(state.LapTimes[id - 1][n], threshold))
            ++crashes;
    state.CrashCount[id - 1] = static_cast<int16_t>(crashes);
    state.CrashPercent[id - 1] =
        laps == 0 ? 0 : static_cast<int16_t>(RoundHalfEven(crashes * 100.0 / laps));
}

std::string BestLapSpeedText(const RaceState& state, int id) {
    // A best lap of 0 ms cannot be counted; the text is then empty, not a crash.
    return FormatFixed(static_cast<double>(state.SpeedMultiplier) /
                           (state.BestLapTime[id - 1] / 1000.0),
                       1, state.Locale);
}

std::string BestLapText(const RaceState& state, int id) {
    return FormatFixed(state.BestLapTime[id - 1] / 1000.0, 2, state.Locale);
}

std::optional<Message> FillSummary(RaceState& state, ReportGrid& grid) {
    state.IdsWithLaps = CountIdsWithLaps(state);
    if (state.IdsWithLaps == 0)
        return InformationMessage(SummaryTitle, NoDataText);

    // A fresh grid: no cell of an earlier race or file may pass for this one's.
    grid = MakeSummaryGrid();
    grid.SetVisible(false); // no half-filled grid on the screen
    WriteHeaders(state, grid);
    for (int row = 0; row < SummaryRows; ++row)
        for (int col = 0; col < SummaryCols; ++col)
            grid.SetAlign(row, col, CellAlign::Centre);

    if (state.PracticeMode) {
        for (int id = 1; id <= MaxCarIds; ++id) {
            const int row = id + 1;
            grid.SetText(row, 0, std::to_string(id));
            grid.SetText(row, 1, LeftChars(state.IdName(id), NameChars));
            if (state.LapCount[id - 1] < 3) {
                MarkInsufficient(grid, row);
                continue;
            }
            WriteIdCell(state, grid, row, id);
            WriteStatistics(state, grid, row, id);
        }
    } else {
        if (state.RaceOrder[0] == 0)
            return InformationMessage(SummaryTitle, "Insufficient data to view Summary");
        for (int position = 1; position <= MaxCarIds; ++position) {
            const int row = position + 1;
            const int id = state.RaceOrder[position - 1];
            if (!IsValidId(id))
                continue; // a running order is always a permutation of 1..14
            grid.SetText(row, 0, std::to_string(position));
            grid.SetText(row, 1, LeftChars(state.IdName(id), NameChars));
            WriteIdCell(state, grid, row, id);
            if (state.LapCount[id - 1] < 3)
                MarkInsufficient(grid, row);
            if (state.LapCount[id - 1] == 0)
                continue;
            WriteStatistics(state, grid, row, id);
        }
    }
    grid.SetVisible(true);
    return std::nullopt;
}

std::array<int, SummaryCols> SummaryColumnWidths(long long windowWidth) {
    static constexpr double Divisors[SummaryCols] = {22.95, 8.35,  20,    18.36, 9.66, 13.12, 13.12,
                                                     13.12, 13.12, 13.12, 13.12, 15.3, 18.36};
    std::array<int, SummaryCols> widths{};
    for (int col = 0; col < SummaryCols; ++col)
        widths[col] = RoundHalfEven(static_cast<double>(windowWidth) / Divisors[col]);
    return widths;
}

} // namespace kesto
