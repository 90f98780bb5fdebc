// What the race screen's rows show after each refresh.
#include "display/race_screen_rows.h"

#include "engine/positions.h"
#include "engine/standings.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

// A race state with every car reset for a race beginning with lap 1.
RaceState FreshRace() {
    RaceState state;
    for (int i = 0; i < MaxCarIds; ++i) {
        state.LapCount[i] = 0;
        state.BestLapTime[i] = NoBestLap;
        state.Settings.IdColor[i] = 0x010000 * (i + 1) + 0x11; // distinct colours
        state.Names.IdName[i] = "Racer " + std::to_string(i + 1);
    }
    state.LapRace = true;
    ComputePosition(state);
    return state;
}

// The rows of a refresh: the engine's standings first, as the tick does.
ScreenUpdate RaceRows(RaceState& state) {
    RefreshStandings(state);
    return RaceScreenRows(state);
}

ScreenUpdate PracticeRows(RaceState& state) {
    RefreshStandings(state);
    return PracticeScreenRows(state);
}

void SetCar(RaceState& state, int id, int laps, int32_t lastPass, int32_t lastLap = 5000) {
    state.LapCount[id - 1] = static_cast<int16_t>(laps);
    state.LastPassTime[id - 1] = lastPass;
    state.LastLapTime[id - 1] = lastLap;
}

TEST(RaceScreenRows, RowsFollowThePositionsWithEachCarsOwnColourIdAndName) {
    RaceState state = FreshRace();
    SetCar(state, 2, 5, 50000);
    SetCar(state, 7, 5, 49200);
    SetCar(state, 1, 4, 51000);

    const ScreenUpdate rows = RaceRows(state);
    const int expectedOrder[] = {7, 2, 1, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14};
    for (int r = 1; r <= MaxCarIds; ++r) {
        const int id = expectedOrder[r - 1];
        const RowUpdate& row = rows[r - 1];
        EXPECT_EQ(row.id, std::to_string(id)) << "row " << r;
        EXPECT_EQ(row.name, " Racer " + std::to_string(id)) << "row " << r;
        EXPECT_EQ(row.color, state.Settings.IdColor[id - 1]) << "row " << r;
        EXPECT_EQ(row.lapNum, std::to_string(state.LapCount[id - 1])) << "row " << r;
    }
    // Lag Behind: the gap to the car ahead, "1Lap" a lap down.
    EXPECT_EQ(rows[0].lag, "0.00");
    EXPECT_EQ(rows[1].lag, "0.80");
    EXPECT_EQ(rows[2].lag, "1Lap");
    EXPECT_EQ(rows[3].lag, "") << "no lap yet: empty under Lag Behind";
}

TEST(RaceScreenRows, LapTimeTextsAroundOneMinute) {
    RaceState state = FreshRace();
    SetCar(state, 1, 3, 200000, 59990);
    SetCar(state, 2, 2, 210000, 60000);
    SetCar(state, 3, 1, 220000, 75400);
    const ScreenUpdate rows = RaceRows(state);
    EXPECT_EQ(rows[0].lapTime, "59.99");
    EXPECT_EQ(rows[1].lapTime, "60");
    EXPECT_EQ(rows[2].lapTime, "75");
    EXPECT_EQ(rows[3].lapTime, "0.00") << "a car without a lap shows a lap time of 0";
}

TEST(RaceScreenRows, BestColumnInBestLapAndMphModes) {
    RaceState state = FreshRace();
    state.SpeedMultiplier = 100.0f / 5280.0f * 3600.0f * 24.0f;
    SetCar(state, 1, 2, 20000, 5000);
    state.BestLapTime[0] = 4870;
    SetCar(state, 2, 1, 21000, 6000);

    ScreenUpdate rows = RaceRows(state);
    EXPECT_EQ(rows[0].best, "4.87 ");
    EXPECT_EQ(rows[1].best, "") << "no best lap yet";

    state.BestColumnMode = MphMode;
    rows = RaceRows(state);
    EXPECT_EQ(rows[0].best, "327.3 ") << "speed of the last lap";
    EXPECT_EQ(rows[1].best, "") << "one lap: no speed";
    EXPECT_EQ(rows[2].best, "") << "no lap: no speed";
}

TEST(RaceScreenRows, MedianCellsAreRewrittenOnlyOnWholeSeconds) {
    RaceState state = FreshRace();
    state.BestColumnMode = MedianMode;
    state.LagColumnMode = MedianMode;
    SetCar(state, 4, 3, 36000);
    state.SortedLapTimes[3][1] = 12.10f;
    state.SortedLapTimes[3][2] = 11.80f;
    state.SortedLapTimes[3][3] = 12.50f;

    state.RaceClock = 36010;
    ScreenUpdate rows = RaceRows(state);
    EXPECT_FALSE(rows[0].best.has_value()) << "between whole seconds the cell keeps its text";
    EXPECT_FALSE(rows[0].lag.has_value());
    EXPECT_EQ(rows[1].best, "") << "a car without a lap shows an empty median at any time";

    state.RaceClock = 37000;
    rows = RaceRows(state);
    EXPECT_EQ(rows[0].best, "12.10");
    EXPECT_EQ(rows[0].lag, "12.10");
}

// With a decoder the race clock holds its whole second for every tick of it:
// the laps are sorted once for that second, and again only for a new lap.
TEST(RaceScreenRows, MedianSortRunsOncePerSecondAndAgainOnANewLap) {
    RaceState state = FreshRace();
    state.BestColumnMode = MedianMode;
    SetCar(state, 4, 1, 36000);
    state.SortedLapTimes[3][1] = 12.10f;
    SetCar(state, 1, 1, 36500);
    int sorts = 0;
    const ViewerGridVisibility countSorts = [&](bool visible) { sorts += visible ? 1 : 0; };
    state.RaceClock = 37000;
    for (int tick = 0; tick < 3; ++tick)
        RefreshRaceStandings(state, countSorts);
    EXPECT_EQ(sorts, 1);
    // A lap within the same second sorts its own car only: another car's
    // median stands as it was.
    state.MedianLap[0] = "as shown";
    SetCar(state, 4, 2, 37000);
    state.SortedLapTimes[3][2] = 11.80f;
    RefreshRaceStandings(state, countSorts);
    EXPECT_EQ(sorts, 2);
    EXPECT_EQ(state.MedianLap[3], "12.10");
    EXPECT_EQ(state.MedianLap[0], "as shown");
}

TEST(RaceScreenRows, LagFirstShowsTheGapWithoutLaps) {
    RaceState state = FreshRace();
    state.LagColumnMode = LagFirstMode;
    state.LagFirst[13] = "3Lap"; // left from an earlier computation
    const ScreenUpdate rows = RaceRows(state);
    EXPECT_EQ(rows[0].lag, "0.00") << "the leader";
    EXPECT_EQ(rows[13].lag, "3Lap") << "shown whatever the lap count";
}

TEST(RaceScreenRows, UnknownModesLeaveTheirCellsUntouched) {
    RaceState state = FreshRace();
    state.BestColumnMode = "Best";
    state.LagColumnMode = "";
    const ScreenUpdate rows = RaceRows(state);
    for (const RowUpdate& row : rows) {
        EXPECT_FALSE(row.best.has_value());
        EXPECT_FALSE(row.lag.has_value());
        EXPECT_TRUE(row.lapNum.has_value());
    }
}

TEST(RaceScreenRows, RaceBeginningWithLapZeroShowsMinusOne) {
    RaceState state = FreshRace();
    state.LapCount.fill(-1);
    const ScreenUpdate rows = RaceRows(state);
    EXPECT_EQ(rows[0].lapNum, "-1");
}

TEST(RaceScreenRows, MissingNameIsALoneBlankInARaceButSelectNameForLoadNames) {
    RaceState state = FreshRace();
    state.Names.IdName[0].clear();
    EXPECT_EQ(RaceRows(state)[0].name, " ");
    const ScreenUpdate names = LoadNamesRows(state);
    EXPECT_EQ(names[0].name, " Select Name");
    EXPECT_EQ(names[1].name, " Racer 2");
    EXPECT_EQ(names[13].id, "14");
    EXPECT_FALSE(names[0].color.has_value()) << "LoadNames does not paint";
    EXPECT_FALSE(names[0].lapNum.has_value());
}

TEST(PracticeScreenRows, RowsStayInIdOrderAndUndetectedCarsKeepTheirCells) {
    RaceState state = FreshRace();
    state.PracticeMode = true;
    state.LapRace = false;
    state.Settings.FirstLapCount = 0;
    SetCar(state, 9, 3, 30000, 9870);
    state.BestLapTime[8] = 9500;

    const ScreenUpdate rows = PracticeRows(state);
    for (int id = 1; id <= MaxCarIds; ++id) {
        const RowUpdate& row = rows[id - 1];
        EXPECT_FALSE(row.id.has_value());
        EXPECT_FALSE(row.name.has_value());
        EXPECT_FALSE(row.color.has_value());
        if (id != 9) {
            EXPECT_FALSE(row.lapNum.has_value()) << "ID " << id << " not detected";
            EXPECT_FALSE(row.lapTime.has_value());
            EXPECT_EQ(row.best, "");
        }
    }
    EXPECT_EQ(rows[8].lapNum, "3");
    EXPECT_EQ(rows[8].lapTime, "9.87");
    EXPECT_EQ(rows[8].best, "9.50 ");

    state.BestColumnMode = MphMode;
    state.SpeedMultiplier = 987.0f;
    EXPECT_EQ(PracticeRows(state)[8].best, "100.0 ");
    state.BestColumnMode = MedianMode; // not offered in practice: the speed rule
    EXPECT_EQ(PracticeRows(state)[8].best, "100.0 ");
}

TEST(PracticeScreenRows, LagColumnShowsTheMedianOnEvenSecondsOnly) {
    RaceState state = FreshRace();
    state.PracticeMode = true;
    state.LapRace = false;
    state.LagColumnMode = LagFirstMode; // ignored in practice
    SetCar(state, 2, 1, 9000, 9000);
    state.SortedLapTimes[1][1] = 9.0f;
    state.MedianLap[5] = "7.77"; // from an earlier race; car 6 has no lap now

    state.RaceClock = 11000;
    ScreenUpdate rows = PracticeRows(state);
    EXPECT_FALSE(rows[1].lag.has_value());

    state.RaceClock = 12000;
    rows = PracticeRows(state);
    EXPECT_EQ(rows[1].lag, "0.00") << "one lap: column 2 is read, still 0";
    EXPECT_EQ(rows[5].lag, "");
}

TEST(ClearedAndColourRows, ResetBlanksTheFourColumnsAndPaintsInIdOrder) {
    RaceState state = FreshRace();
    const ScreenUpdate cleared = ClearedRows();
    EXPECT_EQ(cleared[4].lapNum, "");
    EXPECT_EQ(cleared[4].best, "");
    EXPECT_FALSE(cleared[4].name.has_value());
    const ScreenUpdate colours = IdColorRows(state);
    EXPECT_EQ(colours[4].color, state.Settings.IdColor[4]);
    EXPECT_FALSE(colours[4].lapNum.has_value());
}

} // namespace
} // namespace kesto
