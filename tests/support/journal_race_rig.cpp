#include "support/journal_race_rig.h"

namespace kesto::test {

Replayed ReplayJournalBytes(const std::string& bytes, const SoundChoices& choices) {
    Replayed replayed;
    replayed.sounds = choices;
    replayed.sounds.RaceSoundPlayed.fill(false);
    JournalContents contents = ReadJournal(bytes);
    EXPECT_TRUE(contents.headerValid);
    replayed.race = DescribeRace(std::move(contents));
    ReplayRace(replayed.race, replayed.state, replayed.sounds);
    return replayed;
}

void ExpectSameRace(const RaceState& expected, const RaceState& actual, bool exactClock) {
    EXPECT_EQ(expected.LapCount, actual.LapCount);
    EXPECT_EQ(expected.LastPassTime, actual.LastPassTime);
    EXPECT_EQ(expected.CurrentLapTime, actual.CurrentLapTime);
    EXPECT_EQ(expected.LastLapTime, actual.LastLapTime);
    EXPECT_EQ(expected.BestLapTime, actual.BestLapTime);
    EXPECT_EQ(expected.FinishLap, actual.FinishLap);
    EXPECT_EQ(expected.LagBehind, actual.LagBehind);
    EXPECT_EQ(expected.LagFirst, actual.LagFirst);
    EXPECT_EQ(expected.MedianLap, actual.MedianLap);
    EXPECT_EQ(expected.RacePosition, actual.RacePosition);
    EXPECT_EQ(expected.RaceOrder, actual.RaceOrder);
    EXPECT_TRUE(expected.LapTimes == actual.LapTimes) << "LapTimes differ";
    EXPECT_TRUE(expected.SortedLapTimes == actual.SortedLapTimes) << "SortedLapTimes differ";
    ASSERT_EQ(expected.RejectedPasses.size(), actual.RejectedPasses.size());
    for (size_t i = 0; i < expected.RejectedPasses.size(); ++i) {
        EXPECT_EQ(expected.RejectedPasses[i].id, actual.RejectedPasses[i].id);
        EXPECT_EQ(expected.RejectedPasses[i].timeMs, actual.RejectedPasses[i].timeMs);
        EXPECT_EQ(expected.RejectedPasses[i].sinceLastPassMs,
                  actual.RejectedPasses[i].sinceLastPassMs);
        EXPECT_EQ(expected.RejectedPasses[i].reason, actual.RejectedPasses[i].reason);
    }
    EXPECT_EQ(expected.RejectedPassesNotKept, actual.RejectedPassesNotKept);

    EXPECT_EQ(expected.Names.IdName, actual.Names.IdName);
    EXPECT_EQ(expected.Names.NamedId, actual.Names.NamedId);
    EXPECT_EQ(expected.Settings.MinLapTime, actual.Settings.MinLapTime);
    EXPECT_EQ(expected.Settings.FirstLapCount, actual.Settings.FirstLapCount);
    EXPECT_EQ(expected.Settings.IdColor, actual.Settings.IdColor);
    EXPECT_EQ(expected.Settings.TrackName, actual.Settings.TrackName);
    EXPECT_EQ(expected.SpeedMultiplier, actual.SpeedMultiplier);
    EXPECT_EQ(expected.PracticeMode, actual.PracticeMode);
    EXPECT_EQ(expected.LapRace, actual.LapRace);
    EXPECT_EQ(expected.TimedRace, actual.TimedRace);
    EXPECT_EQ(expected.NumberOfLaps, actual.NumberOfLaps);
    EXPECT_EQ(expected.RaceMinutes, actual.RaceMinutes);
    EXPECT_EQ(expected.DemoMode, actual.DemoMode);
    EXPECT_EQ(expected.RaceFormatText, actual.RaceFormatText);
    EXPECT_EQ(expected.BestColumnMode, actual.BestColumnMode);
    EXPECT_EQ(expected.LagColumnMode, actual.LagColumnMode);

    if (exactClock)
        EXPECT_EQ(expected.RaceClock, actual.RaceClock);
    else
        EXPECT_LE(actual.RaceClock, expected.RaceClock);
    EXPECT_EQ(expected.WhiteFlagOut, actual.WhiteFlagOut);
    EXPECT_EQ(expected.CheckeredFlagOut, actual.CheckeredFlagOut);
    EXPECT_EQ(expected.RaceIsOver, actual.RaceIsOver);
    EXPECT_EQ(expected.RaceCloseTime, actual.RaceCloseTime);
    EXPECT_EQ(expected.FlagBitmap, actual.FlagBitmap);
    EXPECT_EQ(expected.RaceDateStamp, actual.RaceDateStamp);
    EXPECT_EQ(expected.LapsUnsaved, actual.LapsUnsaved);
    EXPECT_EQ(expected.SummaryUnsaved, actual.SummaryUnsaved);
    EXPECT_EQ(expected.Button, actual.Button);
    EXPECT_EQ(expected.TimerEnabled, actual.TimerEnabled);
    EXPECT_EQ(expected.RtsRaised, actual.RtsRaised);

    EXPECT_EQ(expected.DemoNextPass, actual.DemoNextPass);
    EXPECT_EQ(expected.DemoLapBase, actual.DemoLapBase);
    EXPECT_EQ(expected.DemoLapSpread, actual.DemoLapSpread);
    EXPECT_EQ(expected.DemoCrashChance, actual.DemoCrashChance);
}

} // namespace kesto::test
