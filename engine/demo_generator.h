#pragma once
// Demo mode: 14 simulated cars instead of a decoder. At the start reset each
// car draws its first pass, its lap time and its crash chance; on each tick
// the race clock advances and every car whose pass is due counts a lap.

#include "engine/race_context.h"

#include <cstdint>
#include <functional>

namespace kesto {

// The start-reset draws for ID 1..14, with m = Settings.MinLapTime seconds:
// one random r gives DemoNextPass = int(r*600 + 100), DemoLapSpread =
// int(m*1000/10 + r*250) and DemoLapBase = int(m*1000 + r*750 + 1000), so a
// late starter is also a slow car; a second r gives DemoCrashChance =
// int(r*18 + 1) percent.
void DrawDemoCars(RaceState& state, RandomSource& random);

// One demo tick of `milliseconds`: RaceClock advances; when it passes a
// whole second, updateScreen first runs with the clock on that second (the
// refresh a decoder's clock line brings, which fills the median cells). Then
// each car whose next pass is due (DemoNextPass < RaceClock) draws its next
// pass, may crash (1 to 4 s more), counts a lap at the current clock, and
// updateScreen runs.
void DemoStep(RaceContext& ctx, int32_t milliseconds, const std::function<void()>& updateScreen);

} // namespace kesto
