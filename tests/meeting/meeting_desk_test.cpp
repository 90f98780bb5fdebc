// The meeting desk between the operator and the race engine: loading a heat,
// taking its result at the close, saving at once, and coming back after a
// kill to the heat that was loaded.
#include "meeting/heat_load.h"
#include "meeting/heat_results.h"
#include "meeting/meeting_desk.h"
#include "meeting/meeting_fixture.h"
#include "support/temp_folder.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

struct WrittenHeatFiles final : HeatFiles {
    Refusal WriteHeatFiles(const RaceState& state, const std::filesystem::path& folder,
                           const std::string& baseName) override {
        written.push_back((folder / baseName).string() + " " + state.IdName(1));
        return fault;
    }
    std::vector<std::string> written;
    Refusal fault;
};

struct CalledUp final : RaceCaller {
    void NextHeatCalledUp(std::string_view heat, const PerId<std::string>& names) override {
        calls.push_back(std::string(heat) + ": " + names[0]);
    }
    std::vector<std::string> calls;
};

class MeetingDeskTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        meetingPath = folder / "night" / "Club Night.meeting.json";
        std::filesystem::create_directories(meetingPath.parent_path());
        desk.emplace(folder, files, dialogs, caller);
    }
    // Heats 1 (racers 1-2) and 2 (racers 3-4) in each of 2 rounds.
    void CreateMeeting() {
        Meeting meeting = test::PlannedMeeting(4, ScoringRule::BestRounds, 2, 2);
        meeting.heatFormat = HeatFormat{HeatFormatKind::Laps, 5};
        ASSERT_EQ(desk->Create(meetingPath, meeting), std::nullopt);
    }
    // The race of the loaded heat closes with these laps per ID.
    void CloseRace(MeetingDesk& on, PerId<int16_t> laps) {
        for (int i = 0; i < MaxCarIds; ++i) {
            state.LapCount[i] = laps[i];
            state.LastPassTime[i] = laps[i] * 10000;
        }
        state.RaceIsOver = true;
        on.RaceClosed(state);
    }
    Meeting OnDisk() {
        Meeting meeting;
        EXPECT_EQ(ReadMeetingFile(meetingPath, meeting), std::nullopt);
        return meeting;
    }

    std::filesystem::path meetingPath;
    RaceState state;
    WrittenHeatFiles files;
    test::FakeDialogs dialogs;
    CalledUp caller;
    std::optional<MeetingDesk> desk;
};

TEST_F(MeetingDeskTest, ALoadedHeatClosesIntoTheSavedMeetingWithItsFilesAndTheNextCallUp) {
    CreateMeeting();
    ASSERT_EQ(desk->ProposedHeat()->number, 1);
    ASSERT_EQ(desk->LoadHeat(1, state), std::nullopt);
    EXPECT_EQ(desk->LoadedHeat(), 1);
    EXPECT_EQ(state.IdName(1), "Racer 1");
    EXPECT_EQ(state.IdName(3), UnusedIdName);
    EXPECT_TRUE(state.LapRace);
    EXPECT_EQ(state.NumberOfLaps, 5);

    CloseRace(*desk, {5, 4});
    EXPECT_EQ(desk->LoadedHeat(), 0);
    EXPECT_EQ(*OnDisk().heats[0].result,
              (HeatResult{test::Ran(1, 5, 50000), test::Ran(2, 4, 40000)}));
    EXPECT_EQ(files.written, std::vector<std::string>{
                                 (meetingPath.parent_path() / "Heat 1").string() + " Racer 1"});
    EXPECT_EQ(caller.calls, std::vector<std::string>{"Heat 2: Empty"});
    EXPECT_EQ(desk->ProposedHeat()->number, 2);
    EXPECT_TRUE(dialogs.shown.empty());

    // A race without a heat loaded is no business of the meeting.
    CloseRace(*desk, {9, 9, 9, 9});
    EXPECT_EQ(files.written.size(), 1u);
    EXPECT_FALSE(OnDisk().heats[1].result);
}

TEST_F(MeetingDeskTest, LoadingIsRefusedDuringARaceAndForAHeatRunUntilItIsReRun) {
    CreateMeeting();
    state.Button = StartButton::Reset;
    EXPECT_TRUE(desk->LoadHeat(1, state));
    state.Button = StartButton::Start;
    ASSERT_EQ(desk->LoadHeat(1, state), std::nullopt);
    CloseRace(*desk, {3, 2});
    state.Button = StartButton::Start;
    EXPECT_EQ(desk->LoadHeat(1, state), "Heat 1 has been run. Re-run it to run it again.");

    // The re-run is saved at once and runs under a file name of its own.
    ASSERT_EQ(desk->Change([](Meeting& m) { return ReRunHeat(m, 1); }), std::nullopt);
    EXPECT_FALSE(OnDisk().heats[0].result);
    EXPECT_EQ(OnDisk().heats[0].setAside.size(), 1u);
    ASSERT_EQ(desk->LoadHeat(1, state), std::nullopt);
    CloseRace(*desk, {4, 4});
    EXPECT_EQ(files.written.back(),
              (meetingPath.parent_path() / "Heat 1 re-run 1").string() + " Racer 1");
}

TEST_F(MeetingDeskTest, AKilledTimerComesBackToTheLoadedHeatAndTakesItsResult) {
    CreateMeeting();
    ASSERT_EQ(desk->LoadHeat(2, state), std::nullopt);

    MeetingDesk restarted{folder, files, dialogs, caller};
    restarted.Restore();
    ASSERT_TRUE(restarted.IsOpen());
    EXPECT_EQ(restarted.LoadedHeat(), 2);
    CloseRace(restarted, {0, 0, 6, 7});
    EXPECT_EQ(*OnDisk().heats[1].result,
              (HeatResult{test::Ran(3, 6, 60000), test::Ran(4, 7, 70000)}));

    MeetingDesk again{folder, files, dialogs, caller};
    again.Restore();
    EXPECT_EQ(again.LoadedHeat(), 0);
    EXPECT_EQ(again.meeting(), OnDisk());
}

TEST_F(MeetingDeskTest, ADamagedMeetingFileIsReportedAndNeverWritten) {
    CreateMeeting();
    const std::string damaged = "{\"name\": \"Club Night\", \"heats\": [";
    WriteBytes(meetingPath, damaged);
    EXPECT_TRUE(desk->Open(meetingPath));

    MeetingDesk restarted{folder, files, dialogs, caller};
    restarted.Restore();
    EXPECT_FALSE(restarted.IsOpen());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.last().text.find("is damaged"), std::string::npos);
    EXPECT_TRUE(restarted.Change([](Meeting&) { return Refusal(); }));
    EXPECT_TRUE(desk->Create(meetingPath, NewMeeting("Other", "2026-12-09")));
    EXPECT_EQ(ReadBytes(meetingPath), damaged);
}

TEST_F(MeetingDeskTest, AFileChangedBehindTheDesksBackIsNeverWrittenOverAndChangesGoBeside) {
    CreateMeeting();
    const std::string replaced = "{\"name\": \"Club Night\", \"heats\": [";
    WriteBytes(meetingPath, replaced);
    auto lateEntry = [](const char* name) {
        return [name](Meeting& m) { return AddEntry(m, name, 0); };
    };
    ASSERT_EQ(desk->Change(lateEntry("Late")), std::nullopt);
    EXPECT_EQ(ReadBytes(meetingPath), replaced);
    const auto beside = meetingPath.parent_path() / "Club Night.kesto-saved.meeting.json";
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.last().text.find("changed by another program"), std::string::npos);
    EXPECT_NE(dialogs.last().text.find(beside.string()), std::string::npos);
    Meeting saved;
    ASSERT_EQ(ReadMeetingFile(beside, saved), std::nullopt);
    EXPECT_EQ(saved, desk->meeting());

    // Told once; the meeting goes on beside, where a restarted timer finds it.
    ASSERT_EQ(desk->Change(lateEntry("Later")), std::nullopt);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(ReadBytes(meetingPath), replaced);
    MeetingDesk restarted{folder, files, dialogs, caller};
    restarted.Restore();
    ASSERT_TRUE(restarted.IsOpen());
    EXPECT_EQ(restarted.Path(), beside);
    EXPECT_EQ(restarted.meeting(), desk->meeting());
}

TEST_F(MeetingDeskTest, AFailedHeatFileIsReportedAndTheResultKept) {
    CreateMeeting();
    files.fault = "Disk full.";
    ASSERT_EQ(desk->LoadHeat(1, state), std::nullopt);
    CloseRace(*desk, {1, 1});
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.last().text, "Disk full.");
    EXPECT_TRUE(OnDisk().heats[0].result);
}

} // namespace
} // namespace kesto
