// The moments the race caller hears from lap counting, the start lights, race
// control and the announcements, and the facts it reads off the race state.
#include "engine/announcements.h"
#include "engine/race_caller.h"
#include "support/race_rig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kesto {
namespace {

using test::DecoderClockLine;
using test::DecoderPassLine;
using ::testing::ElementsAre;

// Writes down what it hears; speaks the time left when told to.
class RecordingCaller final : public RaceCaller {
public:
    void LapCounted(const RaceState& state, int id, bool newOverallBest) override {
        heard.push_back("lap " + std::to_string(id) + "/" + std::to_string(state.LapCount[id - 1]) +
                        (newOverallBest ? " best" : ""));
    }
    void StartLightsOn(const RaceState&) override { heard.push_back("lights"); }
    void RaceClosed(const RaceState& state) override {
        std::string order = "closed";
        for (int id : CarsInRunningOrder(state))
            order += " " + std::to_string(id);
        heard.push_back(order);
    }
    bool TimeLeftDue(const RaceState&, RaceSound event) override {
        heard.push_back("time " + std::to_string(event));
        return speaksTimeLeft;
    }
    std::vector<std::string> heard;
    bool speaksTimeLeft = false;
};

TEST(RaceCaller, HearsTheLightsEveryLapWithItsBestAndTheClose) {
    test::RaceRig rig;
    RecordingCaller caller;
    rig.race.context.caller = &caller;
    rig.NameAllCars();
    rig.state.LapRace = true;
    rig.state.NumberOfLaps = 3;
    rig.control.cmdStart_Click(); // the scripted start lights run to green at once
    ASSERT_TRUE(rig.state.TimerEnabled);
    // Car 2: 5.0, 4.9 (race best) and 5.0 s; car 1: 6.0, 6.0, 4.5 s (race best).
    const std::vector<std::pair<int32_t, int>> passes = {{5000, 2},  {6000, 1},  {9900, 2},
                                                         {12000, 1}, {14900, 2}, {16500, 1}};
    for (auto [ms, id] : passes) {
        rig.race.port.Feed(DecoderClockLine(ms / 1000 * 1000) + DecoderPassLine(id, ms));
        rig.Tick();
        rig.Tick(); // the finish check of the next tick closes the race
    }
    EXPECT_TRUE(rig.state.RaceIsOver);
    EXPECT_THAT(caller.heard, ElementsAre("lights", "lap 2/1", "lap 1/1", "lap 2/2 best", "lap 1/2",
                                          "lap 2/3", "lap 1/3 best", "closed 2 1"));
}

TEST(RaceCaller, SpeaksTheTimeLeftInsteadOfTheWaveFileWhenItSaysSo) {
    RaceState state;
    state.TimedRace = true;
    state.RaceMinutes = 10;
    SoundChoices sounds;
    sounds.RaceSoundEnabled[FiveMinutesLeft] = true;
    test::RecordingSoundPlayer player;
    RecordingCaller caller;
    caller.speaksTimeLeft = true;
    state.RaceClock = 600000 - 302000;
    PlayTimeLeftSounds(state, sounds, player, caller);
    EXPECT_TRUE(player.played.empty());
    EXPECT_TRUE(sounds.RaceSoundPlayed[FiveMinutesLeft]); // made, once
    state.RaceClock = 600000 - 62000;                     // "1 Minute Left" is off: not even asked
    PlayTimeLeftSounds(state, sounds, player, caller);
    EXPECT_THAT(caller.heard, ElementsAre("time 7"));

    // A lap race's halfway: asked only when its switch is on.
    RaceState laps;
    laps.NumberOfLaps = 10;
    laps.RaceOrder[0] = 1;
    laps.LapCount[0] = 5;
    PlayLapHalfwaySound(laps, sounds, player, caller);
    sounds.RaceSoundEnabled[HalfwayThruTheRace] = true;
    sounds.RaceSoundPlayed[HalfwayThruTheRace] = false;
    caller.speaksTimeLeft = false; // the caller declines: the wave file plays
    PlayLapHalfwaySound(laps, sounds, player, caller);
    EXPECT_THAT(caller.heard, ElementsAre("time 7", "time 8"));
    EXPECT_THAT(player.played, ElementsAre("halfway thru the race.wav"));
}

TEST(RaceCaller, FactsOfTheRaceState) {
    RaceState state;
    state.Settings.FirstLapCount = -1; // the race begins with lap 0
    state.LapCount.fill(-1);
    state.LapCount[2] = 4;
    state.LapCount[4] = 4;
    state.LapCount[6] = 5;
    state.RaceOrder = {7, 5, 3, 1, 2, 4, 6, 8, 9, 10, 11, 12, 13, 14};
    EXPECT_TRUE(LeadsAfterLap(state, 7));
    EXPECT_FALSE(LeadsAfterLap(state, 5));
    state.LapCount[4] = 5; // as many laps as car 7, which passed first
    EXPECT_FALSE(LeadsAfterLap(state, 5));
    EXPECT_FALSE(LeadsAfterLap(state, 0));
    EXPECT_THAT(CarsInRunningOrder(state), ElementsAre(7, 5, 3));

    PerId<std::string> names;
    names.fill("Empty");
    names[0] = "Ann Baker";
    names[3] = " Bob Smith ";
    names[5] = "";
    EXPECT_THAT(RacersOnTheGrid(names), ElementsAre(std::pair<int, std::string>{1, "Ann Baker"},
                                                    std::pair<int, std::string>{4, "Bob Smith"}));
}

} // namespace
} // namespace kesto
