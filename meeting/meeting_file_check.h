#pragma once
// The rules a meeting read from its file must keep beyond the file's shape:
// a sound set-up, entries and heats with numbers of their own, heats that
// name only entered racers, each once, on IDs of their own, and results for
// exactly the racers of their heat. A file that breaks one is damaged.

#include "meeting/meeting.h"

namespace kesto {

// Nothing when sound, else what is wrong and where.
Refusal CheckMeetingFile(const Meeting& meeting);

} // namespace kesto
