#include "meeting/standings_report.h"

#include "base/report_text.h"
#include "meeting/finals.h"
#include "meeting/qualifying_standings.h"

#include <cstdio>

namespace kesto {
namespace {

constexpr size_t NameChars = 15;

std::string Name(const Meeting& meeting, int entry) {
    return Field(LeftChars(EntryName(meeting, entry), NameChars), NameChars + 1);
}

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

std::string QualifyingTable(const Meeting& meeting) {
    const bool points = meeting.scoring.rule == ScoringRule::Points;
    const size_t cellWidth = points ? 8 : 16;
    const auto rows = QualifyingStandings(meeting);
    std::string header = Field("Pos", 5) + Field("Name", NameChars + 1) +
                         (points ? Field("Points", 8) : Field("Laps", 6) + Field("Time", 12));
    if (!rows.empty())
        for (const auto& round : rows.front().rounds)
            header += Field(RoundHeader(meeting, round), cellWidth);
    std::string text = EndLine(header);
    for (const auto& row : rows) {
        std::string line =
            Field(row.position, 5) + Name(meeting, row.entry) +
            (points ? Field(row.points, 8) : Field(row.laps, 6) + Field(TimeText(row.timeMs), 12));
        for (const auto& round : row.rounds)
            line += Field(RoundCell(meeting, round), cellWidth);
        text += EndLine(line);
    }
    return text;
}

std::string PlaceText(const FinalStanding& row, bool mainRan) {
    if (row.noShow)
        return "DNS";
    if (!mainRan)
        return "";
    return row.place > 0 ? std::to_string(row.place) : "-";
}

std::string FinalsTable(const Meeting& meeting) {
    std::string text = Field("Pos", 5) + Field("Name", NameChars + 1) + Field("Main", 6) +
                       Field("Place", 7) + Field("Laps", 6) + Field("Time", 12) + "Qualified" +
                       CrLf;
    for (const auto& row : FinalStandings(meeting)) {
        bool mainRan = false;
        for (const auto& heat : meeting.heats)
            if (heat.stage == HeatStage::Final && heat.main == row.main && heat.result)
                mainRan = true;
        text += EndLine(
            Field(row.position, 5) + Name(meeting, row.entry) +
            Field(row.main >= 0 ? MainName(row.main) : "-", 6) + Field(PlaceText(row, mainRan), 7) +
            (mainRan ? Field(row.laps, 6) + Field(TimeText(row.timeMs), 12) : Field("", 18)) +
            std::to_string(row.qualifying) +
            (row.bumpedUp ? ", up from " + MainName(row.main + 1) : ""));
    }
    return text;
}

} // namespace

std::string StandingsReportText(const Meeting& meeting) {
    std::string text = meeting.name + ", " + meeting.date + CrLf;
    text += "Heats: " + HeatFormatText(meeting.heatFormat) + CrLf;
    text += ScoringLine(meeting) + CrLf + CrLf;
    text += std::string("Qualifying") + CrLf + QualifyingTable(meeting);
    if (meeting.finals) {
        text += std::string(CrLf) + "Finals: " + HeatFormatText(meeting.finals->format);
        if (meeting.finals->bumpUp > 0)
            text += ", top " + std::to_string(meeting.finals->bumpUp) + " of each main bumped up";
        text += std::string(CrLf) + FinalsTable(meeting);
    }
    return text;
}

} // namespace kesto
