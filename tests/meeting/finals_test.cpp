// Finals from the qualifying standings: mains, bump-ups that follow the main
// below (and its re-run), and the final standings by main, then place.
#include "meeting/finals.h"
#include "meeting/heat_planning.h"
#include "meeting/meeting_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kesto {
namespace {

using test::EntriesOf;
using test::NoShow;
using test::PlannedMeeting;
using test::Ran;
using test::Record;
using ::testing::ElementsAre;

class Finals : public ::testing::Test {
protected:
    // Seven racers qualify in entry order: racer k does 20 - k laps.
    Finals() : meeting(PlannedMeeting(7, ScoringRule::BestRounds, 1, 7)) {
        Record(meeting, 1,
               {Ran(1, 19, 300000), Ran(2, 18, 300000), Ran(3, 17, 300000), Ran(4, 16, 300000),
                Ran(5, 15, 300000), Ran(6, 14, 300000), Ran(7, 13, 300000)});
    }

    std::vector<int> Standings() const {
        std::vector<int> entries;
        for (const auto& row : FinalStandings(meeting))
            entries.push_back(row.entry);
        return entries;
    }

    Meeting meeting;
    FinalsSetup setup{{3, 4}, 1, HeatFormat{HeatFormatKind::Minutes, 8}};
};

TEST_F(Finals, MainsTakeTheStandingsInTurnAndRunFromTheLowestUp) {
    ASSERT_FALSE(PlanFinals(meeting, setup));
    const Heat& bMain = *FindHeat(meeting, 2);
    const Heat& aMain = *FindHeat(meeting, 3);
    EXPECT_EQ(bMain.main, 1);
    EXPECT_THAT(EntriesOf(bMain), ElementsAre(4, 5, 6, 7));
    EXPECT_THAT(EntriesOf(aMain), ElementsAre(1, 2, 3)) << "its bump-up place waits for the B main";
    EXPECT_EQ(NextHeat(meeting)->number, 2);
    EXPECT_THAT(Standings(), ElementsAre(1, 2, 3, 4, 5, 6, 7)) << "seeding order before any final";

    // Sizes that leave a racer out: he stands after the mains, in qualifying order.
    ASSERT_FALSE(PlanFinals(meeting, FinalsSetup{{3, 3}, 0, setup.format}));
    EXPECT_EQ(FinalStandings(meeting).back().main, -1);
}

TEST_F(Finals, PlanningIsRefusedBeforeQualifyingEndsAndForMainsAHeatCannotHold) {
    Meeting unfinished = PlannedMeeting(7, ScoringRule::BestRounds, 2, 7);
    EXPECT_TRUE(PlanFinals(unfinished, setup).has_value());
    EXPECT_TRUE(PlanFinals(meeting, FinalsSetup{{14, 2}, 1, setup.format}).has_value());
    EXPECT_TRUE(PlanFinals(meeting, FinalsSetup{{3, 4}, 1, HeatFormat{HeatFormatKind::Laps, 0}})
                    .has_value());
    EXPECT_FALSE(meeting.finals.has_value());
}

TEST_F(Finals, TheBumpUpFollowsTheMainBelowAndItsReRun) {
    ASSERT_FALSE(PlanFinals(meeting, setup));
    Record(meeting, 2, {Ran(6, 20, 480000), Ran(4, 19, 480000), Ran(5, 18, 480000)});
    const HeatSlot& bumped = FindHeat(meeting, 3)->grid.back();
    EXPECT_EQ(bumped.entry, 6);
    EXPECT_TRUE(bumped.bumpedUp);
    EXPECT_EQ(bumped.carId, 6);
    ASSERT_FALSE(SetNoShow(meeting, 3, 6, true));
    EXPECT_TRUE(FindHeat(meeting, 3)->grid.back().noShow) << "kept through the bump-up's refresh";

    ASSERT_FALSE(ReRunHeat(meeting, 2));
    EXPECT_THAT(EntriesOf(*FindHeat(meeting, 3)), ElementsAre(1, 2, 3));
    Record(meeting, 2, {Ran(7, 20, 480000), Ran(5, 19, 480000), Ran(4, 18, 480000)});
    Record(meeting, 3, {Ran(7, 21, 480000), Ran(1, 20, 480000), Ran(2, 20, 481000), NoShow(3)});
    EXPECT_TRUE(ReRunHeat(meeting, 2).has_value()) << "the A main ran with its bump-up";

    // A: 7 (up from B), 1, 2, then 3 who did not start; B without 7: 5, 4,
    // then 6 without a lap.
    EXPECT_THAT(Standings(), ElementsAre(7, 1, 2, 3, 5, 4, 6));
    const auto rows = FinalStandings(meeting);
    EXPECT_TRUE(rows[0].bumpedUp);
    EXPECT_EQ(rows[0].qualifying, 7);
    EXPECT_TRUE(rows[3].noShow);
    EXPECT_EQ(rows[4].place, 2) << "racer 5 was second in the B main";
    EXPECT_EQ(rows[6].place, 0);
}

} // namespace
} // namespace kesto
