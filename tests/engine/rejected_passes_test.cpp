// The detections lap counting drops are kept for the operator: under the
// minimum lap time, or after a lap race's distance, with the numbers the
// operator needs, up to a bound. Keeping them never changes a count.
#include "engine/lap_counting.h"
#include "engine/number_format.h"
#include "support/race_rig.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace kesto {
namespace {

class RejectedPasses : public ::testing::Test {
protected:
    RejectedPasses() {
        state().Settings.FirstLapCount = 0;
        state().Settings.MinLapTime = 4.0f;
        for (int i = 0; i < MaxCarIds; ++i) {
            state().LapCount[i] = 0;
            state().BestLapTime[i] = NoBestLap;
        }
    }
    RaceState& state() { return race.state; }
    void Pass(int id, int32_t ms) { CountLap(race.context, id, ms); }

    test::TestRace race;
};

TEST_F(RejectedPasses, TooSoonAfterTheLastLapIsKeptWithItsNumbers) {
    Pass(3, 10000);
    Pass(3, 12500); // 2.5 s after the lap at 10 s
    Pass(3, 13990); // still measured from 10 s
    Pass(3, 15000); // a lap
    ASSERT_EQ(state().RejectedPasses.size(), 2u);
    const RejectedPass& first = state().RejectedPasses[0];
    EXPECT_EQ(first.id, 3);
    EXPECT_EQ(first.timeMs, 12500);
    EXPECT_EQ(first.sinceLastPassMs, 2500);
    EXPECT_EQ(first.reason, RejectReason::UnderMinimumLap);
    EXPECT_EQ(first.minLapTimeMs, 4000);
    EXPECT_EQ(state().RejectedPasses[1].timeMs, 13990);
    EXPECT_EQ(state().RejectedPasses[1].sinceLastPassMs, 3990);
    EXPECT_EQ(state().RejectedPassesNotKept, 0);
    EXPECT_EQ(state().LapCount[2], 2);
}

TEST_F(RejectedPasses, ExactlyTheMinimumIsRejectedAndKeepsTheMinimumInForce) {
    state().Settings.MinLapTime = 0.7f;
    Pass(5, 1000);
    Pass(5, 1700); // exactly 0.7 s: not a lap
    Pass(5, 1701);
    ASSERT_EQ(state().RejectedPasses.size(), 1u);
    EXPECT_EQ(state().RejectedPasses[0].sinceLastPassMs, 700);
    EXPECT_EQ(state().RejectedPasses[0].minLapTimeMs, 700);
    // A later change of the setting does not rewrite what was kept.
    state().Settings.MinLapTime = 1.25f;
    Pass(5, 2000);
    ASSERT_EQ(state().RejectedPasses.size(), 2u);
    EXPECT_EQ(state().RejectedPasses[0].minLapTimeMs, 700);
    EXPECT_EQ(state().RejectedPasses[1].minLapTimeMs, 1250);
}

TEST_F(RejectedPasses, ACarThatRanTheDistanceOfALapRaceIsKept) {
    state().LapRace = true;
    state().NumberOfLaps = 2;
    Pass(7, 5000);
    Pass(7, 11000); // lap 2: distance run
    Pass(7, 12000); // would also be too soon; the distance comes first
    Pass(7, 30000); // long after
    ASSERT_EQ(state().RejectedPasses.size(), 2u);
    EXPECT_EQ(state().RejectedPasses[0].reason, RejectReason::DistanceRun);
    EXPECT_EQ(state().RejectedPasses[0].timeMs, 12000);
    EXPECT_EQ(state().RejectedPasses[0].sinceLastPassMs, 1000);
    EXPECT_EQ(state().RejectedPasses[1].reason, RejectReason::DistanceRun);
    EXPECT_EQ(state().RejectedPasses[1].sinceLastPassMs, 19000);
    EXPECT_EQ(state().LapCount[6], 2);
    EXPECT_EQ(state().LastPassTime[6], 11000);
}

TEST_F(RejectedPasses, TheFirstDetectionIsNeverRejected) {
    state().Settings.MinLapTime = 10.0f;
    Pass(1, 300); // "Race Begins With Lap:" 1, 0.3 s after the start
    state().Settings.FirstLapCount = -1;
    state().LapCount[1] = -1;
    Pass(2, 100); // "Race Begins With Lap:" 0
    Pass(2, 400); // the second detection is measured as usual
    ASSERT_EQ(state().RejectedPasses.size(), 1u);
    EXPECT_EQ(state().RejectedPasses[0].id, 2);
    EXPECT_EQ(state().RejectedPasses[0].sinceLastPassMs, 300);
    EXPECT_EQ(state().LapCount[0], 1);
    EXPECT_EQ(state().LapCount[1], 0);
}

TEST_F(RejectedPasses, IdsThatAreNoCarsAreNotKept) {
    for (int id : {0, 15, -3, 99})
        Pass(id, 5000);
    EXPECT_TRUE(state().RejectedPasses.empty());
    EXPECT_EQ(state().RejectedPassesNotKept, 0);
}

TEST_F(RejectedPasses, BeyondTheBoundTheyAreOnlyCounted) {
    Pass(1, 1000);
    const int extra = 25;
    for (size_t n = 0; n < MaxRejectedPasses + extra; ++n)
        Pass(1, 1001 + static_cast<int32_t>(n % 2000));
    EXPECT_EQ(state().RejectedPasses.size(), MaxRejectedPasses);
    EXPECT_EQ(state().RejectedPassesNotKept, extra);
    EXPECT_EQ(state().RejectedPasses.front().timeMs, 1001); // the first ones stay
    EXPECT_EQ(state().LapCount[0], 1);

    // A lap still counts after the list is full.
    Pass(1, 9000);
    EXPECT_EQ(state().LapCount[0], 2);
}

TEST_F(RejectedPasses, TheNotKeptCountDoesNotWrap) {
    state().RejectedPasses.resize(MaxRejectedPasses);
    state().RejectedPassesNotKept = std::numeric_limits<int32_t>::max();
    Pass(1, 1000);
    Pass(1, 1001);
    EXPECT_EQ(state().RejectedPassesNotKept, std::numeric_limits<int32_t>::max());
}

TEST_F(RejectedPasses, WildTimeStampsGiveClampedNumbers) {
    state().LastPassTime[1] = std::numeric_limits<int32_t>::max();
    state().LapCount[1] = 5;
    Pass(2, std::numeric_limits<int32_t>::min());
    ASSERT_EQ(state().RejectedPasses.size(), 1u);
    EXPECT_EQ(state().RejectedPasses[0].sinceLastPassMs, std::numeric_limits<int32_t>::min());

    state().LapRace = true;
    state().NumberOfLaps = 5;
    state().LastPassTime[1] = std::numeric_limits<int32_t>::min();
    Pass(2, std::numeric_limits<int32_t>::max());
    ASSERT_EQ(state().RejectedPasses.size(), 2u);
    EXPECT_EQ(state().RejectedPasses[1].sinceLastPassMs, std::numeric_limits<int32_t>::max());
}

// --- counting is the same with the record as without it --------------------

// Lap counting as it was before the rejected passes were kept, step by step.
void CountLapWithoutRecord(RaceContext& ctx, int LaneNum, int32_t TimeStamp) {
    if (!IsValidId(LaneNum))
        return;
    RaceState& s = ctx.state;
    const int i = LaneNum - 1;
    if (s.LapRace && s.LapCount[i] == s.NumberOfLaps)
        return;
    s.CurrentLapTime[i] = ClampToInt32(static_cast<int64_t>(TimeStamp) - s.LastPassTime[i]);
    bool firstDetection = s.LapCount[i] == s.Settings.FirstLapCount;
    if (!(s.CurrentLapTime[i] > MinLapTimeMs(s.Settings)) && !firstDetection)
        return;
    s.LastPassTime[i] = TimeStamp;
    if (s.LapCount[i] < std::numeric_limits<int16_t>::max())
        ++s.LapCount[i];
    const int n = s.LapCount[i];
    if (n >= 0 && n <= MaxLapNumber) {
        int64_t ms = s.CurrentLapTime[i];
        int64_t hundredths = ms >= 0 ? (ms + 5) / 10 : -((-ms + 5) / 10);
        float seconds = static_cast<float>(static_cast<double>(hundredths) / 100.0);
        s.LapTimes[i][n] = seconds;
        s.SortedLapTimes[i][n] = seconds;
    }
    s.LastLapTime[i] = s.CurrentLapTime[i];
    bool personalBest = false;
    bool overallBest = false;
    if (s.CurrentLapTime[i] < s.BestLapTime[i] && n > 1) {
        s.BestLapTime[i] = s.CurrentLapTime[i];
        personalBest = true;
        overallBest = IsOverallBestLap(s, LaneNum);
    }
    auto on = [&](CarSound sound) { return ctx.sounds.CarSoundEnabled[sound] != 0; };
    if (overallBest && on(OverallBestLapSound))
        ctx.player.PlayWav(ctx.sounds.CarSoundFile[OverallBestLapSound]);
    else if (personalBest && on(PersonalBestLapSound))
        ctx.player.PlayWav(ctx.sounds.CarSoundFile[PersonalBestLapSound]);
    else if (on(EachLapSound))
        ctx.player.PlayWav(ctx.sounds.CarSoundFile[EachLapSound]);
}

void Prepare(test::TestRace& race, std::mt19937& random, bool lapRace, int16_t firstLapCount,
             float minLapTime) {
    RaceState& s = race.state;
    s.Settings.FirstLapCount = firstLapCount;
    s.Settings.MinLapTime = minLapTime;
    s.LapRace = lapRace;
    s.TimedRace = !lapRace;
    s.NumberOfLaps = static_cast<int16_t>(3 + random() % 8);
    for (int i = 0; i < MaxCarIds; ++i) {
        s.LapCount[i] = firstLapCount;
        s.BestLapTime[i] = NoBestLap;
    }
    race.sounds.CarSoundFile = {"Best.wav", "Lap.wav", "Personal.wav"};
    race.sounds.CarSoundEnabled = {1, 1, 1};
}

void ExpectSameCounting(const test::TestRace& a, const test::TestRace& b) {
    const RaceState& x = a.state;
    const RaceState& y = b.state;
    EXPECT_EQ(x.LapCount, y.LapCount);
    EXPECT_EQ(x.LastPassTime, y.LastPassTime);
    EXPECT_EQ(x.CurrentLapTime, y.CurrentLapTime);
    EXPECT_EQ(x.LastLapTime, y.LastLapTime);
    EXPECT_EQ(x.BestLapTime, y.BestLapTime);
    EXPECT_TRUE(x.LapTimes == y.LapTimes);
    EXPECT_TRUE(x.SortedLapTimes == y.SortedLapTimes);
    EXPECT_EQ(a.player.played, b.player.played);
}

TEST(RejectedPassesCounting, CountsExactlyAsLapCountingWithoutTheRecord) {
    std::mt19937 random(20261208);
    const float minimums[] = {0.7f, 1.25f, 4.0f, 0.0f};
    for (int round = 0; round < 40; ++round) {
        test::TestRace withRecord;
        test::TestRace without;
        const bool lapRace = round % 2 == 0;
        const int16_t firstLap = round % 4 < 2 ? 0 : -1;
        const float minimum = minimums[round % 4];
        std::mt19937 setup(random());
        std::mt19937 sameSetup = setup;
        Prepare(withRecord, setup, lapRace, firstLap, minimum);
        Prepare(without, sameSetup, lapRace, firstLap, minimum);

        int32_t clock = 0;
        for (int n = 0; n < 600; ++n) {
            clock += static_cast<int32_t>(random() % 900);
            int id = static_cast<int>(random() % 16); // 0 and 15 are no cars
            // Now and then a bounce: the same car again a moment later.
            int32_t time = clock + static_cast<int32_t>(random() % 3 == 0 ? random() % 50 : 0);
            CountLap(withRecord.context, id, time);
            CountLapWithoutRecord(without.context, id, time);
        }
        ExpectSameCounting(withRecord, without);
        if (minimum > 0 || lapRace) {
            EXPECT_FALSE(withRecord.state.RejectedPasses.empty()) << "round " << round;
        }
        if (::testing::Test::HasFailure())
            return;
    }
}

TEST(RejectedPassesCounting, EveryDroppedDetectionIsAccountedFor) {
    // Each detection of a car is a lap or a rejected pass, nothing else.
    test::TestRace race;
    std::mt19937 random(7);
    Prepare(race, random, true, 0, 1.25f);
    race.state.NumberOfLaps = 6;
    int detections = 0;
    int32_t clock = 0;
    for (int n = 0; n < 500; ++n) {
        clock += static_cast<int32_t>(random() % 1500);
        int id = 1 + static_cast<int>(random() % MaxCarIds);
        CountLap(race.context, id, clock);
        ++detections;
    }
    int laps = 0;
    for (int i = 0; i < MaxCarIds; ++i)
        laps += race.state.LapCount[i];
    EXPECT_EQ(laps + static_cast<int>(race.state.RejectedPasses.size()), detections);
}

TEST(RejectedPassesReset, TheStartResetEmptiesTheRecord) {
    test::RaceRig rig;
    rig.state.Settings.FirstLapCount = 0;
    rig.state.Settings.MinLapTime = 4.0f;
    rig.control.StartReset();
    CountLap(rig.race.context, 2, 1000);
    CountLap(rig.race.context, 2, 1500);
    rig.state.RejectedPassesNotKept = 3;
    ASSERT_EQ(rig.state.RejectedPasses.size(), 1u);

    rig.control.StartReset();
    EXPECT_TRUE(rig.state.RejectedPasses.empty());
    EXPECT_EQ(rig.state.RejectedPassesNotKept, 0);
    CountLap(rig.race.context, 2, 500); // a first detection again
    EXPECT_TRUE(rig.state.RejectedPasses.empty());
}

} // namespace
} // namespace kesto
