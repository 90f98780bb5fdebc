#include "engine/clock_format.h"

#include "engine/race_screen.h"

#include <algorithm>
#include <charconv>

namespace kesto {

namespace {

// Time left of a timed race in whole seconds, not below 0. Computed in 64 bits
// so that a large minute count cannot overflow.
int32_t TimedSecondsLeft(const RaceState& state) {
    int64_t left = (int64_t{state.RaceMinutes} * 60000 - state.RaceClock) / 1000;
    return static_cast<int32_t>(std::clamp<int64_t>(left, 0, INT32_MAX));
}

} // namespace

namespace {

void AppendTwoDigits(std::string& text, int64_t value) {
    text += static_cast<char>('0' + value / 10);
    text += static_cast<char>('0' + value % 10);
}

} // namespace

// "h:mm:ss" or "m:ss", written by hand: the tick shows the clock every 10 ms.
std::string FormatClock(int32_t seconds) {
    int64_t s = seconds;
    std::string text;
    if (s < 0) {
        text = "-";
        s = -s;
    }
    const int64_t hours = s / 3600;
    const int64_t minutes = s / 60 % 60;
    char lead[24];
    const auto written = std::to_chars(lead, lead + sizeof lead, hours != 0 ? hours : minutes);
    text.append(lead, written.ptr);
    if (hours != 0) {
        text += ':';
        AppendTwoDigits(text, minutes);
    }
    text += ':';
    AppendTwoDigits(text, s % 60);
    return text;
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
