// Which calls the race's moments queue, by the club's speech settings.
#include "sound/race_calls.h"

#include "sound/call_phrases.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kesto {
namespace {

using ::testing::ElementsAre;

class HandClock final : public CallClock {
public:
    int64_t NowMs() override { return 0; }
};

class RaceCallsTest : public ::testing::Test {
protected:
    RaceCallsTest() {
        state.Names.IdName.fill("Empty");
        state.Names.IdName[0] = "Ann Baker";
        state.Names.IdName[1] = "Bob Smith";
        state.Names.IdName[2] = "Cy Dole";
        state.LapCount.fill(0);
        state.RaceOrder = {2, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    }
    // Lap `laps` of car `id`, `bestMs` its best lap.
    void Lap(int id, int laps, bool newOverallBest = false, int32_t bestMs = 5000) {
        state.LapCount[id - 1] = static_cast<int16_t>(laps);
        state.BestLapTime[id - 1] = bestMs;
        calls.LapCounted(state, id, newOverallBest);
    }
    std::vector<std::string> Said() {
        std::vector<std::string> words;
        while (auto call = queue.TakeNext())
            words.push_back(CallWords(*call, state));
        return words;
    }

    RaceState state;
    SpeechSettings settings;
    HandClock clock;
    CallQueue queue{clock};
    bool works = true;
    RaceCalls calls{settings, queue, [this] { return works; }};
};

TEST_F(RaceCallsTest, WithEveryCallOffNothingIsQueuedAndTheWaveFilesPlay) {
    Lap(1, 2, true, 3250);
    calls.StartLightsOn(state);
    calls.RaceClosed(state);
    calls.NextHeatCalledUp("Heat 2", state.Names.IdName);
    EXPECT_FALSE(calls.TimeLeftDue(state, OneMinuteLeft));
    EXPECT_EQ(queue.Waiting(), 0u);
}

TEST_F(RaceCallsTest, BestLapsAndEveryCarsLaps) {
    settings.bestLap = true;
    settings.lapCounts = LapCountCalls::EachCar;
    Lap(1, 0); // a race that begins with lap 0: no lap yet
    Lap(2, 2, true, 3250);
    EXPECT_THAT(Said(), ElementsAre("New best lap, Bob Smith, 3.25", "Bob Smith, lap 2"));
    settings.bestLap = false;
    Lap(2, 3, true, 3100);
    EXPECT_THAT(Said(), ElementsAre("Bob Smith, lap 3"));
}

TEST_F(RaceCallsTest, TheLeadersLapsOnly) {
    settings.lapCounts = LapCountCalls::Leader;
    Lap(1, 1);
    EXPECT_THAT(Said(), ElementsAre("Leader, Ann Baker, lap 1"));
    Lap(2, 1); // as many laps, but car 1 passed first
    EXPECT_EQ(queue.Waiting(), 0u);
    Lap(2, 2);
    EXPECT_THAT(Said(), ElementsAre("Leader, Bob Smith, lap 2"));
}

TEST_F(RaceCallsTest, GridPodiumCallUpAndTimeLeft) {
    settings.racers = true;
    settings.podium = true;
    settings.timeLeft = true;
    calls.StartLightsOn(state);
    state.LapCount[0] = 10; // car 3 never passed the sensor
    state.LapCount[1] = 10;
    calls.RaceClosed(state);
    PerId<std::string> heat;
    heat.fill("Empty");
    heat[5] = "Di Evans";
    calls.NextHeatCalledUp("Heat 4", heat);
    EXPECT_THAT(Said(), ElementsAre("Racers: car 1, Ann Baker; car 2, Bob Smith; car 3, Cy Dole",
                                    "Winner, Bob Smith. Second, Ann Baker",
                                    "Next up, Heat 4: car 6, Di Evans"));

    state.TimedRace = true;
    state.RaceMinutes = 9;
    EXPECT_TRUE(calls.TimeLeftDue(state, FiveMinutesLeft));
    EXPECT_TRUE(calls.TimeLeftDue(state, HalfwayThruTheRace));
    EXPECT_TRUE(calls.TimeLeftDue(state, TenSecondsLeft));
    EXPECT_FALSE(calls.TimeLeftDue(state, WhiteFlag)); // not a time-left call
    EXPECT_THAT(Said(), ElementsAre("5 minutes left", "Halfway, 4 minutes 30 seconds left",
                                    "10 seconds left"));
    state.TimedRace = false;
    state.NumberOfLaps = 25;
    EXPECT_TRUE(calls.TimeLeftDue(state, HalfwayThruTheRace));
    EXPECT_THAT(Said(), ElementsAre("Halfway, 12 laps to go"));

    works = false; // no synthesiser: the wave files play, nothing waits
    EXPECT_FALSE(calls.TimeLeftDue(state, OneMinuteLeft));
    calls.RaceClosed(state);
    EXPECT_EQ(queue.Waiting(), 0u);
}

} // namespace
} // namespace kesto
