#pragma once
// A whole timer without windows: race control, the race tick, a fake race
// screen and scripted start windows over the test doubles, plus decoder lines
// to feed the fake port.

#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "support/fake_race_screen.h"
#include "support/scripted_start_sequence.h"
#include "support/test_doubles.h"

#include <cstdint>
#include <string>

namespace kesto::test {

// "@00HHMMSS\n": the decoder clock at `ms` (whole seconds).
std::string DecoderClockLine(int32_t ms);
// "@IIHHMMSSCC\n": car `id` passing at `ms` (hundredths).
std::string DecoderPassLine(int id, int32_t ms);
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
    RaceControl control{race.context, screen, launcher};
    RaceTick tick{race.context, control, screen};
};

} // namespace kesto::test
