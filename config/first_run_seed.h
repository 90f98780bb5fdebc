#pragma once
// A newcomer's first run. When the program folder holds no "KestoSettings.dat"
// yet, the folder is seeded so the timer is ready for a demo race: a roster of
// sample racers, a name on each of the 14 IDs, a distinct colour per car,
// sensible track and timing settings, the speed multiplier, and a 10-lap race
// with demo mode ticked. Pressing Start then races at once. Only files that
// are missing are written: a club's own roster or names are never replaced.

#include "base/settings_records.h"
#include "config/data_files.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kesto {

// What a seeded folder holds.
SettingsRecord FirstRunSettings();
std::vector<std::string> SampleRacers(); // "kestoRacers.dat", in roster order
IdNamesRecord FirstRunNames();           // the first 14 sample racers on IDs 1..14
RaceFormatChoices FirstRunRaceFormat();  // 10-lap race, demo mode ticked
float FirstRunSpeedMultiplier();         // of the track length and scale above

// A first run: the folder holds no settings file (FileStatus -1).
bool IsFirstRun(const std::filesystem::path& folder);

// On a first run, writes the missing files above and returns their names;
// otherwise writes nothing. A file that cannot be written is left out and the
// rest is still written: the load then goes on as it would without it.
std::vector<std::string> SeedFirstRun(const std::filesystem::path& folder);

} // namespace kesto
