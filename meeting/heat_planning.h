#pragma once
// Planning the heats of a meeting and changing the plan while it runs.
//
// RC cars: every qualifying round has the same heats, the entries in entry
// order spread evenly over as few heats of the chosen size as hold them
// (20 racers in heats of 10: two heats of 10; 21: three of 7). Each racer runs
// on its own transponder ID; when another racer of the heat has that ID, or
// the racer has none, it gets a free ID that no racer of the heat owns, which
// the call-up shows.
//
// Slot cars (lane rotation, heat size = lanes): the classic rotation. In
// heat k lane j holds racer k + j - 1 (counted round the entry list), so after
// every heat each racer moves down a lane, the one on lane 1 leaves and the
// next comes in on the last lane. Every racer runs one heat on each lane,
// every lane once; with fewer racers than lanes some lanes stay empty.

#include "meeting/meeting.h"

#include <string>

namespace kesto {

// Plans every qualifying heat of the meeting anew (the finals go). Refused
// once a heat has been run, without entries, or with a faulty set-up.
Refusal PlanQualifying(Meeting& meeting);

// Enters a racer. Once the heats are planned this is a late entry: in each
// round that still has a heat to run the racer joins the smallest such heat
// (a lane rotation: a heat with its lane free, for each lane), or a new heat
// after the round's last one when none has room. Rounds already run are
// missed. Refused for an empty or already entered name, an ID outside 0..14,
// and once the finals are planned.
Refusal AddEntry(Meeting& meeting, const std::string& name, int transponder);

// Moves a racer from one heat to another of the same round (a final: to
// another main). Neither heat may have been run; the target must have room.
// The racer keeps its ID when it is free there (its lane in a lane rotation,
// which must be free), else gets the lowest free one.
Refusal MoveRacer(Meeting& meeting, int entry, int fromHeat, int toHeat);

// The heat to run next: the first in running order without a result. nullptr
// when every planned heat has been run.
const Heat* NextHeat(const Meeting& meeting);

// Every qualifying heat (at least one) has a result.
bool QualifyingComplete(const Meeting& meeting);

// Gives each racer of the heat still without an ID (0) its own transponder
// when no other racer has it, else the lowest ID that no racer of the heat has
// or owns (else the lowest free one).
void SeatOnIds(const Meeting& meeting, Heat& heat);

// The ID `entry` gets in `heat`: its transponder when free, else the lowest
// free ID. 0 when the heat is full.
int FreeCarId(const Heat& heat, int transponder);

// The number the next new heat gets.
int NextHeatNumber(const Meeting& meeting);

} // namespace kesto
