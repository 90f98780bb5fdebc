#pragma once
// The small value files of the program folder that hold one line each: the
// speed multiplier, the race format choices and the lag column mode. Their
// windows (settings, race format, main window) call these; the line format is
// that of value_file.h. Names are matched without regard to letter case.
//
// Error policy, as for every value file here: each function returns false on
// failure and, when `error` is given, sets the description to show (the
// system's text, such as "No such file or directory", or "Input past end of
// file" / "Type mismatch" for a damaged file). Every value that reads well is
// taken; a missing or unreadable one leaves its variable as it was.

#include "engine/compose_title.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace kesto {

inline constexpr const char* SpeedMultiplierFileName = "KestoSpeedMultiplier.dat";
inline constexpr const char* RaceFormatFileName = "KestoRaceFormatSettings.dat";
inline constexpr const char* RaceLagWriteName = "KestoRaceLag.dat";
inline constexpr const char* RaceLagReadName = "kestoRaceLag.dat"; // same file

// One line: the scale speed factor (track length / 5280 * 3600 * scale).
bool ReadSpeedMultiplier(const std::filesystem::path& folder, float& speedMultiplier,
                         std::string* error = nullptr);
bool WriteSpeedMultiplier(const std::filesystem::path& folder, float speedMultiplier,
                          std::string* error = nullptr);

// What the race format window keeps: list positions, which option is on, and
// the demo box (0 clear, 1 ticked). Typical line: 5,3,#FALSE#,#TRUE#,#FALSE#,0
struct RaceFormatChoices {
    int16_t NumberOfLapsIndex = 0;
    int16_t RaceMinutesIndex = 0;
    bool TimedRace = false;
    bool LapRace = false;
    bool PracticeMode = false;
    int16_t DemoMode = 0;
};

bool ReadRaceFormat(const std::filesystem::path& folder, RaceFormatChoices& choices,
                    std::string* error = nullptr);
bool WriteRaceFormat(const std::filesystem::path& folder, const RaceFormatChoices& choices,
                     std::string* error = nullptr);

// The lag column header's caption; an empty caption is saved as "Lag First".
bool ReadLagColumnMode(const std::filesystem::path& folder, std::string& lagColumnMode,
                       std::string* error = nullptr);
bool WriteLagColumnMode(const std::filesystem::path& folder, const std::string& caption,
                        std::string* error = nullptr);

// ComposeTitle as the program runs it: the lag file read into `lagColumnMode`
// first (kept when unreadable), then the title composed with it.
ComposedTitle ComposeTitleWithLagFile(RaceState& state, const std::filesystem::path& folder,
                                      std::string& lagColumnMode);

} // namespace kesto
