// Whole races driven by the race timer's ticks: a lap race and a timed race
// fed with decoder lines, a practice, a demo race, and what the start lights
// do with detections sent before green.
#include "engine/race_control.h"
#include "support/race_rig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>

namespace kesto {
namespace {

using test::DecoderClockLine;
using test::DecoderPassLine;
using test::RaceRig;

// Decoder lines with their decoder times; the clock line of every second is
// added by the driver.
using PassPlan = std::multimap<int32_t, int>; // time ms -> car ID

// Laps of `laps` passes every `lapMs`, the first at `lapMs`.
void AddCar(PassPlan& plan, int id, int32_t lapMs, int laps) {
    for (int lap = 1; lap <= laps; ++lap)
        plan.emplace(lapMs * lap, id);
}

class RaceFlow : public ::testing::Test {
protected:
    RaceFlow() {
        rig.NameAllCars();
        rig.race.sounds.RaceSoundEnabled.fill(true);
    }

    void Start() {
        rig.control.ReSet();
        rig.control.cmdStart_Click();
        ASSERT_TRUE(state.TimerEnabled);
        m_next = m_plan.begin();
        m_decoderMs = 0;
    }

    // Runs 10 ms ticks while the race is timed, the decoder sending its clock
    // every whole second and the planned passes at their times, up to `untilMs`.
    // `afterTick` runs after every tick.
    void RunDecoder(int32_t untilMs, const std::function<void()>& afterTick = {}) {
        while (state.TimerEnabled && m_decoderMs < untilMs) {
            m_decoderMs += 10;
            std::string sent;
            if (m_decoderMs % 1000 == 0)
                sent += DecoderClockLine(m_decoderMs);
            for (; m_next != m_plan.end() && m_next->first <= m_decoderMs; ++m_next)
                sent += DecoderPassLine(m_next->second, m_next->first);
            rig.race.port.Feed(sent);
            rig.Tick(10);
            if (afterTick)
                afterTick();
        }
    }

    int Played(const std::string& file) const {
        const auto& played = rig.race.player.played;
        return static_cast<int>(std::count(played.begin(), played.end(), file));
    }

    RaceRig rig;
    RaceState& state = rig.state;
    test::FakeRaceScreen& screen = rig.screen;
    PassPlan m_plan;
    PassPlan::iterator m_next;
    int32_t m_decoderMs = 0;
};

TEST_F(RaceFlow, TenLapRaceFlagsAndCloseWhenAllHaveFinished) {
    state.LapRace = true;
    state.NumberOfLaps = 10;
    AddCar(m_plan, 1, 5000, 12); // the leader: lap 10 at 50.0 s
    AddCar(m_plan, 2, 5500, 12); // 9 laps at the flag, finishes at 55.0 s
    AddCar(m_plan, 3, 6200, 12); // 8 laps at the flag, finishes at 55.8 s
    Start();

    int leaderLapsAtWhite = -1, leaderLapsAtCheckered = -1;
    RunDecoder(120000, [&] {
        int leaderLaps = state.LapCount[state.RaceOrder[0] - 1];
        if (state.WhiteFlagOut && leaderLapsAtWhite < 0)
            leaderLapsAtWhite = leaderLaps;
        if (state.CheckeredFlagOut && leaderLapsAtCheckered < 0)
            leaderLapsAtCheckered = leaderLaps;
    });

    EXPECT_EQ(leaderLapsAtWhite, 9);
    EXPECT_EQ(leaderLapsAtCheckered, 10);
    EXPECT_THAT(screen.flagsShown,
                ::testing::ElementsAre("GreenFlagblack.bmp", "whiteflagblack.bmp",
                                       "CheckeredFlagblack.bmp"));
    EXPECT_EQ(state.FinishLap[0], 10);
    EXPECT_EQ(state.FinishLap[1], 10);
    EXPECT_EQ(state.FinishLap[2], 9);
    EXPECT_EQ(state.RaceCloseTime, 50000 + 7500); // 1.5 x the leader's best lap of 5 s

    // Closed on the tick after car 3's pass at 55.8 s, all three finished.
    EXPECT_TRUE(state.RaceIsOver);
    EXPECT_LT(m_decoderMs, 56000);
    EXPECT_GT(m_decoderMs, 55800);
    EXPECT_EQ(state.LapCount[0], 10);
    EXPECT_EQ(state.LapCount[1], 10);
    EXPECT_EQ(state.LapCount[2], 9);
    EXPECT_FALSE(state.TimerEnabled);
    EXPECT_FALSE(screen.raceTimerRunning);
    EXPECT_FALSE(rig.race.port.rts);
    EXPECT_EQ(state.RaceDateStamp, "Dec-07, 20-15");
    EXPECT_EQ(state.Button, StartButton::Reset);
    EXPECT_EQ(screen.button, StartButton::Reset);
    EXPECT_TRUE(screen.raceOverVisible);
    EXPECT_TRUE(screen.MenuEnabled(MainMenu::File));
    EXPECT_FALSE(screen.MenuEnabled(MainMenu::RaceFormat));
    EXPECT_FALSE(screen.MenuEnabled(MainMenu::Help));
    EXPECT_EQ(Played("White Flag.wav"), 1);
    EXPECT_EQ(Played("Checkered Flag.wav"), 1);
    EXPECT_EQ(Played("Race Over.wav"), 1);
    EXPECT_EQ(Played("halfway thru the race.wav"), 1);
    EXPECT_EQ(rig.race.player.played.back(), "Race Over.wav");
    EXPECT_TRUE(state.LapsUnsaved);
    EXPECT_TRUE(state.SummaryUnsaved);
}

TEST_F(RaceFlow, LapRaceClosesAtTheCloseTimeWhenACarStops) {
    state.LapRace = true;
    state.NumberOfLaps = 10;
    AddCar(m_plan, 1, 5000, 10);
    AddCar(m_plan, 2, 5500, 5); // parks after 5 laps
    Start();

    RunDecoder(200000);

    EXPECT_TRUE(state.RaceIsOver);
    EXPECT_EQ(state.RaceCloseTime, 57500);
    // The decoder clock passes 57.5 s at 58 s; the next tick closes the race.
    EXPECT_EQ(state.RaceClock, 58000);
    EXPECT_LE(m_decoderMs, 58010);
    EXPECT_EQ(state.LapCount[1], 5);
}

// Lines read in one tick count as lines a tick apart: the flag falls at car
// 1's last lap, before car 2's line, so car 2 finishes on that line too.
TEST_F(RaceFlow, SecondCarOnTheLastLapInTheSameTickFinishesOnItsLine) {
    state.LapRace = true;
    state.NumberOfLaps = 3;
    // Car 2 passes 5 ms after car 1 each lap: both are read in the same tick.
    for (int lap = 1; lap <= 3; ++lap) {
        m_plan.emplace(5000 * lap - 5, 1);
        m_plan.emplace(5000 * lap, 2);
    }
    Start();

    RunDecoder(60000);

    EXPECT_EQ(state.FinishLap[1], 3);
    EXPECT_EQ(state.LapCount[1], 3);
    EXPECT_TRUE(state.RaceIsOver);
    EXPECT_EQ(state.RaceClock, 15000); // closed at car 2's line, not at 15000 + 7500
}

TEST_F(RaceFlow, FiveMinuteRaceClockFlagAndAnnouncements) {
    state.TimedRace = true;
    state.RaceMinutes = 5;
    AddCar(m_plan, 1, 7000, 60); // passes at 294 s and 301 s
    AddCar(m_plan, 2, 7300, 60); // at 299.3 s and 306.6 s
    AddCar(m_plan, 4, 9000, 60); // at 297 s and 306 s
    Start();
    EXPECT_EQ(screen.clockText, "5:00");
    screen.clockHistory.clear();

    RunDecoder(299990);
    EXPECT_FALSE(state.CheckeredFlagOut);
    RunDecoder(300000); // the clock line of 300 s arrives
    EXPECT_FALSE(state.CheckeredFlagOut);
    RunDecoder(300010); // the next tick's finish check drops the flag
    EXPECT_TRUE(state.CheckeredFlagOut);
    EXPECT_EQ(screen.flagPicture, "CheckeredFlagblack.bmp");
    int leader = state.RaceOrder[0];
    EXPECT_EQ(leader, 1); // 42 laps; car 2 has 41, car 4 has 33
    EXPECT_EQ(state.FinishLap[0], state.LapCount[0]);
    EXPECT_EQ(state.FinishLap[1], state.LapCount[1] + 1);
    EXPECT_EQ(state.FinishLap[3], state.LapCount[3] + 1);
    EXPECT_EQ(state.RaceCloseTime, 300000 + 13300 + 5000); // 1.9 x 7 s + 5 s
    EXPECT_FALSE(state.RaceIsOver);

    RunDecoder(400000);
    EXPECT_TRUE(state.RaceIsOver);
    EXPECT_EQ(state.RaceClock, 306000); // closed on the tick after car 2's pass at 306.6 s
    EXPECT_EQ(screen.clockText, "0:00");

    // The clock counted down second by second from 5:00 (shown at the start) to
    // 0:00 and stayed there.
    ASSERT_EQ(screen.clockHistory.size(), 301u);
    EXPECT_EQ(screen.clockHistory[0], "5:00");
    EXPECT_EQ(screen.clockHistory[1], "4:59");
    EXPECT_EQ(screen.clockHistory[241], "0:59");
    EXPECT_EQ(screen.clockHistory[300], "0:00");

    // Halfway at 150 s left, 62 s and 11 s left, each once; a 5-minute race has
    // no 302 s point.
    EXPECT_EQ(Played("halfway thru the race.wav"), 1);
    EXPECT_EQ(Played("1 Minute Left.wav"), 1);
    EXPECT_EQ(Played("10 Seconds Left.wav"), 1);
    EXPECT_EQ(Played("5 Minutes Left.wav"), 0);
    EXPECT_EQ(Played("Checkered Flag.wav"), 1);
    EXPECT_EQ(Played("Race Over.wav"), 1);
}

// The RC rule: at the flag every car, the leader included, has one more pass
// to make, and what a finished car does afterwards is not counted.
TEST_F(RaceFlow, UnderTheRcRuleEveryCarFinishesOnItsNextPassAndNothingAfter) {
    state.TimedRace = true;
    state.RaceMinutes = 5;
    state.Finish = FinishRule::EveryCarOnNextPass;
    AddCar(m_plan, 1, 7000, 60);  // 42 laps at the flag; then 301 s and 308 s
    AddCar(m_plan, 2, 7300, 60);  // 41 laps; then 306.6 s
    AddCar(m_plan, 5, 26000, 60); // 11 laps; then 312 s
    Start();

    RunDecoder(300010);
    ASSERT_TRUE(state.CheckeredFlagOut);
    EXPECT_EQ(state.FinishLap[0], 43);
    EXPECT_EQ(state.FinishLap[1], 42);
    EXPECT_EQ(state.FinishLap[4], 12);

    RunDecoder(400000);
    EXPECT_TRUE(state.RaceIsOver);
    EXPECT_EQ(state.RaceClock, 312000); // closed on car 5's finishing pass
    EXPECT_EQ(state.LapCount[0], 43);   // its pass at 308 s is not a lap
    EXPECT_EQ(state.LastPassTime[0], 301000);
    EXPECT_EQ(state.LapCount[1], 42);
    EXPECT_EQ(state.LapCount[4], 12);
    std::vector<std::pair<int, int32_t>> afterFinish;
    for (const auto& pass : state.RejectedPasses)
        if (pass.reason == RejectReason::AfterFinish)
            afterFinish.emplace_back(pass.id, pass.timeMs);
    EXPECT_THAT(afterFinish, ::testing::ElementsAre(std::pair{1, 308000}));
}

TEST_F(RaceFlow, TenMinuteRaceAnnouncesEveryPointOnceInOrder) {
    state.TimedRace = true;
    state.RaceMinutes = 10;
    AddCar(m_plan, 1, 8000, 100);
    Start();

    RunDecoder(700000);

    std::vector<std::string> announcements;
    for (const auto& file : rig.race.player.played)
        if (file != "Get Ready.wav" && file != "beep.wav" && file != "Go.wav")
            announcements.push_back(file);
    EXPECT_THAT(announcements,
                ::testing::ElementsAre("5 Minutes Left.wav", "halfway thru the race.wav",
                                       "1 Minute Left.wav", "10 Seconds Left.wav",
                                       "Checkered Flag.wav", "Race Over.wav"));
    EXPECT_TRUE(state.RaceIsOver); // the only car, the leader, finished at the flag
}

TEST_F(RaceFlow, PracticeNeverCloses) {
    state.PracticeMode = true;
    AddCar(m_plan, 1, 4500, 1000);
    AddCar(m_plan, 2, 6100, 1000);
    Start();
    EXPECT_EQ(state.Button, StartButton::Abort);

    RunDecoder(3600010); // an hour

    EXPECT_TRUE(state.TimerEnabled);
    EXPECT_FALSE(state.CheckeredFlagOut);
    EXPECT_FALSE(state.RaceIsOver);
    EXPECT_EQ(state.LapCount[0], 800);
    EXPECT_EQ(state.LapCount[1], 590);
    EXPECT_EQ(screen.clockText, "1:00:00");
    EXPECT_GT(screen.practiceUpdates, 0);
    EXPECT_EQ(screen.raceUpdates, 0);
    EXPECT_THAT(screen.flagsShown, ::testing::ElementsAre("GreenFlagblack.bmp"));
    EXPECT_TRUE(rig.race.player.played.empty()); // no car sounds chosen, no race sounds
}

TEST_F(RaceFlow, DetectionsSentBeforeGreenAreNeverCounted) {
    state.LapRace = true;
    state.NumberOfLaps = 5;
    state.Settings.StartDelay = 3;
    rig.launcher.beforeCountdownTick = [&](CountdownSequence&) {
        rig.race.port.Feed(DecoderPassLine(6, 1000));
    };
    rig.launcher.beforeLightsTick = [&](StartLightsSequence& lights) {
        if (!lights.IsGreen())
            rig.race.port.Feed(DecoderPassLine(7, 2000));
    };
    // The start of a line the last race read but never finished.
    rig.control.Input().Append("@0800", [](std::string_view) {});
    m_plan.emplace(5000, 9);
    Start();
    EXPECT_EQ(rig.race.port.input, "");

    RunDecoder(6000);

    EXPECT_EQ(state.LapCount[5], 0);
    EXPECT_EQ(state.LapCount[6], 0);
    EXPECT_EQ(state.LapCount[7], 0);
    EXPECT_EQ(state.LapCount[8], 1);
    EXPECT_EQ(state.LastPassTime[8], 5000);
}

TEST_F(RaceFlow, DemoLapRaceRunsToItsClose) {
    std::mt19937 engine(20261207);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    for (int i = 0; i < 200000; ++i)
        rig.race.random.values.push_back(uniform(engine));
    state.DemoMode = true;
    state.LapRace = true;
    state.NumberOfLaps = 10;
    rig.control.ReSet();
    rig.control.cmdStart_Click();
    rig.race.port.Feed(DecoderPassLine(3, 100)); // a decoder is never read in demo mode

    int ticks = 0;
    while (state.TimerEnabled && ticks < 100000) {
        rig.Tick(10);
        ++ticks;
    }

    EXPECT_TRUE(state.RaceIsOver);
    EXPECT_EQ(state.Button, StartButton::Reset);
    EXPECT_TRUE(state.CheckeredFlagOut);
    EXPECT_EQ(state.LapCount[state.RaceOrder[0] - 1], 10);
    for (int i = 0; i < MaxCarIds; ++i) {
        EXPECT_GE(state.LapCount[i], 1);
        EXPECT_LE(state.LapCount[i], 10);
        EXPECT_TRUE(state.LapCount[i] >= state.FinishLap[i] ||
                    state.RaceCloseTime < state.RaceClock);
    }
    EXPECT_FALSE(rig.race.port.input.empty());
    EXPECT_EQ(Played("Race Over.wav"), 1);
}

TEST_F(RaceFlow, DemoFillsTheMedianColumnsOnEveryWholeSecond) {
    std::mt19937 engine(20261208);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    for (int i = 0; i < 20000; ++i)
        rig.race.random.values.push_back(uniform(engine));
    state.DemoMode = true;
    state.TimedRace = true;
    state.RaceMinutes = 5;
    rig.control.ReSet();
    state.LagColumnMode = MedianMode;
    rig.control.cmdStart_Click();
    // A real timer's ticks are seldom 10 ms apart: with 7 ms the clock is on
    // a whole second only at 7 s, so before that only a refresh on each
    // second it passes (as a decoder's clock line brings) fills the medians.
    std::array<int16_t, MaxCarIds> lapsBeforeSix{};
    while (state.RaceClock < 6900) {
        rig.Tick(7);
        if (state.RaceClock < 6000)
            lapsBeforeSix = state.LapCount;
    }
    int cars = 0;
    for (int i = 0; i < MaxCarIds; ++i) {
        if (lapsBeforeSix[i] < 1)
            continue;
        ++cars;
        EXPECT_FALSE(state.MedianLap[i].empty()) << "ID " << i + 1;
    }
    EXPECT_GT(cars, 0);
}

TEST_F(RaceFlow, DemoPracticeWithSystemRandomKeepsCounting) {
    SystemRandom random;
    RaceContext context{state,  rig.race.sounds, rig.race.player, rig.race.dialogs,
                        random, rig.race.clock,  rig.race.port};
    RaceControl control(context, screen, rig.launcher, screen);
    RaceTick tick(context, control, screen);
    state.DemoMode = true;
    state.PracticeMode = true;
    control.ReSet();
    control.cmdStart_Click();
    for (int i = 0; i < 60000; ++i) // ten minutes
        tick.Timer1_Timer(10);
    EXPECT_TRUE(state.TimerEnabled);
    EXPECT_FALSE(state.RaceIsOver);
    EXPECT_EQ(state.RaceClock, 600000);
    for (int i = 0; i < MaxCarIds; ++i)
        EXPECT_GT(state.LapCount[i], 50);
}

TEST_F(RaceFlow, AFailingFlagPictureNeverStopsTheFinish) {
    state.LapRace = true;
    state.NumberOfLaps = 3;
    AddCar(m_plan, 1, 5000, 3);
    Start();
    screen.failShowFlag = true;

    RunDecoder(60000);

    EXPECT_TRUE(state.WhiteFlagOut);
    EXPECT_TRUE(state.CheckeredFlagOut);
    EXPECT_TRUE(state.RaceIsOver);
    EXPECT_EQ(state.FlagBitmap, "CheckeredFlagblack.bmp");
    EXPECT_EQ(screen.flagPicture, "GreenFlagblack.bmp"); // the picture that loaded last
}

TEST_F(RaceFlow, ResetAfterTheRaceClearsEverything) {
    state.LapRace = true;
    state.NumberOfLaps = 3;
    AddCar(m_plan, 1, 5000, 3);
    Start();
    RunDecoder(60000);
    ASSERT_TRUE(state.RaceIsOver);
    rig.race.dialogs.answers = {MessageAnswer::Yes};

    rig.control.cmdStart_Click();

    EXPECT_EQ(state.Button, StartButton::Start);
    EXPECT_FALSE(state.RaceIsOver);
    EXPECT_FALSE(state.WhiteFlagOut);
    EXPECT_FALSE(state.CheckeredFlagOut);
    EXPECT_EQ(state.RaceCloseTime, NoCloseTime);
    EXPECT_EQ(state.LapCount[0], 0);
    EXPECT_EQ(state.FinishLap[0], NotFlaggedLap);
    EXPECT_EQ(state.LapTimes[0][1], 0.0f);
    EXPECT_FALSE(screen.flagVisible);
    EXPECT_FALSE(screen.raceOverVisible);
    EXPECT_TRUE(screen.AllMenusEnabled());
    EXPECT_EQ(state.RaceDateStamp, "Dec-07, 20-15"); // kept until the next start

    // And the next race runs again.
    rig.race.player.played.clear();
    Start();
    RunDecoder(60000);
    EXPECT_TRUE(state.RaceIsOver);
    EXPECT_EQ(Played("White Flag.wav"), 1);
}

} // namespace
} // namespace kesto
