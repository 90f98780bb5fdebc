#include "meeting/heat_ranking.h"

#include <algorithm>

namespace kesto {
namespace {

// 0 placed, 1 no lap, 2 did not start.
int Group(const RacerResult& racer) {
    return racer.noShow ? 2 : racer.laps > 0 ? 0 : 1;
}

} // namespace

bool HasFinishingPlace(const RacerResult& racer) {
    return Group(racer) == 0;
}

bool FinishedAhead(const RacerResult& a, const RacerResult& b) {
    if (Group(a) != Group(b))
        return Group(a) < Group(b);
    if (Group(a) != 0)
        return false;
    return a.laps != b.laps ? a.laps > b.laps : a.timeMs < b.timeMs;
}

HeatResult FinishingOrder(const HeatResult& result) {
    HeatResult order = result;
    std::stable_sort(order.begin(), order.end(), FinishedAhead);
    return order;
}

int FinishingPlace(const HeatResult& result, int entry) {
    const RacerResult* racer = FindResult(result, entry);
    if (racer == nullptr || !HasFinishingPlace(*racer))
        return 0;
    return 1 + static_cast<int>(
                   std::count_if(result.begin(), result.end(), [&](const RacerResult& other) {
                       return FinishedAhead(other, *racer);
                   }));
}

} // namespace kesto
