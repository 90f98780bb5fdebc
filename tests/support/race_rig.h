#pragma once
// A whole timer without windows, driven by ticks: race control, the race
// tick, a fake race screen (also the race timer) and scripted start windows
// over the test doubles; decoder lines to feed the fake port are the
// simulator's (tools/decoder-sim/decoder_lines.h), and DecoderFeed plays a
// whole decoder race into it tick by tick.

#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "support/fake_race_screen.h"
#include "support/scripted_start_sequence.h"
#include "support/test_doubles.h"
#include "tools/decoder-sim/decoder_lines.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kesto::test {

// "@00HHMMSS\n": the decoder clock at `ms` (whole seconds).
inline std::string DecoderClockLine(int32_t ms) {
    return sim::ClockLine(ms);
}
// "@IIHHMMSSCC\n": car `id` passing at `ms` (hundredths).
inline std::string DecoderPassLine(int id, int32_t ms) {
    return sim::DetectionLine(id, ms);
}
// The latest time stamp among the decoder records in `lines` (0 without
// any): a test lets that much race-timer time pass, as a decoder's clock and
// the race timer run alike.
int32_t LatestDecoderTime(const std::string& lines);

struct RaceRig {
    RaceRig();

    // Names "Racer 1" .. "Racer 14" for every ID.
    void NameAllCars();
    // One 10 ms tick of the race timer.
    void Tick(int32_t ms = 10) { tick.Timer1_Timer(ms); }

    TestRace race;
    RaceState& state = race.state;
    FakeRaceScreen screen{race.state};
    ScriptedStartSequenceLauncher launcher{race.context};
    RaceControl control{race.context, screen, launcher, screen};
    RaceTick tick{race.context, control, screen};
};

// Passes by decoder time, sent with the decoder's clock line every second.
// Passes by race time, sent with the decoder's clock line at each of its
// whole seconds. The decoder's clock is race time, less the last moment it
// restarted from zero.
struct DecoderFeed {
    std::vector<std::pair<int32_t, int>> plan; // (time ms, car ID), sorted
    size_t next = 0;
    int32_t decoderMs = 0;                     // race time
    std::vector<int32_t> restarts;             // race times the decoder's clock restarts, sorted
    std::multimap<int32_t, std::string> noise; // more lines, by race time

    // `cars` cars of `laps` laps each, lap times 4.5 to 6.5 s, some detected twice.
    static DecoderFeed Race(int cars, int laps, uint32_t seed);

    // The decoder's next 10 ms, then one tick of the race timer.
    void Tick(RaceRig& rig);
    // `ms` with the timer down: what the decoder sends waits in the port.
    void Down(RaceRig& rig, int32_t ms);

private:
    void Send(RaceRig& rig);
};

} // namespace kesto::test
