#pragma once
// What a lap race must come to, worked out from the passings the decoder sent
// (decoder-sim's --log) alone: the timer's lap rules applied line by line in
// the order the decoder sends them, with the finish check between lines. The
// end-to-end test holds the program's results against this.

#include "tools/decoder-sim/passing_plan.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kesto::e2e {

inline constexpr int Cars = 14;

// One line from the decoder: a passing of car `id`, or its clock (id 0).
struct DecoderLine {
    int64_t ms;
    int id;
};

// The lines in the order decoder-sim sends them: a clock line every second
// from 0 until `tailMs` after the last passing, each passing before the clock
// line of the second it falls in.
std::vector<DecoderLine> DecoderStream(const std::vector<sim::Passing>& passings, int64_t tailMs);

struct LapRaceRules {
    int laps = 5;
    int32_t minLapMs = 1000;
    int firstLapCount = 0; // "Race Begins With Lap:" 1
};

struct ExpectedCar {
    int id = 0;
    std::vector<int32_t> lapMs; // laps 1.. in order, each as the timer stores it
    int32_t totalMs = 0;        // time of the last counted pass
    int32_t bestMs = 999999;    // fastest lap from lap 2 on
    int Laps() const { return static_cast<int>(lapMs.size()); }
};

struct ExpectedRace {
    std::array<ExpectedCar, Cars> byId{}; // ID n in entry n - 1
    std::array<int, Cars> order{};        // ID in each position, as the running order
    bool closed = false;
    bool closedByTime = false; // the close time ran out before every car finished
    // Moments the result depends on (the checkered flag, the close) that have
    // another line that counts within `sameTickMs` after them: the timer may
    // read both in one tick, so the outcome would not be certain.
    std::vector<std::string> uncertain;

    // The cars that took part, in running order.
    std::vector<ExpectedCar> Finishers() const;
};

ExpectedRace PredictLapRace(const std::vector<DecoderLine>& lines, const LapRaceRules& rules,
                            int64_t sameTickMs);

// A car's lap times as the timer counted them ("2.53" for laps 1, 2, ...)
// held against the expected ones: equal, except that a lap across the moment
// the decoder restarted its clock (race time `restartMs`) may be off by up to
// `toleranceMs`, as the timer reckons that moment by its own clock. Empty when
// they agree, else what differs.
std::string LapsAcrossARestart(const std::vector<std::string>& counted,
                               const std::vector<int32_t>& expectedMs, int64_t restartMs,
                               int32_t toleranceMs);

} // namespace kesto::e2e
