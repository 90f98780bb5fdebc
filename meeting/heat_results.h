#pragma once
// Results going into the meeting: a closed heat's result, a re-run that sets
// the earlier result aside (kept in the heat, never lost), and the no-show
// mark. Each keeps the finals' bump-up places in step.

#include "meeting/meeting.h"

namespace kesto {

// Records the result of a heat not yet run: one result for each racer of the
// heat, nobody else. A racer marked a no-show keeps that mark whatever laps
// the race gave its ID.
Refusal RecordHeatResult(Meeting& meeting, int heatNumber, HeatResult result);

// Sets the heat's result aside so the heat can run again; the heat is then
// the next one proposed when it is the first without a result. Refused while
// a main the heat bumps racers up into has been run on them.
Refusal ReRunHeat(Meeting& meeting, int heatNumber);

// Marks (or clears) a racer of a heat as a no-show, before or after the heat
// ran. The laps of a result stay kept behind the mark.
Refusal SetNoShow(Meeting& meeting, int heatNumber, int entry, bool noShow);

} // namespace kesto
