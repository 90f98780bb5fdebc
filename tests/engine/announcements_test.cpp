// Time-left and halfway announcements: each made once per race, at the second
// before the named mark, only when switched on.
#include "engine/announcements.h"
#include "support/test_doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace kesto {
namespace {

using ::testing::ElementsAre;

class TimeLeftSounds : public ::testing::Test {
protected:
    TimeLeftSounds() {
        state.TimedRace = true;
        sounds.RaceSoundEnabled.fill(true);
    }
    // Runs the check as the race clock does, every `step` ms up to `untilMs`.
    void RunClock(int32_t untilMs, int32_t step = 10) {
        for (int32_t t = 0; t <= untilMs; t += step) {
            state.RaceClock = t;
            PlayTimeLeftSounds(state, sounds, player);
        }
    }
    RaceState state;
    SoundChoices sounds;
    test::RecordingSoundPlayer player;
};

TEST_F(TimeLeftSounds, TenMinuteRaceAnnouncesEachPointOnce) {
    state.RaceMinutes = 10;
    RunClock(600000);
    EXPECT_THAT(player.played, ElementsAre("5 Minutes Left.wav", "halfway thru the race.wav",
                                           "1 Minute Left.wav", "10 Seconds Left.wav"));
}

TEST_F(TimeLeftSounds, PointsLieOneSecondBeforeTheMark) {
    state.RaceMinutes = 10;
    state.RaceClock = 600000 - 302000;
    PlayTimeLeftSounds(state, sounds, player);
    state.RaceClock = 600000 - 62000;
    PlayTimeLeftSounds(state, sounds, player);
    state.RaceClock = 600000 - 11000;
    PlayTimeLeftSounds(state, sounds, player);
    state.RaceClock = 600000 - 60000;
    PlayTimeLeftSounds(state, sounds, player);
    state.RaceClock = 600000 - 10000;
    PlayTimeLeftSounds(state, sounds, player);
    EXPECT_THAT(player.played,
                ElementsAre("5 Minutes Left.wav", "1 Minute Left.wav", "10 Seconds Left.wav"));
}

TEST_F(TimeLeftSounds, SecondsLeftRoundHalvesToEven) {
    state.RaceMinutes = 1;
    state.RaceClock = 60000 - 11500; // 11.5 s left rounds to 12: not yet
    PlayTimeLeftSounds(state, sounds, player);
    EXPECT_TRUE(player.played.empty());
    state.RaceClock = 60000 - 10500; // 10.5 s left rounds to 10: already past
    PlayTimeLeftSounds(state, sounds, player);
    EXPECT_TRUE(player.played.empty());
    state.RaceClock = 60000 - 11499;
    PlayTimeLeftSounds(state, sounds, player);
    EXPECT_THAT(player.played, ElementsAre("10 Seconds Left.wav"));
}

TEST_F(TimeLeftSounds, NineMinuteRaceIsHalfwayAt270SecondsLeft) {
    state.RaceMinutes = 9;
    state.RaceClock = 540000 - 271000;
    PlayTimeLeftSounds(state, sounds, player);
    EXPECT_TRUE(player.played.empty());
    state.RaceClock = 540000 - 270000;
    PlayTimeLeftSounds(state, sounds, player);
    EXPECT_THAT(player.played, ElementsAre("halfway thru the race.wav"));
    EXPECT_TRUE(sounds.RaceSoundPlayed[HalfwayThruTheRace]);
}

TEST_F(TimeLeftSounds, AnAnnouncementSwitchedOffIsNotMarked) {
    state.RaceMinutes = 10;
    sounds.RaceSoundEnabled[OneMinuteLeft] = false;
    RunClock(600000 - 50000);
    EXPECT_FALSE(sounds.RaceSoundPlayed[OneMinuteLeft]);
    EXPECT_TRUE(sounds.RaceSoundPlayed[FiveMinutesLeft]);
    EXPECT_EQ(std::count(player.played.begin(), player.played.end(), "1 Minute Left.wav"), 0);

    // Switched on again while the point still lasts: it is made then.
    sounds.RaceSoundEnabled[OneMinuteLeft] = true;
    state.RaceClock = 600000 - 62000;
    PlayTimeLeftSounds(state, sounds, player);
    EXPECT_EQ(player.played.back(), "1 Minute Left.wav");
}

TEST_F(TimeLeftSounds, NothingInPractice) {
    state.TimedRace = false;
    state.PracticeMode = true;
    state.RaceMinutes = 10;
    RunClock(600000, 100);
    EXPECT_TRUE(player.played.empty());
}

TEST_F(TimeLeftSounds, ClearingLetsTheNextRaceAnnounceAgain) {
    state.RaceMinutes = 2;
    RunClock(120000);
    EXPECT_THAT(player.played, ElementsAre("1 Minute Left.wav", "halfway thru the race.wav",
                                           "10 Seconds Left.wav"));
    sounds.RaceSoundPlayed[RaceOver] = true; // not an announcement: left alone
    ClearTimeLeftSounds(sounds);
    for (RaceSound event : {OneMinuteLeft, FiveMinutesLeft, HalfwayThruTheRace, TenSecondsLeft})
        EXPECT_FALSE(sounds.RaceSoundPlayed[event]);
    EXPECT_TRUE(sounds.RaceSoundPlayed[RaceOver]);
    player.played.clear();
    RunClock(120000);
    EXPECT_EQ(player.played.size(), 3u);
}

class LapHalfwaySound : public ::testing::Test {
protected:
    LapHalfwaySound() {
        state.LapRace = true;
        state.RaceOrder = {4, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
        sounds.RaceSoundEnabled.fill(true);
    }
    // The leader (ID 4) completes laps 0..laps, checking after each.
    void LeaderRuns(int laps) {
        for (int lap = 0; lap <= laps; ++lap) {
            state.LapCount[3] = static_cast<int16_t>(lap);
            PlayLapHalfwaySound(state, sounds, player);
            if (!player.played.empty() && lapsToGoAtAnnouncement < 0)
                lapsToGoAtAnnouncement = state.NumberOfLaps - lap;
        }
    }
    RaceState state;
    SoundChoices sounds;
    test::RecordingSoundPlayer player;
    int lapsToGoAtAnnouncement = -1;
};

TEST_F(LapHalfwaySound, TwentyFiveLapsAt12ToGo) {
    state.NumberOfLaps = 25;
    LeaderRuns(25);
    EXPECT_THAT(player.played, ElementsAre("halfway thru the race.wav"));
    EXPECT_EQ(lapsToGoAtAnnouncement, 12);
}

TEST_F(LapHalfwaySound, FifteenLapsAt8ToGo) {
    state.NumberOfLaps = 15;
    LeaderRuns(15);
    EXPECT_THAT(player.played, ElementsAre("halfway thru the race.wav"));
    EXPECT_EQ(lapsToGoAtAnnouncement, 8);
}

TEST_F(LapHalfwaySound, SwitchedOffStillMarksTheHalfwayPoint) {
    state.NumberOfLaps = 10;
    sounds.RaceSoundEnabled[HalfwayThruTheRace] = false;
    LeaderRuns(5);
    EXPECT_TRUE(player.played.empty());
    EXPECT_TRUE(sounds.RaceSoundPlayed[HalfwayThruTheRace]);
}

TEST_F(LapHalfwaySound, NothingInPracticeOrWithoutARunningOrder) {
    state.NumberOfLaps = 10;
    state.PracticeMode = true;
    LeaderRuns(10);
    state.PracticeMode = false;
    state.RaceOrder.fill(0);
    PlayLapHalfwaySound(state, sounds, player);
    EXPECT_TRUE(player.played.empty());
}

TEST(RaceSoundFiles, EventsPlayTheirFilesOnlyWhenOn) {
    SoundChoices sounds;
    test::RecordingSoundPlayer player;
    EXPECT_FALSE(PlayRaceSound(sounds, player, WhiteFlag));
    sounds.RaceSoundEnabled.fill(true);
    EXPECT_FALSE(PlayRaceSound(sounds, player, YellowFlag)); // no file for it
    for (RaceSound event :
         {RaceStartsIn20Sec, RaceStartsIn5Sec, GetReady, Go, WhiteFlag, RaceOver, CheckeredFlag})
        EXPECT_TRUE(PlayRaceSound(sounds, player, event));
    EXPECT_THAT(player.played, ElementsAre("Race Starts in 20 sec.wav", "Race Starts in 5 sec.wav",
                                           "Get Ready.wav", "Go.wav", "White Flag.wav",
                                           "Race Over.wav", "Checkered Flag.wav"));
}

} // namespace
} // namespace kesto
