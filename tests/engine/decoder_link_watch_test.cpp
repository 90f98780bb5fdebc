// The decoder link's watch, driven by the race timer's ticks over the fake
// port and the fake screen: a decoder that goes quiet, a device that vanishes
// and comes back, and the races it leaves alone.
#include "engine/decoder_link_watch.h"
#include "support/race_rig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace kesto {
namespace {

using test::DecoderClockLine;
using test::DecoderPassLine;
using test::RaceRig;
using ::testing::ElementsAre;

class LinkWatch : public ::testing::Test {
protected:
    LinkWatch() {
        rig.NameAllCars();
        state.Settings.ComPort = 3;
        state.Settings.MinLapTime = 1;
    }

    void StartPractice() {
        state.PracticeMode = true;
        rig.control.ReSet();
        rig.control.cmdStart_Click();
        ASSERT_TRUE(state.TimerEnabled);
    }

    // `ms` of 10 ms ticks; while `alive` the decoder sends its clock line
    // every `periodMs` of its clock, which runs on through any outage.
    void Run(int32_t ms, bool alive = true, int32_t periodMs = 1000) {
        for (int32_t t = 0; t < ms && state.TimerEnabled; t += 10) {
            decoderMs += 10;
            if (alive && decoderMs % periodMs == 0)
                port.Feed(DecoderClockLine(decoderMs));
            rig.Tick(10);
        }
    }

    int Warnings() const {
        const auto& played = rig.race.player.played;
        return static_cast<int>(std::count(played.begin(), played.end(), DecoderLostSound));
    }

    const DecoderLinkWatch& Watch() const { return rig.tick.LinkWatch(); }

    RaceRig rig;
    RaceState& state = rig.state;
    test::FakeDecoderPort& port = rig.race.port;
    test::FakeRaceScreen& screen = rig.screen;
    int32_t decoderMs = 0;
};

TEST_F(LinkWatch, NoAlarmWhileClockLinesCome) {
    StartPractice();
    Run(20000);
    EXPECT_FALSE(screen.linkAlarmVisible);
    EXPECT_TRUE(screen.linkAlarms.empty());
    EXPECT_EQ(Warnings(), 0);
    EXPECT_TRUE(port.open);
    EXPECT_EQ(port.closes, 0);
    EXPECT_EQ(Watch().State(), DecoderLinkWatch::Link::Fine);
}

TEST_F(LinkWatch, ThreeSecondsWithoutAClockLineRaiseTheNoSignalAlarmOncePerOutage) {
    StartPractice();
    Run(2000);
    Run(2990, false); // the last clock line came at 2.00 s
    EXPECT_FALSE(screen.linkAlarmVisible) << "2.99 s of silence";
    Run(10, false);
    ASSERT_TRUE(screen.linkAlarmVisible) << "3 s of silence";
    EXPECT_EQ(screen.linkAlarmText, "NO SIGNAL FROM THE DECODER - check its power and cable");
    EXPECT_EQ(Warnings(), 1);
    EXPECT_TRUE(port.open) << "a live device keeps its port";
    EXPECT_EQ(port.closes, 0);

    Run(10000, false);
    EXPECT_EQ(Warnings(), 1) << "one warning per outage";
    EXPECT_EQ(screen.linkAlarms.size(), 1u);
    EXPECT_EQ(port.opens, 0) << "nothing to reopen";

    // The decoder's power is back: its clock line clears the alarm.
    port.Feed(DecoderClockLine(decoderMs));
    Run(10, false);
    EXPECT_FALSE(screen.linkAlarmVisible);
    EXPECT_EQ(Watch().State(), DecoderLinkWatch::Link::Fine);

    // A second outage warns again.
    Run(5000, false);
    EXPECT_TRUE(screen.linkAlarmVisible);
    EXPECT_EQ(Warnings(), 2);
}

TEST_F(LinkWatch, TheDecodersClockPeriodIsLearnedAndThreeMissedPeriodsRaiseTheAlarm) {
    // A decoder that sends its clock line every 5 s: only its first gap, before
    // the period is known, can look like silence.
    StartPractice();
    Run(30000, true, 5000);
    EXPECT_FALSE(screen.linkAlarmVisible);
    EXPECT_LE(Warnings(), 1);
    Run(14990, false);
    EXPECT_FALSE(screen.linkAlarmVisible) << "three periods are 15 s";
    Run(10, false);
    EXPECT_TRUE(screen.linkAlarmVisible);
    EXPECT_EQ(Warnings(), 2);

    // The next race knows the period from the start.
    rig.race.dialogs.answers = {MessageAnswer::Yes};
    rig.control.cmdStart_Click(); // Abort
    decoderMs = 0;
    rig.control.cmdStart_Click();
    Run(30000, true, 5000);
    EXPECT_EQ(Warnings(), 2);
}

TEST_F(LinkWatch, VanishedDeviceIsClosedAtOnceAndReopenedWhenItIsBack) {
    StartPractice();
    port.rts = true; // the race raised it
    port.Feed(DecoderPassLine(5, 1000));
    Run(5000);
    ASSERT_EQ(state.LapCount[4], 1);
    // The adapter is pulled in the middle of a line.
    port.Feed("@05000");
    port.linkLost = true;
    port.failOpen = true;
    Run(10);
    EXPECT_FALSE(port.open) << "closed on the tick that found it gone";
    EXPECT_EQ(port.closes, 1);
    ASSERT_TRUE(screen.linkAlarmVisible);
    EXPECT_EQ(screen.linkAlarmText, "DECODER LINK LOST - reconnecting to COM3 ...");
    EXPECT_EQ(Warnings(), 1);
    EXPECT_EQ(rig.control.Input().PendingSize(), 0u) << "the cut-off line is dropped";

    // About one attempt a second while the device is away, each on port 3.
    Run(3500, false);
    EXPECT_EQ(port.opens, 3);
    EXPECT_EQ(port.openedPort, 3);
    EXPECT_TRUE(screen.linkAlarmVisible);
    EXPECT_EQ(Warnings(), 1);

    // Plugged in again: the next attempt opens it and raises RTS as the race had it.
    port.failOpen = false;
    port.rts = false;
    Run(1000, false);
    ASSERT_TRUE(port.open);
    EXPECT_EQ(port.opens, 4);
    EXPECT_EQ(port.reopens, 4) << "the device the race had, never the port number resolved anew";
    EXPECT_TRUE(port.rts);
    EXPECT_TRUE(screen.linkAlarmVisible) << "up until the decoder is heard again";

    // The decoder's clock ran on, further than the ticks since can tell: its
    // next line clears the alarm, and once its next clock line agrees, what
    // it sent counts.
    decoderMs = 12000;
    port.Feed(DecoderClockLine(12000));
    port.Feed(DecoderPassLine(5, 12000));
    Run(10);
    EXPECT_FALSE(screen.linkAlarmVisible);
    EXPECT_EQ(Watch().State(), DecoderLinkWatch::Link::Fine);
    port.Feed(DecoderClockLine(13000));
    Run(10);
    EXPECT_EQ(state.RaceClock, 13000);
    // Measured from its last counted pass, by the decoder's own time stamps.
    ASSERT_EQ(state.LapCount[4], 2);
    EXPECT_FLOAT_EQ(state.LapTimes[4][2], 11.0f);
    EXPECT_EQ(Warnings(), 1);
    EXPECT_EQ(port.closes, 1);
}

TEST_F(LinkWatch, DeviceBackButDecoderQuietTurnsTheAlarmToNoSignal) {
    StartPractice();
    Run(2000);
    port.linkLost = true;
    Run(10);
    ASSERT_FALSE(port.open);
    Run(1000, false); // reopened at the first attempt
    ASSERT_TRUE(port.open);
    EXPECT_EQ(screen.linkAlarmText, "DECODER LINK LOST - reconnecting to COM3 ...");
    Run(3000, false);
    EXPECT_EQ(screen.linkAlarmText, "NO SIGNAL FROM THE DECODER - check its power and cable");
    EXPECT_EQ(Warnings(), 1) << "still the same outage";
    EXPECT_EQ(port.opens, 1);
}

TEST_F(LinkWatch, AQuietDecoderWhosePortThenFailsIsAVanishedDevice) {
    StartPractice();
    Run(1000);
    Run(4000, false);
    ASSERT_EQ(screen.linkAlarmText, "NO SIGNAL FROM THE DECODER - check its power and cable");
    port.linkLost = true;
    port.failOpen = true;
    Run(10, false);
    EXPECT_FALSE(port.open);
    EXPECT_EQ(screen.linkAlarmText, "DECODER LINK LOST - reconnecting to COM3 ...");
    EXPECT_EQ(Warnings(), 1);
}

TEST_F(LinkWatch, RetriesStayAtOneAttemptPerSecondWhateverTheTicks) {
    StartPractice();
    port.linkLost = true;
    port.failOpen = true;
    Run(10000, false);
    EXPECT_EQ(port.opens, 9); // the first a second after the loss
    // A stalled timer that reports five seconds at once still makes one attempt.
    rig.Tick(5000);
    EXPECT_EQ(port.opens, 10);
    EXPECT_EQ(Watch().ReopenAttempts(), 10);
}

TEST_F(LinkWatch, APortFoundClosedIsReopenedWithThePortOfTheSettings) {
    port.open = false; // the decoder was not there when the race began
    StartPractice();
    Run(10, false);
    EXPECT_EQ(screen.linkAlarmText, "DECODER LINK LOST - reconnecting to COM3 ...");
    state.Settings.ComPort = 4; // chosen again in the settings meanwhile
    Run(1000, false);
    EXPECT_TRUE(port.open);
    EXPECT_EQ(port.openedPort, 4);
}

TEST_F(LinkWatch, DemoRacesAndUntimedMomentsAreNotWatched) {
    state.DemoMode = true;
    port.open = false;
    StartPractice();
    Run(10000, false);
    EXPECT_TRUE(screen.linkAlarms.empty());
    EXPECT_EQ(port.opens, 0);
    EXPECT_EQ(Warnings(), 0);

    // Ticks with the race timer off (none should come) change nothing either.
    RaceRig idle;
    idle.state.Settings.ComPort = 3;
    idle.race.port.open = false;
    for (int i = 0; i < 1000; ++i)
        idle.Tick(10);
    EXPECT_TRUE(idle.screen.linkAlarms.empty());
    EXPECT_EQ(idle.race.port.opens, 0);
}

TEST_F(LinkWatch, AbortTakesTheAlarmDownAndTheNextRaceStartsAfresh) {
    StartPractice();
    Run(5000, false);
    ASSERT_TRUE(screen.linkAlarmVisible);
    rig.race.dialogs.answers = {MessageAnswer::Yes};
    rig.control.cmdStart_Click(); // Abort, answered Yes
    ASSERT_FALSE(state.TimerEnabled);
    EXPECT_FALSE(screen.linkAlarmVisible);

    rig.control.cmdStart_Click(); // the next practice
    ASSERT_TRUE(state.TimerEnabled);
    Run(2990, false);
    EXPECT_FALSE(screen.linkAlarmVisible) << "the silence of the last race does not count";
    Run(10, false);
    EXPECT_TRUE(screen.linkAlarmVisible);
    EXPECT_EQ(Warnings(), 2);
}

TEST_F(LinkWatch, AnAbortDuringAnOutageTriesThePortOnceMore) {
    StartPractice();
    port.linkLost = true;
    port.failOpen = true;
    Run(1500, false);
    ASSERT_EQ(port.opens, 1);
    port.failOpen = false; // back in the moment the race is aborted
    rig.race.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    rig.control.cmdStart_Click();
    EXPECT_TRUE(port.open) << "open between races again";
    EXPECT_FALSE(port.rts) << "as the stopped race left it";
    EXPECT_FALSE(screen.linkAlarmVisible);

    // Still away at an abort: the port stays closed until the next race tries it.
    rig.control.cmdStart_Click();
    port.linkLost = true;
    port.failOpen = true;
    Run(10, false);
    rig.control.cmdStart_Click();
    EXPECT_FALSE(port.open);
    EXPECT_EQ(port.opens, 3);
}

TEST_F(LinkWatch, TheAlarmGoesWhenTheRaceCloses) {
    // A two-lap race whose decoder sends passes but no clock lines.
    state.LapRace = true;
    state.NumberOfLaps = 2;
    rig.control.ReSet();
    rig.control.cmdStart_Click();
    ASSERT_TRUE(state.TimerEnabled);
    Run(5000, false);
    ASSERT_TRUE(screen.linkAlarmVisible);
    port.Feed(DecoderPassLine(1, 5000));
    Run(3000, false);
    port.Feed(DecoderPassLine(1, 8000));
    Run(100, false);
    ASSERT_TRUE(state.RaceIsOver);
    EXPECT_FALSE(screen.linkAlarmVisible);
    EXPECT_EQ(state.LapCount[0], 2);
    EXPECT_THAT(screen.linkAlarms,
                ElementsAre("NO SIGNAL FROM THE DECODER - check its power and cable"));
}

} // namespace
} // namespace kesto
