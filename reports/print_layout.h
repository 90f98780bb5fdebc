#pragma once
// The two printouts: the summary (PrintSummary, from the summary viewer's
// grid) and the lap times (PrintLaps, from the race state), laid out at fixed
// tab columns on a landscape page.

#include "base/printer.h"
#include "base/wall_clock.h"
#include "engine/race_context.h"
#include "reports/report_grid.h"
#include "reports/result_file_state.h"

#include <string>

namespace kesto {

// "Dec-07, 20:15": the summary printout's date.
std::string FormatSummaryPrintDate(const DateTime& t);
// "Dec. 07 2026, 20:15": the lap printout's date.
std::string FormatLapPrintDate(const DateTime& t);

// What the summary printout says above its rows, and which of its two
// layouts the rows take.
struct SummaryPrintHeader {
    std::string trackName;      // first title line
    std::string raceFormatText; // after "Summary,  "
    bool practice = false;      // names only, no positions and gaps
};

// The race's own: its track, its format caption and its mode.
SummaryPrintHeader RaceSummaryPrintHeader(const RaceState& state);
// An opened summary file's: its format line, the layout that line names, and
// the file's name where the track would be (the file does not keep the track).
SummaryPrintHeader FileSummaryPrintHeader(const std::string& path, const ResultFileState& files);

// Prints the summary grid as it stands (its cells are first copied into
// SummaryFileCells) under `header`. On a printer failure the user reads
// "There was a problem printing to your printer." and false is returned.
// A `chartsPage` picture (SVG), when given, follows on a page of its own.
bool PrintSummary(RaceContext& ctx, const ReportGrid& summaryGrid, const SummaryPrintHeader& header,
                  ResultFileState& files, Printer& printer, const std::string& chartsPage = {});

// Prints every car's lap times from lap 1 on, columns in running order.
// Failures are reported as for the summary; the charts page as above.
bool PrintLaps(RaceContext& ctx, Printer& printer, const std::string& chartsPage = {});

} // namespace kesto
