#pragma once
// The race timer's tick, Timer1_Timer, every 10 ms while a race is timed: the
// race clock and the finish check, then either the demo cars or the decoder
// port and its link watch, then the screen. Between the records one tick
// takes, the standings and the finish check run again, so a race comes out
// the same however its lines are batched into ticks.

#include "engine/decoder_link_watch.h"
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

    // The race timer has stopped (the race closed or was aborted): the link
    // watch takes its alarm down and forgets the race.
    void RaceTimerStopped();

    const DecoderLinkWatch& LinkWatch() const { return m_linkWatch; }

private:
    void CheckRace(); // the race clock display and the finish check
    void UpdateScreen();

    RaceContext& m_ctx;
    RaceControl& m_control;
    DecoderLinkWatch m_linkWatch;
};

} // namespace kesto
