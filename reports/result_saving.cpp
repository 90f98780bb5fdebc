#include "reports/result_saving.h"

#include "reports/report_messages.h"
#include "reports/text_reports.h"

namespace kesto {
namespace {

std::optional<std::string> ChooseSavePath(RaceContext& ctx, const std::string& programFolder,
                                          const char* title, const char* filter, int filterIndex,
                                          const std::string& namePrefix,
                                          const std::string& extension = {}) {
    if (ctx.state.RaceDateStamp.empty())
        ctx.state.RaceDateStamp = FormatRaceDateStamp(ctx.clock.Now());
    FileChoice choice;
    choice.save = true;
    choice.title = title;
    choice.filter = filter;
    choice.filterIndex = filterIndex;
    choice.initialPath = programFolder + "/" + namePrefix + ctx.state.RaceDateStamp + extension;
    std::optional<std::string> path = ctx.dialogs.ChooseFile(choice);
    if (path && path->empty())
        return std::nullopt;
    return path;
}

bool WriteAndTell(RaceContext& ctx, const std::string& path, const std::string& text) {
    std::string error;
    if (!WriteResultFile(path, text, &error)) {
        ctx.dialogs.Show(
            ErrorDescriptionMessage(error.empty() ? "The file could not be written." : error));
        return false;
    }
    ctx.dialogs.Show(FileSavedMessage(path));
    return true;
}

} // namespace

bool SaveLapsFile(RaceContext& ctx, const std::string& programFolder, const ReportGrid& lapGrid,
                  ResultFileState& files) {
    std::optional<std::string> path =
        ChooseSavePath(ctx, programFolder, "Save Laps File", LapSaveFilter, 2, "Laps ");
    if (!path)
        return false;
    std::string text;
    if (IsTextReportPath(*path)) {
        SaveLapTimesToText(ctx.state, files);
        text = TextReportFile(files.LapTextHeader, files.LapTextBody);
    } else {
        text = LapGridFileText(lapGrid, files);
    }
    if (!WriteAndTell(ctx, *path, text))
        return false;
    ctx.state.LapsUnsaved = false;
    return true;
}

bool SaveSummaryFile(RaceContext& ctx, const std::string& programFolder,
                     const ReportGrid& summaryGrid, ResultFileState& files) {
    std::optional<std::string> path =
        ChooseSavePath(ctx, programFolder, "Save Summary File", SummarySaveFilter, 1, "Summary ");
    if (!path)
        return false;
    std::string text;
    if (IsTextReportPath(*path)) {
        if (std::optional<Message> message = SaveSummaryToText(ctx.state, files))
            ctx.dialogs.Show(*message);
        text = TextReportFile(files.SummaryTextHeader, files.SummaryTextBody);
    } else {
        text = SummaryGridFileText(summaryGrid, ctx.state.RaceFormatText, files);
    }
    if (!WriteAndTell(ctx, *path, text))
        return false;
    ctx.state.SummaryUnsaved = false;
    return true;
}

std::optional<std::string> ChoosePdfPath(RaceContext& ctx, const std::string& programFolder,
                                         const std::string& namePrefix) {
    return ChooseSavePath(ctx, programFolder, "Save as PDF", "PDF Files (*.pdf)|*.pdf", 1,
                          namePrefix, ".pdf");
}

std::optional<std::string> ChooseResultFileToOpen(Dialogs& dialogs) {
    FileChoice choice;
    choice.save = false;
    choice.filter = OpenResultFilter;
    choice.filterIndex = 1;
    std::optional<std::string> path = dialogs.ChooseFile(choice);
    if (!path)
        return std::nullopt;
    const auto first = path->find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    return path;
}

} // namespace kesto
