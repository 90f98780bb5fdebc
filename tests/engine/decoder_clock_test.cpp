// Every decoder line held against the decoder's clock, through race control
// and the race tick: a decoder fed tick by tick sends its clock line at each of
// its whole seconds and the passings of a plan, with corrupted lines thrown in
// or its clock restarted from zero mid-race.
#include "engine/decoder_clock.h"
#include "support/race_rig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kesto {
namespace {

using test::DecoderClockLine;
using test::DecoderPassLine;
using ::testing::ElementsAre;

class DecoderClockRace : public ::testing::Test {
protected:
    DecoderClockRace() {
        rig.NameAllCars();
        state.Settings.MinLapTime = 2;
        state.Settings.StartDelay = 0;
    }

    void Start() {
        rig.control.ReSet();
        rig.control.cmdStart_Click();
        ASSERT_TRUE(state.TimerEnabled);
    }

    // Car `id` passes every `lapMs` from `firstMs` on (race time).
    void Plan(int id, int32_t firstMs, int32_t lapMs) {
        for (int32_t at = firstMs; at < 120000; at += lapMs)
            passes.emplace(at, id);
    }

    // Ticks of 10 ms until race time `untilMs`; each tick's lines are read by it.
    void RunUntil(int32_t untilMs) {
        while (raceMs < untilMs && state.TimerEnabled) {
            raceMs += 10;
            const int32_t decoderMs = raceMs - restartedAt;
            std::string sent;
            for (auto at = passes.lower_bound(raceMs); at != passes.end() && at->first == raceMs;
                 ++at)
                sent += DecoderPassLine(at->second, decoderMs);
            if (decoderMs % 1000 == 0)
                sent += DecoderClockLine(decoderMs);
            for (auto at = extra.lower_bound(raceMs); at != extra.end() && at->first == raceMs;
                 ++at)
                sent += at->second;
            rig.race.port.Feed(sent);
            rig.Tick(10);
        }
    }

    // Lap times of car `id` in hundredths, laps 1..count (lap 1 from the start).
    std::vector<int> LapHundredths(int id) const {
        std::vector<int> laps;
        for (int lap = 1; lap <= state.LapCount[id - 1]; ++lap)
            laps.push_back(static_cast<int>(state.LapTimes[id - 1][lap] * 100.0f + 0.5f));
        return laps;
    }

    static std::vector<int> Laps(int first, int then, int count) {
        std::vector<int> laps(static_cast<size_t>(count), then);
        laps.front() = first;
        return laps;
    }

    std::vector<std::pair<int, RejectReason>> Rejected() const {
        std::vector<std::pair<int, RejectReason>> rejected;
        for (const RejectedPass& pass : state.RejectedPasses)
            rejected.emplace_back(pass.id, pass.reason);
        return rejected;
    }

    test::RaceRig rig;
    RaceState& state = rig.state;
    std::multimap<int32_t, int> passes;        // race time -> car
    std::multimap<int32_t, std::string> extra; // race time -> lines sent then
    int32_t raceMs = 0;
    int32_t restartedAt = 0; // race time the decoder's clock last started from zero
};

TEST_F(DecoderClockRace, CorruptedLinesAreRejectedAndTheRaceRunsOn) {
    state.TimedRace = true;
    state.RaceMinutes = 1;
    Plan(2, 2500, 3000);
    Plan(3, 3300, 4000);
    extra.emplace(6010, "@0299595999\n"); // stamped 100 hours on
    extra.emplace(6020, "@02+1+1+1+1\n"); // signs in its fields
    extra.emplace(9200, "@00100009\n");   // one flipped digit: ten hours on
    extra.emplace(12500, "@00000000\n");  // the clock back at zero, once
    Start();
    RunUntil(30000);

    EXPECT_EQ(state.RaceClock, 30000);
    EXPECT_FALSE(state.CheckeredFlagOut) << "a one-minute race at 30 s";
    EXPECT_EQ(LapHundredths(2), Laps(250, 300, 10)) << "no pass of car 2 lost";
    EXPECT_EQ(LapHundredths(3), Laps(330, 400, 7));
    EXPECT_THAT(Rejected(), ElementsAre(std::pair{2, RejectReason::UnreadableRecord},
                                        std::pair{2, RejectReason::AheadOfDecoderClock},
                                        std::pair{0, RejectReason::DecoderClockJump},
                                        std::pair{0, RejectReason::DecoderClockJump}));
    EXPECT_EQ(state.RejectedPasses[1].decoderClockMs, 7000);
    EXPECT_EQ(state.Decoder.WaitingLines(), 0u);
}

TEST_F(DecoderClockRace, ARestartedDecoderClockIsFollowedAndNoPassIsLost) {
    state.LapRace = true;
    state.NumberOfLaps = 50;
    Plan(1, 2500, 3000);
    Plan(4, 4100, 4100);
    Start();
    RunUntil(10800);
    // RTS rose again (a reconnect): the decoder's clock starts from zero. Car 1
    // passes at 11.5 s, before the decoder's first clock line from zero.
    restartedAt = 10800;
    RunUntil(40000);

    EXPECT_EQ(LapHundredths(1), Laps(250, 300, 13));
    EXPECT_EQ(LapHundredths(4), Laps(410, 410, 9));
    EXPECT_EQ(state.LastPassTime[0], 38500);
    EXPECT_EQ(state.RaceClock, 39800);
    EXPECT_EQ(state.Decoder.OffsetMs(), 10800);
    EXPECT_TRUE(state.RejectedPasses.empty());

    // And again: each restart is followed from where the race stands.
    restartedAt = 40370;
    RunUntil(60000);
    EXPECT_EQ(LapHundredths(1), Laps(250, 300, 20));
    EXPECT_EQ(LapHundredths(4), Laps(410, 410, 14));
    EXPECT_EQ(state.RaceClock, 59370);
    EXPECT_TRUE(state.RejectedPasses.empty());
}

TEST_F(DecoderClockRace, AClockAheadOfTheTicksIsFollowedOnceASecondClockLineAgrees) {
    // The decoder ran on while the timer could not tick (held up, or back
    // from a crash without knowing for how long): its clock is the race's.
    state.PracticeMode = true;
    Plan(5, 1500, 2500);
    Start();
    RunUntil(5000);
    for (auto at = passes.lower_bound(5010); at != passes.end() && at->first <= 12000; ++at)
        rig.race.port.Feed(DecoderPassLine(at->second, at->first));
    raceMs = 12000;
    RunUntil(14000);
    EXPECT_EQ(LapHundredths(5), Laps(150, 250, 6));
    EXPECT_EQ(state.RaceClock, 14000);
    EXPECT_TRUE(state.RejectedPasses.empty());
}

} // namespace
} // namespace kesto
