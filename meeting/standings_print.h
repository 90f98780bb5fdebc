#pragma once
// The standings printout: the standings report's lines on landscape pages,
// in the fixed-pitch font the other printouts use.

#include "base/printer.h"
#include "meeting/meeting.h"

namespace kesto {

// False when the printer failed; the printout stops there.
bool PrintStandings(const Meeting& meeting, Printer& printer);

} // namespace kesto
