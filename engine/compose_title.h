#pragma once
// The window title, the race format caption and the lag column header, all
// composed from the race format, the timing settings and the lag column mode
// kept in "KestoRaceLag.dat" (which the caller reads). Recomposed at start-up,
// at every reset and whenever the race format or the settings are confirmed.

#include "engine/race_state.h"

#include <string>

namespace kesto {

struct ComposedTitle {
    std::string windowTitle;    // "Kesto Timer - Practice", ...
    std::string raceFormatText; // "Practice", "10 Lap Race", "Demo - 20 Minute Race"
    std::string lagHeader;      // "Median" in practice, else the lag column mode
};

// Pure composition. `lagColumnMode` is the mode last read from the lag file.
ComposedTitle ComposeTitleTexts(const RaceState& state, const std::string& lagColumnMode);

// The minimum lap time as the title shows it: 4 -> "4", 4.5 -> "4.5" (with
// the user's decimal separator).
std::string MinLapTimeText(float seconds, const NumberLocale& locale);

// ComposeTitle as the program runs it: composes with `lagColumnMode` (the
// mode last read from the lag file), then sets RaceFormatText and
// LagColumnMode (the lag header) of the state. Returns the composed texts.
ComposedTitle ComposeTitle(RaceState& state, const std::string& lagColumnMode);

} // namespace kesto
