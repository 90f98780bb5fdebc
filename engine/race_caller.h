#pragma once
// The race caller: the moments a race director calls out over the speakers (a
// new best lap, a car's lap count, the start grid, the time left, the winner
// and the podium). Race control, lap counting and the start lights report the
// moments here; what is said, and whether anything is, belongs to whoever
// listens (the spoken calls of sound/). A context without a caller reports to
// NoRaceCaller(), which says nothing, so the wave files play as they always did.

#include "base/settings_records.h"
#include "base/sound_choices.h"
#include "engine/race_state.h"

#include <string_view>
#include <utility>
#include <vector>

namespace kesto {

class RaceCaller {
public:
    virtual ~RaceCaller() = default;

    // Lap counting counted a lap of car `id` (after the lap's own sound);
    // `newOverallBest` when the lap is the race's new best lap.
    virtual void LapCounted(const RaceState& /*state*/, int /*id*/, bool /*newOverallBest*/) {}
    // The start lights came on: the heat's racers are on the grid.
    virtual void StartLightsOn(const RaceState& /*state*/) {}
    // The race closed; its running order is the finishing order.
    virtual void RaceClosed(const RaceState& /*state*/) {}
    // A time-left or halfway announcement (whose switch is on) is due. True
    // when the caller speaks it: its wave file is then left out.
    virtual bool TimeLeftDue(const RaceState& /*state*/, RaceSound /*event*/) { return false; }
    // A race meeting calls up its next heat: `heat` as the meeting names it
    // ("Heat 3", "A Main"), `names` the racer on each ID ("Empty" where none).
    virtual void NextHeatCalledUp(std::string_view /*heat*/, const PerId<std::string>& /*names*/) {}
};

// Says nothing: for contexts without spoken calls (tests, replay, benchmarks).
RaceCaller& NoRaceCaller();

// True when car `id` leads the race after the lap it has just completed: more
// laps than every other car (with as many laps, another car passed first).
bool LeadsAfterLap(const RaceState& state, int id);

// The cars that took part (they passed the sensor at least once), in running
// order: the finishing order once the race is closed.
std::vector<int> CarsInRunningOrder(const RaceState& state);

// The IDs that carry a racer (a name other than "Empty"), with their names.
std::vector<std::pair<int, std::string>> RacersOnTheGrid(const PerId<std::string>& names);

} // namespace kesto
