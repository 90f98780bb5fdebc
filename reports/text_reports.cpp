#include "reports/text_reports.h"

#include "base/report_text.h"
#include "engine/number_format.h"
#include "engine/positions.h"
#include "engine/race_screen.h"
#include "reports/report_messages.h"
#include "reports/summary_report.h"

namespace kesto {
namespace {

constexpr const char* InsufficientText = " Insufficent data to display summary";

std::string NameOf(const RaceState& state, int id) {
    return IsValidId(id) ? state.IdName(id) : std::string();
}

float LapTimeOf(const RaceState& state, int id, int lap) {
    return IsValidId(id) ? state.LapTimes[id - 1][lap] : 0.0f;
}

std::string LapLine(const RaceState& state, int lap, const PerId<int>& columnIds) {
    std::string line = Field(" " + std::to_string(lap), 8);
    for (int id : columnIds)
        line += Field(FormatNumberGrouped(LapTimeOf(state, id, lap), 2, state.Locale), 12);
    return line + CrLf;
}

std::string RaceSummaryHeader() {
    std::string header = Field(" Pos", 12) + Field("Flag", 7) + Field("Total", 6) +
                         Field("Total", 11) + Field("Lag", 6) + Field("Lag", 7) + Field("Best", 7) +
                         Field("Best", 6) + Field("Avg", 6) + CrLf;
    header += Field(" Name", 12) + Field("Color", 7) + Field("Laps", 6) + Field("Time", 11) +
              Field("First", 6) + Field("Behind", 7) + Field("MPH", 7) + Field("Lap", 6) +
              Field("Time", 6) + Field("Med", 6) + Field("Crash", 5) + " %" + CrLf;
    return header;
}

std::string PracticeSummaryHeader() {
    std::string header = Field("Racer", 10) + Field("Flag", 7) + Field("Total", 6) +
                         Field("Best", 7) + Field("Best", 7) + Field("Ave", 7) + CrLf;
    header += Field("Name", 10) + Field("Color", 7) + Field("Laps", 6) + Field("Lap", 7) +
              Field("MPH", 7) + Field("Time", 7) + Field("Med", 6) + Field("Crash", 6) + " %" +
              CrLf;
    return header;
}

// The end of a summary line: average, median, crashes and their share.
std::string StatisticsTail(RaceState& state, int id, std::size_t averageWidth,
                           std::size_t medianWidth, std::size_t crashWidth) {
    ComputeAverageLap(state, id);
    ComputeCrashes(state, id);
    return Field(FormatFixed(state.AverageLap[id - 1], 2, state.Locale), averageWidth) +
           Field(state.MedianLap[id - 1], medianWidth) +
           Field(state.CrashCount[id - 1], crashWidth) +
           std::to_string(state.CrashPercent[id - 1]) + CrLf;
}

std::string RaceSummaryLine(RaceState& state, int position, int id) {
    const int laps = state.LapCount[id - 1];
    if (laps < state.Settings.FirstLapCount + 2)
        return Field(state.IdName(id), 10) + InsufficientText + CrLf;
    std::string line = std::to_string(position) + " " + Field(state.IdName(id), 10) +
                       Field(laps, 5) + Field(TotalTimeText(state.LastPassTime[id - 1]), 11) +
                       Field(state.LagFirst[id - 1], 6) + Field(state.LagBehind[id - 1], 7);
    // A field without a value is left out, not blank.
    if (laps > 1)
        line += Field(BestLapSpeedText(state, id), 7);
    if (state.BestLapTime[id - 1] != NoBestLap)
        line += Field(BestLapText(state, id), 6);
    return line + StatisticsTail(state, id, 6, 8, 4);
}

// Practice lines keep every column under its header; a value the car does
// not have yet (best lap, speed) is a blank field.
std::string PracticeSummaryLine(RaceState& state, int id) {
    const int laps = state.LapCount[id - 1];
    if (laps < state.Settings.FirstLapCount + 2)
        return Field(state.IdName(id), 9) + InsufficientText + CrLf;
    const bool hasBest = state.BestLapTime[id - 1] != NoBestLap;
    std::string line = Field(state.IdName(id), 10) + Field(id, 7) + Field(laps, 6) +
                       Field(hasBest ? BestLapText(state, id) : "", 7) +
                       Field(hasBest && laps > 1 ? BestLapSpeedText(state, id) : "", 7);
    return line + StatisticsTail(state, id, 7, 7, 6);
}

} // namespace

void SaveLapTimesToText(const RaceState& state, ResultFileState& files) {
    files.LapTextBody.clear();
    PerId<int> columnIds{};
    std::string header = state.RaceFormatText + CrLf + Field("Lap", 8) + CrLf;
    if (state.PracticeMode) {
        header += Field(" No", 7);
        for (int id = 1; id <= MaxCarIds; ++id) {
            header += Field(NameLabelText(state, id), 12);
            columnIds[id - 1] = id;
        }
    } else {
        header += Field(" No", 8);
        for (int position = 1; position <= MaxCarIds; ++position) {
            columnIds[position - 1] = state.RaceOrder[position - 1];
            header += Field(NameOf(state, columnIds[position - 1]), 12);
        }
    }
    files.LapTextHeader = header;

    const int leader = state.RaceOrder[0];
    if (!state.PracticeMode && !IsValidId(leader))
        return;
    for (int lap = state.Settings.FirstLapCount + 1; lap >= 0 && lap <= MaxLapNumber; ++lap) {
        bool goesOn = false;
        if (state.PracticeMode) {
            for (int id = 1; id <= MaxCarIds && !goesOn; ++id)
                goesOn = state.LapTimes[id - 1][lap] != 0;
        } else {
            goesOn = state.LapTimes[leader - 1][lap] != 0;
        }
        if (!goesOn)
            break;
        files.LapTextBody += LapLine(state, lap, columnIds);
    }
}

std::optional<Message> SaveSummaryToText(RaceState& state, ResultFileState& files) {
    files.SummaryTextBody.clear();
    // The medians of the laps as they stand, whether or not a summary was filled.
    subSortLapTimes(state);
    if (state.PracticeMode) {
        files.SummaryTextHeader = PracticeSummaryHeader();
        for (int id = 1; id <= MaxCarIds; ++id)
            files.SummaryTextBody += PracticeSummaryLine(state, id);
        return std::nullopt;
    }
    files.SummaryTextHeader = RaceSummaryHeader();
    if (!IsValidId(state.RaceOrder[0]))
        return InformationMessage(SummaryTitle, "Insufficent data to display summary");
    for (int position = 1; position <= MaxCarIds; ++position) {
        const int id = state.RaceOrder[position - 1];
        if (IsValidId(id))
            files.SummaryTextBody += RaceSummaryLine(state, position, id);
    }
    return std::nullopt;
}

std::string TextReportFile(const std::string& header, const std::string& body) {
    return header + CrLf + body + CrLf;
}

} // namespace kesto
