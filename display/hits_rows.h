#pragma once
// The Min and Max columns of the hits table: each car's shortest and longest
// counted lap of the current race, as the lap viewers show lap times. Plain
// data, so the rule is tested without widgets.

#include "engine/race_state.h"

#include <array>
#include <string>

namespace kesto {

struct HitsLapRange {
    std::string min; // empty for a car without a lap
    std::string max;
};

// Entry id - 1 for IDs 1..14, from lap columns 2 to LapCount (at most the
// last stored column): the laps the best lap is taken from, so Min is the
// best lap shown on the race screen. Lap 1 is timed from the start, not
// from a pass of the line.
std::array<HitsLapRange, MaxCarIds> HitsLapRanges(const RaceState& state);

} // namespace kesto
