#include "app/heat_result_files.h"

#include "engine/journal_event.h"
#include "engine/race_context.h"
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
        if (!error.empty())
            return false;
        if (WriteResultFile(path, text, &error))
            return true;
        error = "The heat's results could not be saved to \"" + path + "\": " + error + ".";
        return false;
    };
    // A heat in which no car passed has no summary and no lap table.
    RaceState& race = m_ctx.state;
    const bool wasUnsaved = race.SummaryUnsaved || race.LapsUnsaved;
    if (!book.FillSummary(copy) &&
        write(".sum", SummaryGridFileText(book.Summary(), copy.RaceFormatText, book.Files())))
        race.SummaryUnsaved = false;
    if (!book.FillLapTimes(copy).message &&
        write(".lap", LapGridFileText(book.Laps(), book.Files())))
        race.LapsUnsaved = false;
    if (wasUnsaved && !(race.SummaryUnsaved && race.LapsUnsaved))
        m_ctx.Journal().Record(JournalEvent::UnsavedMarks(race.LapsUnsaved, race.SummaryUnsaved));
    return error.empty() ? Refusal() : Refusal(error);
}

} // namespace kesto
