// One whole 10 ms race-timer tick with the real main window: the decoder's
// burst read from the port and cut into lines, every line parsed and counted,
// running order and gaps, and all 14 rows of the race screen written. The
// per-tick median, 99th percentile and maximum are reported as counters.
#include "bench/qt/bench_window.h"
#include "tools/decoder-sim/decoder_lines.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace kesto {
namespace {

struct Bench : bench::BenchWindow {
    FrmKestoTimer& window = parts.Window();
    RaceControl& control = parts.Control();
    RaceTick& tick = parts.Tick();
    int64_t raceMs = 0;
    int ticksInRace = 0;

    Bench(const char* bestMode, const char* lagMode) {
        state.TimedRace = true;
        state.RaceMinutes = 240;
        state.Settings.MinLapTime = 2;
        state.SpeedMultiplier = 1636.36f;
        for (int i = 0; i < MaxCarIds; ++i) {
            state.Names.IdName[i] = "Racer " + std::to_string(i + 1);
            state.Settings.IdColor[i] = 0x203040 * (i + 1);
        }
        window.InitResizer();
        control.ReSet();
        state.BestColumnMode = bestMode;
        state.LagColumnMode = lagMode;
        NewRace();
    }
    void NewRace() {
        if (state.Button != StartButton::Start)
            control.cmdStart_Click(); // Abort (answered Yes)
        control.cmdStart_Click();     // Start
        raceMs = 0;
        ticksInRace = 0;
    }
    // The decoder's burst for one tick: its clock line and a pass of every
    // car, in an order that changes from tick to tick.
    void FeedBurst() {
        raceMs += 4000;
        std::string burst = sim::ClockLine(raceMs);
        for (int n = 0; n < MaxCarIds; ++n) {
            const int id = (n * 5 + ticksInRace) % MaxCarIds + 1;
            burst += sim::DetectionLine(id, raceMs + 10 * n + (id * 37 + ticksInRace * 11) % 300);
        }
        port.Feed(burst);
        ++ticksInRace;
    }
};

void RunTicks(benchmark::State& st, const char* bestMode, const char* lagMode, bool paint) {
    Bench bench(bestMode, lagMode);
    if (paint)
        bench.window.show();
    std::vector<double> micros;
    micros.reserve(1 << 16);
    for (auto _ : st) {
        st.PauseTiming();
        if (bench.ticksInRace >= 2000) // stays within the lap table and a 240-minute race
            bench.NewRace();
        bench.FeedBurst();
        st.ResumeTiming();
        const auto begin = std::chrono::steady_clock::now();
        bench.tick.Timer1_Timer(10);
        if (paint)
            QApplication::processEvents(); // the repaint of what changed
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin)
                .count());
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        st.counters["median_us"] = micros[micros.size() / 2];
        st.counters["p99_us"] = micros[micros.size() * 99 / 100];
        st.counters["max_us"] = micros.back();
    }
    if (paint)
        bench.window.hide();
}

void BM_MainWindowTick_14CarBurst(benchmark::State& st) {
    RunTicks(st, BestLapMode, LagBehindMode, false);
}
BENCHMARK(BM_MainWindowTick_14CarBurst)->Unit(benchmark::kMicrosecond);

// Both columns on the median: with the decoder's clock in whole seconds the
// lap statistics are sorted on every refresh.
void BM_MainWindowTick_14CarBurstMedians(benchmark::State& st) {
    RunTicks(st, MedianMode, MedianMode, false);
}
BENCHMARK(BM_MainWindowTick_14CarBurstMedians)->Unit(benchmark::kMicrosecond);

// The tick and the repaint of the shown window that follows it.
void BM_MainWindowTickAndPaint_14CarBurst(benchmark::State& st) {
    RunTicks(st, BestLapMode, LagBehindMode, true);
}
BENCHMARK(BM_MainWindowTickAndPaint_14CarBurst)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace kesto
