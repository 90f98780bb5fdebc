#pragma once
// The finals: mains filled from the qualifying standings, run from the lowest
// main up, and the final standings of the night.
//
// The A main takes the top qualifiers, the B main the next, and so on, as
// many as the set-up gives each main. With a bump-up of N, the top N
// finishers of a main (racers with a finishing place) go up into the main
// above as well, so that main is run only after the one below it; its bump-up
// places are filled when the main below has its result, and follow a re-run.
//
// Final standings: the A main's racers by their place in it, then the B
// main's (less those who went up), and so on; then the racers without a
// final in qualifying order. Within a main, racers level on laps and time,
// racers without a lap and no-shows keep their seeding order.

#include "meeting/meeting.h"

#include <cstdint>
#include <vector>

namespace kesto {

// Replaces the finals with new mains. Refused before qualifying is complete,
// once a final has been run, and for sizes a heat cannot hold (a main's
// seeded racers plus its bump-up places at most 14, or the lanes).
Refusal PlanFinals(Meeting& meeting, const FinalsSetup& setup);

// Fills the bump-up places of every main not yet run from the current result
// of the main below (emptied while that main has none).
void RefreshBumpUps(Meeting& meeting);

struct FinalStanding {
    int position = 0; // 1, 2, ... without gaps
    int entry = 0;
    int main = -1; // -1: no final
    int place = 0; // finishing place in the main; 0 without one or before it ran
    int laps = 0;
    int32_t timeMs = 0;
    bool noShow = false;
    bool bumpedUp = false;
    int qualifying = 0; // position in the qualifying standings
};

std::vector<FinalStanding> FinalStandings(const Meeting& meeting);

} // namespace kesto
