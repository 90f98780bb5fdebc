#include "engine/cell_formulas.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

class CellFormulas : public ::testing::Test {
protected:
    CellFormulas() {
        state.BestLapTime.fill(NoBestLap);
        state.LapCount.fill(0);
    }
    RaceState state;
};

TEST_F(CellFormulas, LapTimeShowsHundredthsBelowAMinuteAndWholeSecondsFrom) {
    auto text = [this](int32_t ms) {
        state.LastLapTime[0] = ms;
        return LapTimeText(state, 1);
    };
    EXPECT_EQ(text(0), "0.00");
    EXPECT_EQ(text(7340), "7.34");
    EXPECT_EQ(text(59990), "59.99");
    EXPECT_EQ(text(60000), "60");
    EXPECT_EQ(text(75400), "75");
    EXPECT_EQ(text(75500), "76");
    EXPECT_EQ(text(125000), "125");
    state.Locale = {',', '.'};
    EXPECT_EQ(text(7340), "7,34");
}

TEST_F(CellFormulas, BestLapCellIsEmptyWithoutABestLap) {
    EXPECT_EQ(BestLapCellText(state, 3), "");
    state.BestLapTime[2] = 7340;
    EXPECT_EQ(BestLapCellText(state, 3), "7.34 ");
}

TEST_F(CellFormulas, MphIsTheScaleSpeedOfTheLastLap) {
    state.SpeedMultiplier = 100.0f / 5280.0f * 3600.0f * 24.0f; // 100 ft, 1:24
    state.LastLapTime[0] = 5000;
    state.BestLapTime[0] = 4000;
    state.LapCount[0] = 1;
    EXPECT_EQ(MphCellText(state, 1), "");
    state.LapCount[0] = 2;
    EXPECT_EQ(MphCellText(state, 1), "327.3 ");
    state.LastLapTime[0] = 0; // never a division by zero
    EXPECT_EQ(MphCellText(state, 1), "");
}

TEST_F(CellFormulas, LagCellsFollowTheirOwnLapRules) {
    state.LagBehind[4] = "0.00";
    state.LagFirst[4] = "0.00";
    EXPECT_EQ(LagBehindCellText(state, 5), ""); // no lap yet
    EXPECT_EQ(LagFirstCellText(state, 5), "0.00");
    state.LapCount[4] = 1;
    EXPECT_EQ(LagBehindCellText(state, 5), "0.00");
}

TEST_F(CellFormulas, MedianCellChangesOnlyAtWholeSeconds) {
    state.MedianLap[1] = "6.10";
    state.RaceClock = 12000;
    EXPECT_EQ(MedianCellText(state, 2), std::optional<std::string>(""));
    state.LapCount[1] = 3;
    EXPECT_EQ(MedianCellText(state, 2), std::optional<std::string>("6.10"));
    state.RaceClock = 12010;
    EXPECT_EQ(MedianCellText(state, 2), std::nullopt);
    EXPECT_TRUE(IsWholeSecond(0));
    EXPECT_FALSE(IsWholeSecond(999));
    EXPECT_TRUE(IsEvenSecond(4000));
    EXPECT_FALSE(IsEvenSecond(3000));
}

TEST_F(CellFormulas, ColumnsFollowTheirHeaderModes) {
    state.LapCount[0] = 2;
    state.LastLapTime[0] = 5000;
    state.BestLapTime[0] = 5000;
    state.SpeedMultiplier = 500.0f;
    state.LagBehind[0] = "1.25";
    state.LagFirst[0] = "2Lap";
    state.MedianLap[0] = "5.00";
    state.RaceClock = 3000;

    state.BestColumnMode = BestLapMode;
    EXPECT_EQ(BestColumnCellText(state, 1), "5.00 ");
    state.BestColumnMode = MphMode;
    EXPECT_EQ(BestColumnCellText(state, 1), "100.0 ");
    state.BestColumnMode = MedianMode;
    EXPECT_EQ(BestColumnCellText(state, 1), "5.00");
    state.BestColumnMode = "";
    EXPECT_EQ(BestColumnCellText(state, 1), std::nullopt);

    state.LagColumnMode = LagBehindMode;
    EXPECT_EQ(LagColumnCellText(state, 1), "1.25");
    state.LagColumnMode = LagFirstMode;
    EXPECT_EQ(LagColumnCellText(state, 1), "2Lap");
    state.LagColumnMode = MedianMode;
    EXPECT_EQ(LagColumnCellText(state, 1), "5.00");
    state.LagColumnMode = "Lag";
    EXPECT_EQ(LagColumnCellText(state, 1), std::nullopt);

    // Practice offers best lap and speed only; any other mode shows the speed.
    state.BestColumnMode = BestLapMode;
    EXPECT_EQ(PracticeBestCellText(state, 1), "5.00 ");
    state.BestColumnMode = MedianMode;
    EXPECT_EQ(PracticeBestCellText(state, 1), "100.0 ");
}

} // namespace
} // namespace kesto
