#pragma once
// The question asked before results that were not saved are thrown away
// (Reset after a race, Exit): one of three titles and texts by what is unsaved.

#include "base/dialogs.h"
#include "engine/race_state.h"

#include <string>

namespace kesto {

// True when nothing is unsaved or the user answers Yes to
// "<what is unsaved>\n<question>", e.g. question "Do you want to Reset?".
bool ConfirmUnsavedResults(Dialogs& dialogs, const RaceState& state, const std::string& question);

} // namespace kesto
