// Heat planning: RC heats spread evenly over the rounds, the slot-car lane
// rotation, the next heat, re-runs, moves, no-shows and late entries.
#include "meeting/heat_planning.h"
#include "meeting/heat_results.h"
#include "meeting/meeting_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace kesto {
namespace {

using test::EntriesOf;
using test::PlannedMeeting;
using test::Ran;
using test::Record;
using ::testing::ElementsAre;

std::vector<int> Sizes(const Meeting& meeting) {
    std::vector<int> sizes;
    for (const auto& heat : meeting.heats)
        sizes.push_back(static_cast<int>(heat.grid.size()));
    return sizes;
}

// Every racer's lanes in `round`, counted.
std::map<int, std::multiset<int>> LanesByRacer(const Meeting& meeting, int round) {
    std::map<int, std::multiset<int>> lanes;
    for (const auto& heat : meeting.heats)
        if (heat.round == round)
            for (const auto& slot : heat.grid)
                lanes[slot.entry].insert(slot.carId);
    return lanes;
}

TEST(HeatPlanning, RcHeatsSpreadEntriesEvenlyInEntryOrderEveryRound) {
    Meeting twenty = PlannedMeeting(20, ScoringRule::BestRounds, 3, 10);
    EXPECT_THAT(Sizes(twenty), ElementsAre(10, 10, 10, 10, 10, 10));
    EXPECT_THAT(EntriesOf(twenty.heats[3]), ElementsAre(11, 12, 13, 14, 15, 16, 17, 18, 19, 20));
    EXPECT_EQ(twenty.heats[3].round, 2);
    EXPECT_EQ(twenty.heats[3].number, 4);

    Meeting odd = PlannedMeeting(23, ScoringRule::Points, 1, 10);
    EXPECT_THAT(Sizes(odd), ElementsAre(8, 8, 7));
}

TEST(HeatPlanning, ARacerWhoseIdIsTakenOrWhoHasNoneGetsAnIdNoOtherRacerOwns) {
    Meeting meeting = NewMeeting("Club Night", "2026-12-08");
    meeting.rounds = 1;
    meeting.scoring.countedRounds = 1;
    meeting.heatSize = 4;
    for (auto [name, id] : {std::pair{"Ann", 5}, {"Ben", 5}, {"Cal", 0}, {"Dan", 1}})
        ASSERT_FALSE(AddEntry(meeting, name, id));
    ASSERT_FALSE(PlanQualifying(meeting));
    std::vector<int> ids;
    for (const auto& slot : meeting.heats[0].grid)
        ids.push_back(slot.carId);
    EXPECT_THAT(ids, ElementsAre(5, 2, 3, 1)) << "Dan keeps ID 1";
}

TEST(HeatPlanning, LaneRotationPutsEveryRacerOnEveryLaneOnce) {
    for (int racers : {9, 4, 3}) {
        Meeting meeting = PlannedMeeting(racers, ScoringRule::LaneRotation, 2, 4);
        EXPECT_EQ(meeting.heats.size(), 2u * std::max(racers, 4)) << racers;
        for (int round : {1, 2}) {
            const auto lanes = LanesByRacer(meeting, round);
            ASSERT_EQ(lanes.size(), static_cast<size_t>(racers));
            for (const auto& [racer, used] : lanes)
                EXPECT_THAT(used, ElementsAre(1, 2, 3, 4)) << racers << " racers, " << racer;
        }
    }
    // After each heat the racers move down a lane and the next one comes in.
    Meeting meeting = PlannedMeeting(6, ScoringRule::LaneRotation, 1, 4);
    EXPECT_THAT(EntriesOf(meeting.heats[0]), ElementsAre(1, 2, 3, 4));
    EXPECT_THAT(EntriesOf(meeting.heats[1]), ElementsAre(2, 3, 4, 5));
    EXPECT_THAT(EntriesOf(meeting.heats[5]), ElementsAre(6, 1, 2, 3));
}

TEST(HeatPlanning, NextHeatIsTheFirstWithoutAResultAndAReRunSetsTheOldOneAside) {
    Meeting meeting = PlannedMeeting(4, ScoringRule::BestRounds, 2, 2);
    EXPECT_EQ(NextHeat(meeting)->number, 1);
    Record(meeting, 1, {Ran(1, 10, 300000)});
    Record(meeting, 2, {});
    EXPECT_EQ(NextHeat(meeting)->number, 3);
    EXPECT_TRUE(RecordHeatResult(meeting, 1, {}).has_value()) << "a run heat is re-run first";
    EXPECT_TRUE(RecordHeatResult(meeting, 3, {Ran(1, 32768, 1), Ran(2, 0, 0)}).has_value())
        << "more laps than the race engine counts";
    EXPECT_TRUE(RecordHeatResult(meeting, 3, {Ran(1, 1, 1)}).has_value()) << "racer 2 is missing";

    ASSERT_FALSE(ReRunHeat(meeting, 1));
    EXPECT_EQ(NextHeat(meeting)->number, 1);
    Record(meeting, 1, {Ran(1, 11, 301000)});
    const Heat& heat = meeting.heats[0];
    ASSERT_EQ(heat.setAside.size(), 1u);
    EXPECT_EQ(heat.setAside[0][0], Ran(1, 10, 300000));
    EXPECT_EQ((*heat.result)[0], Ran(1, 11, 301000));
    EXPECT_TRUE(ReRunHeat(meeting, 3).has_value()) << "not run yet";
    EXPECT_TRUE(PlanQualifying(meeting).has_value()) << "heats have been run";
}

TEST(HeatPlanning, MovingARacerKeepsTheRoundAndTheIdWhereItCan) {
    Meeting meeting = PlannedMeeting(20, ScoringRule::BestRounds, 2, 10);
    ASSERT_FALSE(MoveRacer(meeting, 1, 1, 2));
    EXPECT_THAT(EntriesOf(meeting.heats[1]).back(), 1);
    EXPECT_EQ(meeting.heats[1].grid.back().carId, 7) << "racer 15 has ID 1 in heat 2";
    EXPECT_TRUE(MoveRacer(meeting, 2, 1, 4).has_value()) << "another round";
    EXPECT_TRUE(MoveRacer(meeting, 2, 2, 1).has_value()) << "not in that heat";
    Record(meeting, 3, {});
    EXPECT_TRUE(MoveRacer(meeting, 2, 3, 4).has_value()) << "heat 3 has been run";

    // A lane rotation of full heats and a late entry alone in heats 6 to 9 on
    // lanes 1 to 4: a racer moves only onto its own lane.
    Meeting lanes = PlannedMeeting(5, ScoringRule::LaneRotation, 1, 4);
    ASSERT_FALSE(AddEntry(lanes, "Late Racer", 0));
    EXPECT_TRUE(MoveRacer(lanes, 1, 1, 2).has_value()) << "heat 2 is full";
    EXPECT_TRUE(MoveRacer(lanes, 2, 1, 7).has_value()) << "lane 2 is taken in heat 7";
    ASSERT_FALSE(MoveRacer(lanes, 1, 1, 7));
    EXPECT_EQ(FindSlot(*FindHeat(lanes, 7), 1)->carId, 1);
}

TEST(HeatPlanning, ANoShowKeepsItsPlaceInTheHeatAndTheMarkSurvivesTheResult) {
    Meeting meeting = PlannedMeeting(3, ScoringRule::BestRounds, 1, 3);
    ASSERT_FALSE(SetNoShow(meeting, 1, 2, true));
    Record(meeting, 1, {Ran(1, 10, 300000), Ran(2, 4, 100000)});
    EXPECT_TRUE((*meeting.heats[0].result)[1].noShow);
    EXPECT_EQ((*meeting.heats[0].result)[1].laps, 4) << "kept behind the mark";
    ASSERT_FALSE(SetNoShow(meeting, 1, 2, false));
    EXPECT_FALSE((*meeting.heats[0].result)[1].noShow);
    EXPECT_TRUE(SetNoShow(meeting, 1, 9, true).has_value());
}

TEST(HeatPlanning, ALateEntryJoinsTheSmallestHeatOfEveryRoundStillToRun) {
    Meeting meeting = PlannedMeeting(19, ScoringRule::BestRounds, 3, 10);
    Record(meeting, 1, {});
    Record(meeting, 2, {}); // round 1 is over
    ASSERT_FALSE(AddEntry(meeting, "Late Racer", 7));
    EXPECT_TRUE(meeting.entries.back().late);
    EXPECT_THAT(Sizes(meeting), ElementsAre(10, 9, 10, 10, 10, 10));
    EXPECT_EQ(meeting.heats[3].grid.back().entry, 20);
    EXPECT_TRUE(AddEntry(meeting, " Late Racer ", 3).has_value()) << "entered already";
    EXPECT_TRUE(AddEntry(meeting, "Someone", 15).has_value()) << "no such ID";

    // Lane rotation: the late racer gets each lane once in the rounds still to run.
    Meeting lanes = PlannedMeeting(5, ScoringRule::LaneRotation, 1, 4);
    ASSERT_FALSE(AddEntry(lanes, "Late Racer", 0));
    EXPECT_THAT(LanesByRacer(lanes, 1)[6], ElementsAre(1, 2, 3, 4));
    EXPECT_EQ(lanes.heats.size(), 9u) << "every heat was full: four new ones";
}

} // namespace
} // namespace kesto
