#pragma once
// The standings: running order, gaps and the lap statistics behind the median
// columns, brought up to date once per refresh by the engine itself, so race
// control, the race screen, the reports and anything else that shows the race
// read the same values without a window having painted.

#include "engine/race_state.h"

#include <functional>

namespace kesto {

// Called with false before the lap statistics are sorted and true after, so a
// lap viewer does not repaint half-sorted data. May be empty.
using ViewerGridVisibility = std::function<void(bool visible)>;

// A race refresh: RaceOrder, RacePosition, LagBehind and LagFirst recomputed;
// the lap statistics sorted (SortedLapTimes, MedianLap) on a whole second
// when a column shows the median. In practice the rows stay in ID order and
// the lap statistics are sorted on every even second (the lag column shows
// the median there).
void RefreshStandings(RaceState& state, const ViewerGridVisibility& viewerGrid = {});
void RefreshRaceStandings(RaceState& state, const ViewerGridVisibility& viewerGrid = {});
void RefreshPracticeStandings(RaceState& state, const ViewerGridVisibility& viewerGrid = {});

// Whether one of the race screen's columns shows the median.
bool ShowsMedian(const RaceState& state);

// Everything a refresh of the standings and the race screen's rows reads from
// the race: two refreshes of equal inputs show the same rows. The race clock
// counts by its second only (the rows change with it on whole seconds).
struct StandingsInputs {
    PerId<int16_t> lapCount{};
    PerId<int32_t> lastPassTime{};
    PerId<int32_t> lastLapTime{};
    PerId<int32_t> bestLapTime{};
    PerId<int32_t> idColor{};
    PerId<std::string> idName;
    int32_t raceSecond = 0;
    int16_t firstLapCount = 0;
    bool practice = false;
    float speedMultiplier = 0;
    char decimalSeparator = 0, groupSeparator = 0;
    std::string bestColumnMode, lagColumnMode;

    bool operator==(const StandingsInputs&) const = default;
};

StandingsInputs StandingsInputsOf(const RaceState& state);

} // namespace kesto
