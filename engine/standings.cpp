#include "engine/standings.h"

#include "engine/cell_formulas.h"
#include "engine/positions.h"

namespace kesto {

bool ShowsMedian(const RaceState& state) {
    return state.BestColumnMode == MedianMode || state.LagColumnMode == MedianMode;
}

void RefreshStandings(RaceState& state, const ViewerGridVisibility& viewerGrid) {
    if (state.PracticeMode)
        RefreshPracticeStandings(state, viewerGrid);
    else
        RefreshRaceStandings(state, viewerGrid);
}

namespace {

// Sorts the lap statistics once for a second of the race clock: with a
// decoder the clock holds its whole second for every tick of it, and those
// ticks need no sort again unless a lap was counted since.
void SortLapTimesOncePerSecond(RaceState& state, const ViewerGridVisibility& viewerGrid) {
    RaceState::LapsSorted& last = state.LastLapSort;
    if (last.raceClock == state.RaceClock && last.lapCount == state.LapCount)
        return;
    // Within one reading of the clock only the cars with a new lap changed:
    // a lap costs the sort of its own car's laps, not of every car's.
    if (last.raceClock == state.RaceClock)
        SortChangedLapTimes(state, last.lapCount, viewerGrid);
    else
        subSortLapTimes(state, viewerGrid);
    last.raceClock = state.RaceClock;
    last.lapCount = state.LapCount;
}

int32_t SecondOf(int32_t raceClock) {
    return raceClock / 1000 - (raceClock % 1000 < 0 ? 1 : 0);
}

} // namespace

StandingsInputs StandingsInputsOf(const RaceState& state) {
    return StandingsInputs{state.LapCount,
                           state.LastPassTime,
                           state.LastLapTime,
                           state.BestLapTime,
                           state.Settings.IdColor,
                           state.Names.IdName,
                           SecondOf(state.RaceClock),
                           state.Settings.FirstLapCount,
                           state.PracticeMode,
                           state.SpeedMultiplier,
                           state.Locale.decimalSeparator,
                           state.Locale.groupSeparator,
                           state.BestColumnMode,
                           state.LagColumnMode};
}

void RefreshPracticeStandings(RaceState& state, const ViewerGridVisibility& viewerGrid) {
    if (IsEvenSecond(state.RaceClock))
        SortLapTimesOncePerSecond(state, viewerGrid);
}

void RefreshRaceStandings(RaceState& state, const ViewerGridVisibility& viewerGrid) {
    ComputePosition(state);
    ComputeInterval(state);
    // The sort behind the median cells is done once per refresh, and only on
    // the refreshes that show it.
    if (ShowsMedian(state) && IsWholeSecond(state.RaceClock))
        SortLapTimesOncePerSecond(state, viewerGrid);
}

} // namespace kesto
