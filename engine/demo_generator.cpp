#include "engine/demo_generator.h"

#include "engine/lap_counting.h"
#include "engine/number_format.h"

#include <cmath>

namespace kesto {
namespace {

// Integer part of a positive draw, kept inside the 32-bit range.
int32_t WholePart(double value) {
    return RoundToInt32(std::floor(value));
}

} // namespace

void DrawDemoCars(RaceState& state, RandomSource& random) {
    const double minLapMs = MinLapTimeMs(state.Settings);
    for (int i = 0; i < MaxCarIds; ++i) {
        double r = random.Next();
        state.DemoNextPass[i] = WholePart(r * 600.0 + 100.0);
        state.DemoLapSpread[i] = WholePart(minLapMs / 10.0 + r * 250.0);
        state.DemoLapBase[i] = WholePart(minLapMs + r * 750.0 + 1000.0);
        r = random.Next();
        state.DemoCrashChance[i] = static_cast<int16_t>(WholePart(r * 18.0 + 1.0));
    }
}

void DemoStep(RaceContext& ctx, int32_t milliseconds, const std::function<void()>& updateScreen) {
    RaceState& state = ctx.state;
    const int64_t before = state.RaceClock;
    const int64_t after = before + static_cast<int64_t>(milliseconds);
    // A decoder sends its clock line on every whole second and the screen
    // is refreshed on it: the refresh that writes the median cells. The demo
    // refreshes on the last whole second this step passes, as the decoder's
    // clock line would, before the passes of the step.
    const int64_t wholeSecond = after / 1000 * 1000;
    if (updateScreen && before < wholeSecond && wholeSecond <= after) {
        state.RaceClock = ClampToInt32(wholeSecond);
        updateScreen();
    }
    state.RaceClock = ClampToInt32(after);

    for (int id = 1; id <= MaxCarIds; ++id) {
        const int i = id - 1;
        if (!(state.DemoNextPass[i] < state.RaceClock))
            continue;
        double r = ctx.random.Next();
        state.DemoNextPass[i] = ClampToInt32(
            static_cast<int64_t>(WholePart(r * state.DemoLapSpread[i] + state.DemoLapBase[i])) +
            state.RaceClock);
        r = ctx.random.Next();
        if (r * 100.0 < state.DemoCrashChance[i]) {
            // A crash: the next lap is 1 to 4 seconds longer.
            state.DemoNextPass[i] =
                RoundToInt32(ctx.random.Next() * 3000.0 + state.DemoNextPass[i] + 1000.0);
        }
        ctx.Journal().Record(JournalEvent::DemoPass(state.RaceClock, id, state.DemoNextPass[i]));
        CountLap(ctx, id, state.RaceClock);
        if (updateScreen)
            updateScreen();
    }
}

} // namespace kesto
