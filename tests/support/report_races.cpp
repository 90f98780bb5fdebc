#include "support/report_races.h"

#include "engine/number_format.h"
#include "engine/positions.h"

#include <cmath>

namespace kesto::test {

RaceState NewRace(bool practice, int firstLapCount) {
    RaceState state;
    state.PracticeMode = practice;
    state.LapRace = !practice;
    state.NumberOfLaps = 20;
    state.RaceFormatText = practice ? "Practice" : "20 Lap Race";
    state.Settings.FirstLapCount = static_cast<int16_t>(firstLapCount);
    state.Settings.TrackName = "Kesto Raceway";
    state.SpeedMultiplier = static_cast<float>(100.0 / 5280 * 3600 * 24);
    for (int id = 1; id <= MaxCarIds; ++id) {
        state.LapCount[id - 1] = static_cast<int16_t>(firstLapCount);
        state.BestLapTime[id - 1] = NoBestLap;
        state.FinishLap[id - 1] = NotFlaggedLap;
        state.Settings.IdColor[id - 1] = 0x010000 * id + 0x000100 * (20 * id % 256) + 10 * id;
    }
    return state;
}

void DriveLaps(RaceState& state, int id, const std::vector<double>& lapSeconds) {
    for (double seconds : lapSeconds) {
        const int32_t ms = static_cast<int32_t>(std::lround(seconds * 1000));
        int16_t& laps = state.LapCount[id - 1];
        ++laps;
        state.LastPassTime[id - 1] += ms;
        state.LastLapTime[id - 1] = ms;
        if (laps >= 0 && laps <= MaxLapNumber) {
            const float stored = static_cast<float>(std::round(seconds * 100) / 100);
            state.LapTimes[id - 1][laps] = stored;
            state.SortedLapTimes[id - 1][laps] = stored;
        }
        if (laps > 1 && ms < state.BestLapTime[id - 1])
            state.BestLapTime[id - 1] = ms;
    }
}

void Standings(RaceState& state) {
    ComputePosition(state);
    ComputeInterval(state);
}

} // namespace kesto::test
