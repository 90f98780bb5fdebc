// One race-timer tick of engine work with 14 cars: a burst of decoder lines
// read from the port and cut by the receive buffer, each line parsed and
// counted, then the running order and the gaps the race screen shows.

#include "bench/bench_race.h"
#include "engine/standings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace kesto;
using bench::Record;

// Tick k: the decoder clock line and a pass of every car, 5 s after its
// previous one give or take, in an order that changes from tick to tick.
std::vector<std::string> MakeBursts(int ticks, bool withCars) {
    std::vector<std::string> bursts;
    for (int k = 1; k <= ticks; ++k) {
        int64_t base = int64_t{5000} * k;
        std::string burst = Record(0, base).substr(0, 9) + "\r\n";
        if (withCars)
            for (int id = 1; id <= MaxCarIds; ++id)
                burst += Record(id, base + (id * 37 + k * 13) % 1000);
        bursts.push_back(burst);
    }
    return bursts;
}

struct EngineRig : bench::BenchRace {
    EngineRig() {
        state.Settings.MinLapTime = 1.0f;
        state.TimedRace = true;
        ResetCars();
    }
    void Restart() { ResetCars(); }
    void Tick(const std::string& burst) {
        PortStep(burst);
        RefreshRaceStandings(state);
    }
};

void RunTicks(benchmark::State& run, bool withCars) {
    constexpr int Ticks = 2000; // then the race starts over, within the lap table
    const std::vector<std::string> bursts = MakeBursts(Ticks, withCars);
    EngineRig rig;
    std::size_t next = 0;
    for (auto _ : run) {
        rig.Tick(bursts[next]);
        if (++next == bursts.size()) {
            run.PauseTiming();
            rig.Restart();
            next = 0;
            run.ResumeTiming();
        }
    }
    benchmark::DoNotOptimize(rig.state.LagFirst);
}

// Every car passes the line in the same tick: the worst case of a race.
void BM_EngineTick_14CarBurst(benchmark::State& run) {
    RunTicks(run, true);
}
BENCHMARK(BM_EngineTick_14CarBurst);

// The common tick: only the decoder clock line arrives.
void BM_EngineTick_ClockLineOnly(benchmark::State& run) {
    RunTicks(run, false);
}
BENCHMARK(BM_EngineTick_ClockLineOnly);

// The median refresh at a whole second: 14 cars with `laps` laps each, one
// new lap appended to every row since the last sort.
void BM_MedianRefresh(benchmark::State& run) {
    const int laps = static_cast<int>(run.range(0));
    RaceState state;
    for (int i = 0; i < MaxCarIds; ++i)
        state.LapCount[i] = static_cast<int16_t>(laps);
    for (auto _ : run) {
        run.PauseTiming();
        for (int i = 0; i < MaxCarIds; ++i) {
            for (int c = 1; c < laps; ++c)
                state.SortedLapTimes[i][c] = 5.0f + 0.01f * static_cast<float>(c);
            state.SortedLapTimes[i][laps] = 4.0f; // a new best lap
        }
        run.ResumeTiming();
        subSortLapTimes(state);
    }
    benchmark::DoNotOptimize(state.MedianLap);
}
BENCHMARK(BM_MedianRefresh)->Arg(50)->Arg(500)->Arg(3000);

} // namespace
