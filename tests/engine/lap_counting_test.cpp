#include "engine/lap_counting.h"

#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

namespace kesto {
namespace {

class LapCounting : public ::testing::Test {
protected:
    LapCounting() {
        state().Settings.FirstLapCount = 0; // "Race Begins With Lap:" 1
        for (int i = 0; i < MaxCarIds; ++i) {
            state().LapCount[i] = 0;
            state().BestLapTime[i] = NoBestLap;
        }
        race.sounds.CarSoundFile = {"Best.wav", "Lap.wav", "Personal.wav"};
    }
    RaceState& state() { return race.state; }
    void Pass(int id, int32_t ms) { CountLap(race.context, id, ms); }
    void SoundsOn(bool overall, bool each, bool personal) {
        race.sounds.CarSoundEnabled = {int16_t{overall}, int16_t{each}, int16_t{personal}};
    }

    test::TestRace race;
};

TEST_F(LapCounting, DetectionWithinTheMinimumLapTimeIsDropped) {
    state().Settings.MinLapTime = 4.0f;
    Pass(3, 10000); // first detection: a lap whatever its time
    EXPECT_EQ(state().LapCount[2], 1);
    EXPECT_FLOAT_EQ(state().LapTimes[2][1], 10.00f);

    Pass(3, 12500); // 2.5 s is not above 4 s
    EXPECT_EQ(state().LapCount[2], 1);
    EXPECT_EQ(state().LastPassTime[2], 10000);
    EXPECT_EQ(state().CurrentLapTime[2], 2500); // written even when dropped

    Pass(3, 15000); // measured from the last accepted pass
    EXPECT_EQ(state().LapCount[2], 2);
    EXPECT_EQ(state().LastLapTime[2], 5000);
    EXPECT_FLOAT_EQ(state().LapTimes[2][2], 5.00f);
    EXPECT_FLOAT_EQ(state().SortedLapTimes[2][2], 5.00f);
}

TEST_F(LapCounting, MinimumLapTimeIsAStrictLimit) {
    state().Settings.MinLapTime = 4.0f;
    Pass(1, 10000);
    Pass(1, 14000); // exactly 4 s
    EXPECT_EQ(state().LapCount[0], 1);
    Pass(1, 14001);
    EXPECT_EQ(state().LapCount[0], 2);

    state().Settings.MinLapTime = 1.25f;
    Pass(2, 1000);
    Pass(2, 2200); // 1.2 s
    EXPECT_EQ(state().LapCount[1], 1);
    Pass(2, 2300); // 1.3 s
    EXPECT_EQ(state().LapCount[1], 2);
}

TEST_F(LapCounting, MinimumLapTimeIsTheDecimalValueChosen) {
    // 0.7 in single precision is 0.69999999; a 700 ms lap is still not above 0.7 s.
    state().Settings.MinLapTime = 0.7f;
    Pass(4, 1000);
    Pass(4, 1700);
    EXPECT_EQ(state().LapCount[3], 1);
    Pass(4, 1701);
    EXPECT_EQ(state().LapCount[3], 2);
    EXPECT_DOUBLE_EQ(MinLapTimeMs(state().Settings), 700.0);
    state().Settings.MinLapTime = 1.1f;
    EXPECT_DOUBLE_EQ(MinLapTimeMs(state().Settings), 1100.0);
}

TEST_F(LapCounting, RaceBeginningWithLapZeroStoresTheRunToTheLineInColumnZero) {
    state().Settings.FirstLapCount = -1;
    state().LapCount[5] = -1;
    state().Settings.MinLapTime = 2.0f;
    Pass(6, 800); // first detection, sooner than the minimum
    EXPECT_EQ(state().LapCount[5], 0);
    EXPECT_FLOAT_EQ(state().LapTimes[5][0], 0.80f);
    Pass(6, 5800);
    EXPECT_EQ(state().LapCount[5], 1);
    EXPECT_EQ(state().BestLapTime[5], NoBestLap); // lap 1 is never a best lap
    Pass(6, 9800);
    EXPECT_EQ(state().BestLapTime[5], 4000);
}

TEST_F(LapCounting, BestLapCountsFromTheSecondLap) {
    Pass(1, 3000);
    EXPECT_EQ(state().BestLapTime[0], NoBestLap); // start to the first pass
    Pass(1, 9000);
    EXPECT_EQ(state().BestLapTime[0], 6000);
    Pass(1, 16000);
    EXPECT_EQ(state().BestLapTime[0], 6000);
    Pass(1, 21500);
    EXPECT_EQ(state().BestLapTime[0], 5500);
}

TEST_F(LapCounting, LapRaceStopsCountingACarThatRanTheDistance) {
    state().LapRace = true;
    state().NumberOfLaps = 3;
    for (int32_t t : {1000, 6000, 11000, 16000, 21000})
        Pass(7, t);
    EXPECT_EQ(state().LapCount[6], 3);
    EXPECT_EQ(state().LastPassTime[6], 11000);
    EXPECT_EQ(state().CurrentLapTime[6], 5000);
    EXPECT_FLOAT_EQ(state().LapTimes[6][4], 0.0f);

    // A timed race or practice has no such limit.
    state().LapRace = false;
    state().TimedRace = true;
    Pass(7, 26000);
    EXPECT_EQ(state().LapCount[6], 4);
}

TEST_F(LapCounting, LapsAboveTheLastColumnCountButAreNotStored) {
    state().LapCount[0] = MaxLapNumber;
    state().LastPassTime[0] = 900000;
    state().LapTimes[0][MaxLapNumber] = 4.5f;
    Pass(1, 905000);
    EXPECT_EQ(state().LapCount[0], MaxLapNumber + 1);
    EXPECT_EQ(state().LastLapTime[0], 5000);
    EXPECT_EQ(state().BestLapTime[0], 5000); // the steps after the table still run
    EXPECT_FLOAT_EQ(state().LapTimes[0][MaxLapNumber], 4.5f);

    state().LapCount[1] = std::numeric_limits<int16_t>::max();
    Pass(2, 5000);
    EXPECT_EQ(state().LapCount[1], std::numeric_limits<int16_t>::max()); // no wrap to negative
}

TEST_F(LapCounting, IdsOutsideTheRangeChangeNothing) {
    SoundsOn(true, true, true);
    for (int id : {0, 15, -1, 99})
        Pass(id, 5000);
    for (int i = 0; i < MaxCarIds; ++i)
        EXPECT_EQ(state().LapCount[i], 0);
    EXPECT_TRUE(race.player.played.empty());
}

TEST_F(LapCounting, WildTimeStampsAreClampedNotWrapped) {
    state().LastPassTime[0] = std::numeric_limits<int32_t>::min();
    state().LapCount[0] = 5;
    Pass(1, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(state().CurrentLapTime[0], std::numeric_limits<int32_t>::max());
    EXPECT_EQ(state().LapCount[0], 6);

    state().LastPassTime[1] = std::numeric_limits<int32_t>::max();
    state().LapCount[1] = 5;
    Pass(2, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(state().CurrentLapTime[1], std::numeric_limits<int32_t>::min());
    EXPECT_EQ(state().LapCount[1], 5); // far below the minimum: no lap
}

TEST_F(LapCounting, LapTimesAreHundredthsRoundedLikeTheScreen) {
    Pass(1, 12345);
    Pass(1, 24689); // 12.344 s
    EXPECT_FLOAT_EQ(state().LapTimes[0][1], 12.35f);
    EXPECT_FLOAT_EQ(state().LapTimes[0][2], 12.34f);
}

TEST_F(LapCounting, OverallBestMustBeStrictlyBelowEveryOtherCar) {
    state().BestLapTime[0] = 5000;
    state().BestLapTime[1] = 5000;
    EXPECT_FALSE(IsOverallBestLap(state(), 1));
    state().BestLapTime[1] = 4999;
    EXPECT_TRUE(IsOverallBestLap(state(), 2));
    EXPECT_FALSE(IsOverallBestLap(state(), 1));
    EXPECT_FALSE(IsOverallBestLap(state(), 3)); // NoBestLap against real best laps
    EXPECT_FALSE(IsOverallBestLap(state(), 0));
    EXPECT_FALSE(IsOverallBestLap(state(), 15));
}

TEST_F(LapCounting, EachLapPlaysExactlyOneSoundByPrecedence) {
    SoundsOn(true, true, true);
    state().BestLapTime[0] = 5000; // car 1 holds the race best
    Pass(2, 1000);                 // lap 1: each-lap sound
    Pass(2, 7000);                 // 6.00 personal best, not overall
    Pass(2, 12000);                // 5.00 equals car 1: personal, not overall
    Pass(2, 16900);                // 4.90 overall best
    Pass(2, 23000);                // 6.10 plain lap
    EXPECT_EQ(race.player.played,
              (std::vector<std::string>{"Lap.wav", "Personal.wav", "Personal.wav", "Best.wav",
                                        "Lap.wav"}));
}

TEST_F(LapCounting, DisabledSoundsFallThroughToTheNextOne) {
    SoundsOn(false, true, true);
    Pass(1, 1000);
    Pass(1, 6000); // overall best, its sound off: the personal-best sound
    SoundsOn(false, true, false);
    Pass(1, 10000); // best again, only the each-lap sound is on
    state().Settings.MinLapTime = 1.0f;
    Pass(1, 10500); // a dropped detection makes no sound
    SoundsOn(false, false, false);
    Pass(1, 14000);
    EXPECT_EQ(state().LapCount[0], 4);
    EXPECT_EQ(race.player.played, (std::vector<std::string>{"Lap.wav", "Personal.wav", "Lap.wav"}));
}

class ThrowingPlayer final : public SoundPlayer {
public:
    void PlayWav(const std::string&) override { throw std::runtime_error("no device"); }
};

TEST_F(LapCounting, ASoundThatFailsNeverCostsALap) {
    ThrowingPlayer player;
    RaceContext context{race.state,  race.sounds, player,   race.dialogs,
                        race.random, race.clock,  race.port};
    SoundsOn(true, true, true);
    EXPECT_NO_THROW(CountLap(context, 4, 2000));
    EXPECT_NO_THROW(CountLap(context, 4, 7000));
    EXPECT_EQ(state().LapCount[3], 2);
    EXPECT_EQ(state().BestLapTime[3], 5000);
}

} // namespace
} // namespace kesto
