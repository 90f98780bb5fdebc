// Opened result files come from anywhere: the lap and summary grid readers must
// take any bytes without crashing, reading past the end or growing the lap
// grid beyond the lap tables.
#include "base/windows1252.h"
#include "reports/lap_times_report.h"
#include "reports/result_files.h"
#include "reports/summary_report.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text =
        kesto::Windows1252ToUtf8(std::string(reinterpret_cast<const char*>(data), size));

    kesto::ResultFileState files;
    kesto::ReportGrid laps = kesto::MakeLapGrid();
    kesto::GridFileRead read = kesto::ReadLapGridFile(text, laps, files);
    if (read.rows > kesto::LapFileMaxRows || laps.Rows() > kesto::LapFileMaxRows + 1 ||
        files.LapFileCells.size() > static_cast<std::size_t>(kesto::LapFileMaxRows))
        std::abort();
    // What was read writes back as a lap file.
    kesto::LapGridFileText(laps, files);

    kesto::ReportGrid summary = kesto::MakeSummaryGrid();
    kesto::ReadSummaryGridFile(text, summary, files);
    if (summary.Rows() != kesto::SummaryRows)
        std::abort();
    kesto::SummaryGridFileText(summary, "Practice", files);
    return 0;
}
