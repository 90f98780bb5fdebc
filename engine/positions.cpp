#include "engine/positions.h"

#include "engine/number_format.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace kesto {
namespace {

bool RanksBehind(const RaceState& state, int a, int b) {
    int16_t lapsA = state.LapCount[a - 1];
    int16_t lapsB = state.LapCount[b - 1];
    if (lapsA != lapsB)
        return lapsA < lapsB;
    return state.LastPassTime[a - 1] > state.LastPassTime[b - 1];
}

// The gap text of car `behind` against car `ahead`.
std::string GapText(const RaceState& state, int behind, int ahead) {
    int lapsBehind = state.LapCount[behind - 1];
    int lapsAhead = state.LapCount[ahead - 1];
    if (lapsBehind == lapsAhead) {
        int64_t gap = std::llabs(static_cast<int64_t>(state.LastPassTime[ahead - 1]) -
                                 static_cast<int64_t>(state.LastPassTime[behind - 1]));
        return FormatFixed(static_cast<double>(gap) / 1000.0, 2, state.Locale);
    }
    return FormatLapCount(std::abs(lapsBehind - lapsAhead));
}

bool OrderIsComplete(const RaceState& state) {
    return std::all_of(state.RaceOrder.begin(), state.RaceOrder.end(),
                       [](int16_t id) { return IsValidId(id); });
}

void SortLapRows(RaceState& state, const std::function<void(bool visible)>& setViewerGridVisible,
                 const PerId<int16_t>* sortedAt) {
    if (setViewerGridVisible)
        setViewerGridVisible(false);

    for (int i = 0; i < MaxCarIds; ++i) {
        if (sortedAt && (*sortedAt)[i] == state.LapCount[i])
            continue;
        // Laps above the last column are counted but not stored; the median is
        // that of the stored laps.
        const int n = std::min<int>(state.LapCount[i], MaxLapNumber);
        if (n < 1)
            continue;
        LapRow& row = state.SortedLapTimes[i];
        // Insertion sort: each refresh finds the row sorted but for the laps
        // appended since, so this is one pass plus a short walk per new lap.
        for (int column = 2; column <= n; ++column) {
            float value = row[column];
            int j = column - 1;
            while (j >= 1 && row[j] > value) {
                row[j + 1] = row[j];
                --j;
            }
            row[j + 1] = value;
        }
        int k = std::min(MedianColumn(n), MaxLapNumber);
        state.MedianLap[i] = FormatNumberGrouped(row[k], 2, state.Locale);
    }

    if (setViewerGridVisible)
        setViewerGridVisible(true);
}

} // namespace

void ComputePosition(RaceState& state) {
    for (int p = 0; p < MaxCarIds; ++p)
        state.RaceOrder[p] = static_cast<int16_t>(p + 1);

    // Bubble sort from 1..14 on every call: it never swaps equal cars, so a
    // complete tie keeps the lower ID first, and the order changes by only a
    // few swaps between refreshes.
    for (int last = MaxCarIds - 1; last > 0; --last) {
        bool swapped = false;
        for (int p = 0; p < last; ++p) {
            if (RanksBehind(state, state.RaceOrder[p], state.RaceOrder[p + 1])) {
                std::swap(state.RaceOrder[p], state.RaceOrder[p + 1]);
                swapped = true;
            }
        }
        if (!swapped)
            break;
    }

    for (int p = 0; p < MaxCarIds; ++p)
        state.RacePosition[state.RaceOrder[p] - 1] = static_cast<int16_t>(p + 1);
}

void ComputeInterval(RaceState& state) {
    // Before the first ComputePosition the order holds zeros: nothing to measure.
    if (!OrderIsComplete(state))
        return;

    const int leader = state.RaceOrder[0];
    state.LagBehind[leader - 1] = "0.00";
    state.LagFirst[leader - 1] = "0.00";

    for (int p = 1; p < MaxCarIds; ++p) {
        int car = state.RaceOrder[p];
        int ahead = state.RaceOrder[p - 1];
        if (state.LastPassTime[car - 1] >= state.LastPassTime[ahead - 1])
            state.LagBehind[car - 1] = GapText(state, car, ahead);
    }
    for (int p = 1; p < MaxCarIds; ++p) {
        int car = state.RaceOrder[p];
        if (state.LastPassTime[car - 1] > state.LastPassTime[leader - 1])
            state.LagFirst[car - 1] = GapText(state, car, leader);
    }
}

int MedianColumn(int laps) {
    return RoundHalfEven(laps / 2.0 + 1.0);
}

void subSortLapTimes(RaceState& state,
                     const std::function<void(bool visible)>& setViewerGridVisible) {
    SortLapRows(state, setViewerGridVisible, nullptr);
}

void SortChangedLapTimes(RaceState& state, const PerId<int16_t>& sortedAt,
                         const std::function<void(bool visible)>& setViewerGridVisible) {
    SortLapRows(state, setViewerGridVisible, &sortedAt);
}

void ResetSortedLapTimesArray(RaceState& state) {
    for (auto& row : state.SortedLapTimes)
        row.fill(0.0f);
    state.LastLapSort = {};
}

int16_t CountIdsWithLaps(const RaceState& state) {
    return static_cast<int16_t>(std::count_if(state.LapCount.begin(), state.LapCount.end(),
                                              [](int16_t laps) { return laps > 0; }));
}

} // namespace kesto
