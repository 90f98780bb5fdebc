#include "meeting/standings_print.h"

#include "meeting/standings_report.h"

#include <sstream>

namespace kesto {
namespace {
constexpr int StandingsFontPoints = 10;
}

bool PrintStandings(const Meeting& meeting, Printer& printer) {
    if (!printer.SetLandscape() || !printer.SetFontSize(StandingsFontPoints))
        return false;
    std::istringstream lines(StandingsReportText(meeting));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!(line.empty() ? printer.EndLine() : printer.PrintAt(1, line, false)))
            return false;
    }
    return printer.EndDocument();
}

} // namespace kesto
