// "Load heat" onto the race engine and the heat's result taken from the race
// state when the race closes: a real lap race driven by decoder lines.
#include "meeting/heat_load.h"
#include "meeting/heat_planning.h"
#include "meeting/heat_results.h"
#include "meeting/meeting_fixture.h"
#include "support/race_rig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace kesto {
namespace {

using test::DecoderClockLine;
using test::DecoderPassLine;
using test::Ran;

TEST(HeatLoad, NamesTheHeatsIdsAndLeavesTheOthersAndNoShowsEmpty) {
    Meeting meeting = test::PlannedMeeting(4, ScoringRule::BestRounds, 1, 4);
    meeting.heatFormat = HeatFormat{HeatFormatKind::Laps, 12};
    ASSERT_FALSE(SetNoShow(meeting, 1, 4, true));
    const HeatLoad load = LoadHeat(meeting, meeting.heats[0]);
    EXPECT_EQ(load.names[0], "Racer 1");
    EXPECT_EQ(load.names[2], "Racer 3");
    EXPECT_EQ(load.names[3], UnusedIdName);
    EXPECT_EQ(load.names[13], UnusedIdName);
    EXPECT_EQ(load.format, meeting.heatFormat);

    RaceState state;
    ApplyHeatLoad(load, state);
    EXPECT_EQ(state.IdName(2), "Racer 2");
    EXPECT_EQ(state.Names.NamedId[13], 14);
    EXPECT_TRUE(state.LapRace);
    EXPECT_FALSE(state.TimedRace || state.PracticeMode);
    EXPECT_EQ(state.NumberOfLaps, 12);
    EXPECT_EQ(state.Finish, FinishRule::LeaderAtFlag);
    meeting.finish = FinishRule::EveryCarOnNextPass;
    ApplyHeatLoad(HeatLoad{load.names, HeatFormat{HeatFormatKind::Minutes, 6},
                           LoadHeat(meeting, meeting.heats[0]).finish},
                  state);
    EXPECT_TRUE(state.TimedRace && !state.LapRace);
    EXPECT_EQ(state.RaceMinutes, 6);
    EXPECT_EQ(state.Finish, FinishRule::EveryCarOnNextPass);
}

TEST(HeatLoad, AClosedRaceGivesEachRacerTheLapsAndTotalTimeOfItsId) {
    // Four racers on IDs 3, 7, 9 and 2: 3 laps every 5 s, 7 every 6 s, 9 never
    // passes and 2 is a no-show whose ID a stray car crosses.
    Meeting meeting = NewMeeting("Club Night", "2026-12-08");
    meeting.rounds = 1;
    meeting.scoring.countedRounds = 1;
    meeting.heatFormat = HeatFormat{HeatFormatKind::Laps, 3};
    for (auto [name, id] : {std::pair{"Ann", 3}, {"Ben", 7}, {"Cal", 9}, {"Dan", 2}})
        ASSERT_FALSE(AddEntry(meeting, name, id));
    ASSERT_FALSE(PlanQualifying(meeting));
    ASSERT_FALSE(SetNoShow(meeting, 1, 4, true));

    test::RaceRig rig;
    ApplyHeatLoad(LoadHeat(meeting, *NextHeat(meeting)), rig.state);
    rig.control.ReSet();
    rig.control.cmdStart_Click();
    ASSERT_TRUE(rig.state.TimerEnabled);
    const std::multimap<int32_t, int> passes{{5000, 3},  {6000, 7},  {8000, 2},  {10000, 3},
                                             {12000, 7}, {15000, 3}, {18000, 7}, {20000, 3}};
    auto next = passes.begin();
    for (int32_t ms = 10; rig.state.TimerEnabled && ms < 60000; ms += 10) {
        std::string sent = ms % 1000 == 0 ? DecoderClockLine(ms) : "";
        for (; next != passes.end() && next->first <= ms; ++next)
            sent += DecoderPassLine(next->second, next->first);
        rig.race.port.Feed(sent);
        rig.Tick(10);
    }
    ASSERT_TRUE(rig.state.RaceIsOver);

    // Ann wins at 15.0 s (her pass at 20.0 s is after her finish); Ben
    // finishes his third lap at 18.0 s; Dan's mark keeps the stray lap out.
    const HeatResult result = TakeHeatResult(rig.state, NextHeat(meeting)->slots);
    EXPECT_THAT(result, ::testing::ElementsAre(Ran(1, 3, 15000), Ran(2, 3, 18000), Ran(3, 0, 0),
                                               RacerResult{4, 1, 8000, true}));
}

} // namespace
} // namespace kesto
