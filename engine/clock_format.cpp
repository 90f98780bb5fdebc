#include "engine/clock_format.h"

#include "engine/race_screen.h"

#include <algorithm>
#include <cstdio>

namespace kesto {

namespace {

// Time left of a timed race in whole seconds, not below 0. Computed in 64 bits
// so that a large minute count cannot overflow.
int32_t TimedSecondsLeft(const RaceState& state) {
    int64_t left = (int64_t{state.RaceMinutes} * 60000 - state.RaceClock) / 1000;
    return static_cast<int32_t>(std::clamp<int64_t>(left, 0, INT32_MAX));
}

} // namespace

std::string FormatClock(int32_t seconds) {
    int64_t s = seconds;
    std::string sign;
    if (s < 0) {
        sign = "-";
        s = -s;
    }
    int64_t minutes = s / 60;
    int64_t sec = s % 60;
    int64_t hours = minutes / 60;
    minutes %= 60;
    char text[48];
    if (hours != 0)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(hours),
                      static_cast<long long>(minutes), static_cast<long long>(sec));
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(minutes),
                      static_cast<long long>(sec));
    return sign + text;
}

int32_t RaceClockSeconds(const RaceState& state) {
    if (state.TimedRace)
        return TimedSecondsLeft(state);
    return state.RaceClock / 1000;
}

void RefreshClockDisplay(const RaceState& state, RaceScreen& screen) {
    if (state.TimedRace) {
        screen.SetClockText(FormatClock(TimedSecondsLeft(state)));
        if (!state.TimerEnabled)
            screen.SetClockColor(ClockRed);
    } else {
        screen.SetClockText("00:00");
        screen.SetClockColor(ClockWhite);
    }
}

} // namespace kesto
