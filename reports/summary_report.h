#pragma once
// The race summary: one row per car with laps, total time, gaps, best-lap
// speed, best, average and median lap and the "crash" laps, written into the
// summary viewer's grid (mnuSummary_Click of the race screen). It also leaves
// AverageLap, CrashCount and CrashPercent in the race state for the summary
// text file and the summary printout.

#include "base/dialogs.h"
#include "engine/race_state.h"
#include "reports/report_grid.h"

#include <array>
#include <optional>
#include <string>

namespace kesto {

inline constexpr int SummaryRows = 16;
inline constexpr int SummaryCols = 13;

// An empty summary grid as the viewer has it when it is created: 16 rows,
// 13 columns, 2 fixed header rows.
ReportGrid MakeSummaryGrid();

// Fills `grid` from the race state, emptied first. Returns the message to show instead when
// there is nothing to show:
//  - no car has a lap: "No data for current race." (the grid is not touched);
//  - a race without a running order: "Insufficient data to view Summary"
//    (headers written, no car row, grid left hidden).
// Both carry the title "Summary" and the information icon.
std::optional<Message> FillSummary(RaceState& state, ReportGrid& grid);

// The per-car statistics of the summary, shared with the summary text file.
// AverageLap: the laps from FirstLapCount + 2 on, summed in single precision
// and divided by LapCount - 1, once the car has more than FirstLapCount + 3
// laps; otherwise 0.
void ComputeAverageLap(RaceState& state, int id);
// CrashCount: laps slower than 1.2 x the best lap; CrashPercent: their share
// of LapCount, rounded half to even (1 in 8 is 12, 3 in 8 is 38).
void ComputeCrashes(RaceState& state, int id);
// The crash rule itself, shared with the charts: the threshold is 1.2 x the
// best lap in seconds, rounded to single precision, and a lap is a crash when
// the threshold is not at least the lap (a lap equal to it is no crash).
float CrashThreshold(int32_t bestLapMs);
bool IsCrashLap(float lapSeconds, float threshold);

// Best-lap speed "0.0" (SpeedMultiplier / best lap in seconds) and best lap
// "0.00" (1000.00 while the car has no best lap).
std::string BestLapSpeedText(const RaceState& state, int id);
std::string BestLapText(const RaceState& state, int id);

// Column widths of the summary grid in twips for a window `windowWidth` twips wide.
std::array<int, SummaryCols> SummaryColumnWidths(long long windowWidth);

// The widths a summary grid file gets when it is opened.
inline constexpr std::array<int, SummaryCols> SummaryFileColumnWidths = {
    400, 1100, 750, 500, 950, 700, 700, 700, 700, 700, 700, 600, 500};

} // namespace kesto
