#pragma once
// The texts of the race screen's cells as pure functions of the race state,
// so the race and practice refreshes only copy them into their labels.
// A std::nullopt result means "leave the cell as it is".

#include "engine/race_state.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kesto {

// Last lap: below 60000 ms seconds with two decimals ("7.34", "59.99"),
// from 60000 ms whole seconds with at least two digits ("60", "75").
std::string LapTimeText(const RaceState& state, int id);

// "Best Lap" cell: empty without a best lap, else "7.34 " (one blank after).
std::string BestLapCellText(const RaceState& state, int id);

// "MPH" cell: the scale speed of the last lap, "327.3 "; empty below 2 laps
// or when the last lap time is 0.
std::string MphCellText(const RaceState& state, int id);

// "Lag Behind" cell: empty below 1 lap, else LagBehind.
std::string LagBehindCellText(const RaceState& state, int id);

// "Lag First" cell: LagFirst whatever the lap count.
std::string LagFirstCellText(const RaceState& state, int id);

// The median is brought up to date (subSortLapTimes) only on refreshes at a
// whole second of the race clock in a race, at an even second in practice.
bool IsWholeSecond(int32_t raceClock);
bool IsEvenSecond(int32_t raceClock);

// "Median" cell of a race refresh: empty below 1 lap; MedianLap at a whole
// second (the caller has run subSortLapTimes); otherwise left as shown.
std::optional<std::string> MedianCellText(const RaceState& state, int id);

// The best column of a race refresh by BestColumnMode ("Best Lap", "MPH",
// "Median"); any other mode leaves the cell untouched.
std::optional<std::string> BestColumnCellText(const RaceState& state, int id);

// The lag column of a race refresh by LagColumnMode ("Lag Behind", "Lag
// First", "Median"); any other mode leaves the cell untouched.
std::optional<std::string> LagColumnCellText(const RaceState& state, int id);

// The best column of a practice refresh: "Best Lap" as in a race, any other
// mode the speed.
std::string PracticeBestCellText(const RaceState& state, int id);

} // namespace kesto
