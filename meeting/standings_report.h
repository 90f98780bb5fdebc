#pragma once
// The standings as a fixed-width text report for people, like the timer's
// other ".txt" reports: the meeting's heading, the qualifying standings with
// every round, and once the finals are planned the final standings. Lines
// end in CR LF; the text is UTF-8 (WriteResultFile stores it as Windows-1252).

#include "meeting/meeting.h"

#include <string>
#include <vector>

namespace kesto {

// One table of the standings as texts, cell by cell, names whole.
struct StandingsTextTable {
    std::string title; // "Qualifying", "Finals: 5 Minute Race, ..."
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// "Club Night, 2026-12-08".
std::string StandingsTitle(const Meeting& meeting);
// The lines under the title: the heat format and the scoring rule.
std::vector<std::string> StandingsNotes(const Meeting& meeting);
// The qualifying standings with every round, then (once planned) the finals.
std::vector<StandingsTextTable> StandingsTables(const Meeting& meeting);

std::string StandingsReportText(const Meeting& meeting);

} // namespace kesto
