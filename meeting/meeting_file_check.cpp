#include "meeting/meeting_file_check.h"

#include <set>

namespace kesto {
namespace {

Refusal CheckResult(const Meeting& meeting, const Heat& heat, const HeatResult& result,
                    const std::string& where, bool sameRacers) {
    std::set<int> seen;
    for (const auto& racer : result) {
        if (FindEntry(meeting, racer.entry) == nullptr)
            return where + ": entry " + std::to_string(racer.entry) + " is not entered";
        if (!seen.insert(racer.entry).second)
            return where + ": entry " + std::to_string(racer.entry) + " is there twice";
        if (sameRacers && FindSlot(heat, racer.entry) == nullptr)
            return where + ": entry " + std::to_string(racer.entry) + " is not in the heat";
    }
    if (sameRacers && seen.size() != heat.grid.size())
        return where + ": a racer of the heat has no result";
    return std::nullopt;
}

Refusal CheckHeat(const Meeting& meeting, const Heat& heat, const std::string& where) {
    if (heat.stage == HeatStage::Qualifying && heat.round > meeting.rounds)
        return where + ": round " + std::to_string(heat.round) + " of " +
               std::to_string(meeting.rounds);
    if (heat.stage == HeatStage::Final &&
        (!meeting.finals || heat.main >= static_cast<int>(meeting.finals->mainSizes.size())))
        return where + ": the " + MainName(heat.main) + " main is not among the finals";
    if (static_cast<int>(heat.grid.size()) > HeatCapacity(meeting))
        return where + ": more racers than the heat holds";
    std::set<int> entries, ids;
    for (const auto& slot : heat.grid) {
        if (FindEntry(meeting, slot.entry) == nullptr)
            return where + ": entry " + std::to_string(slot.entry) + " is not entered";
        if (!entries.insert(slot.entry).second)
            return where + ": entry " + std::to_string(slot.entry) + " is there twice";
        if (!ids.insert(slot.carId).second)
            return where + ": two racers on ID " + std::to_string(slot.carId);
        if (slot.carId > HeatCapacity(meeting))
            return where + ": ID " + std::to_string(slot.carId) + " is not a lane";
    }
    if (heat.result)
        if (Refusal fault = CheckResult(meeting, heat, *heat.result, where + ".result", true))
            return fault;
    for (size_t i = 0; i < heat.setAside.size(); ++i)
        if (Refusal fault = CheckResult(meeting, heat, heat.setAside[i],
                                        where + ".setAside[" + std::to_string(i) + "]", false))
            return fault;
    return std::nullopt;
}

} // namespace

Refusal CheckMeetingFile(const Meeting& meeting) {
    if (Refusal fault = CheckSetup(meeting))
        return fault;
    std::set<int> numbers;
    std::set<std::string> names;
    for (size_t i = 0; i < meeting.entries.size(); ++i) {
        const auto& entry = meeting.entries[i];
        const std::string where = "entries[" + std::to_string(i) + "]";
        if (!numbers.insert(entry.number).second)
            return where + ": entry number " + std::to_string(entry.number) + " is there twice";
        if (entry.name.empty() || !names.insert(entry.name).second)
            return where + ": the name is empty or entered twice";
    }
    if (meeting.finals)
        if (Refusal fault = CheckHeatFormat(meeting.finals->format))
            return "finals: " + *fault;
    if (meeting.finals && meeting.finals->mainSizes.empty())
        return "finals: no main";
    numbers.clear();
    for (size_t i = 0; i < meeting.heats.size(); ++i) {
        const Heat& heat = meeting.heats[i];
        const std::string where = "heats[" + std::to_string(i) + "]";
        if (!numbers.insert(heat.number).second)
            return where + ": heat number " + std::to_string(heat.number) + " is there twice";
        if (Refusal fault = CheckHeat(meeting, heat, where))
            return fault;
    }
    return std::nullopt;
}

} // namespace kesto
