#pragma once
// Saving the two reports from their viewers (mnuSave_Click) and choosing a
// result file to open (the first steps of mnuOpen_Click): the dialogs, the
// choice between the text report and the grid file, the writing and the
// messages. The viewers pass their grids; nothing here knows a window.

#include "engine/race_context.h"
#include "reports/report_grid.h"
#include "reports/result_file_state.h"
#include "reports/result_files.h"

#include <optional>
#include <string>

namespace kesto {

// Lap times viewer "&Save": proposes program folder + "/Laps " + RaceDateStamp
// (the stamp is taken from the wall clock when the race has none), writes the
// text report for a path containing ".txt", else the lap grid file, tells the
// user "File ... has been saved" and clears LapsUnsaved. A cancelled dialog
// does nothing; a failed write shows the error's description and leaves any
// earlier file of that name as it was. True when the file was written.
bool SaveLapsFile(RaceContext& ctx, const std::string& programFolder, const ReportGrid& lapGrid,
                  ResultFileState& files);

// Summary viewer "Save": the same with "/Summary " + RaceDateStamp, the
// summary text report or the summary grid file, and SummaryUnsaved.
bool SaveSummaryFile(RaceContext& ctx, const std::string& programFolder,
                     const ReportGrid& summaryGrid, ResultFileState& files);

// "Save as PDF..." of either viewer: a save dialog proposing program folder +
// "/" + namePrefix + RaceDateStamp + ".pdf". Nothing when cancelled.
std::optional<std::string> ChoosePdfPath(RaceContext& ctx, const std::string& programFolder,
                                         const std::string& namePrefix);

// The open dialog of mnuOpen_Click. Nothing when cancelled or the name is blank.
std::optional<std::string> ChooseResultFileToOpen(Dialogs& dialogs);

} // namespace kesto
