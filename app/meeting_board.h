#pragma once
// The race meeting as the live board shows it: the standings report's tables
// and the next heat's call-up, copied into the board's own plain structs
// (web/ knows nothing of meetings).

#include "meeting/meeting_desk.h"
#include "web/standings_page.h"

#include <optional>

namespace kesto {

// Nothing while no meeting is open. The next heat is the first one still to
// run beyond the heat loaded onto the race screen: while a heat is on the
// screen (and racing), the board calls up the one after it.
std::optional<StandingsBoard> MeetingStandingsBoard(const MeetingDesk& desk);

} // namespace kesto
