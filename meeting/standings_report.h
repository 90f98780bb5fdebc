#pragma once
// The standings as a fixed-width text report for people, like the timer's
// other ".txt" reports: the meeting's heading, the qualifying standings with
// every round, and once the finals are planned the final standings. Lines
// end in CR LF; the text is UTF-8 (WriteResultFile stores it as Windows-1252).

#include "meeting/meeting.h"

#include <string>

namespace kesto {

std::string StandingsReportText(const Meeting& meeting);

} // namespace kesto
