#include "app/meeting_board.h"

#include "meeting/standings_report.h"

#include <algorithm>

namespace kesto {
namespace {

const Heat* HeatToCallUp(const MeetingDesk& desk) {
    for (const Heat& heat : desk.meeting().heats)
        if (!heat.result && heat.number != desk.LoadedHeat())
            return &heat;
    return nullptr;
}

HeatCallUp CallUp(const Meeting& meeting, const Heat& heat) {
    HeatCallUp call{HeatCallName(heat), {}};
    for (const HeatSlot& slot : heat.grid)
        if (!slot.noShow)
            call.racers.push_back({slot.carId, EntryName(meeting, slot.entry)});
    std::sort(call.racers.begin(), call.racers.end(),
              [](const CalledRacer& a, const CalledRacer& b) { return a.id < b.id; });
    return call;
}

} // namespace

std::optional<StandingsBoard> MeetingStandingsBoard(const MeetingDesk& desk) {
    if (!desk.IsOpen())
        return std::nullopt;
    const Meeting& meeting = desk.meeting();
    StandingsBoard board;
    board.title = StandingsTitle(meeting);
    board.notes = StandingsNotes(meeting);
    for (StandingsTextTable& table : StandingsTables(meeting))
        board.tables.push_back(
            {std::move(table.title), std::move(table.header), std::move(table.rows)});
    if (const Heat* next = HeatToCallUp(desk))
        board.nextHeat = CallUp(meeting, *next);
    return board;
}

} // namespace kesto
