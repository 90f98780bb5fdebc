// The live board's document, built once per race-screen refresh after the
// tick (not in it): 14 cars with a lap each since the last build, so every
// median is recomputed, and the same board again (the common refresh between
// passes, which is built and found unchanged).
#include "engine/positions.h"
#include "web/board_document.h"

#include <benchmark/benchmark.h>

#include <string>

namespace kesto {
namespace {

RaceState RaceWithLaps(int laps) {
    RaceState state;
    state.LapRace = true;
    state.RaceFormatText = "500 Lap Race";
    for (int i = 0; i < MaxCarIds; ++i) {
        state.Names.IdName[i] = "Racer " + std::to_string(i + 1);
        state.LapCount[i] = static_cast<int16_t>(laps);
        state.BestLapTime[i] = 4800;
        for (int lap = 1; lap <= laps; ++lap)
            state.LapTimes[i][lap] = 5.0f + static_cast<float>((lap * 7 + i) % 50) / 100.0f;
        state.LastPassTime[i] = laps * 5000 + i * 37;
        state.LastLapTime[i] = 5000;
    }
    ComputePosition(state);
    ComputeInterval(state);
    return state;
}

void BM_BoardDocument_EveryCarNewLap(benchmark::State& st) {
    RaceState state = RaceWithLaps(static_cast<int>(st.range(0)));
    BoardDocument document;
    ScreenShown shown;
    for (auto _ : st) {
        for (auto& passed : state.LastPassTime)
            ++passed; // a new lap for the median cache
        benchmark::DoNotOptimize(document.Build(state, shown));
    }
}
BENCHMARK(BM_BoardDocument_EveryCarNewLap)->Arg(50)->Arg(500);

void BM_BoardDocument_Unchanged(benchmark::State& st) {
    RaceState state = RaceWithLaps(static_cast<int>(st.range(0)));
    BoardDocument document;
    ScreenShown shown;
    for (auto _ : st)
        benchmark::DoNotOptimize(document.Build(state, shown));
}
BENCHMARK(BM_BoardDocument_Unchanged)->Arg(500);

} // namespace
} // namespace kesto
