#pragma once
// The two lists of the race format window: lap counts of a lap race and
// minutes of a timed race. The race format file stores positions in these
// lists, not the numbers, so the lists are part of the file format: never
// reorder or extend them without converting old files.

#include <array>
#include <cstdint>
#include <optional>

namespace kesto {

struct RaceState;
struct RaceFormatChoices;

inline constexpr int LapsListSize = 33;
inline constexpr int MinutesListSize = 45;

// 3..15, 20..40 by 5, 50..100 by 10, 125..500 by 25 up to 150, then by 50.
const std::array<int16_t, LapsListSize>& LapsList();
// 1..15, 20..90 by 5, 100..240 by 10.
const std::array<int32_t, MinutesListSize>& MinutesList();

// The entry at a stored position; nullopt for a position outside the list.
std::optional<int16_t> LapsAt(int index);
std::optional<int32_t> MinutesAt(int index);

// Puts the choices read from the race format file into the race state: the format flags, demo mode,
// and the lap count and minutes of the list entries at the stored positions. A position outside its
// list leaves that number as it was. The three formats are one group of option buttons set in the
// order timed, laps, practice, so when the file marks several the last of them set wins; when it
// marks none, practice (the one format that never closes a race by itself).
void ApplyRaceFormatChoices(const RaceFormatChoices& choices, RaceState& state);

} // namespace kesto
