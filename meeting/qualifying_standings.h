#pragma once
// The qualifying standings under the meeting's scoring rule.
//
// Best rounds (RC): a round is better with more laps, then a shorter time. A
// racer's best N rounds count: their laps summed, then their times summed
// decide. Level racers are parted by their next best round (the best one that
// did not count), then the one after.
//
// Points: each finishing place of a heat scores the points list's entry for
// it (place 1 the first entry); racers level on laps and time share a place
// and its points. A racer without a finishing place (no lap, or a no-show)
// scores 0. Rounds are summed; with the drop, each racer's lowest round does
// not count. Level racers are parted by count-back: the better best round,
// then the better second best, and so on over every round.
//
// Lane rotation (slot cars): every heat counts; total laps, then total time.
//
// A round the racer did not run (a no-show, a late entry's missed round)
// scores nothing. Only a heat's current result counts, never one a re-run set
// aside. Racers level on everything share a position and keep entry order.

#include "meeting/meeting.h"

#include <cstdint>
#include <vector>

namespace kesto {

struct RoundScore {
    int round = 0;    // 1..rounds
    int lane = 0;     // lane rotation: the lane of the heat; else 0
    int heat = 0;     // the heat's number; 0 when the racer has none in this round
    bool ran = false; // has a result and started
    int laps = 0;
    int32_t timeMs = 0;
    int place = 0; // finishing place in the heat; 0 without one
    int points = 0;
    bool counted = false; // counts towards the racer's total
    bool operator==(const RoundScore&) const = default;
};

struct QualifyingRow {
    int entry = 0;
    int position = 0;   // level racers share it
    int laps = 0;       // of the rounds that count
    int64_t timeMs = 0; // 20 long rounds overflow 32 bits
    int points = 0;
    std::vector<RoundScore> rounds; // by round; a lane rotation by round, then lane
};

// Every entry, best first.
std::vector<QualifyingRow> QualifyingStandings(const Meeting& meeting);

} // namespace kesto
