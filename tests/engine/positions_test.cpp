#include "engine/positions.h"

#include <gtest/gtest.h>

#include <vector>

namespace kesto {
namespace {

void SetCar(RaceState& state, int id, int16_t laps, int32_t lastPassMs) {
    state.LapCount[id - 1] = laps;
    state.LastPassTime[id - 1] = lastPassMs;
}

std::vector<int> Order(const RaceState& state) {
    return {state.RaceOrder.begin(), state.RaceOrder.end()};
}

TEST(Positions, MoreLapsFirstThenEarlierPass) {
    RaceState state;
    SetCar(state, 2, 5, 50000);
    SetCar(state, 7, 5, 49200);
    SetCar(state, 1, 4, 51000);
    ComputePosition(state);
    EXPECT_EQ(Order(state), (std::vector<int>{7, 2, 1, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14}));
    for (int p = 1; p <= MaxCarIds; ++p)
        EXPECT_EQ(state.RacePosition[state.RaceOrder[p - 1] - 1], p);

    ComputeInterval(state);
    EXPECT_EQ(state.LagBehind[7 - 1], "0.00");
    EXPECT_EQ(state.LagFirst[7 - 1], "0.00");
    EXPECT_EQ(state.LagBehind[2 - 1], "0.80");
    EXPECT_EQ(state.LagFirst[2 - 1], "0.80");
    EXPECT_EQ(state.LagBehind[1 - 1], "1Lap");
    EXPECT_EQ(state.LagFirst[1 - 1], "1Lap");
    // Car 3 has not passed since car 1 did: nothing measured yet.
    EXPECT_EQ(state.LagBehind[3 - 1], "");
}

TEST(Positions, CompleteTieKeepsTheLowerIdFirst) {
    RaceState state;
    SetCar(state, 9, 3, 30000);
    SetCar(state, 4, 3, 30000);
    SetCar(state, 12, 3, 29000);
    ComputePosition(state);
    EXPECT_EQ(state.RaceOrder[0], 12);
    EXPECT_EQ(state.RaceOrder[1], 4);
    EXPECT_EQ(state.RaceOrder[2], 9);
    // Ties also survive a second call on an order that was already sorted.
    SetCar(state, 9, 4, 35000);
    ComputePosition(state);
    EXPECT_EQ(state.RaceOrder[0], 9);
    EXPECT_EQ(state.RaceOrder[1], 12);
    EXPECT_EQ(state.RaceOrder[2], 4);
}

TEST(Positions, StartStateIsAllTied) {
    RaceState state;
    ComputeInterval(state); // no order yet: nothing to measure, nothing breaks
    EXPECT_EQ(state.LagBehind[0], "");

    for (int id = 1; id <= MaxCarIds; ++id)
        SetCar(state, id, -1, 0);
    ComputePosition(state);
    ComputeInterval(state);
    for (int p = 1; p <= MaxCarIds; ++p)
        EXPECT_EQ(state.RaceOrder[p - 1], p);
    for (int id = 1; id <= MaxCarIds; ++id)
        EXPECT_EQ(state.LagBehind[id - 1], "0.00");
    EXPECT_EQ(state.LagFirst[0], "0.00");
    for (int id = 2; id <= MaxCarIds; ++id)
        EXPECT_EQ(state.LagFirst[id - 1], "");
}

TEST(Positions, GapStaysUntilTheCarBehindCrossesAgain) {
    RaceState state;
    SetCar(state, 1, 2, 20000);
    SetCar(state, 2, 2, 21000);
    ComputePosition(state);
    ComputeInterval(state);
    EXPECT_EQ(state.LagBehind[1], "1.00");
    EXPECT_EQ(state.LagFirst[1], "1.00");

    SetCar(state, 1, 3, 30000); // the leader crosses: car 2's gap is kept
    ComputePosition(state);
    ComputeInterval(state);
    EXPECT_EQ(state.LagBehind[1], "1.00");
    EXPECT_EQ(state.LagFirst[1], "1.00");

    SetCar(state, 2, 3, 31505); // car 2 crosses: measured afresh
    ComputePosition(state);
    ComputeInterval(state);
    EXPECT_EQ(state.LagBehind[1], "1.51");
    EXPECT_EQ(state.LagFirst[1], "1.51");
}

TEST(Positions, GapsUseTheUsersDecimalSeparatorAndLapCounts) {
    RaceState state;
    state.Locale = {',', '.'};
    SetCar(state, 5, 10, 100000);
    SetCar(state, 6, 10, 102250);
    SetCar(state, 8, 7, 103000);
    ComputePosition(state);
    ComputeInterval(state);
    EXPECT_EQ(state.LagBehind[6 - 1], "2,25");
    EXPECT_EQ(state.LagBehind[8 - 1], "3Lap");
    EXPECT_EQ(state.LagFirst[8 - 1], "3Lap");
}

TEST(Positions, MedianColumnRoundsHalvesToEven) {
    const int expected[] = {2, 2, 2, 3, 4, 4, 4, 5, 6};
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(MedianColumn(n), expected[n - 1]) << "laps " << n;
}

void SetLaps(RaceState& state, int id, std::vector<float> laps) {
    state.LapCount[id - 1] = static_cast<int16_t>(laps.size());
    for (std::size_t c = 0; c < laps.size(); ++c) {
        state.LapTimes[id - 1][c + 1] = laps[c];
        state.SortedLapTimes[id - 1][c + 1] = laps[c];
    }
}

TEST(Positions, MedianReadsTheSortedColumn) {
    RaceState state;
    SetLaps(state, 1, {12.10f, 11.80f, 12.50f});
    SetLaps(state, 2, {5.0f, 9.0f, 7.0f, 6.0f, 8.0f}); // column 4: the fourth smallest
    SetLaps(state, 3, {4.2f});                         // column 2 of one lap is still 0
    SetLaps(state, 4, {1234.5f, 1300.0f});
    state.MedianLap[4] = "9.99"; // no laps: left as it was
    subSortLapTimes(state);
    EXPECT_EQ(state.MedianLap[0], "12.10");
    EXPECT_EQ(state.MedianLap[1], "8.00");
    EXPECT_EQ(state.MedianLap[2], "0.00");
    EXPECT_EQ(state.MedianLap[3], "1,300.00");
    EXPECT_EQ(state.MedianLap[4], "9.99");
    // Only the sorted copy is sorted.
    EXPECT_FLOAT_EQ(state.SortedLapTimes[0][1], 11.80f);
    EXPECT_FLOAT_EQ(state.LapTimes[0][1], 12.10f);
}

TEST(Positions, MedianLeavesColumnZeroOutOfTheSort) {
    RaceState state;
    state.SortedLapTimes[0][0] = 99.0f; // start to the first pass, race begins with lap 0
    SetLaps(state, 1, {6.0f, 5.0f});
    subSortLapTimes(state);
    EXPECT_FLOAT_EQ(state.SortedLapTimes[0][0], 99.0f);
    EXPECT_FLOAT_EQ(state.SortedLapTimes[0][1], 5.0f);
    EXPECT_EQ(state.MedianLap[0], "6.00");
}

TEST(Positions, MedianHandlesLapsBeyondTheTableAndNewLapsOutOfOrder) {
    RaceState state;
    for (int c = 1; c <= MaxLapNumber; ++c)
        state.SortedLapTimes[0][c] = static_cast<float>(MaxLapNumber + 1 - c);
    state.LapCount[0] = 3500; // counted, but only 3000 stored
    subSortLapTimes(state);
    EXPECT_FLOAT_EQ(state.SortedLapTimes[0][1], 1.0f);
    EXPECT_FLOAT_EQ(state.SortedLapTimes[0][MaxLapNumber], 3000.0f);
    EXPECT_EQ(state.MedianLap[0], "1,501.00");

    // A fast lap appended to a sorted row goes to the front.
    SetLaps(state, 2, {5.0f, 6.0f, 7.0f, 8.0f});
    subSortLapTimes(state);
    state.LapCount[1] = 5;
    state.SortedLapTimes[1][5] = 4.0f;
    subSortLapTimes(state);
    EXPECT_FLOAT_EQ(state.SortedLapTimes[1][1], 4.0f);
    EXPECT_EQ(state.MedianLap[1], "7.00");
}

TEST(Positions, SortHidesTheLapViewerGridWhileItWorks) {
    RaceState state;
    std::vector<bool> calls;
    subSortLapTimes(state, [&](bool visible) { calls.push_back(visible); });
    EXPECT_EQ(calls, (std::vector<bool>{false, true}));
}

TEST(Positions, ResetAndCountingIdsWithLaps) {
    RaceState state;
    SetLaps(state, 3, {5.0f, 6.0f});
    state.LapCount[4] = 0;  // passed once in a race beginning with lap 0
    state.LapCount[5] = -1; // never passed
    state.LapCount[6] = 1;
    EXPECT_EQ(CountIdsWithLaps(state), 2);
    ResetSortedLapTimesArray(state);
    EXPECT_FLOAT_EQ(state.SortedLapTimes[2][1], 0.0f);
    EXPECT_FLOAT_EQ(state.LapTimes[2][1], 5.0f);
}

} // namespace
} // namespace kesto
