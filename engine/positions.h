#pragma once
// Running order, gaps and lap statistics: what the race screen and the
// reports show beside the raw lap data. ComputePosition and ComputeInterval
// run on every race-screen refresh, so they do fixed work on the 14 entries.

#include "engine/race_state.h"

#include <cstdint>
#include <functional>

namespace kesto {

// RaceOrder and RacePosition from LapCount and LastPassTime: more laps first;
// with equal laps the earlier last pass first; a complete tie keeps the lower
// ID first.
void ComputePosition(RaceState& state);

// LagBehind (gap to the car ahead) and LagFirst (gap to the leader): "0.00"
// for the leader, seconds "0.00" between cars on the same lap, "1Lap", "3Lap"
// between cars on different laps. A gap is measured when the car behind
// crosses the line after the reference car and stays until it crosses again.
void ComputeInterval(RaceState& state);

// Sorts each ID's laps 1..LapCount of SortedLapTimes ascending and sets its
// MedianLap (column LapCount / 2 + 1, halves to even, two decimals, grouped).
// IDs without a lap keep their MedianLap. setViewerGridVisible, when given,
// is called with false before sorting and true after, so the lap viewer does
// not repaint half-sorted data.
void subSortLapTimes(RaceState& state,
                     const std::function<void(bool visible)>& setViewerGridVisible = {});
// The same for the IDs whose lap count differs from `sortedAt` only: the
// others' rows are sorted already and their medians stand.
void SortChangedLapTimes(RaceState& state, const PerId<int16_t>& sortedAt,
                         const std::function<void(bool visible)>& setViewerGridVisible = {});

// The lap column the median is read from for a car with `laps` laps.
int MedianColumn(int laps);

// Every cell of SortedLapTimes = 0.
void ResetSortedLapTimesArray(RaceState& state);

// The number of IDs whose LapCount is above 0.
int16_t CountIdsWithLaps(const RaceState& state);

} // namespace kesto
