#pragma once
// The race format window's OK and Cancel as operations on the race state. The
// race state holds the race format and demo mode the engine runs on; the
// window shows them and the race format file keeps them between runs. OK
// saves the window's choices and makes them the state's; Cancel (or closing
// the window) puts the state back to what the file holds, so choices that
// were never confirmed do not outlive the window.

#include "config/data_files.h"

#include <filesystem>
#include <string>

namespace kesto {

struct RaceState;

inline constexpr const char* SelectTimeText = "Select Time"; // the minutes list before a choice
inline constexpr const char* PleaseSelectTimeText = "Please select Time";
inline constexpr const char* PleaseSelectLapsText = "Please select No of Laps";

// The choices the state holds, as the window's positions: a lap count or
// minute count that is not in its list gives position -1.
RaceFormatChoices RaceFormatChoicesOf(const RaceState& state);

// OK: the state takes the choices (the lap count and minutes of the entries
// at the positions, 0 for a position outside its list) and the choices are
// written to "KestoRaceFormatSettings.dat". The state changes even when the
// write fails: false then, with the description in `error`.
bool ConfirmRaceFormat(RaceState& state, const RaceFormatChoices& choices,
                       const std::filesystem::path& folder, std::string* error = nullptr);

// Cancel: the state takes the race format and demo mode saved in the file.
// A file that cannot be read whole leaves the state as it is (false).
bool ReloadRaceFormat(RaceState& state, const std::filesystem::path& folder);

} // namespace kesto
