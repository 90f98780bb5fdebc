#pragma once
// Lap counting: turns one detection of a car at the sensor into a lap. It
// decides whether the detection is a lap (minimum lap time, first pass after
// the start, a lap race's distance), advances the lap counter, stores the lap
// time in both lap tables, keeps the best lap and plays one car sound. A
// detection it drops (too soon after the last lap, or a car that has run a
// lap race's distance) is kept in RejectedPasses for the operator.
// Nothing is redrawn here; callers refresh the race screen afterwards.

#include "engine/race_context.h"

#include <cstdint>

namespace kesto {

// One detection of car `LaneNum` (1..14; others are ignored) at `TimeStamp`
// ms on the race clock. Never fails towards its caller: a step that cannot be
// done (a lap beyond the lap table, a sound that cannot play) is skipped and
// the following steps still run.
void CountLap(RaceContext& ctx, int LaneNum, int32_t TimeStamp);

// Keeps a record that did not count for the operator, in arrival order. Past
// MaxRejectedPasses (or without memory) it is only counted.
void KeepRejectedPass(RaceState& state, const RejectedPass& pass);

// True when the car's best lap is strictly below the best lap of each of the
// 13 other IDs (a tie is not an overall best).
bool IsOverallBestLap(const RaceState& state, int LaneNum);

// The minimum lap time of the settings in milliseconds, as the decimal
// seconds the operator chose (1.1 s is 1100 ms, not 1100.0000238).
double MinLapTimeMs(const SettingsRecord& settings);

} // namespace kesto
