#include "engine/compose_title.h"

#include <charconv>

namespace kesto {

ComposedTitle ComposeTitleTexts(const RaceState& state, const std::string& lagColumnMode) {
    ComposedTitle out;
    if (state.PracticeMode) {
        out.windowTitle = "Kesto Timer - Practice";
        out.raceFormatText = "Practice";
        out.lagHeader = MedianMode;
    } else {
        out.windowTitle = "Kesto Timer - " + std::to_string(state.Settings.StartDelay) +
                          " seconds delay before Formula 1 start - " +
                          MinLapTimeText(state.Settings.MinLapTime, state.Locale) +
                          " seconds minimum lap time";
        out.lagHeader = lagColumnMode;
        if (state.LapRace)
            out.raceFormatText = std::to_string(state.NumberOfLaps) + " Lap Race";
        else if (state.TimedRace)
            out.raceFormatText = std::to_string(state.RaceMinutes) + " Minute Race";
    }
    if (state.DemoMode)
        out.raceFormatText = "Demo - " + out.raceFormatText;
    return out;
}

std::string MinLapTimeText(float seconds, const NumberLocale& locale) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, seconds);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == '.')
            c = locale.decimalSeparator;
    return text;
}

ComposedTitle ComposeTitle(RaceState& state, const std::string& lagColumnMode) {
    ComposedTitle composed = ComposeTitleTexts(state, lagColumnMode);
    state.RaceFormatText = composed.raceFormatText;
    state.LagColumnMode = composed.lagHeader;
    return composed;
}

} // namespace kesto
