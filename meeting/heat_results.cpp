#include "meeting/heat_results.h"

#include "meeting/finals.h"

#include <algorithm>

namespace kesto {
namespace {

std::string HeatName(const Heat& heat) {
    return "Heat " + std::to_string(heat.number);
}

// The main that takes bump-ups from `heat`, when it has run.
bool MainAboveHasRun(const Meeting& meeting, const Heat& heat) {
    if (heat.stage != HeatStage::Final || !meeting.finals || meeting.finals->bumpUp == 0)
        return false;
    return std::any_of(meeting.heats.begin(), meeting.heats.end(), [&](const Heat& other) {
        return other.stage == HeatStage::Final && other.main == heat.main - 1 &&
               other.result.has_value();
    });
}

} // namespace

Refusal RecordHeatResult(Meeting& meeting, int heatNumber, HeatResult result) {
    Heat* heat = FindHeat(meeting, heatNumber);
    if (heat == nullptr)
        return "There is no heat " + std::to_string(heatNumber) + ".";
    if (heat->result)
        return HeatName(*heat) + " has its result; re-run it for a new one.";
    const bool sameRacers =
        result.size() == heat->grid.size() &&
        std::all_of(heat->grid.begin(), heat->grid.end(), [&](const HeatSlot& slot) {
            return std::count_if(result.begin(), result.end(), [&](const RacerResult& racer) {
                       return racer.entry == slot.entry;
                   }) == 1;
        });
    if (!sameRacers)
        return "The result does not match the racers of " + HeatName(*heat) + ".";
    // The race engine counts laps in 16 bits and its clock never runs backwards.
    if (std::any_of(result.begin(), result.end(), [](const RacerResult& racer) {
            return racer.laps > MaxHeatResultLaps || (racer.laps > 0 && racer.timeMs < 0);
        }))
        return "The result of " + HeatName(*heat) + " holds laps or times no race gives.";
    for (auto& racer : result) {
        if (FindSlot(*heat, racer.entry)->noShow)
            racer.noShow = true;
        if (racer.laps <= 0) {
            racer.laps = 0;
            racer.timeMs = 0;
        }
    }
    heat->result = std::move(result);
    RefreshBumpUps(meeting);
    return std::nullopt;
}

Refusal ReRunHeat(Meeting& meeting, int heatNumber) {
    Heat* heat = FindHeat(meeting, heatNumber);
    if (heat == nullptr || !heat->result)
        return "Only a heat that has been run can be re-run.";
    if (MainAboveHasRun(meeting, *heat))
        return "The " + MainName(heat->main - 1) +
               " main has been run with the racers bumped up from this one.";
    heat->setAside.push_back(std::move(*heat->result));
    heat->result.reset();
    RefreshBumpUps(meeting);
    return std::nullopt;
}

Refusal SetNoShow(Meeting& meeting, int heatNumber, int entry, bool noShow) {
    Heat* heat = FindHeat(meeting, heatNumber);
    if (heat == nullptr)
        return "There is no heat " + std::to_string(heatNumber) + ".";
    auto slot = std::find_if(heat->grid.begin(), heat->grid.end(),
                             [&](const HeatSlot& s) { return s.entry == entry; });
    if (slot == heat->grid.end())
        return EntryName(meeting, entry) + " is not in " + HeatName(*heat) + ".";
    if (heat->result && MainAboveHasRun(meeting, *heat))
        return "The " + MainName(heat->main - 1) +
               " main has been run with the racers bumped up from this one.";
    slot->noShow = noShow;
    if (heat->result)
        for (auto& racer : *heat->result)
            if (racer.entry == entry)
                racer.noShow = noShow;
    RefreshBumpUps(meeting);
    return std::nullopt;
}

} // namespace kesto
