#include "display/hits_rows.h"

#include "engine/number_format.h"

#include <algorithm>

namespace kesto {
namespace {

constexpr int FirstTimedLap = 2; // as lap counting's best lap

} // namespace

std::array<HitsLapRange, MaxCarIds> HitsLapRanges(const RaceState& state) {
    std::array<HitsLapRange, MaxCarIds> ranges;
    for (int i = 0; i < MaxCarIds; ++i) {
        if (static_cast<std::size_t>(i) >= state.LapTimes.size())
            break;
        const int last = std::min<int>(state.LapCount[i], MaxLapNumber);
        if (last < FirstTimedLap)
            continue;
        const LapRow& row = state.LapTimes[i];
        const auto [shortest, longest] =
            std::minmax_element(row.begin() + FirstTimedLap, row.begin() + last + 1);
        ranges[i].min = FormatNumberGrouped(*shortest, 2, state.Locale);
        ranges[i].max = FormatNumberGrouped(*longest, 2, state.Locale);
    }
    return ranges;
}

} // namespace kesto
