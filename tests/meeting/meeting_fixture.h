#pragma once
// Meetings for the meeting tests: entries named by number, heats planned,
// results written the way a heat sheet reads.

#include "meeting/heat_planning.h"
#include "meeting/heat_results.h"
#include "meeting/meeting.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>

namespace kesto {
// Readable results in test failures.
void PrintTo(const RacerResult& racer, std::ostream* out);
} // namespace kesto

namespace kesto::test {

// "Racer 1" .. "Racer n", transponders 1..14 and round again, the best 2
// rounds counting (1 of 1); heats planned.
Meeting PlannedMeeting(int racers, ScoringRule rule, int rounds, int heatSize);

// A racer's line on a heat sheet: laps and total time, or a no-show.
RacerResult Ran(int entry, int laps, int32_t timeMs);
RacerResult NoShow(int entry);

// Records the heat's result; racers of the heat not listed did no lap.
void Record(Meeting& meeting, int heat, std::initializer_list<RacerResult> racers);

// The entries of the standings or of a heat, in order.
std::vector<int> EntriesOf(const Heat& heat);

} // namespace kesto::test
