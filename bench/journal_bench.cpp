// The race journal's cost per race-timer tick: 14 cars at the decoder's full
// line rate (9600 baud is about 960 characters a second, one line per 10 ms
// tick), each tick's line read from the port, parsed and counted, the running
// order and the gaps computed, with and without the journal recording the
// line and the refresh. The journal writes each event with one write(2); its
// own thread syncs the file to the disk.

#include "bench/bench_race.h"
#include "engine/journal_file.h"
#include "engine/standings.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace kesto;
using bench::Record;

// Tick k at k * 10 ms: the decoder's clock line on whole seconds, otherwise
// the pass of the next car in turn (each car about every 140 ms: a busy track).
std::vector<std::string> MakeLines(int ticks) {
    std::vector<std::string> lines;
    for (int k = 1; k <= ticks; ++k) {
        const int64_t ms = int64_t{10} * k;
        if (ms % 1000 == 0)
            lines.push_back(Record(0, ms).substr(0, 9) + "\r\n");
        else
            lines.push_back(Record(k % MaxCarIds + 1, ms));
    }
    return lines;
}

std::filesystem::path BenchFolder() {
    const char* chosen = std::getenv("KESTO_BENCH_DIR");
    std::filesystem::path folder =
        chosen != nullptr ? std::filesystem::path(chosen) : std::filesystem::temp_directory_path();
    folder /= "kesto-journal-bench-" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    return folder;
}

struct TickRig : bench::BenchRace {
    TickRig() {
        state.Settings.MinLapTime = 0.1f;
        state.LapRace = true;
        state.NumberOfLaps = 3000;
    }
    void Restart() {
        ResetCars();
        state.RaceClock = 0;
        ctx.Journal().Record(JournalEvent::RaceStarted(state));
        ctx.Journal().Record(JournalEvent::TimingStarted());
    }
    // The engine's part of RaceTick: the port step, then the refresh.
    void Tick(const std::string& line) {
        PortStep(line);
        ctx.Journal().Record(JournalEvent::ScreenUpdated(state.RaceClock));
        RefreshRaceStandings(state);
    }
};

void RunTicks(benchmark::State& run, bool withJournal) {
    constexpr int Ticks = 6000; // a minute of racing, then the race starts over
    const std::vector<std::string> lines = MakeLines(Ticks);
    const std::filesystem::path folder = BenchFolder();
    {
        JournalFile journal(folder);
        TickRig rig;
        if (withJournal)
            rig.ctx.journal = &journal;
        rig.Restart();
        size_t next = 0;
        for (auto _ : run) {
            rig.Tick(lines[next]);
            if (++next == lines.size()) {
                run.PauseTiming();
                rig.Restart();
                next = 0;
                run.ResumeTiming();
            }
        }
        benchmark::DoNotOptimize(rig.state.LagFirst);
        if (!journal.LastError().empty())
            run.SkipWithError(journal.LastError().c_str());
    }
    std::filesystem::remove_all(folder);
}

// The tick's engine work without a journal.
void BM_Tick_NoJournal(benchmark::State& run) {
    RunTicks(run, false);
}
BENCHMARK(BM_Tick_NoJournal);

// The same with the journal recording the line and the refresh (this thread).
void BM_Tick_WithJournal(benchmark::State& run) {
    RunTicks(run, true);
}
BENCHMARK(BM_Tick_WithJournal);

// The same, counting the sync thread's processor time too.
void BM_Tick_WithJournalAndSyncThread(benchmark::State& run) {
    RunTicks(run, true);
}
BENCHMARK(BM_Tick_WithJournalAndSyncThread)->MeasureProcessCPUTime();

// The wall-clock time of each tick, as counters, without (0) and with (1) the
// journal: the tick must never wait for the disk, in the worst case either.
void BM_TickLatency(benchmark::State& run) {
    constexpr int Ticks = 6000;
    const std::vector<std::string> lines = MakeLines(Ticks);
    const std::filesystem::path folder = BenchFolder();
    std::vector<double> micros;
    {
        JournalFile journal(folder);
        TickRig rig;
        if (run.range(0) != 0)
            rig.ctx.journal = &journal;
        rig.Restart();
        size_t next = 0;
        for (auto _ : run) {
            const auto begin = std::chrono::steady_clock::now();
            rig.Tick(lines[next]);
            const auto end = std::chrono::steady_clock::now();
            micros.push_back(std::chrono::duration<double, std::micro>(end - begin).count());
            run.SetIterationTime(std::chrono::duration<double>(end - begin).count());
            if (++next == lines.size()) {
                rig.Restart();
                next = 0;
            }
        }
    }
    std::filesystem::remove_all(folder);
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        run.counters["median_us"] = micros[micros.size() / 2];
        run.counters["p99_us"] = micros[micros.size() * 99 / 100];
        run.counters["max_us"] = micros.back();
    }
}
BENCHMARK(BM_TickLatency)->Arg(0)->Arg(1)->UseManualTime()->Iterations(30000);

// A flood on the port (a noisy cable, a decoder gone mad): every tick finds
// far more waiting than it takes, all of it lines that change nothing (empty
// lines, noise, IDs no car has). The tick reads at most MaxBytesPerTick and
// journals none of it.
void BM_Tick_FloodOfLinesThatChangeNothing(benchmark::State& run) {
    std::string flood;
    while (flood.size() < 65536)
        flood += "\n\r\n#noise\n@15123456\n";
    const std::filesystem::path folder = BenchFolder();
    {
        JournalFile journal(folder);
        TickRig rig;
        rig.ctx.journal = &journal;
        rig.Restart();
        for (auto _ : run)
            rig.Tick(flood);
        benchmark::DoNotOptimize(rig.state.LagFirst);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_Tick_FloodOfLinesThatChangeNothing);

} // namespace
