#pragma once
// The race timer's tick, Timer1_Timer, every 10 ms while a race is timed: the
// race clock and the finish check, then either the demo cars or the decoder
// port, then the screen.

#include "engine/race_context.h"
#include "engine/race_control.h"
#include "engine/race_screen.h"

#include <cstdint>

namespace kesto {

class RaceTick final {
public:
    RaceTick(RaceContext& ctx, RaceControl& control, RaceScreen& screen);

    // One tick; `Milliseconds` have passed since the previous one. Never throws.
    void Timer1_Timer(int32_t Milliseconds);

private:
    void UpdateScreen();

    RaceContext& m_ctx;
    RaceControl& m_control;
    RaceScreen& m_screen;
};

} // namespace kesto
