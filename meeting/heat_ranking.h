#pragma once
// The order of one heat: more laps first, then the shorter total time. A
// racer who did not start, or started and did no lap, has no finishing place;
// such racers follow the placed ones, the no-shows last.

#include "meeting/meeting.h"

#include <vector>

namespace kesto {

// Started and did at least one lap.
bool HasFinishingPlace(const RacerResult& racer);

// `a` finished strictly ahead of `b`. Two racers without a place are level.
bool FinishedAhead(const RacerResult& a, const RacerResult& b);

// The racers in finishing order; level racers keep their order in `result`
// (a heat result lists the racers in the heat's order, which for a final is
// the seeding).
HeatResult FinishingOrder(const HeatResult& result);

// The finishing place of `entry`: 1 + the racers strictly ahead, so equal laps
// and time share a place. 0 without a finishing place or not in the heat.
int FinishingPlace(const HeatResult& result, int entry);

} // namespace kesto
