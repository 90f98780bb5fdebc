#pragma once
// Where a meeting meets the race engine: "Load heat" puts a heat's racers
// onto their IDs and its race format onto the race state, and a closed race
// gives the heat its result.

#include "base/settings_records.h"
#include "meeting/meeting.h"

#include <string>
#include <vector>

namespace kesto {

struct RaceState;

// The name list entry of an ID that has no racer in the heat.
inline constexpr const char* UnusedIdName = "Empty";

struct HeatLoad {
    PerId<std::string> names; // the racer on each ID; "Empty" where none races
    HeatFormat format;        // the meeting's heat format, or the finals' for a final
    FinishRule finish = FinishRule::LeaderAtFlag;
};

// What loading `heat` sets. A no-show's ID is left "Empty".
HeatLoad LoadHeat(const Meeting& meeting, const Heat& heat);

// Puts the heat onto the race state: every ID's name (as choosing it in the
// name column does), the race format and the meeting's finish rule: a lap race or a timed race. The
// caller then resets the race screen as after a race format change.
void ApplyHeatLoad(const HeatLoad& load, RaceState& state);

// The heat's result from the race state when the race closes: for each racer
// of the heat, the laps and total time of its ID as the race summary shows
// them (LapCount and LastPassTime); a racer without a lap has no time. A
// racer marked a no-show is recorded as one.
HeatResult TakeHeatResult(const RaceState& state, const std::vector<HeatSlot>& slots);

} // namespace kesto
