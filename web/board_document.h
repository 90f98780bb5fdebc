#pragma once
// The live board as one JSON document: the race screen's rows in running
// order (in practice in ID order) with each car's colour, the race format,
// clock, flag, the decoder alarm and "Race Over", and for every car the few
// numbers a driver glances at (last laps, best, median, position). Built from
// the race state after a refresh, once for all browsers; a document equal to
// the last one is not sent again.

#include "engine/race_state.h"
#include "web/standings_page.h"

#include <array>
#include <cstdint>
#include <string>

namespace kesto {

// What the race screen shows beyond the race state: the clock text, the flag
// picture, the "Race  Over" label and the decoder alarm banner, as the screen
// was last told them.
struct ScreenShown {
    std::string clockText = "00:00";
    int32_t clockColor = 16777215; // Windows colour value (white)
    std::string flagBitmap;        // empty while no flag is shown
    bool raceOver = false;
    std::string alarm; // empty while no alarm is shown
};

// The flag of a picture file: "green", "white", "checkered" or "".
std::string FlagName(const std::string& bitmapFile);

// "#rrggbb" of a Windows colour value (red in the low byte), and the text
// colour readable on it (black or white), as the race screen paints rows.
std::string CssColor(int32_t windowsColor);
std::string CssInkOn(int32_t windowsColor);

// Laps shown per car in the driver view.
inline constexpr int DriverLaps = 5;

class BoardDocument final {
public:
    // The whole board as JSON (see README, "The live board": /api/board).
    // With a meeting open it also holds "meeting": where its standings are
    // and the next heat's call-up; without one the board is as it always was.
    std::string Build(const RaceState& state, const ScreenShown& screen,
                      const StandingsBoard* meeting = nullptr);

private:
    // The median of a car's laps, recomputed only when its lap count changes.
    const std::string& MedianOf(const RaceState& state, int id);

    std::array<int, MaxCarIds> m_medianLaps{};
    std::array<std::string, MaxCarIds> m_median;
};

} // namespace kesto
