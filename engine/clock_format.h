#pragma once
// The race clock: its text (m:ss or h:mm:ss), the seconds it shows during a race
// and how it looks while no race is timed.

#include "engine/race_state.h"

#include <cstdint>
#include <string>

namespace kesto {

class RaceScreen;

inline constexpr int32_t ClockWhite = 16777215; // Windows colour values
inline constexpr int32_t ClockRed = 255;

// Whole seconds as clock text: 5 -> "0:05", 750 -> "12:30", 3725 -> "1:02:05".
// A negative count gets a leading minus (the race clock never asks for one).
std::string FormatClock(int32_t seconds);

// The seconds the race clock shows: the time left of a timed race (never below
// 0), otherwise the elapsed race time.
int32_t RaceClockSeconds(const RaceState& state);

// The clock at rest: a timed race shows its time left, in red while the race
// timer is not running; otherwise "00:00" in white.
void RefreshClockDisplay(const RaceState& state, RaceScreen& screen);

} // namespace kesto
