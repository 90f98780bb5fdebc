#include "base/wall_clock.h"

#include <cstdio>
#include <ctime>

namespace kesto {

namespace {
const char* const MonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
}

DateTime SystemWallClock::Now() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string FormatRaceDateStamp(const DateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%s-%02d, %d-%02d", MonthNames[(t.month + 11) % 12], t.day,
                  t.hour, t.minute);
    return text;
}

} // namespace kesto
