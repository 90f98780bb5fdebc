// The race journal on disk: every event is in the file as soon as it is
// reported, a fresh race replaces the old journal, abort and reset delete it,
// a resumed race appends after a torn tail, and a journal that cannot be
// written is an error kept aside, never a stop.
#include "engine/journal_file.h"

#include "engine/journal_replay.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace kesto {
namespace {

class JournalFileTest : public test::TempFolderTest {
protected:
    void TearDown() override {
        SetJournalFaultHookForTesting(nullptr);
        TempFolderTest::TearDown();
    }

    std::filesystem::path JournalPath() const { return folder / JournalFileName; }
    JournalContents OnDisk() const { return ReadJournal(ReadBytes(JournalPath())); }
    std::vector<JournalEventKind> KindsOnDisk() const {
        std::vector<JournalEventKind> kinds;
        for (const JournalEvent& event : OnDisk().events)
            kinds.push_back(event.kind);
        return kinds;
    }

    // The folder's entries but the lock the journal holds while it lives.
    std::vector<std::string> EntriesButLock() const {
        std::vector<std::string> names = Entries();
        std::erase(names, std::string(JournalLockName));
        return names;
    }

    RaceState state;
};

using K = JournalEventKind;

TEST_F(JournalFileTest, EveryEventIsInTheFileTheMomentItIsReported) {
    JournalFile journal(folder);
    state.RaceFormatText = "10 Lap Race";
    journal.Record(JournalEvent::RaceStarted(state));
    EXPECT_EQ(KindsOnDisk(), (std::vector<K>{K::RaceStarted}));
    journal.Record(JournalEvent::TimingStarted());
    journal.Record(JournalEvent::DecoderLine(0, "@0100001000", 0));
    // Read back while the writer is still open, as after a kill.
    const JournalContents read = OnDisk();
    ASSERT_EQ(read.events.size(), 3u);
    EXPECT_EQ(read.events[0].start->RaceFormatText, "10 Lap Race");
    EXPECT_EQ(read.events[2].text, "@0100001000");
    EXPECT_FALSE(read.tailDropped);
    journal.WaitUntilSynced();
    EXPECT_EQ(journal.LastError(), "");
}

TEST_F(JournalFileTest, AnIdleRefreshWritesNothing) {
    JournalFile journal(folder);
    journal.Record(JournalEvent::RaceStarted(state));
    journal.Record(JournalEvent::TimingStarted());
    journal.Record(JournalEvent::ScreenUpdated(0));
    journal.Record(JournalEvent::ScreenUpdated(0));
    journal.Record(JournalEvent::ScreenUpdated(0));
    journal.Record(JournalEvent::DecoderLine(1000, "@00000001", 1000));
    journal.Record(JournalEvent::ScreenUpdated(1000));
    journal.Record(JournalEvent::ScreenUpdated(1000));
    journal.Record(JournalEvent::DemoPass(1010, 3, 6000));
    journal.Record(JournalEvent::ScreenUpdated(1010));
    EXPECT_EQ(KindsOnDisk(),
              (std::vector<K>{K::RaceStarted, K::TimingStarted, K::ScreenUpdated, K::DecoderLine,
                              K::ScreenUpdated, K::DemoPass, K::ScreenUpdated}));
}

TEST_F(JournalFileTest, EachEventCarriesItsValues) {
    JournalFile journal(folder);
    journal.Record(JournalEvent::RaceStarted(state));
    state.RaceClock = 61000;
    journal.Record(JournalEvent::WhiteFlagShown(state));
    state.RaceCloseTime = 68500;
    state.FinishLap.fill(11);
    state.FinishLap[4] = 10;
    journal.Record(JournalEvent::CheckeredFlagDropped(state));
    state.RaceDateStamp = "Dec-07, 20-15";
    journal.Record(JournalEvent::RaceClosed(state));
    journal.Record(JournalEvent::BestLapCleared(0));
    journal.Record(JournalEvent::NameChosen(7, "Ann Smith"));
    journal.Record(JournalEvent::UnsavedMarks(false, true));
    const std::vector<JournalEvent> events = OnDisk().events;
    ASSERT_EQ(events.size(), 7u);
    EXPECT_EQ(events[1].raceClock, 61000);
    EXPECT_EQ(events[2].value, 68500);
    EXPECT_EQ(events[2].finishLap, state.FinishLap);
    EXPECT_EQ(events[3].text, "Dec-07, 20-15");
    EXPECT_EQ(events[4].id, 0);
    EXPECT_EQ(events[5].id, 7);
    EXPECT_EQ(events[5].text, "Ann Smith");
    EXPECT_EQ(events[6].value, 0);
    EXPECT_EQ(events[6].value2, 1);
}

TEST_F(JournalFileTest, ANewRaceReplacesAJournalThatIsDoneAndKeepsAnyOtherAside) {
    JournalFile journal(folder);
    journal.Record(JournalEvent::RaceStarted(state));
    journal.Record(JournalEvent::TimingStarted());
    const std::string unfinished = ReadBytes(JournalPath());
    // A race not over for good (as after a crash) is kept before a new one starts.
    journal.Record(JournalEvent::RaceStarted(state));
    EXPECT_EQ(KindsOnDisk(), (std::vector<K>{K::RaceStarted}));
    EXPECT_FALSE(OnDisk().tailDropped);
    EXPECT_EQ(ReadBytes(folder / JournalAsideName), unfinished);
    // A race closed with its results saved is done: replaced, the copy kept as it was.
    journal.Record(JournalEvent::TimingStarted());
    journal.Record(JournalEvent::RaceClosed(state));
    journal.Record(JournalEvent::UnsavedMarks(false, false));
    journal.Record(JournalEvent::RaceStarted(state));
    EXPECT_EQ(KindsOnDisk(), (std::vector<K>{K::RaceStarted}));
    EXPECT_EQ(ReadBytes(folder / JournalAsideName), unfinished);
    EXPECT_EQ(journal.LastError(), "");
}

// A journal whose race was reset, as the file holds it.
std::string DoneJournal() {
    std::string bytes = JournalHeaderLine();
    AppendJournalLine(bytes, 1, JournalEvent::RaceStarted(RaceState()));
    AppendJournalLine(bytes, 2, JournalEvent::RaceReset());
    return bytes;
}

TEST_F(JournalFileTest, ADamagedJournalIsKeptBeforeANewRaceStarts) {
    for (const char* damage : {"header", "start", "every line", "torn"}) {
        SCOPED_TRACE(damage);
        std::string bytes = JournalHeaderLine();
        AppendJournalLine(bytes, 1, JournalEvent::RaceStarted(state));
        AppendJournalLine(bytes, 2, JournalEvent::TimingStarted());
        const std::string what = damage;
        if (what == "header" || what == "every line")
            bytes[5] ^= 1;
        if (what == "start" || what == "every line")
            bytes[bytes.find('\n') + 3] ^= 1;
        if (what == "every line")
            bytes[bytes.size() - 3] ^= 1;
        if (what == "torn")
            bytes.resize(bytes.size() / 2);
        WriteBytes(JournalPath(), bytes);
        std::filesystem::remove(folder / JournalAsideName);
        JournalFile journal(folder);
        journal.Record(JournalEvent::RaceStarted(state));
        EXPECT_EQ(ReadBytes(folder / JournalAsideName), bytes);
        EXPECT_EQ(KindsOnDisk(), (std::vector<K>{K::RaceStarted}));
    }
}

TEST_F(JournalFileTest, AJournalNamedInOtherLettersIsTheJournal) {
    WriteBytes(folder / "kestorace.JNL", DoneJournal());
    JournalFile journal(folder);
    journal.Record(JournalEvent::RaceStarted(state));
    EXPECT_EQ(EntriesButLock(), std::vector<std::string>{"kestorace.JNL"});
    EXPECT_EQ(ReadJournal(ReadBytes(folder / "kestorace.JNL")).events.size(), 1u);
}

TEST_F(JournalFileTest, AbortAndResetDeleteTheJournal) {
    JournalFile journal(folder);
    journal.Record(JournalEvent::RaceStarted(state));
    journal.Record(JournalEvent::TimingStarted());
    journal.Record(JournalEvent::RaceAborted());
    EXPECT_TRUE(EntriesButLock().empty());
    journal.Record(JournalEvent::DecoderLine(0, "@0100001000", 0)); // after the race: nowhere
    EXPECT_TRUE(EntriesButLock().empty());

    journal.Record(JournalEvent::RaceStarted(state));
    journal.Record(JournalEvent::TimingStarted());
    journal.Record(JournalEvent::RaceClosed(state));
    journal.Record(JournalEvent::RaceReset());
    EXPECT_TRUE(EntriesButLock().empty());
    EXPECT_EQ(journal.LastError(), "");
}

TEST_F(JournalFileTest, AResumedJournalGoesOnAfterItsTornTail) {
    {
        JournalFile journal(folder);
        journal.Record(JournalEvent::RaceStarted(state));
        journal.Record(JournalEvent::TimingStarted());
        journal.Record(JournalEvent::DecoderLine(0, "@0100001000", 0));
    }
    const std::string whole = ReadBytes(JournalPath());
    WriteBytes(JournalPath(), whole + "4 line 1000 @0200"); // the power went mid-line

    JournalFile resumed(folder);
    ASSERT_TRUE(resumed.ContinueExisting());
    resumed.Record(JournalEvent::ScreenUpdated(1000)); // an event came before: the resume itself
    resumed.Record(JournalEvent::DecoderLine(1000, "@0200001100", 1000));
    const JournalContents read = OnDisk();
    EXPECT_FALSE(read.tailDropped);
    ASSERT_EQ(read.events.size(), 5u);
    EXPECT_EQ(read.events[3].kind, K::ScreenUpdated);
    EXPECT_EQ(read.events[4].text, "@0200001100");
    EXPECT_EQ(ReadBytes(JournalPath()).substr(0, whole.size()), whole);
}

// The resume reads the journal once and goes on from where that read ended;
// a journal changed since is read again.
TEST_F(JournalFileTest, AResumeGoesOnFromItsOwnReadUnlessTheJournalChanged) {
    {
        JournalFile journal(folder);
        journal.Record(JournalEvent::RaceStarted(state));
        journal.Record(JournalEvent::TimingStarted());
    }
    const std::string whole = ReadBytes(JournalPath());
    {
        JournalFile resumed(folder);
        ASSERT_TRUE(resumed.ContinueExisting(JournalEnd{whole.size(), 7, true}));
        resumed.Record(JournalEvent::DecoderLine(1000, "@0200001100", 1000));
    }
    EXPECT_EQ(OnDisk().lastSequence, 8u); // numbered on from the read, not read again

    JournalFile changed(folder);
    ASSERT_TRUE(changed.ContinueExisting(JournalEnd{whole.size(), 7, true}));
    changed.Record(JournalEvent::DecoderLine(2000, "@0200002200", 2000));
    EXPECT_EQ(OnDisk().lastSequence, 9u);
    EXPECT_EQ(OnDisk().events.size(), 4u);
}

TEST_F(JournalFileTest, ASecondTimerOnTheSameFolderLeavesTheLiveJournalAlone) {
    JournalFile first(folder);
    ASSERT_TRUE(first.OwnsFolder());
    first.Record(JournalEvent::RaceStarted(state));
    first.Record(JournalEvent::TimingStarted());
    first.Record(JournalEvent::DecoderLine(1000, "@0300000100", 1000));

    {
        JournalFile second(folder);
        EXPECT_FALSE(second.OwnsFolder());
        EXPECT_NE(second.LastError().find("another Kesto Timer"), std::string::npos);
        second.Record(JournalEvent::RaceStarted(state)); // its Start must not wipe the live race
        EXPECT_FALSE(second.ContinueExisting());
        second.Record(JournalEvent::RaceReset());
    }
    EXPECT_EQ(KindsOnDisk(), (std::vector<K>{K::RaceStarted, K::TimingStarted, K::DecoderLine}));

    first.Record(JournalEvent::DecoderLine(2000, "@0300000200", 2000));
    EXPECT_EQ(OnDisk().events.size(), 4u);
}

TEST_F(JournalFileTest, ALinkOrAForeignFileInTheJournalsPlaceIsLeftAsItIs) {
    namespace fs = std::filesystem;
    const fs::path program = folder / "program";
    WriteBytes(folder / "precious.txt", "PRECIOUS DATA");
    const std::vector<std::pair<const char*, std::function<void(const fs::path&)>>> forms = {
        {"a link", [&](const fs::path& at) { fs::create_symlink(folder / "precious.txt", at); }},
        {"a link to nowhere", [&](const fs::path& at) { fs::create_symlink(folder / "none", at); }},
        {"a hard link",
         [&](const fs::path& at) { fs::create_hard_link(folder / "precious.txt", at); }},
        {"a foreign file", [&](const fs::path& at) { WriteBytes(at, "PRECIOUS DATA"); }},
        {"a FIFO", [&](const fs::path& at) { ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0); }},
        {"a folder", [&](const fs::path& at) { fs::create_directory(at); }},
    };
    for (const auto& [form, make] : forms) {
        SCOPED_TRACE(form);
        fs::remove_all(program);
        fs::create_directories(program);
        make(program / JournalFileName);
        const auto before = fs::symlink_status(program / JournalFileName).type();
        JournalFile journal(program);
        journal.Record(JournalEvent::RaceStarted(state));
        journal.Record(JournalEvent::TimingStarted());
        journal.Record(JournalEvent::DecoderLine(0, "@0100001000", 0));
        EXPECT_EQ(journal.LastError(),
                  (program / JournalFileName).string() + " is not a race journal: left as it is");
        journal.Record(JournalEvent::RaceReset());
        EXPECT_EQ(fs::symlink_status(program / JournalFileName).type(), before);
        EXPECT_EQ(ReadBytes(folder / "precious.txt"), "PRECIOUS DATA");
        EXPECT_FALSE(fs::exists(folder / "none"));
        EXPECT_FALSE(fs::exists(program / JournalAsideName));
    }
}

TEST_F(JournalFileTest, ALinkInTheLocksPlaceIsLeftAsItIsAndNoJournalIsKept) {
    std::filesystem::create_symlink(folder / "elsewhere.lock", folder / JournalLockName);
    JournalFile journal(folder);
    EXPECT_FALSE(std::filesystem::exists(folder / "elsewhere.lock"));
    EXPECT_FALSE(journal.OwnsFolder());
    const std::string left =
        (folder / JournalLockName).string() + " is not a race journal: left as it is";
    EXPECT_EQ(journal.LastError(), left);
    journal.Record(JournalEvent::RaceStarted(state));
    EXPECT_FALSE(std::filesystem::exists(JournalPath()));
    EXPECT_EQ(journal.LastError(), left);
}

TEST_F(JournalFileTest, TheFolderIsFreeAgainOnceTheTimerHasGone) {
    { JournalFile first(folder); }
    JournalFile next(folder);
    EXPECT_TRUE(next.OwnsFolder());
}

TEST_F(JournalFileTest, NothingToContinueWithoutAJournal) {
    JournalFile journal(folder);
    EXPECT_FALSE(journal.ContinueExisting());
    WriteBytes(JournalPath(), "not a journal\n");
    EXPECT_FALSE(journal.ContinueExisting());
    EXPECT_NE(journal.LastError(), "");
    journal.Record(JournalEvent::DecoderLine(0, "@0100001000", 0)); // goes nowhere, harms nothing
    EXPECT_EQ(ReadBytes(JournalPath()), "not a journal\n");
}

TEST_F(JournalFileTest, AFolderThatCannotHoldTheJournalIsAnErrorNotAStop) {
    JournalFile journal(folder / "missing");
    journal.Record(JournalEvent::RaceStarted(state));
    journal.Record(JournalEvent::TimingStarted());
    journal.Record(JournalEvent::DecoderLine(0, "@0100001000", 0));
    journal.Record(JournalEvent::ScreenUpdated(0));
    journal.Record(JournalEvent::RaceAborted());
    EXPECT_NE(journal.LastError().find("No such file or directory"), std::string::npos)
        << journal.LastError();
}

TEST_F(JournalFileTest, AReadOnlyFolderIsAnErrorNotAStop) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    ::chmod(folder.c_str(), 0555);
    JournalFile journal(folder);
    journal.Record(JournalEvent::RaceStarted(state));
    journal.Record(JournalEvent::TimingStarted());
    ::chmod(folder.c_str(), 0755);
    EXPECT_NE(journal.LastError().find("Permission denied"), std::string::npos);
    EXPECT_TRUE(EntriesButLock().empty());
}

int g_writesLeft = 0;

TEST_F(JournalFileTest, AFullDiskKeepsTheRaceInMemoryAndTheJournalCatchesUp) {
    JournalFile journal(folder);
    std::vector<std::string> told;
    journal.OnErrorChanged([&](const std::string& error) { told.push_back(error); });
    g_writesLeft = 3;
    SetJournalFaultHookForTesting(
        [](std::string_view step) { return step == "write" && g_writesLeft-- <= 0 ? ENOSPC : 0; });
    journal.Record(JournalEvent::RaceStarted(state));
    journal.Record(JournalEvent::TimingStarted());
    journal.Record(JournalEvent::DecoderLine(0, "@0100001000", 0));
    journal.Record(JournalEvent::DecoderLine(0, "@0200001000", 0)); // the disk is full from here
    journal.Record(JournalEvent::DecoderLine(0, "@0300001000", 0));
    journal.Record(JournalEvent::ScreenUpdated(0));
    EXPECT_EQ(KindsOnDisk(), (std::vector<K>{K::RaceStarted, K::TimingStarted, K::DecoderLine}));
    EXPECT_NE(journal.LastError().find("No space left on device"), std::string::npos);
    journal.Retry(); // still full: nothing changes
    ASSERT_EQ(told.size(), 2u);

    SetJournalFaultHookForTesting(nullptr);
    journal.Retry();
    EXPECT_EQ(KindsOnDisk(), (std::vector<K>{K::RaceStarted, K::TimingStarted, K::DecoderLine,
                                             K::DecoderLine, K::DecoderLine, K::ScreenUpdated}));
    EXPECT_FALSE(OnDisk().damage.Any());
    EXPECT_EQ(journal.LastError(), "");
    EXPECT_EQ(told, (std::vector<std::string>{"", told[1], ""}));
}

int g_reservesLeft = 0;

TEST_F(JournalFileTest, ADiskFilledByOthersStillTakesTheNoteThatTheJournalFellBehind) {
    JournalFile journal(folder);
    g_reservesLeft = 1; // the space held at the start, then no more
    SetJournalFaultHookForTesting([](std::string_view step) {
        return step == "reserve" && g_reservesLeft-- <= 0 ? ENOSPC : 0;
    });
    journal.Record(JournalEvent::RaceStarted(state));
    journal.Record(JournalEvent::TimingStarted());
    int lines = 0;
    while (journal.LastError().empty() && lines < 100000) {
        ++lines;
        journal.Record(JournalEvent::DecoderLine(10 * lines, "@0100001000", 10 * lines));
    }
    EXPECT_NE(journal.LastError().find("No space left on device"), std::string::npos);
    ++lines;
    journal.Record(JournalEvent::DecoderLine(10 * lines, "@0200001000", 10 * lines));
    // Read now, as after a crash: the journal says it is not the whole race.
    UnfinishedRace race = DescribeRace(OnDisk());
    EXPECT_TRUE(race.behind);
    EXPECT_TRUE(race.Incomplete());
    EXPECT_EQ(race.behindReason, "No space left on device");
    EXPECT_LT(race.passes, lines);

    SetJournalFaultHookForTesting(nullptr);
    journal.Record(JournalEvent::ScreenUpdated(10 * lines));
    race = DescribeRace(OnDisk());
    EXPECT_FALSE(race.Incomplete());
    EXPECT_EQ(race.passes, lines);
    EXPECT_EQ(journal.LastError(), "");
}

TEST_F(JournalFileTest, AFailedSyncIsReported) {
    JournalFile journal(folder);
    SetJournalFaultHookForTesting([](std::string_view step) { return step == "sync" ? EIO : 0; });
    journal.Record(JournalEvent::RaceStarted(state));
    journal.Record(JournalEvent::TimingStarted());
    journal.WaitUntilSynced();
    EXPECT_NE(journal.LastError().find("Input/output error"), std::string::npos);
    EXPECT_EQ(OnDisk().events.size(), 2u); // written all the same
}

TEST_F(JournalFileTest, ManyEventsAreSyncedWithoutWaitingForEach) {
    JournalFile journal(folder);
    journal.Record(JournalEvent::RaceStarted(state));
    journal.Record(JournalEvent::TimingStarted());
    for (int i = 0; i < 2000; ++i) {
        journal.Record(JournalEvent::DecoderLine(i * 10, "@0100001000", i * 10));
        journal.Record(JournalEvent::ScreenUpdated(i * 10));
    }
    journal.WaitUntilSynced();
    EXPECT_EQ(OnDisk().events.size(), 4002u);
    EXPECT_EQ(journal.LastError(), "");
}

} // namespace
} // namespace kesto
