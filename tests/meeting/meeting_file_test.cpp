// The meeting file: readable JSON, reopened exactly as it was, written after
// every change, and a damaged file reported and never written over.
#include "base/safe_write.h"
#include "meeting/finals.h"
#include "meeting/meeting_file.h"
#include "meeting/meeting_fixture.h"
#include "meeting/meeting_json.h"
#include "support/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kesto {
namespace {

using test::NoShow;
using test::Ran;
using test::Record;
using ::testing::HasSubstr;

// A meeting with something of everything: a late entry, a no-show, a re-run
// heat, finals with a bump-up, a name beyond ASCII.
Meeting FullMeeting() {
    Meeting meeting = test::PlannedMeeting(5, ScoringRule::Points, 1, 5);
    meeting.scoring.points = {7, 5, 3, 0};
    meeting.scoring.dropWorstRound = true;
    meeting.heatFormat = HeatFormat{HeatFormatKind::Laps, 25};
    meeting.finish = FinishRule::EveryCarOnNextPass;
    EXPECT_FALSE(AddEntry(meeting, "Zoë Ågren", 0));
    Record(meeting, 1, {Ran(1, 20, 300000)});
    EXPECT_FALSE(ReRunHeat(meeting, 1));
    EXPECT_FALSE(SetNoShow(meeting, 1, 2, true));
    Record(meeting, 1, {Ran(1, 21, 301000), Ran(3, 20, 300500), Ran(6, 19, 299000)});
    EXPECT_FALSE(PlanFinals(meeting, FinalsSetup{{2, 4}, 1, {HeatFormatKind::Minutes, 8}}));
    Record(meeting, 2, {Ran(4, 30, 480000)});
    return meeting;
}

class MeetingFile : public test::TempFolderTest {
protected:
    std::filesystem::path Path() const { return folder / "Club Night 2026-12-08.meeting.json"; }
};

TEST_F(MeetingFile, AMeetingIsReopenedExactlyAsItWasInAFileAPersonCanRead) {
    const Meeting meeting = FullMeeting();
    ASSERT_FALSE(WriteMeetingFile(Path(), meeting));
    Meeting read;
    ASSERT_EQ(ReadMeetingFile(Path(), read), std::nullopt);
    EXPECT_EQ(read, meeting);
    EXPECT_EQ(MeetingToJson(read), ReadBytes(Path()));

    const std::string text = ReadBytes(Path());
    EXPECT_THAT(text, HasSubstr("\n  \"name\": \"Club Night\",\n"));
    EXPECT_THAT(text, HasSubstr("\"name\": \"Zoë Ågren\""));
    EXPECT_THAT(text, HasSubstr("\n  \"heatFormat\": {\"laps\": 25},\n"));
    EXPECT_THAT(text, HasSubstr("\n        {\"entry\": 2, \"id\": 2, \"noShow\": true, "
                                "\"bumpedUp\": false},\n"));
    EXPECT_THAT(text, HasSubstr("\"main\": \"A\""));
    EXPECT_EQ(MeetingFileName(meeting), "Club Night 2026-12-08.meeting.json");
    EXPECT_EQ(MeetingFileName(NewMeeting("A/B: \"C\"", "2026-12-08")),
              "A-B- -C- 2026-12-08.meeting.json");
}

TEST_F(MeetingFile, EveryChangeIsWrittenAtOnceAndARefusedOneWritesNothing) {
    std::string problem;
    auto open = OpenMeeting::Create(Path(), test::PlannedMeeting(3, ScoringRule::BestRounds, 2, 3),
                                    problem);
    ASSERT_TRUE(open) << problem;
    ASSERT_FALSE(open->Change([](Meeting& m) { return SetNoShow(m, 1, 2, true); }));
    Meeting read;
    ASSERT_FALSE(ReadMeetingFile(Path(), read));
    EXPECT_EQ(read, open->meeting());

    const std::string before = ReadBytes(Path());
    EXPECT_TRUE(open->Change([](Meeting& m) { return ReRunHeat(m, 1); }).has_value());
    auto unsound = open->Change([](Meeting& m) {
        m.heats[0].round = 9;
        return Refusal();
    });
    ASSERT_TRUE(unsound.has_value()) << "a file that could not be read back";
    EXPECT_THAT(*unsound, HasSubstr("round 9 of 2"));
    EXPECT_EQ(open->meeting().heats[0].round, 1);
    EXPECT_EQ(ReadBytes(Path()), before);

    // A failed write keeps the change here, says so, and the next change writes it.
    SetSafeWriteFaultHookForTesting([](std::string_view step) { return step == "rename"; });
    auto fault = open->Change([](Meeting& m) { return SetNoShow(m, 1, 3, true); });
    SetSafeWriteFaultHookForTesting(nullptr);
    ASSERT_TRUE(fault.has_value());
    EXPECT_THAT(*fault, HasSubstr("could not be saved"));
    EXPECT_TRUE(open->Unsaved());
    EXPECT_EQ(ReadBytes(Path()), before);
    ASSERT_FALSE(open->Change([](Meeting&) { return Refusal(); }));
    EXPECT_FALSE(open->Unsaved());
    EXPECT_EQ(ReadBytes(Path()), MeetingToJson(open->meeting()));
}

TEST_F(MeetingFile, ADamagedFileIsReportedAndNeverWrittenOver) {
    const std::string sound = MeetingToJson(FullMeeting());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = sound;
        const auto at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const std::pair<std::string, std::string> damaged[] = {
        {"", "the file is empty"},
        {sound.substr(0, sound.size() / 2), "parse error"},
        {"[1, 2]", "not a Kesto Timer meeting file"},
        {replaced("\"laps\": 21", "\"laps\": 1e11919"), "number overflow"},
        {replaced("\"version\": 1", "\"version\": 2"), "newer Kesto Timer"},
        {replaced("\"qualifyingRounds\": 1,", ""), "qualifyingRounds: missing"},
        {replaced("\"laps\": 21", "\"laps\": \"21\""),
         "heats[0].result[0].laps: not a whole number"},
        {replaced("\"entry\": 3, \"id\": 3", "\"entry\": 3, \"id\": 1"),
         "heats[0]: two racers on ID 1"},
        {replaced("\"entry\": 5, \"id\": 5", "\"entry\": 9, \"id\": 5"),
         "heats[0]: entry 9 is not entered"},
        {replaced("\"date\": \"2026-12-08\"", "\"date\": \"08.12.2026\""), "YYYY-MM-DD"},
    };
    for (const auto& [text, problem] : damaged) {
        WriteBytes(Path(), text);
        std::string shown;
        EXPECT_FALSE(OpenMeeting::Open(Path(), shown));
        EXPECT_THAT(shown, HasSubstr("is damaged and was not opened")) << problem;
        EXPECT_THAT(shown, HasSubstr(problem));
        EXPECT_FALSE(OpenMeeting::Create(Path(), NewMeeting("Club Night", "2026-12-08"), shown));
        EXPECT_THAT(shown, HasSubstr("already a file"));
        EXPECT_EQ(ReadBytes(Path()), text);
    }
    EXPECT_EQ(Entries(), std::vector<std::string>{Path().filename().string()});
}

} // namespace
} // namespace kesto
