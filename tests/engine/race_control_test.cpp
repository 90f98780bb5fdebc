// The start button: the checks before a start, practice, abort and reset with
// their questions, and what each leaves in memory and on the screen.
#include "engine/race_control.h"
#include "engine/unsaved_results.h"
#include "support/race_rig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kesto {
namespace {

using test::RaceRig;

class StartButton_ : public ::testing::Test {
protected:
    StartButton_() {
        rig.NameAllCars();
        rig.control.ReSet();
    }
    // Leaves results of an earlier race in memory.
    void LeaveOldResults() {
        rig.state.LapCount[0] = 7;
        rig.state.LapTimes[0][3] = 5.5f;
        rig.state.SortedLapTimes[0][3] = 5.5f;
        rig.state.BestLapTime[0] = 5100;
    }
    RaceRig rig;
    RaceState& state = rig.state;
    test::FakeRaceScreen& screen = rig.screen;
    test::FakeDialogs& dialogs = rig.race.dialogs;
};

TEST_F(StartButton_, ResetShowsAnIdleScreen) {
    EXPECT_EQ(screen.nameLabels[0], " Racer 1");
    EXPECT_EQ(screen.cellsCleared, 1);
    EXPECT_EQ(screen.rowsPainted, 1);
    EXPECT_FALSE(screen.flagVisible);
    EXPECT_FALSE(screen.raceOverVisible);
    EXPECT_EQ(screen.button, StartButton::Start);
    EXPECT_TRUE(screen.buttonEnabled);
    EXPECT_TRUE(screen.AllMenusEnabled());
    EXPECT_EQ(screen.titlesComposed, 1);
    EXPECT_EQ(rig.race.random.reseeds, 1);
    EXPECT_EQ(screen.clockText, "00:00");
}

TEST_F(StartButton_, ResetOfATimedRaceShowsItsFullTimeInRed) {
    state.TimedRace = true;
    state.RaceMinutes = 5;
    state.RaceClock = 123000;
    rig.control.ReSet();
    EXPECT_EQ(state.RaceClock, 0);
    EXPECT_EQ(screen.clockText, "5:00");
    EXPECT_EQ(screen.clockColor, ClockRed);
}

TEST_F(StartButton_, MissingNameStopsTheStartAndResetsNothing) {
    LeaveOldResults();
    state.Names.IdName[2] = "";
    state.Names.IdName[8] = "";
    state.PracticeMode = true;
    rig.control.ReSet();
    EXPECT_EQ(screen.nameLabels[2], " Select Name");

    rig.control.cmdStart_Click();

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.last().title, "Select Name");
    EXPECT_EQ(dialogs.last().text, "Please select name for Flag 3");
    EXPECT_EQ(dialogs.last().buttons, MessageButtons::Ok);
    EXPECT_EQ(state.Button, StartButton::Start);
    EXPECT_TRUE(screen.AllMenusEnabled());
    EXPECT_FALSE(state.LapsUnsaved);
    EXPECT_FALSE(state.SummaryUnsaved);
    EXPECT_EQ(state.LapCount[0], 7);
    EXPECT_EQ(state.LapTimes[0][3], 5.5f);
    EXPECT_EQ(state.BestLapTime[0], 5100);
    EXPECT_FALSE(state.TimerEnabled);
}

TEST_F(StartButton_, ARacerNamedSelectNameCountsAsNoName) {
    state.Names.IdName[13] = "Select Name";
    rig.control.cmdStart_Click();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.last().text, "Please select name for Flag 14");
}

TEST_F(StartButton_, SameNamesAskBeforeTheStart) {
    state.Names.IdName[2] = "Ann";
    state.Names.IdName[4] = "Ann";
    state.PracticeMode = true;
    dialogs.answers = {MessageAnswer::No};

    rig.control.cmdStart_Click();

    ASSERT_EQ(dialogs.shown.size(), 1u);
    const Message& question = dialogs.last();
    EXPECT_EQ(question.title, "Same Names");
    EXPECT_EQ(question.text, "Warning, names in ID's 3 and 5 are the same\n"
                             "Do you want to continue race?");
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.defaultAnswer, MessageAnswer::No);
    EXPECT_EQ(state.Button, StartButton::Start);
    EXPECT_FALSE(state.LapsUnsaved);
    EXPECT_TRUE(screen.AllMenusEnabled());
}

TEST_F(StartButton_, EveryPairOfSameNamesIsAskedAbout) {
    state.Names.IdName[0] = "Bo";
    state.Names.IdName[5] = "Bo";
    state.Names.IdName[9] = "Bo";
    state.PracticeMode = true;
    dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::Yes};

    rig.control.cmdStart_Click();

    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_THAT(dialogs.shown[0].text, ::testing::StartsWith("Warning, names in ID's 1 and 6 "));
    EXPECT_THAT(dialogs.shown[1].text, ::testing::StartsWith("Warning, names in ID's 1 and 10 "));
    EXPECT_THAT(dialogs.shown[2].text, ::testing::StartsWith("Warning, names in ID's 6 and 10 "));
    EXPECT_EQ(state.Button, StartButton::Abort);
}

TEST_F(StartButton_, RowsNamedEmptyRaiseNoQuestion) {
    for (int i : {1, 4, 7, 12})
        state.Names.IdName[i] = "Empty"; // the name list's "Empty" entry
    state.PracticeMode = true;
    rig.control.cmdStart_Click();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(state.Button, StartButton::Abort);
}

TEST_F(StartButton_, PracticeStartsTimingAtOnce) {
    LeaveOldResults();
    state.PracticeMode = true;
    state.RaceClock = 5000;
    state.RaceDateStamp = "Dec-01, 9-00";
    rig.race.port.Feed(test::DecoderPassLine(3, 1000) + "@0400"); // waiting before the start
    rig.control.Input().Append("@05", {});

    rig.control.cmdStart_Click();

    EXPECT_EQ(state.Button, StartButton::Abort);
    EXPECT_EQ(screen.button, StartButton::Abort);
    EXPECT_TRUE(state.TimerEnabled);
    EXPECT_TRUE(screen.raceTimerRunning);
    EXPECT_TRUE(rig.race.port.rts);
    EXPECT_EQ(state.RaceClock, 0);
    EXPECT_TRUE(screen.flagVisible);
    EXPECT_EQ(screen.flagPicture, "GreenFlagblack.bmp");
    EXPECT_EQ(state.FlagBitmap, "GreenFlagblack.bmp");
    EXPECT_FALSE(screen.MenuEnabled(MainMenu::File));
    EXPECT_FALSE(screen.MenuEnabled(MainMenu::RaceFormat));
    EXPECT_FALSE(screen.MenuEnabled(MainMenu::Help));
    EXPECT_TRUE(screen.MenuEnabled(MainMenu::Settings));
    EXPECT_TRUE(state.LapsUnsaved);
    EXPECT_TRUE(state.SummaryUnsaved);
    EXPECT_EQ(state.RaceDateStamp, "");
    EXPECT_EQ(state.LapCount[0], 0);
    EXPECT_EQ(state.LapTimes[0][3], 0.0f);
    EXPECT_EQ(state.SortedLapTimes[0][3], 0.0f);
    EXPECT_EQ(state.BestLapTime[0], NoBestLap);
    EXPECT_EQ(rig.launcher.lightsShown + rig.launcher.countdownsShown, 0);
    // What waited before the start is stale, as at a race's green: dropped,
    // the start of a line too.
    EXPECT_TRUE(rig.race.port.input.empty());
    EXPECT_EQ(rig.control.Input().PendingSize(), 0u);
    rig.race.port.Feed(test::DecoderPassLine(3, 10));
    rig.Tick();
    EXPECT_EQ(state.LapCount[2], 1);
    EXPECT_EQ(state.LastPassTime[2], 10);
}

TEST_F(StartButton_, StartResetPutsEveryCarOnTheGrid) {
    state.Settings.FirstLapCount = -1;
    state.LastPassTime.fill(9000);
    state.LastLapTime.fill(4000);
    state.FinishLap.fill(12);
    state.LagBehind.fill("1Lap");
    state.LagFirst.fill("2Lap");
    state.RaceIsOver = true;
    state.RaceCloseTime = 5;
    rig.race.sounds.RaceSoundPlayed[TenSecondsLeft] = true;

    rig.control.StartReset();

    for (int i = 0; i < MaxCarIds; ++i) {
        EXPECT_EQ(state.LapCount[i], -1);
        EXPECT_EQ(state.LastPassTime[i], 0);
        EXPECT_EQ(state.LastLapTime[i], 0);
        EXPECT_EQ(state.FinishLap[i], NotFlaggedLap);
        EXPECT_EQ(state.LagBehind[i], "");
        EXPECT_EQ(state.LagFirst[i], "");
        EXPECT_EQ(state.BestLapTime[i], NoBestLap);
        EXPECT_EQ(state.RaceOrder[i], i + 1);
        EXPECT_EQ(state.RacePosition[i], i + 1);
        EXPECT_GE(state.DemoNextPass[i], 100);
        EXPECT_LE(state.DemoNextPass[i], 699);
    }
    EXPECT_EQ(state.RaceCloseTime, NoCloseTime);
    EXPECT_FALSE(state.RaceIsOver);
    EXPECT_FALSE(rig.race.sounds.RaceSoundPlayed[TenSecondsLeft]);
}

TEST_F(StartButton_, LapRaceWithoutDelayOpensTheStartLights) {
    state.LapRace = true;
    state.NumberOfLaps = 10;
    state.Settings.StartDelay = 0;
    rig.control.cmdStart_Click();
    EXPECT_EQ(rig.launcher.countdownsShown, 0);
    EXPECT_EQ(rig.launcher.lightsShown, 1);
    EXPECT_EQ(state.Button, StartButton::Abort);
    EXPECT_TRUE(state.TimerEnabled);
    EXPECT_TRUE(rig.race.port.rts);
    EXPECT_EQ(screen.flagPicture, "GreenFlagblack.bmp");
}

TEST_F(StartButton_, StartDelayOpensTheCountdownFirst) {
    state.TimedRace = true;
    state.RaceMinutes = 5;
    state.Settings.StartDelay = 10;
    rig.control.ReSet();
    EXPECT_EQ(screen.clockColor, ClockRed);
    bool timingDuringCountdown = false;
    rig.launcher.beforeCountdownTick = [&](CountdownSequence&) {
        timingDuringCountdown |= state.TimerEnabled;
        EXPECT_EQ(state.Button, StartButton::Start);
    };

    rig.control.cmdStart_Click();

    EXPECT_EQ(rig.launcher.countdownsShown, 1);
    EXPECT_EQ(rig.launcher.lightsShown, 1);
    EXPECT_THAT(rig.launcher.countdownNumbers,
                ::testing::ElementsAre(10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0));
    EXPECT_FALSE(timingDuringCountdown);
    EXPECT_TRUE(state.TimerEnabled);
    EXPECT_EQ(screen.clockColor, ClockWhite);
    EXPECT_EQ(state.Button, StartButton::Abort);
}

TEST_F(StartButton_, AbortAnsweredNoChangesNothing) {
    state.PracticeMode = true;
    rig.control.cmdStart_Click();
    rig.race.port.Feed(test::DecoderPassLine(2, 1500));
    rig.Tick();
    dialogs.answers = {MessageAnswer::No};

    rig.control.cmdStart_Click();

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.last().title, "Abort");
    EXPECT_EQ(dialogs.last().text, "Are you sure you want to abort?\nAll Data will be lost");
    EXPECT_EQ(dialogs.last().icon, MessageIcon::Question);
    EXPECT_EQ(dialogs.last().buttons, MessageButtons::YesNo);
    EXPECT_EQ(state.Button, StartButton::Abort);
    EXPECT_TRUE(state.TimerEnabled);
    EXPECT_TRUE(rig.race.port.rts);
    EXPECT_TRUE(state.LapsUnsaved);
}

TEST_F(StartButton_, AbortStopsTimingAndKeepsTheLapsUntilTheNextStart) {
    state.LapRace = true;
    state.NumberOfLaps = 10;
    rig.control.cmdStart_Click();
    rig.race.port.Feed(test::DecoderClockLine(5000) + test::DecoderPassLine(4, 5000));
    rig.Tick(5000); // the decoder's clock and the race timer's agree
    ASSERT_EQ(state.LapCount[3], 1);
    state.WhiteFlagOut = true; // as if the flag had been shown
    dialogs.answers = {MessageAnswer::Yes};

    rig.control.cmdStart_Click();

    EXPECT_EQ(state.Button, StartButton::Start);
    EXPECT_EQ(screen.button, StartButton::Start);
    EXPECT_FALSE(state.TimerEnabled);
    EXPECT_FALSE(screen.raceTimerRunning);
    EXPECT_FALSE(rig.race.port.rts);
    EXPECT_FALSE(state.LapsUnsaved);
    EXPECT_FALSE(state.SummaryUnsaved);
    EXPECT_FALSE(state.RaceIsOver);
    EXPECT_FALSE(state.WhiteFlagOut);
    EXPECT_FALSE(state.CheckeredFlagOut);
    EXPECT_EQ(state.RaceClock, 0);
    EXPECT_FALSE(screen.flagVisible);
    EXPECT_TRUE(screen.AllMenusEnabled());
    EXPECT_EQ(screen.cellsCleared, 2);
    // The aborted race's laps stay in memory.
    EXPECT_EQ(state.LapCount[3], 1);
    EXPECT_EQ(state.LapTimes[3][1], 5.0f);
    EXPECT_EQ(state.LastPassTime[3], 5000);
}

TEST(RaceControlReset, QuestionsAboutUnsavedResults) {
    struct Case {
        bool laps, summary;
        const char* title;
        const char* firstLine;
    };
    for (const Case& c :
         {Case{true, true, "Files not saved", "Summary & Lap files have not be saved."},
          Case{false, true, "Summary not saved", "Summary file has not be saved."},
          Case{true, false, "Laps not saved", "Lap file has not be saved."}}) {
        for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
            RaceRig rig;
            rig.NameAllCars();
            rig.state.Button = StartButton::Reset;
            rig.state.RaceIsOver = true;
            rig.state.LapsUnsaved = c.laps;
            rig.state.SummaryUnsaved = c.summary;
            rig.state.LapCount[5] = 9;
            rig.state.LapTimes[5][9] = 6.25f;
            rig.state.SortedLapTimes[5][9] = 6.25f;
            rig.state.BestLapTime[5] = 6100;
            rig.state.CheckeredFlagOut = true;
            rig.state.RaceClock = 71000;
            rig.race.dialogs.answers = {answer};

            rig.control.cmdStart_Click();

            ASSERT_EQ(rig.race.dialogs.shown.size(), 1u);
            const Message& m = rig.race.dialogs.last();
            EXPECT_EQ(m.title, c.title);
            EXPECT_EQ(m.text, std::string(c.firstLine) + "\nDo you want to Reset?");
            EXPECT_EQ(m.icon, MessageIcon::Warning);
            EXPECT_EQ(m.buttons, MessageButtons::YesNo);
            if (answer == MessageAnswer::No) {
                EXPECT_EQ(rig.state.Button, StartButton::Reset);
                EXPECT_EQ(rig.state.LapsUnsaved, c.laps);
                EXPECT_EQ(rig.state.SummaryUnsaved, c.summary);
                EXPECT_EQ(rig.state.LapCount[5], 9);
                EXPECT_EQ(rig.state.LapTimes[5][9], 6.25f);
            } else {
                EXPECT_EQ(rig.state.Button, StartButton::Start);
                EXPECT_FALSE(rig.state.LapsUnsaved);
                EXPECT_FALSE(rig.state.SummaryUnsaved);
                EXPECT_FALSE(rig.state.RaceIsOver);
                EXPECT_FALSE(rig.state.CheckeredFlagOut);
                EXPECT_EQ(rig.state.RaceClock, 0);
                EXPECT_EQ(rig.state.LapCount[5], 0);
                EXPECT_EQ(rig.state.LapTimes[5][9], 0.0f);
                EXPECT_EQ(rig.state.SortedLapTimes[5][9], 0.0f);
                EXPECT_EQ(rig.state.BestLapTime[5], NoBestLap);
                EXPECT_TRUE(rig.screen.AllMenusEnabled());
                EXPECT_FALSE(rig.screen.raceOverVisible);
            }
        }
    }
}

// Enter takes the default button: the dialogs double answers with it.
TEST(RaceControlQuestions, EveryQuestionThatThrowsResultsAwayDefaultsToNo) {
    RaceRig reset;
    reset.state.Button = StartButton::Reset;
    reset.state.RaceIsOver = true;
    reset.state.LapsUnsaved = true;
    reset.control.cmdStart_Click();
    EXPECT_EQ(reset.race.dialogs.last().defaultAnswer, MessageAnswer::No);
    EXPECT_EQ(reset.state.Button, StartButton::Reset);

    RaceRig abort;
    abort.NameAllCars();
    abort.state.PracticeMode = true; // timing at once
    abort.control.cmdStart_Click();
    ASSERT_EQ(abort.state.Button, StartButton::Abort);
    abort.control.cmdStart_Click();
    EXPECT_EQ(abort.race.dialogs.last().title, "Abort");
    EXPECT_EQ(abort.race.dialogs.last().defaultAnswer, MessageAnswer::No);
    EXPECT_EQ(abort.state.Button, StartButton::Abort);

    test::FakeDialogs exitDialogs;
    reset.state.SummaryUnsaved = true;
    EXPECT_FALSE(ConfirmUnsavedResults(exitDialogs, reset.state, "Do you want to exit?"));
    EXPECT_EQ(exitDialogs.last().defaultAnswer, MessageAnswer::No);
}

TEST(RaceControlReset, SavedResultsResetWithoutAQuestion) {
    RaceRig rig;
    rig.state.Button = StartButton::Reset;
    rig.control.cmdStart_Click();
    EXPECT_TRUE(rig.race.dialogs.shown.empty());
    EXPECT_EQ(rig.state.Button, StartButton::Start);
}

} // namespace
} // namespace kesto
