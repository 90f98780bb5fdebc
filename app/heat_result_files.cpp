#include "app/heat_result_files.h"

#include "reports/result_book.h"

namespace kesto {

Refusal ReportHeatFiles::WriteHeatFiles(const RaceState& state, const std::filesystem::path& folder,
                                        const std::string& baseName) {
    // The reports recompute statistics into the state they read, and the
    // race's own reports stay unsaved: a copy.
    RaceState copy = state;
    ResultBook book;
    std::string error;
    auto write = [&](const std::string& extension, const std::string& text) {
        const std::string path = (folder / (baseName + extension)).string();
        if (!error.empty() || WriteResultFile(path, text, &error))
            return;
        error = "The heat's results could not be saved to \"" + path + "\": " + error + ".";
    };
    // A heat in which no car passed has no summary and no lap table.
    if (!book.FillSummary(copy))
        write(".sum", SummaryGridFileText(book.Summary(), copy.RaceFormatText, book.Files()));
    if (!book.FillLapTimes(copy).message)
        write(".lap", LapGridFileText(book.Laps(), book.Files()));
    return error.empty() ? Refusal() : Refusal(error);
}

} // namespace kesto
