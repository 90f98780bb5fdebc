// A race journal on a disk that fills up or turns read-only in the middle of a
// race, for real (a small tmpfs of the test's own; skipped where the test may
// not mount one): the race screen shows the fault at once, the race itself
// ends as without it, a start-up in between tells the race is not whole, and
// once the disk takes the journal again it catches up to the whole race.
#include "display/resume_offer.h"
#include "engine/clock_format.h"
#include "engine/journal_alarm.h"
#include "support/journal_race_rig.h"
#include "support/small_disk.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <unistd.h>

namespace kesto {
namespace {

using test::DecoderFeed;
using test::JournalRig;
using ::testing::HasSubstr;

class JournalFaults : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("kesto-journal-faults-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        // Smaller than the space a journal holds ahead of its end: the
        // journal runs into the full disk, as one of a very long race would.
        disk = std::make_unique<test::SmallDisk>(root / "disk", 64 * 1024);
        if (!disk->Mounted())
            GTEST_SKIP() << disk->WhyNot();
    }
    // The timer over the disk, started on a 10-lap race.
    void StartRace() {
        rig = std::make_unique<JournalRig>(disk->Folder());
        rig->state.LapRace = true;
        rig->state.NumberOfLaps = 10;
        rig->state.RaceFormatText = "10 Lap Race";
        rig->state.Settings.StartDelay = 0;
        rig->Start();
    }
    void TearDown() override {
        rig.reset();
        disk.reset();
        std::filesystem::remove_all(root);
    }

    // What the journal on the disk replays into now.
    test::Replayed OnDisk() const {
        return test::ReplayJournalBytes(ReadAll(rig->journal.Path()), rig->race.sounds);
    }
    static std::string ReadAll(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path root;
    std::unique_ptr<test::SmallDisk> disk;
    std::unique_ptr<JournalRig> rig;
    DecoderFeed feed = DecoderFeed::Race(8, 12, 31);
};

TEST_F(JournalFaults, AFullDiskIsShownTheRaceEndsAsWithoutAndTheJournalCatchesUp) {
    StartRace();
    for (int tick = 0; tick < 2400; ++tick)
        feed.Tick(*rig);
    EXPECT_FALSE(rig->screen.journalAlarmVisible);
    disk->Fill(); // 24 s into the race
    while (rig->state.TimerEnabled)
        feed.Tick(*rig);
    ASSERT_TRUE(rig->state.RaceIsOver);
    ASSERT_EQ(rig->screen.journalAlarms.size(), 1u);
    EXPECT_EQ(rig->screen.journalAlarms[0],
              "RACE JOURNAL NOT WRITTEN - KestoRace.jnl: No space left on device (write) - the "
              "race is kept in memory until the disk takes it");
    EXPECT_TRUE(rig->screen.journalAlarmVisible);

    // A start-up now (as after a crash) is told the journal is not the whole race.
    std::optional<UnfinishedRace> found = FindUnfinishedRace(disk->Folder());
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(found->behind);
    EXPECT_FALSE(found->closed);
    RaceState replayed;
    SoundChoices sounds;
    ReplayRace(*found, replayed, sounds);
    const std::string question = ResumeRaceQuestion(*found, FiguresOf(replayed)).text;
    // From a moment after the disk filled: the file's last page still took lines.
    EXPECT_GE(found->behindAt, 24000);
    EXPECT_LT(found->behindAt, rig->state.RaceClock);
    EXPECT_LT(FiguresOf(replayed).laps, FiguresOf(rig->state).laps);
    EXPECT_THAT(question, HasSubstr("The race journal could not be written from " +
                                    FormatClock(found->behindAt / 1000) + " on"));
    EXPECT_THAT(question, HasSubstr("(No space left on device): the race went on after that, so "
                                    "this is not the whole race.\n"));

    disk->Free();
    rig->journal.Retry();
    EXPECT_FALSE(rig->screen.journalAlarmVisible);
    const test::Replayed whole = OnDisk();
    EXPECT_FALSE(whole.race.Incomplete());
    test::ExpectSameRace(rig->state, whole.state);
}

TEST_F(JournalFaults, AReadOnlyFolderIsShownAndTheJournalIsWrittenOnceItCanBe) {
    // Read-only before the timer starts: a mounted disk with files open for
    // writing cannot be made read-only.
    ASSERT_TRUE(disk->SetReadOnly(true));
    StartRace();
    for (int tick = 0; tick < 1500; ++tick)
        feed.Tick(*rig);
    EXPECT_TRUE(rig->screen.journalAlarmVisible);
    EXPECT_THAT(rig->screen.journalAlarms.at(0), HasSubstr("Read-only file system"));
    EXPECT_FALSE(std::filesystem::exists(rig->journal.Path()));

    ASSERT_TRUE(disk->SetReadOnly(false));
    feed.Tick(*rig); // the next event writes the race so far
    EXPECT_FALSE(rig->screen.journalAlarmVisible);
    test::ExpectSameRace(rig->state, OnDisk().state);
    while (rig->state.TimerEnabled)
        feed.Tick(*rig);
    test::ExpectSameRace(rig->state, OnDisk().state);
}

} // namespace
} // namespace kesto
