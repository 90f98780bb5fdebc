// The race tick's cost with every spoken call on against the same tick with
// the calls off (no caller: the timer as a club without calls runs it). The
// tick only queues a call's car and number; the words, the synthesis and the
// playing happen away from it, so the two should cost the same.

#include "bench/bench_race.h"
#include "engine/announcements.h"
#include "engine/standings.h"
#include "sound/race_calls.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using namespace kesto;
using bench::Record;

// The real program's clock for the calls' moments.
class SteadyClock final : public CallClock {
public:
    int64_t NowMs() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

struct SpeechRig : bench::BenchRace {
    SteadyClock callClock;
    CallQueue queue{callClock};
    SpeechSettings speech;
    RaceCalls calls{speech, queue, [] { return true; }};

    explicit SpeechRig(bool callsOn) {
        state.Settings.MinLapTime = 1.0f;
        state.TimedRace = true;
        state.RaceMinutes = 240;
        sounds.RaceSoundEnabled.fill(true);
        for (int i = 0; i < MaxCarIds; ++i)
            state.Names.IdName[i] = "Racer " + std::to_string(i + 1);
        if (callsOn) {
            speech.bestLap = true;
            speech.lapCounts = LapCountCalls::EachCar;
            speech.podium = speech.racers = speech.timeLeft = true;
            ctx.caller = &calls;
        }
        ResetCars();
    }
    // As the tick runs it: the finish check's time-left step, the port, the standings.
    void Tick(const std::string& bytes) {
        PlayTimeLeftSounds(state, sounds, player, ctx.Caller());
        PortStep(bytes);
        RefreshRaceStandings(state);
    }
};

// Tick k: the decoder's clock line, and either every car (the worst case) or
// one car (a busy track at the decoder's full line rate), about 5 s a lap.
std::vector<std::string> MakeTicks(int ticks, bool everyCar) {
    std::vector<std::string> lines;
    for (int k = 1; k <= ticks; ++k) {
        const int64_t base = int64_t{5000} * k;
        std::string line = Record(0, base).substr(0, 9) + "\r\n";
        for (int id = 1; id <= MaxCarIds; ++id)
            if (everyCar || id == k % MaxCarIds + 1)
                line += Record(id, base + (id * 37 + k * 13) % 1000);
        lines.push_back(line);
    }
    return lines;
}

void RunTicks(benchmark::State& run, bool everyCar) {
    constexpr int Ticks = 2000; // then the race starts over, within the lap table
    const std::vector<std::string> ticks = MakeTicks(Ticks, everyCar);
    SpeechRig rig(run.range(0) != 0);
    std::size_t next = 0;
    for (auto _ : run) {
        rig.Tick(ticks[next]);
        if (++next == ticks.size()) {
            run.PauseTiming();
            rig.ResetCars();
            next = 0;
            run.ResumeTiming();
        }
    }
    benchmark::DoNotOptimize(rig.state.LagFirst);
    run.counters["calls_dropped"] = rig.queue.Dropped();
}

// Arg 0: calls off; 1: every call on (best laps, every car's lap count, ...),
// the queue full as it is while a call is being said.
void BM_SpeechTick_14CarBurst(benchmark::State& run) {
    RunTicks(run, true);
}
BENCHMARK(BM_SpeechTick_14CarBurst)->Arg(0)->Arg(1);

void BM_SpeechTick_OneCar(benchmark::State& run) {
    RunTicks(run, false);
}
BENCHMARK(BM_SpeechTick_OneCar)->Arg(0)->Arg(1);

} // namespace
