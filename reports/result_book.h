#pragma once
// The result reports' data, kept by the report operations for the life of the
// main window: the summary and the lap table as last filled from the race or
// read from a file, where the summary came from, the lap table's sort order
// and what the files leave behind. Filling, opening, saving and printing all
// work on it, so none of them needs a window; the viewer windows only show
// what it holds.

#include "base/printer.h"
#include "engine/race_context.h"
#include "reports/lap_times_report.h"
#include "reports/race_charts.h"
#include "reports/report_grid.h"
#include "reports/result_file_state.h"
#include "reports/result_files.h"

#include <optional>
#include <string>
#include <string_view>

namespace kesto {

class ResultBook final {
public:
    ResultBook();

    const ReportGrid& Summary() const { return m_summary; }
    const ReportGrid& Laps() const { return m_laps; }
    LapTableState& LapTable() { return m_lapTable; }
    ResultFileState& Files() { return m_files; }
    // The summary file the summary grid shows; empty while it shows the race.
    const std::string& SummaryFile() const { return m_summaryFile; }
    // The .lap file the lap grid shows; empty while it shows the race. The
    // charts show that file until the lap table is filled from the race again
    // or the charts are sent back to the race (CloseLapFile; the lap grid
    // keeps the file's cells).
    const std::string& LapFile() const { return m_lapFile; }
    void CloseLapFile() { m_lapFile.clear(); }
    // The charts of the opened .lap file while there is one, else of the race.
    RaceCharts Charts(const RaceState& state) const;

    // The summary of the race as it stands (mnuSummary_Click); the message to
    // show instead when there is nothing to show (see FillSummary).
    std::optional<Message> FillSummary(RaceState& state);
    // The lap table of the race as it stands, in the kept sort order.
    LapTimesFill FillLapTimes(RaceState& state);
    // A lap or summary grid file's text, read into the grid it fills.
    GridFileRead OpenLapFile(const std::string& path, std::string_view text);
    GridFileRead OpenSummaryFile(const std::string& path, std::string_view text);

    // The viewers' Save: the grid as it stands, or the text report of the race.
    bool SaveSummary(RaceContext& ctx, const std::string& programFolder);
    bool SaveLaps(RaceContext& ctx, const std::string& programFolder);
    // The summary grid under the header of whatever it shows: the race's, or
    // an opened file's own. A `chartsPage` (SVG) follows on a page of its own.
    bool PrintSummary(RaceContext& ctx, Printer& printer, const std::string& chartsPage = {});
    bool PrintLaps(RaceContext& ctx, Printer& printer, const std::string& chartsPage = {});

private:
    ReportGrid m_summary;
    ReportGrid m_laps;
    LapTableState m_lapTable;
    ResultFileState m_files;
    std::string m_summaryFile;
    std::string m_lapFile;
};

} // namespace kesto
