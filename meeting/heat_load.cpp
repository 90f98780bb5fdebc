#include "meeting/heat_load.h"

#include "engine/race_state.h"

namespace kesto {

HeatLoad LoadHeat(const Meeting& meeting, const Heat& heat) {
    HeatLoad load;
    load.names.fill(UnusedIdName);
    for (const auto& slot : heat.slots)
        if (IsValidId(slot.carId) && !slot.noShow)
            load.names[slot.carId - 1] = EntryName(meeting, slot.entry);
    load.format = heat.stage == HeatStage::Final && meeting.finals ? meeting.finals->format
                                                                   : meeting.heatFormat;
    load.finish = meeting.finish;
    return load;
}

void ApplyHeatLoad(const HeatLoad& load, RaceState& state) {
    for (int id = 1; id <= MaxCarIds; ++id) {
        state.Names.IdName[id - 1] = load.names[id - 1];
        state.Names.NamedId[id - 1] = static_cast<int16_t>(id);
    }
    state.Finish = load.finish;
    const bool laps = load.format.kind == HeatFormatKind::Laps;
    state.PracticeMode = false;
    state.LapRace = laps;
    state.TimedRace = !laps;
    if (laps)
        state.NumberOfLaps = static_cast<int16_t>(load.format.count);
    else
        state.RaceMinutes = load.format.count;
}

HeatResult TakeHeatResult(const RaceState& state, const std::vector<HeatSlot>& slots) {
    HeatResult result;
    for (const auto& slot : slots) {
        RacerResult racer{slot.entry};
        racer.noShow = slot.noShow;
        if (IsValidId(slot.carId) && state.LapCount[slot.carId - 1] > 0) {
            racer.laps = state.LapCount[slot.carId - 1];
            racer.timeMs = state.LastPassTime[slot.carId - 1];
        }
        result.push_back(racer);
    }
    return result;
}

} // namespace kesto
