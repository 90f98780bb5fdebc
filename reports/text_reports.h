#pragma once
// The fixed-width text reports for people (".txt" files): the lap table
// (SaveLapTimesToText) and the summary (SaveSummaryToText). Each builds a
// header and a body; the file holds the header, CR LF, the body, CR LF.

#include "base/dialogs.h"
#include "engine/race_state.h"
#include "reports/result_file_state.h"

#include <optional>
#include <string>

namespace kesto {

// Builds LapTextHeader and LapTextBody.
void SaveLapTimesToText(const RaceState& state, ResultFileState& files);

// Builds SummaryTextHeader and SummaryTextBody from the race state alone: it
// recomputes the medians and the AverageLap, CrashCount and CrashPercent of
// the cars it lists, so no summary needs to be filled first. In a race without a
// running order the body stays empty and the message "Insufficent data to
// display summary" (title "Summary") is returned for the caller to show.
std::optional<Message> SaveSummaryToText(RaceState& state, ResultFileState& files);

// The whole text file (UTF-8 in memory): header, CR LF, body, CR LF.
std::string TextReportFile(const std::string& header, const std::string& body);

} // namespace kesto
