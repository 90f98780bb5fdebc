#pragma once
// The drop-down lists of the settings window frmKestoSettings and what their
// texts become: the track lengths, minimum lap times, start delays, ports,
// first-lap choices and scales. The settings file stores positions in these
// lists, so their order and length are part of the file format.

#include <cstdint>
#include <string>
#include <vector>

namespace kesto {

inline constexpr int TrackLengthListSize = 492;
inline constexpr int MinLapTimeListSize = 87;
inline constexpr int StartDelayListSize = 31;
inline constexpr int PortListSize = 16;
inline constexpr int FirstLapListSize = 2;
inline constexpr int ScaleListSize = 13;

// Feet: 10..75 by 1, 80..2200 by 5, then "5280" (one mile).
std::vector<std::string> TrackLengthEntries();
// Seconds: 1..10 by 0.25, then 11..60 by 1 ("1", "1.25", "1.5", ...).
std::vector<std::string> MinLapTimeEntries();
// Seconds: "0".."30".
std::vector<std::string> StartDelayEntries();
// AddPorts: "1".."16".
std::vector<std::string> PortEntries();
// "0", "1": the lap a race begins with.
std::vector<std::string> FirstLapEntries();
// "1:1" .. "1:72".
std::vector<std::string> ScaleEntries();

// convertScale: `scaleDivisor` becomes the number after "1:" of a scale of
// the list; any other text leaves it unchanged.
void ConvertScale(const std::string& scaleText, int16_t& scaleDivisor);

// Scale speed factor: feet per lap to scale miles per hour for a 1-second
// lap, TrackLength / 5280 * 3600 * ScaleDivisor, computed in double.
float ComputeSpeedMultiplier(int16_t trackLength, int16_t scaleDivisor);

} // namespace kesto
