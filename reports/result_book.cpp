#include "reports/result_book.h"

#include "reports/print_layout.h"
#include "reports/result_saving.h"
#include "reports/summary_report.h"

#include <filesystem>

namespace kesto {

ResultBook::ResultBook() : m_summary(MakeSummaryGrid()), m_laps(MakeLapGrid()) {}

std::optional<Message> ResultBook::FillSummary(RaceState& state) {
    std::optional<Message> message = kesto::FillSummary(state, m_summary);
    if (state.IdsWithLaps > 0)
        m_summaryFile.clear(); // the grid now holds the race, not the file
    return message;
}

LapTimesFill ResultBook::FillLapTimes(RaceState& state) {
    LapTimesFill fill = kesto::FillLapTimes(state, m_lapTable, m_laps);
    if (state.IdsWithLaps > 0)
        m_lapFile.clear(); // the grid now holds the race, not the file
    return fill;
}

GridFileRead ResultBook::OpenLapFile(const std::string& path, std::string_view text) {
    GridFileRead read = ReadLapGridFile(text, m_laps, m_files);
    m_laps.SetVisible(true);
    m_lapFile = path;
    return read;
}

RaceCharts ResultBook::Charts(const RaceState& state) const {
    if (m_lapFile.empty())
        return ChartsOfRace(state);
    return ChartsOfLapGrid(m_laps, state.Settings.IdColor,
                           std::filesystem::path(m_lapFile).filename().string());
}

GridFileRead ResultBook::OpenSummaryFile(const std::string& path, std::string_view text) {
    GridFileRead read = ReadSummaryGridFile(text, m_summary, m_files);
    m_summary.SetVisible(true);
    m_summaryFile = path;
    return read;
}

bool ResultBook::SaveSummary(RaceContext& ctx, const std::string& programFolder) {
    return SaveSummaryFile(ctx, programFolder, m_summary, m_files);
}

bool ResultBook::SaveLaps(RaceContext& ctx, const std::string& programFolder) {
    return SaveLapsFile(ctx, programFolder, m_laps, m_files);
}

bool ResultBook::PrintSummary(RaceContext& ctx, Printer& printer, const std::string& chartsPage) {
    const SummaryPrintHeader header = m_summaryFile.empty()
                                          ? RaceSummaryPrintHeader(ctx.state)
                                          : FileSummaryPrintHeader(m_summaryFile, m_files);
    return kesto::PrintSummary(ctx, m_summary, header, m_files, printer, chartsPage);
}

bool ResultBook::PrintLaps(RaceContext& ctx, Printer& printer, const std::string& chartsPage) {
    return kesto::PrintLaps(ctx, printer, chartsPage);
}

} // namespace kesto
