#include "config/settings_lists.h"

#include <array>
#include <charconv>

namespace kesto {

namespace {

constexpr std::array<const char*, ScaleListSize> Scales = {"1:1",  "1:2",  "1:4",  "1:8",  "1:10",
                                                           "1:12", "1:18", "1:24", "1:25", "1:32",
                                                           "1:43", "1:64", "1:72"};
constexpr std::array<int16_t, ScaleListSize> ScaleDivisors = {1,  2,  4,  8,  10, 12, 18,
                                                              24, 25, 32, 43, 64, 72};

// Shortest text that reads back as the value, with "." as the decimal point.
std::string NumberText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::vector<std::string> Range(int first, int last) {
    std::vector<std::string> entries;
    for (int n = first; n <= last; ++n)
        entries.push_back(std::to_string(n));
    return entries;
}

} // namespace

std::vector<std::string> TrackLengthEntries() {
    std::vector<std::string> entries;
    int feet = 10;
    for (int n = 0; n < TrackLengthListSize - 1; ++n) {
        entries.push_back(std::to_string(feet));
        feet += feet < 75 ? 1 : 5;
    }
    entries.push_back("5280");
    return entries;
}

std::vector<std::string> MinLapTimeEntries() {
    std::vector<std::string> entries;
    double seconds = 1; // quarters add up exactly in binary
    for (int n = 0; n < MinLapTimeListSize; ++n) {
        entries.push_back(NumberText(seconds));
        seconds += seconds < 10 ? 0.25 : 1;
    }
    return entries;
}

std::vector<std::string> StartDelayEntries() {
    return Range(0, StartDelayListSize - 1);
}

std::vector<std::string> PortEntries() {
    return Range(1, PortListSize);
}

std::vector<std::string> FirstLapEntries() {
    return Range(0, 1);
}

std::vector<std::string> ScaleEntries() {
    return {Scales.begin(), Scales.end()};
}

void ConvertScale(const std::string& scaleText, int16_t& scaleDivisor) {
    for (size_t n = 0; n < Scales.size(); ++n)
        if (scaleText == Scales[n])
            scaleDivisor = ScaleDivisors[n];
}

float ComputeSpeedMultiplier(int16_t trackLength, int16_t scaleDivisor) {
    return static_cast<float>(static_cast<double>(trackLength) / 5280.0 * 3600.0 *
                              static_cast<double>(scaleDivisor));
}

} // namespace kesto
