// The three scoring rules with their ties and edge cases: a no-show, a racer
// without laps, a re-run heat, a late entry.
#include "meeting/heat_planning.h"
#include "meeting/meeting_fixture.h"
#include "meeting/qualifying_standings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kesto {
namespace {

using test::NoShow;
using test::PlannedMeeting;
using test::Ran;
using test::Record;
using ::testing::ElementsAre;

// "entry:position" in standings order, so a shared position shows.
std::vector<std::string> Table(const Meeting& meeting) {
    std::vector<std::string> table;
    for (const auto& row : QualifyingStandings(meeting))
        table.push_back(std::to_string(row.entry) + ":" + std::to_string(row.position));
    return table;
}

TEST(BestRounds, TheBestTwoOfThreeCountAndLevelRacersGoByTheNextBestRound) {
    Meeting meeting = PlannedMeeting(5, ScoringRule::BestRounds, 3, 5);
    Record(meeting, 1,
           {Ran(1, 10, 300000), Ran(2, 11, 305000), Ran(3, 10, 301000), NoShow(4),
            Ran(5, 10, 300000)});
    Record(meeting, 2,
           {Ran(1, 11, 302000), Ran(2, 10, 297000), Ran(3, 11, 301000), Ran(4, 12, 300000),
            Ran(5, 11, 302000)});
    Record(meeting, 3,
           {Ran(1, 9, 300000), Ran(2, 10, 301000), Ran(3, 9, 299000),
            Ran(5, 9, 300000)}); // racer 4 started and did no lap
    // Counted:  1: 11 302.0 + 10 300.0 = 21 laps 602.0 s, next best 9 300.0
    //           2: 11 305.0 + 10 297.0 = 21 602.0, next best 10 301.0
    //           3: 11 301.0 + 10 301.0 = 21 602.0, next best  9 299.0
    //           4: 12 300.0 + nothing  = 12 300.0
    //           5: as racer 1, level on everything: they share 3rd.
    EXPECT_THAT(Table(meeting), ElementsAre("2:1", "3:2", "1:3", "5:3", "4:5"));
    const auto rows = QualifyingStandings(meeting);
    EXPECT_EQ(rows[0].laps, 21);
    EXPECT_EQ(rows[0].timeMs, 602000);
    EXPECT_FALSE(rows[0].rounds[2].counted);
    EXPECT_FALSE(rows[4].rounds[0].ran) << "the no-show";
    EXPECT_TRUE(rows[4].rounds[2].ran) << "no lap, but started";
}

TEST(BestRounds, ALateEntryIsScoredOnTheRoundsItRanAndAReRunCountsItsNewResult) {
    Meeting meeting = PlannedMeeting(2, ScoringRule::BestRounds, 3, 4);
    Record(meeting, 1, {Ran(1, 10, 300000), Ran(2, 10, 301000)});
    ASSERT_FALSE(AddEntry(meeting, "Late Racer", 3));
    Record(meeting, 2, {Ran(1, 10, 300000), Ran(2, 9, 300000), Ran(3, 12, 300000)});
    ASSERT_FALSE(ReRunHeat(meeting, 2));
    Record(meeting, 2, {Ran(1, 10, 300000), Ran(2, 9, 300000), Ran(3, 11, 300000)});
    Record(meeting, 3, {Ran(1, 10, 300000), Ran(2, 10, 300000), Ran(3, 11, 305000)});
    // 1: 10 300 + 10 300 = 20 600; 2: 10 301 + 10 300 = 20 601;
    // 3 (late, no round 1): 11 300 + 11 305 = 22 605, not the 12 laps set aside.
    EXPECT_THAT(Table(meeting), ElementsAre("3:1", "1:2", "2:3"));
    const auto late = QualifyingStandings(meeting)[0];
    EXPECT_EQ(late.rounds[0].heat, 0);
    EXPECT_EQ(late.rounds[1].laps, 11);
}

TEST(Points, PlacesScoreTheListSummedOverRoundsWithTheWorstDroppedAndCountBack) {
    Meeting meeting = PlannedMeeting(4, ScoringRule::Points, 3, 4);
    Record(meeting, 1, {Ran(1, 10, 300000), Ran(2, 10, 300000), Ran(3, 9, 300000), NoShow(4)});
    Record(meeting, 2, {Ran(2, 11, 300000), Ran(3, 10, 300000), Ran(4, 9, 300000)});
    Record(meeting, 3,
           {Ran(1, 12, 300000), Ran(3, 11, 300000), Ran(2, 10, 300000), Ran(4, 9, 300000)});
    // Racers 1 and 2 dead-heat round 1 and share place 1; racer 1 does no lap
    // in round 2 and the no-show scores nothing:
    //   1: 10 + 0 + 10 = 20;  2: 10 + 10 + 8 = 28;  3: 8 + 9 + 9 = 26;  4: 0 + 8 + 7 = 15.
    EXPECT_THAT(Table(meeting), ElementsAre("2:1", "3:2", "1:3", "4:4"));
    EXPECT_EQ(QualifyingStandings(meeting)[0].points, 28);

    // Dropping each racer's worst: 1: 20, 2: 20, 3: 18, 4: 15. Count-back
    // parts 1 and 2: both have 10, 10, then 8 beats 0.
    meeting.scoring.dropWorstRound = true;
    EXPECT_THAT(Table(meeting), ElementsAre("2:1", "1:2", "3:3", "4:4"));
    EXPECT_FALSE(QualifyingStandings(meeting)[1].rounds[1].counted);

    // A short list: places beyond it score 0. 1: 5+0+5, 2: 5+5+1, 3: 1+3+3, 4: 0+1+0.
    meeting.scoring = Scoring{ScoringRule::Points, 0, {5, 3, 1}, false};
    EXPECT_THAT(Table(meeting), ElementsAre("2:1", "1:2", "3:3", "4:4"));
    EXPECT_EQ(QualifyingStandings(meeting)[3].points, 1);
}

TEST(Points, ALateEntryScoresNothingForTheRoundItMissedAndAReRunCountsItsNewOrder) {
    Meeting meeting = PlannedMeeting(2, ScoringRule::Points, 2, 3);
    Record(meeting, 1, {Ran(1, 10, 300000), Ran(2, 9, 300000)});
    ASSERT_FALSE(AddEntry(meeting, "Late Racer", 3));
    Record(meeting, 2, {Ran(3, 12, 300000), Ran(1, 11, 300000), Ran(2, 10, 300000)});
    ASSERT_FALSE(ReRunHeat(meeting, 2));
    Record(meeting, 2, {Ran(1, 12, 300000), Ran(3, 11, 300000)}); // racer 2: no lap
    // 1: 10 + 10 = 20; 2: 9 + 0 = 9; 3 (late): 0 + 9 = 9, level with 2 on count-back too.
    EXPECT_THAT(Table(meeting), ElementsAre("1:1", "2:2", "3:2"));
    // Dropping the worst round drops the late entry's missed one: 1: 10, 2: 9, 3: 9.
    meeting.scoring.dropWorstRound = true;
    EXPECT_THAT(Table(meeting), ElementsAre("1:1", "2:2", "3:2"));
    EXPECT_EQ(QualifyingStandings(meeting)[2].points, 9);
}

TEST(LaneRotation, TotalLapsThenTotalTimeOverEveryLaneAndLevelRacersShare) {
    // 3 racers on 2 lanes: heat 1 racers 1, 2; heat 2 racers 2, 3; heat 3 racers 3, 1.
    Meeting meeting = PlannedMeeting(3, ScoringRule::LaneRotation, 1, 2);
    Record(meeting, 1, {Ran(1, 10, 100000), Ran(2, 9, 99000)});
    Record(meeting, 2, {Ran(2, 10, 100000), Ran(3, 10, 100000)});
    Record(meeting, 3, {Ran(3, 9, 98000), Ran(1, 9, 99000)});
    // 1: 19 laps 199.0 s; 2: 19 199.0; 3: 19 198.0.
    EXPECT_THAT(Table(meeting), ElementsAre("3:1", "1:2", "2:2"));
    const auto rows = QualifyingStandings(meeting);
    ASSERT_EQ(rows[1].rounds.size(), 2u);
    EXPECT_EQ(rows[1].rounds[1].lane, 2);
    EXPECT_EQ(rows[1].rounds[1].heat, 3);
}

TEST(LaneRotation, ANoShowANoLapHeatAReRunAndALateEntryOnItsOwnLanes) {
    // Two racers on two lanes: heat 1 racers 1, 2; heat 2 racers 2, 1. The late
    // racer finds both lanes of heat 2 taken: heats 3 and 4, lanes 1 and 2.
    Meeting meeting = PlannedMeeting(2, ScoringRule::LaneRotation, 1, 2);
    Record(meeting, 1, {Ran(1, 10, 100000), NoShow(2)});
    ASSERT_FALSE(AddEntry(meeting, "Late Racer", 0));
    Record(meeting, 2, {Ran(2, 11, 100000)}); // racer 1: no lap
    ASSERT_FALSE(ReRunHeat(meeting, 2));
    Record(meeting, 2, {Ran(2, 10, 99000), Ran(1, 9, 100000)});
    Record(meeting, 3, {Ran(3, 10, 100000)});
    Record(meeting, 4, {Ran(3, 10, 101000)});
    // 1: 10 + 9 = 19 laps; 2: nothing + 10 = 10; 3: 10 + 10 = 20.
    EXPECT_THAT(Table(meeting), ElementsAre("3:1", "1:2", "2:3"));
    EXPECT_EQ(QualifyingStandings(meeting)[0].timeMs, 201000);
}

} // namespace
} // namespace kesto
