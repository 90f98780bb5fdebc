#pragma once
// The two binary records the timer keeps between runs: the timing settings
// ("KestoSettings.dat") and the racer name of every car ID ("Racers.dat").
// Field order and widths are the on-disk layout; see settings_files.h for I/O.

#include <array>
#include <cstdint>
#include <string>

namespace kesto {

inline constexpr int MaxCarIds = 14;

template <class T> using PerId = std::array<T, MaxCarIds>; // ID n lives in entry n - 1

struct SettingsRecord {
    int16_t TrackLength = 0;      // feet
    int16_t TrackLengthIndex = 0; // position in the track-length list
    std::string ScaleText;        // "1:24"; Windows-1252 on disk
    int16_t ScaleDivisor = 0;     // number after "1:" as of the last conversion
    int16_t ScaleIndex = 0;
    float MinLapTime = 0; // seconds
    int16_t MinLapTimeIndex = 0;
    int16_t StartDelay = 0; // seconds; below 1 means no countdown
    int16_t StartDelayIndex = 0;
    int16_t ComPort = 0; // 1..16
    int16_t ComPortIndex = 0;
    int16_t FirstLapCount = 0; // -1: race begins with lap 0, 0: with lap 1
    int16_t FirstLapIndex = 0;
    PerId<int32_t> IdColor{}; // Windows colour values, red in the low byte
    std::string TrackName;
};

struct IdNamesRecord {
    PerId<std::string> IdName; // empty: no name chosen
    PerId<int16_t> NamedId{};  // the ID itself once a name was chosen on the race screen
};

} // namespace kesto
