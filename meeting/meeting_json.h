#pragma once
// The meeting file's text: JSON a person can read and mend, UTF-8, two-space
// indents, fields in a fixed order, one line per entry, racer and result. Everything a meeting
// holds is in it, so a meeting read back is exactly the one written.

#include "meeting/meeting.h"

#include <string>
#include <string_view>

namespace kesto {

inline constexpr int MeetingFileVersion = 1;

std::string MeetingToJson(const Meeting& meeting);

// Reads a meeting file's text. Nothing when it is sound; otherwise what is
// wrong and where ("heats[3].result[0].laps: not a whole number"), and
// `meeting` is left as it was.
Refusal MeetingFromJson(std::string_view text, Meeting& meeting);

} // namespace kesto
