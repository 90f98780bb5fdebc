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

void RefreshPracticeStandings(RaceState& state, const ViewerGridVisibility& viewerGrid) {
    if (IsEvenSecond(state.RaceClock))
        subSortLapTimes(state, viewerGrid);
}

void RefreshRaceStandings(RaceState& state, const ViewerGridVisibility& viewerGrid) {
    ComputePosition(state);
    ComputeInterval(state);
    // The sort behind the median cells is done once per refresh, and only on
    // the refreshes that show it.
    if (ShowsMedian(state) && IsWholeSecond(state.RaceClock))
        subSortLapTimes(state, viewerGrid);
}

} // namespace kesto
