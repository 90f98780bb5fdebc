#pragma once
// The decoder's serial lines: "@" + two-digit ID + hhmmss + hundredths for a
// passing, "@00" + hhmmss for the running clock, each ended by a line feed.

#include <cstdint>
#include <string>

namespace kesto::sim {

std::string DetectionLine(int id, int64_t ms, bool crlf = false);
std::string ClockLine(int64_t ms, bool crlf = false);

} // namespace kesto::sim
