#pragma once
// The date and time of day, for the race date stamp and printed reports.

#include <string>

namespace kesto {

struct DateTime {
    int year = 2000, month = 1, day = 1; // month 1..12
    int hour = 0, minute = 0, second = 0;
};

class WallClock {
public:
    virtual ~WallClock() = default;
    virtual DateTime Now() = 0;
};

class SystemWallClock final : public WallClock {
public:
    DateTime Now() override;
};

// "MMM-DD, H-MM", e.g. "Dec-07, 9-05": the race date stamp and file names.
std::string FormatRaceDateStamp(const DateTime& t);

} // namespace kesto
