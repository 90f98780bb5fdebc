// The standings text report: a points meeting, its heading and table as the
// file holds them.
#include "meeting/meeting_fixture.h"
#include "meeting/standings_report.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

using test::NoShow;
using test::Ran;
using test::Record;

TEST(StandingsReport, APointsMeetingWithTheWorstRoundDropped) {
    Meeting meeting = test::PlannedMeeting(2, ScoringRule::Points, 2, 2);
    meeting.scoring.dropWorstRound = true;
    Record(meeting, 1, {Ran(1, 10, 300000), Ran(2, 9, 300000)});
    Record(meeting, 2, {Ran(2, 10, 300000), NoShow(1)});
    EXPECT_EQ(StandingsReportText(meeting),
              "Club Night, 2026-12-08\r\n"
              "Heats: 5 Minute Race\r\n"
              "Points per place: 10 9 8 7 6 5 4 3 2 1, summed over 2 rounds, worst round "
              "dropped\r\n"
              "\r\n"
              "Qualifying\r\n"
              "Pos  Name            Points  Round 1 Round 2\r\n"
              "1    Racer 2         10      (9)     10\r\n"
              "2    Racer 1         10      10      -\r\n");
}

} // namespace
} // namespace kesto
