#pragma once
// A decoder record that did not count, kept for the operator: a detection
// lap counting dropped, or a line that did not fit the decoder's clock.

#include <cstddef>
#include <cstdint>

namespace kesto {

enum class RejectReason {
    UnderMinimumLap,     // sooner after the car's last counted pass than the minimum lap time
    DistanceRun,         // the car had already run the laps of a lap race
    AfterFinish,         // the car had finished (every car finishes on its next pass)
    AheadOfDecoderClock, // a detection stamped well ahead of the decoder's clock
    BehindDecoderClock,  // a detection stamped well before the clock already heard
    DecoderClockJump,    // a clock line the time gone by cannot explain
    UnreadableRecord,    // a sign or another stray character in a time field
};

struct RejectedPass {
    int16_t id = 0;              // the car; 0 for a clock line
    int32_t timeMs = 0;          // race clock of the detection (or of the clock line)
    int32_t sinceLastPassMs = 0; // from the car's last counted pass
    RejectReason reason = RejectReason::UnderMinimumLap;
    int32_t minLapTimeMs = 0;   // the minimum lap time in force (settings change after a race)
    int32_t decoderClockMs = 0; // the decoder's clock as the timer knew it (clock reasons)
};

// A sensor gone mad cannot fill the memory: later rejections are only counted.
inline constexpr std::size_t MaxRejectedPasses = 10000;

} // namespace kesto
