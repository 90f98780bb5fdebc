// A race rebuilt from its journal is the race as it was: whole races run
// through race control and the race tick with a journal on disk, and at cuts
// anywhere (mid-race, after the white flag, after the close, in the middle of
// a line) the journal replays into a fresh state equal to the live one. A
// race resumed from a cut runs on to the same result as the race never cut.
#include "engine/journal_replay.h"

#include "support/journal_race_rig.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <random>

namespace kesto {
namespace {

using test::DecoderFeed;
using test::ExpectSameRace;
using test::JournalRig;
using test::ReplayJournalBytes;

class JournalReplay : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        live = std::make_unique<JournalRig>(folder / "live");
        std::filesystem::create_directories(folder / "live");
        std::filesystem::create_directories(folder / "resumed");
    }

    std::string JournalBytes(const JournalRig& rig) const { return ReadBytes(rig.journal.Path()); }

    // The journal as it is now replays into the live race.
    void ExpectReplayMatches(const std::string& where, bool exactClock = true) {
        SCOPED_TRACE(where);
        const test::Replayed replayed = ReplayJournalBytes(JournalBytes(*live), live->race.sounds);
        EXPECT_FALSE(replayed.race.tailDropped);
        ExpectSameRace(live->state, replayed.state, exactClock);
        // The decoder's clock as the race knew it, waiting lines and all.
        const DecoderClock& clock = live->state.Decoder;
        EXPECT_EQ(clock.OffsetMs(), replayed.state.Decoder.OffsetMs());
        EXPECT_EQ(clock.WaitingLines(), replayed.state.Decoder.WaitingLines());
        EXPECT_EQ(clock.ClockPeriodMs(), replayed.state.Decoder.ClockPeriodMs());
        ++cuts;
    }

    // Ticks until the race closes (or `maxTicks`), checking a replay every
    // `every` ticks and right after each flag and the close.
    void RunWithCuts(DecoderFeed& feed, int every, int maxTicks = 100000) {
        for (int tick = 1; tick <= maxTicks && live->state.TimerEnabled; ++tick) {
            const bool white = live->state.WhiteFlagOut;
            const bool checkered = live->state.CheckeredFlagOut;
            if (live->state.DemoMode)
                live->tick.Timer1_Timer(10);
            else
                feed.Tick(*live);
            if (tick % every == 0)
                ExpectReplayMatches("tick " + std::to_string(tick), !live->state.DemoMode);
            else if (white != live->state.WhiteFlagOut)
                ExpectReplayMatches("white flag", !live->state.DemoMode);
            else if (checkered != live->state.CheckeredFlagOut)
                ExpectReplayMatches("checkered flag", !live->state.DemoMode);
            if (HasFatalFailure())
                return;
        }
    }

    // A second program in its own folder: the journal of the cut copied
    // there, replayed, continued and resumed, as the next start would.
    // `whileDown` runs before the resume, which comes at decoder clock tick
    // time `resumeAtMs` (0: right after the journal's last line).
    std::unique_ptr<JournalRig> Resume(const std::string& journalBytes,
                                       const std::function<void(JournalRig&)>& whileDown = {},
                                       int64_t resumeAtMs = 0) {
        auto rig = std::make_unique<JournalRig>(folder / "resumed");
        WriteBytes(rig->journal.Path(), journalBytes);
        std::optional<UnfinishedRace> race = FindUnfinishedRace(folder / "resumed");
        EXPECT_TRUE(race.has_value());
        if (!race)
            return rig;
        rig->race.sounds = live->race.sounds;
        rig->race.sounds.RaceSoundPlayed.fill(false);
        ReplayRace(*race, rig->state, rig->race.sounds);
        EXPECT_TRUE(rig->journal.ContinueExisting());
        if (whileDown)
            whileDown(*rig);
        rig->control.ResumeRace(resumeAtMs > 0 ? resumeAtMs - rig->state.Decoder.Now() : 0);
        return rig;
    }

    std::unique_ptr<JournalRig> live;
    int cuts = 0;
};

// --- every cut replays into the live race -------------------------------------------

TEST_F(JournalReplay, DecoderLapRace) {
    live->state.LapRace = true;
    live->state.NumberOfLaps = 10;
    live->state.RaceFormatText = "10 Lap Race";
    live->state.Settings.StartDelay = 0;
    DecoderFeed feed = DecoderFeed::Race(8, 12, 7);
    live->Start();
    ASSERT_TRUE(live->state.TimerEnabled);
    RunWithCuts(feed, 450);
    ASSERT_TRUE(live->state.RaceIsOver);
    EXPECT_FALSE(live->state.RejectedPasses.empty());
    ExpectReplayMatches("closed");

    // Saving the results is recorded too; a race with its results saved is
    // not offered again.
    EXPECT_TRUE(FindUnfinishedRace(folder / "live").has_value());
    live->state.LapsUnsaved = false;
    live->journal.Record(JournalEvent::UnsavedMarks(false, true));
    ExpectReplayMatches("laps saved");
    EXPECT_TRUE(FindUnfinishedRace(folder / "live").has_value());
    live->state.SummaryUnsaved = false;
    live->journal.Record(JournalEvent::UnsavedMarks(false, false));
    ExpectReplayMatches("all saved");
    EXPECT_FALSE(FindUnfinishedRace(folder / "live").has_value());
    EXPECT_GE(cuts, 15);
}

TEST_F(JournalReplay, DecoderTimedRaceWithFirstLapRuleAndMedianColumn) {
    live->state.TimedRace = true;
    live->state.RaceMinutes = 2;
    live->state.Settings.FirstLapCount = -1;
    live->state.BestColumnMode = MedianMode;
    live->state.LagColumnMode = LagFirstMode;
    live->state.Settings.StartDelay = 3;
    DecoderFeed feed = DecoderFeed::Race(14, 40, 11);
    live->Start();
    RunWithCuts(feed, 1300);
    ASSERT_TRUE(live->state.RaceIsOver);
    ExpectReplayMatches("closed");
    EXPECT_GE(cuts, 10);
}

TEST_F(JournalReplay, PracticeWithBestLapClearsNamesAndSettingsChanged) {
    live->state.PracticeMode = true;
    DecoderFeed feed = DecoderFeed::Race(5, 30, 3);
    live->Start();
    ASSERT_TRUE(live->state.TimerEnabled);
    for (int tick = 1; tick <= 9000; ++tick) {
        feed.Tick(*live);
        if (tick == 2000 || tick == 6000) { // the window's best-lap click
            live->journal.Record(JournalEvent::BestLapCleared(2));
            live->state.BestLapTime[1] = NoBestLap;
        }
        if (tick == 4000) {
            live->journal.Record(JournalEvent::BestLapCleared(0));
            live->state.BestLapTime.fill(NoBestLap);
        }
        if (tick == 3000) { // the settings window's OK and a column click during practice
            live->state.Settings.MinLapTime = 6;
            live->state.Settings.IdColor[2] = 0x123456;
            live->state.LagColumnMode = MedianMode;
            live->journal.Record(JournalEvent::SettingsChanged(live->state));
        }
        if (tick == 5000) { // a name chosen during practice
            live->journal.Record(JournalEvent::NameChosen(4, "Ann Smith"));
            live->state.Names.IdName[3] = "Ann Smith";
            live->state.Names.NamedId[3] = 4;
        }
        if (tick % 700 == 0 || tick == 2001 || tick == 3001 || tick == 5001)
            ExpectReplayMatches("tick " + std::to_string(tick));
        if (HasFatalFailure())
            return;
    }
    EXPECT_EQ(live->state.Names.IdName[3], "Ann Smith");
    EXPECT_NE(live->state.MedianLap[0], "");
}

TEST_F(JournalReplay, DecoderThatRestartsItsClockAndSendsCorruptedLines) {
    live->state.LapRace = true;
    live->state.NumberOfLaps = 12;
    live->state.Settings.StartDelay = 0;
    DecoderFeed feed = DecoderFeed::Race(8, 14, 9);
    feed.restarts = {21370, 47120};
    feed.noise = {{6010, "@0299595999\n"},
                  {9230, "@00100009\n"},
                  {33330, "@03+1+1+1+1\n"},
                  {40000, "@00000000\n"}};
    live->Start();
    // Cuts every 0.37 s, so some fall while lines wait for the clock to settle.
    RunWithCuts(feed, 37);
    ASSERT_TRUE(live->state.RaceIsOver);
    // The four corrupted lines, and no passing lost to the restarts.
    EXPECT_EQ(live->state.RejectedPasses.size() -
                  std::count_if(live->state.RejectedPasses.begin(),
                                live->state.RejectedPasses.end(),
                                [](const RejectedPass& pass) {
                                    return pass.reason == RejectReason::UnderMinimumLap ||
                                           pass.reason == RejectReason::DistanceRun;
                                }),
              4u);
    ExpectReplayMatches("closed");
}

TEST_F(JournalReplay, AFloodOfLinesThatChangeNothingIsNotJournaledAndEachTickReadsABoundedAmount) {
    live->state.PracticeMode = true;
    DecoderFeed feed = DecoderFeed::Race(3, 10, 4);
    live->Start();
    for (int tick = 0; tick < 300; ++tick)
        feed.Tick(*live);
    const size_t before = JournalBytes(*live).size();
    std::string flood;
    while (flood.size() < 400000)
        flood += "\n\r\n#noise\n@15123456\n@\n";
    live->race.port.Feed(flood);
    for (int tick = 0; tick < 300; ++tick) {
        const size_t waiting = live->race.port.input.size();
        feed.Tick(*live);
        EXPECT_LE(waiting - live->race.port.input.size(), static_cast<size_t>(MaxBytesPerTick))
            << "tick " << tick;
    }
    EXPECT_TRUE(live->race.port.input.empty());
    // Three seconds of the decoder's own lines and their refreshes, nothing of the flood.
    EXPECT_LT(JournalBytes(*live).size() - before, 4000u);
    ExpectReplayMatches("after the flood");
}

TEST_F(JournalReplay, WhatATickRecordsIsWrittenOnceAndSyncedAtMostOnce) {
    static std::atomic<int> writes{0}, syncs{0};
    SetJournalFaultHookForTesting([](std::string_view step) {
        if (step == "write")
            ++writes;
        else if (step == "sync")
            ++syncs;
        return 0;
    });
    DecoderFeed feed = DecoderFeed::Race(14, 20, 5);
    live->Start();
    live->journal.WaitUntilSynced();
    writes = syncs = 0;
    for (int tick = 0; tick < 300; ++tick) {
        const int before = writes;
        feed.Tick(*live); // a line or a clock line with its refresh: two events and more
        EXPECT_LE(writes - before, 1) << "tick " << tick;
    }
    live->journal.WaitUntilSynced();
    EXPECT_LE(syncs, writes);
    SetJournalFaultHookForTesting(nullptr);
    ExpectReplayMatches("after 300 ticks");
}

TEST_F(JournalReplay, DemoRace) {
    std::mt19937 engine(20261208);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    for (int i = 0; i < 100000; ++i)
        live->race.random.values.push_back(uniform(engine));
    live->state.DemoMode = true;
    live->state.LapRace = true;
    live->state.NumberOfLaps = 12;
    live->state.Settings.StartDelay = 0;
    live->Start();
    DecoderFeed none;
    RunWithCuts(none, 333);
    ASSERT_TRUE(live->state.RaceIsOver);
    ExpectReplayMatches("closed", false);
}

// --- torn lines ---------------------------------------------------------------------

TEST_F(JournalReplay, ATornLastLineReplaysTheRaceBeforeIt) {
    live->state.LapRace = true;
    live->state.NumberOfLaps = 10;
    DecoderFeed feed = DecoderFeed::Race(6, 12, 5);
    live->Start();
    for (int tick = 0; tick < 2500; ++tick)
        feed.Tick(*live);
    // Tick on until a tick writes something; tear that tick's first line.
    const RaceState before = live->state;
    const std::string whole = JournalBytes(*live);
    std::string after = whole;
    while (after == whole)
        feed.Tick(*live), after = JournalBytes(*live);
    const size_t firstNew = after.find('\n', whole.size());
    const std::string torn = after.substr(0, (whole.size() + firstNew) / 2);

    test::Replayed replayed = ReplayJournalBytes(torn, live->race.sounds);
    EXPECT_TRUE(replayed.race.tailDropped);
    ExpectSameRace(before, replayed.state);
}

// --- resumed races end as the race never cut -------------------------------------------

class JournalResume : public JournalReplay {
protected:
    // The same race uninterrupted, in a rig of its own.
    RaceState Uninterrupted(const std::function<void(JournalRig&)>& setUp, DecoderFeed feed) {
        JournalRig rig(folder / "whole");
        setUp(rig);
        rig.Start();
        for (int tick = 0; tick < 100000 && rig.state.TimerEnabled; ++tick)
            feed.Tick(rig);
        EXPECT_TRUE(rig.state.RaceIsOver);
        played = rig.race.player.played;
        sounds = rig.race.sounds;
        return rig.state;
    }

    // Runs the live race to `cutTick`, "kills" it there (optionally tearing the
    // journal's last line), resumes in a new program and runs to the close.
    std::unique_ptr<JournalRig> CutAndResume(const std::function<void(JournalRig&)>& setUp,
                                             DecoderFeed& feed, int cutTick, bool tear) {
        setUp(*live);
        live->Start();
        for (int tick = 0; tick < cutTick; ++tick)
            feed.Tick(*live);
        std::string bytes = JournalBytes(*live);
        if (tear) {
            // The last tick's lines cut off in the middle of its first one.
            bytes += "77 line 123";
        }
        auto resumed = Resume(bytes);
        for (int tick = 0; tick < 100000 && resumed->state.TimerEnabled; ++tick)
            feed.Tick(*resumed);
        EXPECT_TRUE(resumed->state.RaceIsOver);
        return resumed;
    }

    std::vector<std::string> played;
    SoundChoices sounds;
};

void LapRace(JournalRig& rig) {
    rig.state.LapRace = true;
    rig.state.NumberOfLaps = 10;
    rig.state.Settings.StartDelay = 0;
}

void TimedRace(JournalRig& rig) {
    rig.state.TimedRace = true;
    rig.state.RaceMinutes = 2;
    rig.state.Settings.StartDelay = 0;
}

TEST_F(JournalResume, LapRaceCutMidRace) {
    const DecoderFeed plan = DecoderFeed::Race(8, 12, 21);
    const RaceState whole = Uninterrupted(LapRace, plan);
    DecoderFeed feed = plan;
    auto resumed = CutAndResume(LapRace, feed, 2345, false);
    ExpectSameRace(whole, resumed->state);
    EXPECT_EQ(resumed->race.sounds.RaceSoundPlayed, sounds.RaceSoundPlayed);
    // The resumed journal holds the whole race.
    ExpectSameRace(resumed->state, ReplayJournalBytes(JournalBytes(*resumed), sounds).state);
}

TEST_F(JournalResume, LapRaceCutAfterTheWhiteFlagWithATornLine) {
    const DecoderFeed plan = DecoderFeed::Race(8, 12, 22);
    const RaceState whole = Uninterrupted(LapRace, plan);
    // Find a tick just after the white flag in a dry run.
    int whiteTick = 0;
    {
        JournalRig dry(folder / "dry");
        LapRace(dry);
        dry.Start();
        DecoderFeed feed = plan;
        while (!dry.state.WhiteFlagOut)
            feed.Tick(dry), ++whiteTick;
    }
    DecoderFeed feed = plan;
    auto resumed = CutAndResume(LapRace, feed, whiteTick + 3, true);
    EXPECT_TRUE(resumed->state.WhiteFlagOut);
    ExpectSameRace(whole, resumed->state);
    // The white flag was not shown, nor announced, a second time.
    EXPECT_EQ(std::count(resumed->race.player.played.begin(), resumed->race.player.played.end(),
                         "White Flag.wav"),
              0);
    EXPECT_EQ(std::count(resumed->screen.flagsShown.begin(), resumed->screen.flagsShown.end(),
                         WhiteFlagBitmap),
              1); // the resume shows the flag that is out
}

TEST_F(JournalResume, TimedRaceAnnouncementsDueArentMadeAgain) {
    const DecoderFeed plan = DecoderFeed::Race(10, 40, 23);
    const RaceState whole = Uninterrupted(TimedRace, plan);
    auto count = [](const std::vector<std::string>& played, const char* file) {
        return std::count(played.begin(), played.end(), file);
    };
    ASSERT_EQ(count(played, "1 Minute Left.wav"), 1);
    ASSERT_EQ(count(played, "halfway thru the race.wav"), 1);
    ASSERT_EQ(count(played, "10 Seconds Left.wav"), 1);

    DecoderFeed feed = plan;
    auto resumed = CutAndResume(TimedRace, feed, 7000, false); // 70 s: 50 s left
    ExpectSameRace(whole, resumed->state);
    const auto& again = resumed->race.player.played;
    EXPECT_EQ(count(again, "1 Minute Left.wav"), 0);
    EXPECT_EQ(count(again, "halfway thru the race.wav"), 0);
    EXPECT_EQ(count(again, "10 Seconds Left.wav"), 1);
    EXPECT_EQ(count(again, "Checkered Flag.wav"), 1);
    EXPECT_EQ(resumed->race.sounds.RaceSoundPlayed, sounds.RaceSoundPlayed);
}

TEST_F(JournalResume, DecoderClockRestartedByTheResumeKeepsEveryLapTime) {
    // The timer is down for 3.55 s; the decoder's lines of that time wait in
    // the port. The resume raises RTS and the decoder starts its clock from
    // zero: the race must come out as the race never cut. (The restart falls
    // on a whole second, so the clock lines come at the race times they did.)
    const DecoderFeed plan = DecoderFeed::Race(8, 12, 25);
    const RaceState whole = Uninterrupted(LapRace, plan);
    DecoderFeed feed = plan;
    LapRace(*live);
    live->Start();
    for (int tick = 0; tick < 2345; ++tick)
        feed.Tick(*live);
    const int32_t downMs = 3550;
    const int32_t resumeAt = feed.decoderMs + downMs;
    feed.restarts = {resumeAt};
    auto resumed = Resume(
        JournalBytes(*live), [&](JournalRig& rig) { feed.Down(rig, downMs); }, resumeAt);
    for (int tick = 0; tick < 100000 && resumed->state.TimerEnabled; ++tick)
        feed.Tick(*resumed);
    ASSERT_TRUE(resumed->state.RaceIsOver);
    ExpectSameRace(whole, resumed->state);
}

TEST_F(JournalResume, ClosedRaceComesBackClosed) {
    const DecoderFeed plan = DecoderFeed::Race(6, 12, 24);
    LapRace(*live);
    live->Start();
    DecoderFeed feed = plan;
    while (live->state.TimerEnabled)
        feed.Tick(*live);
    ASSERT_TRUE(live->state.RaceIsOver);
    auto resumed = Resume(JournalBytes(*live));
    ExpectSameRace(live->state, resumed->state);
    const test::FakeRaceScreen& screen = resumed->screen;
    EXPECT_EQ(screen.button, StartButton::Reset);
    EXPECT_TRUE(screen.raceOverVisible);
    EXPECT_FALSE(screen.raceTimerRunning);
    EXPECT_FALSE(resumed->race.port.rts);
    EXPECT_TRUE(screen.MenuEnabled(MainMenu::File));
    EXPECT_FALSE(screen.MenuEnabled(MainMenu::RaceFormat));
    EXPECT_FALSE(screen.MenuEnabled(MainMenu::Help));
    EXPECT_EQ(screen.flagPicture, CheckeredFlagBitmap);

    // Reset ends the race for good: the journal goes, nothing is offered.
    resumed->race.dialogs.answers.push_back(MessageAnswer::Yes);
    resumed->control.cmdStart_Click();
    EXPECT_EQ(resumed->state.Button, StartButton::Start);
    EXPECT_FALSE(std::filesystem::exists(resumed->journal.Path()));
    EXPECT_FALSE(FindUnfinishedRace(folder / "resumed").has_value());
}

TEST_F(JournalResume, TheScreenAndTimingOfARaceResumedMidRace) {
    LapRace(*live);
    live->Start();
    DecoderFeed feed = DecoderFeed::Race(6, 12, 25);
    for (int tick = 0; tick < 1500; ++tick)
        feed.Tick(*live);
    auto resumed = Resume(JournalBytes(*live));
    const test::FakeRaceScreen& screen = resumed->screen;
    EXPECT_EQ(screen.button, StartButton::Abort);
    EXPECT_FALSE(screen.raceOverVisible);
    EXPECT_TRUE(screen.raceTimerRunning);
    EXPECT_TRUE(resumed->state.TimerEnabled);
    EXPECT_TRUE(resumed->race.port.rts);
    EXPECT_FALSE(screen.MenuEnabled(MainMenu::File));
    EXPECT_FALSE(screen.MenuEnabled(MainMenu::RaceFormat));
    EXPECT_FALSE(screen.MenuEnabled(MainMenu::Help));
    EXPECT_TRUE(screen.MenuEnabled(MainMenu::Settings));
    EXPECT_EQ(screen.flagPicture, GreenFlagBitmap);
    EXPECT_EQ(screen.nameLabels[0], " Racer 1");
    EXPECT_EQ(screen.clockText, "0:15");
    EXPECT_EQ(screen.raceUpdates, 1);
    EXPECT_GE(screen.titlesComposed, 1);
}

// --- what is offered -------------------------------------------------------------------

TEST_F(JournalReplay, OnlyARaceThatReachedGreenAndWasNotAbortedIsOffered) {
    EXPECT_FALSE(FindUnfinishedRace(folder / "live").has_value());

    // Stopped in the countdown: no race began.
    live->state.LapRace = true;
    live->state.NumberOfLaps = 5;
    live->state.Settings.StartDelay = 5;
    live->launcher.beforeCountdownTick = [&](CountdownSequence&) {
        EXPECT_FALSE(FindUnfinishedRace(folder / "live").has_value());
        live->launcher.beforeCountdownTick = nullptr;
    };
    live->Start();
    std::optional<UnfinishedRace> race = FindUnfinishedRace(folder / "live");
    ASSERT_TRUE(race.has_value());
    EXPECT_TRUE(race->reachedGreen);
    EXPECT_FALSE(race->closed);

    live->race.dialogs.answers.push_back(MessageAnswer::Yes);
    live->control.cmdStart_Click(); // Abort
    EXPECT_FALSE(FindUnfinishedRace(folder / "live").has_value());
    EXPECT_FALSE(std::filesystem::exists(live->journal.Path()));
}

TEST_F(JournalReplay, ADeclinedJournalIsSetAside) {
    live->state.PracticeMode = true;
    live->Start();
    DecoderFeed feed = DecoderFeed::Race(3, 5, 1);
    for (int tick = 0; tick < 800; ++tick)
        feed.Tick(*live);
    const std::string bytes = JournalBytes(*live);
    std::optional<UnfinishedRace> race = FindUnfinishedRace(folder / "live");
    ASSERT_TRUE(race.has_value());
    EXPECT_EQ(race->raceFormatText, live->state.RaceFormatText);
    EXPECT_GE(race->passes, 3);
    EXPECT_EQ(race->lastRaceClock, 8000);

    std::string older = JournalHeaderLine(); // a race declined before
    AppendJournalLine(older, 1, JournalEvent::RaceStarted(RaceState()));
    WriteBytes(folder / "live" / "KestoRace.jnl.old", older);
    EXPECT_EQ(SetJournalAside(folder / "live"), "");
    EXPECT_FALSE(FindUnfinishedRace(folder / "live").has_value());
    EXPECT_EQ(ReadBytes(folder / "live" / "KestoRace.jnl.old"), bytes);
    EXPECT_EQ(SetJournalAside(folder / "live"), ""); // nothing there: nothing happens
    EXPECT_EQ(ReadBytes(folder / "live" / "KestoRace.jnl.old"), bytes);
}

TEST_F(JournalReplay, ALinkOrForeignFileInTheCopysPlaceKeepsTheJournalWhereItIs) {
    live->state.PracticeMode = true;
    live->Start();
    const std::filesystem::path program = folder / "live";
    const std::string bytes = JournalBytes(*live);
    WriteBytes(folder / "precious.txt", "PRECIOUS DATA");
    std::filesystem::create_symlink(folder / "precious.txt", program / "KestoRace.jnl.old");
    EXPECT_EQ(SetJournalAside(program),
              (program / "KestoRace.jnl.old").string() + " is not a race journal: left as it is");
    std::filesystem::remove(program / "KestoRace.jnl.old");
    WriteBytes(program / "KestoRace.jnl.old", "PRECIOUS DATA");
    EXPECT_NE(SetJournalAside(program), "");
    EXPECT_EQ(ReadBytes(program / "KestoRace.jnl.old"), "PRECIOUS DATA");
    EXPECT_EQ(ReadBytes(folder / "precious.txt"), "PRECIOUS DATA");
    EXPECT_EQ(JournalBytes(*live), bytes); // never deleted for want of a copy
}

// --- the journal never costs the race anything -----------------------------------------

TEST_F(JournalReplay, ARaceWhoseJournalCannotBeWrittenEndsAsWithout) {
    JournalRig broken(folder / "no such folder");
    LapRace(broken);
    LapRace(*live);
    DecoderFeed a = DecoderFeed::Race(8, 12, 30);
    DecoderFeed b = a;
    broken.Start();
    live->Start();
    while (live->state.TimerEnabled || broken.state.TimerEnabled) {
        if (live->state.TimerEnabled)
            a.Tick(*live);
        if (broken.state.TimerEnabled)
            b.Tick(broken);
    }
    ExpectSameRace(live->state, broken.state);
    EXPECT_EQ(live->race.player.played, broken.race.player.played);
    EXPECT_NE(broken.journal.LastError(), "");
    EXPECT_EQ(live->journal.LastError(), "");
}

// --- what replay computes on a refresh is what the race screen computes -----------------

TEST_F(JournalReplay, RefreshesComputeWhatTheRaceScreenComputes) {
    // Refreshes on whole and even seconds with the median shown: the sorted
    // lap tables and the medians must agree with the display's own.
    int run = 0;
    for (const char* mode : {BestLapMode, MedianMode}) {
        for (bool practice : {false, true}) {
            SCOPED_TRACE(std::string(mode) + (practice ? " practice" : " race"));
            const auto dir = folder / ("run" + std::to_string(++run));
            std::filesystem::create_directories(dir);
            JournalRig rig(dir);
            rig.state.PracticeMode = practice;
            rig.state.BestColumnMode = mode;
            rig.state.LapRace = !practice;
            rig.state.NumberOfLaps = 50;
            rig.Start();
            DecoderFeed feed = DecoderFeed::Race(14, 30, 99);
            for (int tick = 0; tick < 6000; ++tick)
                feed.Tick(rig);
            ExpectSameRace(rig.state, ReplayJournalBytes(JournalBytes(rig), rig.race.sounds).state);
        }
    }
}

} // namespace
} // namespace kesto
