#pragma once
// Race states for the report tests, written straight into the state so each
// test says exactly which laps every car has.

#include "engine/race_state.h"

#include <vector>

namespace kesto::test {

// A state after the start reset: every car at FirstLapCount laps, no best lap.
// `firstLapCount` is -1 (race begins with lap 0) or 0 (begins with lap 1).
RaceState NewRace(bool practice, int firstLapCount = 0);

// Car `id` passes the sensor after each of `lapSeconds` in turn: times go to
// lap columns FirstLapCount + 1 on, LapCount and LastPassTime follow, the
// best lap counts laps that leave LapCount above 1, as lap counting does.
void DriveLaps(RaceState& state, int id, const std::vector<double>& lapSeconds);

// Running order and gaps, as the race screen's refresh leaves them.
void Standings(RaceState& state);

} // namespace kesto::test
