#include "meeting/standings_report.h"

#include "base/report_text.h"
#include "meeting/finals.h"
#include "meeting/qualifying_standings.h"

#include <algorithm>
#include <cstdio>

namespace kesto {
namespace {

constexpr size_t NameChars = 15;

// Minutes, ":", seconds "00", ".", milliseconds "000", as the race summary
// writes a total time; long enough for the sum of many rounds.
std::string TimeText(int64_t ms) {
    char text[40];
    std::snprintf(text, sizeof text, "%lld:%02lld.%03lld", static_cast<long long>(ms / 60000),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
    return text;
}

// A line's padding ends with its last field.
std::string EndLine(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line + CrLf;
}

std::string ScoringLine(const Meeting& meeting) {
    const Scoring& scoring = meeting.scoring;
    const std::string rounds = std::to_string(meeting.rounds);
    switch (scoring.rule) {
    case ScoringRule::BestRounds:
        return "Best " + std::to_string(scoring.countedRounds) + " of " + rounds +
               " rounds count: laps, then time";
    case ScoringRule::Points: {
        std::string line = "Points per place:";
        for (int points : scoring.points)
            line += " " + std::to_string(points);
        return line + ", summed over " + rounds + " rounds" +
               (scoring.dropWorstRound ? ", worst round dropped" : "");
    }
    case ScoringRule::LaneRotation:
        return "Lane rotation on " + std::to_string(meeting.heatSize) +
               " lanes: total laps, then total time";
    }
    return {};
}

std::string RoundHeader(const Meeting& meeting, const RoundScore& round) {
    if (round.lane == 0)
        return "Round " + std::to_string(round.round);
    return (meeting.rounds > 1 ? "R" + std::to_string(round.round) + " " : std::string()) +
           "Lane " + std::to_string(round.lane);
}

// "21 5:00.617", in brackets when it does not count; "-" when not run.
std::string RoundCell(const Meeting& meeting, const RoundScore& round) {
    if (!round.ran)
        return "-";
    std::string cell = meeting.scoring.rule == ScoringRule::Points
                           ? std::to_string(round.points)
                           : std::to_string(round.laps) + " " + TimeText(round.timeMs);
    return round.counted ? cell : "(" + cell + ")";
}

StandingsTextTable QualifyingTable(const Meeting& meeting) {
    const bool points = meeting.scoring.rule == ScoringRule::Points;
    const auto rows = QualifyingStandings(meeting);
    StandingsTextTable table;
    table.title = "Qualifying";
    table.header = {"Pos", "Name"};
    if (points)
        table.header.push_back("Points");
    else
        table.header.insert(table.header.end(), {"Laps", "Time"});
    if (!rows.empty())
        for (const auto& round : rows.front().rounds)
            table.header.push_back(RoundHeader(meeting, round));
    for (const auto& row : rows) {
        std::vector<std::string> cells = {std::to_string(row.position),
                                          EntryName(meeting, row.entry)};
        if (points)
            cells.push_back(std::to_string(row.points));
        else
            cells.insert(cells.end(), {std::to_string(row.laps), TimeText(row.timeMs)});
        for (const auto& round : row.rounds)
            cells.push_back(RoundCell(meeting, round));
        table.rows.push_back(std::move(cells));
    }
    return table;
}

std::string PlaceText(const FinalStanding& row, bool mainRan) {
    if (row.noShow)
        return "DNS";
    if (!mainRan)
        return "";
    return row.place > 0 ? std::to_string(row.place) : "-";
}

StandingsTextTable FinalsTable(const Meeting& meeting) {
    StandingsTextTable table;
    table.title = "Finals: " + HeatFormatText(meeting.finals->format);
    if (meeting.finals->bumpUp > 0)
        table.title +=
            ", top " + std::to_string(meeting.finals->bumpUp) + " of each main bumped up";
    table.header = {"Pos", "Name", "Main", "Place", "Laps", "Time", "Qualified"};
    for (const auto& row : FinalStandings(meeting)) {
        bool mainRan = false;
        for (const auto& heat : meeting.heats)
            if (heat.stage == HeatStage::Final && heat.main == row.main && heat.result)
                mainRan = true;
        table.rows.push_back({std::to_string(row.position), EntryName(meeting, row.entry),
                              row.main >= 0 ? MainName(row.main) : "-", PlaceText(row, mainRan),
                              mainRan ? std::to_string(row.laps) : "",
                              mainRan ? TimeText(row.timeMs) : "",
                              std::to_string(row.qualifying) +
                                  (row.bumpedUp ? ", up from " + MainName(row.main + 1) : "")});
    }
    return table;
}

// The table's lines in columns of these widths (the last one as long as its
// text); the name column is cut to fit.
std::string TableText(const StandingsTextTable& table, const std::vector<size_t>& widths) {
    auto line = [&widths](const std::vector<std::string>& cells) {
        std::string text;
        for (size_t i = 0; i < cells.size(); ++i) {
            const size_t width = widths[std::min(i, widths.size() - 1)];
            text += Field(i == 1 ? LeftChars(cells[i], NameChars) : cells[i], width);
        }
        return EndLine(text);
    };
    std::string text = table.title + CrLf + line(table.header);
    for (const auto& row : table.rows)
        text += line(row);
    return text;
}

} // namespace

std::string StandingsTitle(const Meeting& meeting) {
    return meeting.name + ", " + meeting.date;
}

std::vector<std::string> StandingsNotes(const Meeting& meeting) {
    return {"Heats: " + HeatFormatText(meeting.heatFormat), ScoringLine(meeting)};
}

std::vector<StandingsTextTable> StandingsTables(const Meeting& meeting) {
    std::vector<StandingsTextTable> tables = {QualifyingTable(meeting)};
    if (meeting.finals)
        tables.push_back(FinalsTable(meeting));
    return tables;
}

std::string StandingsReportText(const Meeting& meeting) {
    std::string text = StandingsTitle(meeting) + CrLf;
    for (const std::string& note : StandingsNotes(meeting))
        text += note + CrLf;
    const bool points = meeting.scoring.rule == ScoringRule::Points;
    const size_t cellWidth = points ? 8 : 16;
    const auto tables = StandingsTables(meeting);
    text += std::string(CrLf) +
            TableText(tables[0], points ? std::vector<size_t>{5, 16, 8, cellWidth}
                                        : std::vector<size_t>{5, 16, 6, 12, cellWidth});
    if (tables.size() > 1)
        text += std::string(CrLf) + TableText(tables[1], {5, 16, 6, 7, 6, 12, 0});
    return text;
}

} // namespace kesto
