#include "config/race_format_lists.h"

#include "config/data_files.h"
#include "engine/race_state.h"

namespace kesto {

namespace {

std::array<int16_t, LapsListSize> MakeLapsList() {
    std::array<int16_t, LapsListSize> list{};
    int n = 0;
    for (int laps = 3; laps <= 15; ++laps)
        list[n++] = static_cast<int16_t>(laps);
    for (int laps = 20; laps <= 40; laps += 5)
        list[n++] = static_cast<int16_t>(laps);
    for (int laps = 50; laps <= 100; laps += 10)
        list[n++] = static_cast<int16_t>(laps);
    list[n++] = 125;
    for (int laps = 150; laps <= 500; laps += 50)
        list[n++] = static_cast<int16_t>(laps);
    return list;
}

std::array<int32_t, MinutesListSize> MakeMinutesList() {
    std::array<int32_t, MinutesListSize> list{};
    int n = 0;
    for (int minutes = 1; minutes <= 15; ++minutes)
        list[n++] = minutes;
    for (int minutes = 20; minutes <= 90; minutes += 5)
        list[n++] = minutes;
    for (int minutes = 100; minutes <= 240; minutes += 10)
        list[n++] = minutes;
    return list;
}

} // namespace

const std::array<int16_t, LapsListSize>& LapsList() {
    static const auto list = MakeLapsList();
    return list;
}

const std::array<int32_t, MinutesListSize>& MinutesList() {
    static const auto list = MakeMinutesList();
    return list;
}

std::optional<int16_t> LapsAt(int index) {
    if (index < 0 || index >= LapsListSize)
        return std::nullopt;
    return LapsList()[static_cast<size_t>(index)];
}

std::optional<int32_t> MinutesAt(int index) {
    if (index < 0 || index >= MinutesListSize)
        return std::nullopt;
    return MinutesList()[static_cast<size_t>(index)];
}

void ApplyRaceFormatChoices(const RaceFormatChoices& choices, RaceState& state) {
    if (const auto laps = LapsAt(choices.NumberOfLapsIndex))
        state.NumberOfLaps = *laps;
    if (const auto minutes = MinutesAt(choices.RaceMinutesIndex))
        state.RaceMinutes = *minutes;

    bool timed = choices.TimedRace;
    bool lap = choices.LapRace;
    bool practice = choices.PracticeMode;
    if (practice) {
        timed = lap = false;
    } else if (lap) {
        timed = false;
    } else if (!timed) {
        practice = true;
    }
    state.TimedRace = timed;
    state.LapRace = lap;
    state.PracticeMode = practice;
    state.DemoMode = choices.DemoMode != 0;
}

} // namespace kesto
