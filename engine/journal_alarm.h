#pragma once
// The race screen's banner for a race journal that cannot be written: shown
// for as long as the journal has a fault, as plainly as the decoder link's
// alarm, and taken down once every event is on the disk again.

#include "engine/race_screen.h"

#include <string>

namespace kesto {

// "RACE JOURNAL NOT WRITTEN - " and the journal's error.
std::string JournalAlarmText(const std::string& error);

// The banner for `error` (JournalFile::LastError), or none when it is empty.
void ShowJournalError(RaceScreen& screen, const std::string& error);

} // namespace kesto
