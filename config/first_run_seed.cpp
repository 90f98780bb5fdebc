#include "config/first_run_seed.h"

#include "config/race_format_lists.h"
#include "config/roster_file.h"
#include "config/settings_files.h"

#include <algorithm>
#include <array>

namespace kesto {

namespace {

// The settings window stores positions in its lists beside the values; these
// are the positions of the values below, so the window opens on them.
constexpr int16_t TrackLengthFeet = 100; // 10..75 by 1 (66 entries), then 80, 85, 90, 95, 100
constexpr int16_t TrackLengthIndex = 70;
constexpr const char* Scale = "1:24";
constexpr int16_t ScaleDivisor = 24;
constexpr int16_t ScaleIndex = 7; // 1:1, 1:2, 1:4, 1:8, 1:10, 1:12, 1:18, 1:24
constexpr float MinLapSeconds = 2;
constexpr int16_t MinLapTimeIndex = 4;   // 1, 1.25, 1.5, 1.75, 2
constexpr int16_t StartDelaySeconds = 0; // straight to the start lights
constexpr int16_t DecoderPort = 1;       // the first USB serial adapter, or a COM1 link
constexpr int16_t FirstLapCount = 0;     // "Race Begins With Lap:" 1
constexpr int16_t FirstLapIndex = 1;     // "0", "1"
constexpr int16_t RaceLaps = 10;
constexpr int32_t RaceMinutes = 5; // kept for when the club switches to a timed race

// Windows colour value (red in the low byte) of an RGB colour.
constexpr int32_t Rgb(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}

// Fourteen colours that are told apart at a glance, light and dark mixed (the
// race screen writes white text on the dark ones).
constexpr std::array<int32_t, MaxCarIds> CarColours = {
    Rgb(230, 25, 75),  Rgb(60, 180, 75),   Rgb(255, 225, 25), Rgb(0, 130, 200),  Rgb(245, 130, 48),
    Rgb(145, 30, 180), Rgb(70, 240, 240),  Rgb(240, 50, 230), Rgb(210, 245, 60), Rgb(250, 190, 212),
    Rgb(0, 128, 128),  Rgb(220, 190, 255), Rgb(170, 110, 40), Rgb(255, 250, 200)};

constexpr std::array<const char*, 18> Racers = {
    "Alice", "Bruno",   "Carla", "Dmitri", "Elena", "Farid", "Greta", "Hiro",  "Ines",
    "Jamal", "Kirsten", "Luca",  "Maya",   "Nils",  "Olga",  "Pablo", "Quinn", "Rosa"};

template <class T, size_t N> int16_t PositionOf(const std::array<T, N>& list, T value) {
    const auto it = std::find(list.begin(), list.end(), value);
    return static_cast<int16_t>(it == list.end() ? 0 : it - list.begin());
}

} // namespace

SettingsRecord FirstRunSettings() {
    SettingsRecord s;
    s.TrackLength = TrackLengthFeet;
    s.TrackLengthIndex = TrackLengthIndex;
    s.ScaleText = Scale;
    s.ScaleDivisor = ScaleDivisor;
    s.ScaleIndex = ScaleIndex;
    s.MinLapTime = MinLapSeconds;
    s.MinLapTimeIndex = MinLapTimeIndex;
    s.StartDelay = StartDelaySeconds;
    s.StartDelayIndex = StartDelaySeconds; // "0".."30"
    s.ComPort = DecoderPort;
    s.ComPortIndex = DecoderPort - 1; // "1".."16"
    s.FirstLapCount = FirstLapCount;
    s.FirstLapIndex = FirstLapIndex;
    s.IdColor = CarColours;
    s.TrackName = "Club Track";
    return s;
}

std::vector<std::string> SampleRacers() {
    return {Racers.begin(), Racers.end()};
}

IdNamesRecord FirstRunNames() {
    IdNamesRecord names;
    for (int i = 0; i < MaxCarIds; ++i) {
        names.IdName[i] = Racers[i];
        names.NamedId[i] = static_cast<int16_t>(i + 1); // chosen, as on the race screen
    }
    return names;
}

RaceFormatChoices FirstRunRaceFormat() {
    RaceFormatChoices choices;
    choices.NumberOfLapsIndex = PositionOf(LapsList(), RaceLaps);
    choices.RaceMinutesIndex = PositionOf(MinutesList(), RaceMinutes);
    choices.LapRace = true;
    choices.DemoMode = 1;
    return choices;
}

float FirstRunSpeedMultiplier() {
    return static_cast<float>(static_cast<double>(TrackLengthFeet) / 5280.0 * 3600.0 *
                              ScaleDivisor);
}

bool IsFirstRun(const std::filesystem::path& folder) {
    return FileStatus(folder, SettingsFileName) == -1;
}

std::vector<std::string> SeedFirstRun(const std::filesystem::path& folder) {
    std::vector<std::string> written;
    if (!IsFirstRun(folder))
        return written;
    auto seed = [&](const char* name, auto write) {
        if (FileStatus(folder, name) == -1 && write())
            written.emplace_back(name);
    };
    seed(RosterFileName, [&] { return WriteRoster(folder, SampleRacers()); });
    seed(IdNamesFileName, [&] { return SaveIdNames(folder, IdNamesFileName, FirstRunNames()); });
    seed(SpeedMultiplierFileName,
         [&] { return WriteSpeedMultiplier(folder, FirstRunSpeedMultiplier()); });
    seed(RaceFormatFileName, [&] { return WriteRaceFormat(folder, FirstRunRaceFormat()); });
    // Last: the settings file is what marks the folder as set up.
    seed(SettingsFileName,
         [&] { return SaveSettingsFile(folder, SettingsFileName, FirstRunSettings()); });
    return written;
}

} // namespace kesto
