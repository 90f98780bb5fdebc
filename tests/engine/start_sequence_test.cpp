// The countdown of the start delay and the start lights, tick by tick.
#include "engine/start_sequence.h"
#include "support/test_doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kesto {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RecordingHost final : public StartSequenceHost {
public:
    void StartTimingAtGreen() override { ++greens; }
    void StartLightsClosed() override { ++closes; }
    int greens = 0;
    int closes = 0;
};

int Count(const std::vector<std::string>& played, const std::string& file) {
    return static_cast<int>(std::count(played.begin(), played.end(), file));
}

class Countdown : public ::testing::Test {
protected:
    Countdown() { race.sounds.RaceSoundEnabled.fill(true); }
    std::vector<int> RunToEnd(CountdownSequence& countdown) {
        std::vector<int> shown;
        while (!countdown.Finished() && shown.size() < 1000)
            shown.push_back(countdown.Tick());
        return shown;
    }
    test::TestRace race;
};

TEST_F(Countdown, TenSecondsShowTenDownToZero) {
    race.state.Settings.StartDelay = 10;
    CountdownSequence countdown(race.context);
    EXPECT_EQ(countdown.DelayLeft(), 10);
    EXPECT_THAT(RunToEnd(countdown), ElementsAre(10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0));
    EXPECT_TRUE(countdown.Finished());
    EXPECT_THAT(race.player.played, ElementsAre("Race Starts in 5 sec.wav"));
}

TEST_F(Countdown, FiveSecondsMakeNoAnnouncement) {
    race.state.Settings.StartDelay = 5;
    CountdownSequence countdown(race.context);
    EXPECT_EQ(RunToEnd(countdown).size(), 6u);
    EXPECT_THAT(race.player.played, IsEmpty());
}

TEST_F(Countdown, ThirtySecondsAnnounceTwentyAndFive) {
    race.state.Settings.StartDelay = 30;
    CountdownSequence countdown(race.context);
    std::vector<int> shown;
    while (!countdown.Finished()) {
        size_t before = race.player.played.size();
        shown.push_back(countdown.Tick());
        if (race.player.played.size() != before) {
            EXPECT_TRUE(shown.back() == 21 || shown.back() == 6) << shown.back();
        }
    }
    EXPECT_THAT(race.player.played,
                ElementsAre("Race Starts in 20 sec.wav", "Race Starts in 5 sec.wav"));
    EXPECT_EQ(shown.front(), 30);
    EXPECT_EQ(shown.back(), 0);
}

TEST_F(Countdown, AnnouncementsFollowTheirSwitches) {
    race.state.Settings.StartDelay = 30;
    race.sounds.RaceSoundEnabled[RaceStartsIn20Sec] = false;
    CountdownSequence countdown(race.context);
    RunToEnd(countdown);
    EXPECT_THAT(race.player.played, ElementsAre("Race Starts in 5 sec.wav"));
}

TEST_F(Countdown, PauseAtTwelveContinuesAtEleven) {
    race.state.Settings.StartDelay = 15;
    CountdownSequence countdown(race.context);
    while (countdown.Tick() != 12) {
    }
    EXPECT_STREQ(countdown.PauseButtonCaption(), "&Pause Delay");
    countdown.TogglePause();
    EXPECT_TRUE(countdown.Paused());
    EXPECT_STREQ(countdown.PauseButtonCaption(), "&Continue Delay");
    EXPECT_EQ(countdown.Tick(), 12); // a tick while paused changes nothing
    EXPECT_EQ(countdown.Tick(), 12);
    countdown.TogglePause();
    EXPECT_STREQ(countdown.PauseButtonCaption(), "&Pause Delay");
    EXPECT_EQ(countdown.Tick(), 11);
}

TEST_F(Countdown, SkipEndsAtOnce) {
    race.state.Settings.StartDelay = 60;
    CountdownSequence countdown(race.context);
    countdown.Tick();
    countdown.Skip();
    EXPECT_TRUE(countdown.Finished());
    EXPECT_EQ(countdown.Tick(), 60);
    EXPECT_THAT(race.player.played, IsEmpty());
}

class StartLights : public ::testing::Test {
protected:
    StartLights() { race.sounds.RaceSoundEnabled.fill(true); }
    test::TestRace race;
    RecordingHost host;
};

TEST_F(StartLights, GoDelayIsOneToThreeSeconds) {
    for (auto [r, delay] : std::vector<std::pair<double, int>>{
             {0.0, 1}, {0.333, 1}, {0.334, 2}, {0.5, 2}, {0.667, 3}, {0.999999, 3}}) {
        race.random.values = {r};
        StartLightsSequence lights(race.context, host);
        EXPECT_EQ(lights.GoDelay(), delay) << r;
        EXPECT_EQ(lights.LightStep(), 1);
    }
}

TEST_F(StartLights, FourRedLightsThenGreenAfterTheRandomWait) {
    race.random.values = {0.9}; // GoDelay 3
    StartLightsSequence lights(race.context, host);
    EXPECT_THAT(race.player.played, ElementsAre("Get Ready.wav"));
    EXPECT_THAT(lights.Lights(),
                ElementsAre(LightColor::Off, LightColor::Off, LightColor::Off, LightColor::Off));
    for (int red = 1; red <= 4; ++red) {
        lights.Tick();
        EXPECT_EQ(lights.Lights()[red - 1], LightColor::Red);
        EXPECT_EQ(Count(race.player.played, "beep.wav"), red);
    }
    lights.Tick(); // step 5: waiting
    lights.Tick(); // step 6: waiting
    EXPECT_FALSE(lights.IsGreen());
    EXPECT_EQ(host.greens, 0);
    lights.Tick(); // step 7 = GoDelay + 4
    EXPECT_TRUE(lights.IsGreen());
    EXPECT_THAT(lights.Lights(), ElementsAre(LightColor::Green, LightColor::Green,
                                             LightColor::Green, LightColor::Green));
    EXPECT_EQ(host.greens, 1);
    EXPECT_EQ(race.player.played.back(), "Go.wav");
    EXPECT_EQ(host.closes, 0);
    lights.Tick(); // GoDelay + 5
    EXPECT_TRUE(lights.Closed());
    EXPECT_EQ(host.closes, 1);
    lights.Tick();
    EXPECT_EQ(host.greens, 1);
    EXPECT_EQ(host.closes, 1);
}

TEST_F(StartLights, GoSwitchedOffBeeps) {
    race.sounds.RaceSoundEnabled[Go] = false;
    race.sounds.RaceSoundEnabled[GetReady] = false;
    race.random.values = {0.0};
    StartLightsSequence lights(race.context, host);
    for (int i = 0; i < 5; ++i)
        lights.Tick();
    EXPECT_TRUE(lights.IsGreen());
    EXPECT_EQ(Count(race.player.played, "beep.wav"), 5);
    EXPECT_EQ(Count(race.player.played, "Go.wav"), 0);
    EXPECT_EQ(Count(race.player.played, "Get Ready.wav"), 0);
}

TEST_F(StartLights, ClickBeforeTheSecondRedLightStillWaitsGoDelay) {
    for (auto [r, delay] : std::vector<std::pair<double, int>>{{0.1, 1}, {0.5, 2}, {0.9, 3}}) {
        race.random.values = {r};
        StartLightsSequence lights(race.context, host);
        lights.Tick(); // first red light
        lights.Click();
        EXPECT_EQ(lights.LightStep(), 5);
        int ticks = 0;
        while (!lights.IsGreen()) {
            lights.Tick();
            ++ticks;
        }
        EXPECT_EQ(ticks, delay) << r;
        EXPECT_EQ(lights.Lights()[1], LightColor::Green);
    }
}

TEST_F(StartLights, ClickAfterGreenDoesNotRestartTheRace) {
    race.random.values = {0.9}; // GoDelay 3: green at step 7
    StartLightsSequence lights(race.context, host);
    for (int i = 0; i < 7; ++i)
        lights.Tick();
    ASSERT_TRUE(lights.IsGreen());
    lights.Click();
    for (int i = 0; i < 5; ++i)
        lights.Tick();
    EXPECT_EQ(host.greens, 1);
    EXPECT_EQ(host.closes, 1);
}

TEST_F(StartLights, FromOpeningToGreenTakesFiveToSevenTicks) {
    for (auto [r, ticksToGreen] :
         std::vector<std::pair<double, int>>{{0.0, 5}, {0.5, 6}, {0.99, 7}}) {
        race.random.values = {r};
        StartLightsSequence lights(race.context, host);
        int ticks = 0;
        while (!lights.IsGreen()) {
            lights.Tick();
            ++ticks;
        }
        EXPECT_EQ(ticks, ticksToGreen);
    }
}

} // namespace
} // namespace kesto
