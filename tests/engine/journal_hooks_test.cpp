// Race control reports each event to the race journal at the right moment:
// with the values the event set, and before the screen shows its effect (so a
// kill between the two never leaves the screen ahead of the journal).
#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "support/fake_race_screen.h"
#include "support/race_rig.h"
#include "support/scripted_start_sequence.h"
#include "support/test_doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kesto {
namespace {

using ::testing::ElementsAre;

// Notes each event with what the screen showed at that moment.
class RecordingJournal final : public RaceJournal {
public:
    RecordingJournal(const test::FakeRaceScreen& screen, const RaceState& state)
        : m_screen(screen), m_state(state) {}

    void Record(const JournalEvent& event) override {
        using K = JournalEventKind;
        switch (event.kind) {
        case K::RaceStarted:
            Note("start");
            startLaps = m_state.LapCount[0];
            startFlag = m_state.FlagBitmap;
            break;
        case K::TimingStarted:
            Note("green");
            break;
        case K::WhiteFlagShown:
            Note("white");
            break;
        case K::CheckeredFlagDropped:
            Note("checkered");
            closeTime = event.value;
            finishLap = event.finishLap;
            break;
        case K::RaceClosed:
            Note("close");
            dateStamp = event.text;
            break;
        case K::RaceAborted:
            Note("abort");
            break;
        case K::RaceReset:
            Note("reset");
            break;
        default:
            break;
        }
    }

    struct Seen {
        std::string event;
        size_t flagsShown;
        StartButton button;
        bool raceOver;
        bool timerRunning;
    };
    std::vector<Seen> seen;
    std::vector<std::string> Events() const {
        std::vector<std::string> events;
        for (const Seen& s : seen)
            events.push_back(s.event);
        return events;
    }
    int16_t startLaps = 99;
    std::string startFlag;
    int32_t closeTime = 0;
    PerId<int16_t> finishLap{};
    std::string dateStamp;

private:
    void Note(const std::string& event) {
        seen.push_back({event, m_screen.flagsShown.size(), m_screen.button,
                        m_screen.raceOverVisible, m_screen.raceTimerRunning});
    }
    const test::FakeRaceScreen& m_screen;
    const RaceState& m_state;
};

class JournalHooks : public ::testing::Test {
protected:
    JournalHooks() {
        race.port.open = true;
        race.context.journal = &journal;
        state.Settings.MinLapTime = 4;
        for (int id = 1; id <= MaxCarIds; ++id)
            state.Names.IdName[id - 1] = "Racer " + std::to_string(id);
    }
    void Start() {
        control.ReSet();
        control.cmdStart_Click();
    }
    // Car 1 laps every 5 s, car 2 every 6 s, decoder clock every second.
    void RunUntilClosed() {
        for (int32_t ms = 10; ms < 200000 && state.TimerEnabled; ms += 10) {
            std::string sent;
            if (ms % 1000 == 0)
                sent += test::DecoderClockLine(ms);
            if (ms % 5000 == 0)
                sent += test::DecoderPassLine(1, ms);
            if (ms % 6000 == 0)
                sent += test::DecoderPassLine(2, ms);
            race.port.Feed(sent);
            tick.Timer1_Timer(10);
        }
    }

    test::TestRace race;
    RaceState& state = race.state;
    test::FakeRaceScreen screen{race.state};
    test::ScriptedStartSequenceLauncher launcher{race.context};
    RaceControl control{race.context, screen, launcher, screen};
    RaceTick tick{race.context, control, screen};
    RecordingJournal journal{screen, race.state};
};

TEST_F(JournalHooks, PracticeStartsAndTimesAtOnce) {
    state.Settings.FirstLapCount = -1;
    state.PracticeMode = true;
    Start();
    EXPECT_THAT(journal.Events(), ElementsAre("start", "green"));
    EXPECT_EQ(journal.startLaps, -1); // after the start reset
    EXPECT_EQ(journal.startFlag, GreenFlagBitmap);
    EXPECT_EQ(journal.seen[1].flagsShown, 0u);
    EXPECT_FALSE(journal.seen[1].timerRunning);
}

TEST_F(JournalHooks, LapRaceFlagsAndCloseAreReportedBeforeTheyShow) {
    state.LapRace = true;
    state.NumberOfLaps = 5;
    Start();
    RunUntilClosed();
    ASSERT_TRUE(state.RaceIsOver);
    ASSERT_THAT(journal.Events(), ElementsAre("start", "green", "white", "checkered", "close"));
    const auto& seen = journal.seen;
    EXPECT_EQ(seen[1].flagsShown, 0u); // green before the green flag
    EXPECT_EQ(seen[2].flagsShown, 1u); // white before the white flag
    EXPECT_EQ(seen[3].flagsShown, 2u); // checkered before the checkered flag
    EXPECT_EQ(journal.closeTime, state.RaceCloseTime);
    EXPECT_EQ(journal.finishLap, state.FinishLap);
    EXPECT_EQ(journal.dateStamp, "Dec-07, 20-15");
    EXPECT_FALSE(seen[4].raceOver);
    EXPECT_TRUE(seen[4].timerRunning);
    EXPECT_EQ(seen[4].button, StartButton::Abort);

    // Reset after the questions were answered.
    race.dialogs.answers.push_back(MessageAnswer::No);
    control.cmdStart_Click();
    EXPECT_EQ(journal.Events().back(), "close");
    race.dialogs.answers.push_back(MessageAnswer::Yes);
    control.cmdStart_Click();
    EXPECT_EQ(journal.Events().back(), "reset");
    EXPECT_EQ(journal.seen.back().button, StartButton::Reset);
}

TEST_F(JournalHooks, TimedRaceFromTheCountdown) {
    state.TimedRace = true;
    state.RaceMinutes = 1;
    state.Settings.StartDelay = 3;
    Start();
    EXPECT_THAT(journal.Events(), ElementsAre("start", "green"));
    RunUntilClosed();
    EXPECT_THAT(journal.Events(), ElementsAre("start", "green", "checkered", "close"));
}

TEST_F(JournalHooks, AbortOnlyWhenConfirmed) {
    state.PracticeMode = true;
    Start();
    race.dialogs.answers.push_back(MessageAnswer::No);
    control.cmdStart_Click();
    EXPECT_THAT(journal.Events(), ElementsAre("start", "green"));
    race.dialogs.answers.push_back(MessageAnswer::Yes);
    control.cmdStart_Click();
    EXPECT_THAT(journal.Events(), ElementsAre("start", "green", "abort"));
    EXPECT_TRUE(journal.seen.back().timerRunning); // reported before the timer stops
}

TEST_F(JournalHooks, AStartRefusedIsNotReported) {
    state.Names.IdName[6].clear();
    Start();
    EXPECT_TRUE(journal.Events().empty());
}

} // namespace
} // namespace kesto
