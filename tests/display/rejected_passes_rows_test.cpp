// The rows of the "Rejected Passes" window: the operator's texts for each
// dropped detection, newest last, and the footer when the list was full.
#include "display/rejected_passes_rows.h"

#include "engine/lap_counting.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <limits>

namespace kesto {
namespace {

RejectedPass Rejected(int id, int32_t timeMs, int32_t sinceMs, RejectReason reason,
                      int32_t minimumMs = 700) {
    RejectedPass pass;
    pass.id = static_cast<int16_t>(id);
    pass.timeMs = timeMs;
    pass.sinceLastPassMs = sinceMs;
    pass.reason = reason;
    pass.minLapTimeMs = minimumMs;
    return pass;
}

TEST(RejectedPassesRows, HeadsAndCaption) {
    EXPECT_STREQ(RejectedPassesCaption, "Rejected Passes");
    const char* heads[] = {"ID", "Name", "Time", "After last lap", "Reason"};
    for (int column = 0; column < RejectedPassesColumns; ++column)
        EXPECT_STREQ(RejectedPassesHeads[column], heads[column]);
}

TEST(RejectedPassesRows, EachRowTellsCarTimeGapAndReasonNewestLast) {
    RaceState state;
    state.Names.IdName[3] = "Jim Clark";
    state.RejectedPasses = {Rejected(4, 65432, 430, RejectReason::UnderMinimumLap),
                            Rejected(9, 3725010, 61234, RejectReason::DistanceRun)};

    const std::vector<RejectedPassRow> rows = RejectedPassRows(state);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].id, "4");
    EXPECT_EQ(rows[0].name, "Jim Clark");
    EXPECT_EQ(rows[0].time, "1:05.43");
    EXPECT_EQ(rows[0].afterLastLap, "0.43");
    EXPECT_EQ(rows[0].reason, "Faster than the minimum lap time (0.70 s)");
    EXPECT_EQ(rows[1].id, "9");
    EXPECT_EQ(rows[1].name, ""); // no racer chosen for ID 9
    EXPECT_EQ(rows[1].time, "1:02:05.01");
    EXPECT_EQ(rows[1].afterLastLap, "61.23");
    EXPECT_EQ(rows[1].reason, "Race distance already run");
    for (int column = 0; column < RejectedPassesColumns; ++column)
        EXPECT_EQ(&rows[0].Cell(column), &rows[0].id + column);
    EXPECT_EQ(RejectedPassesFooter(state), "");
}

TEST(RejectedPassesRows, LinesTheDecoderClockDidNotTakeSayWhy) {
    RaceState state;
    auto line = [](int id, RejectReason reason) {
        RejectedPass pass = Rejected(id, 12340, 2340, reason);
        pass.decoderClockMs = 11000;
        return pass;
    };
    state.RejectedPasses = {
        line(2, RejectReason::AheadOfDecoderClock), line(2, RejectReason::BehindDecoderClock),
        line(0, RejectReason::DecoderClockJump), line(3, RejectReason::UnreadableRecord)};
    const std::vector<RejectedPassRow> rows = RejectedPassRows(state);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].reason, "Stamped ahead of the clock (0:11.00)");
    EXPECT_EQ(rows[1].reason, "Stamped behind the clock (0:11.00)");
    EXPECT_EQ(rows[2].reason, "Clock jump (the clock was 0:11.00)");
    EXPECT_EQ(rows[3].reason, "Unreadable line (stray sign or letter)");
    // A clock line belongs to no car.
    EXPECT_EQ(rows[2].id, "Clock");
    EXPECT_EQ(rows[2].time, "0:12.34");
    EXPECT_EQ(rows[2].afterLastLap, "");
    EXPECT_EQ(rows[0].afterLastLap, "2.34");
}

TEST(RejectedPassesRows, NumbersUseTheUsersDecimalSeparator) {
    RaceState state;
    state.Locale.decimalSeparator = ',';
    state.Locale.groupSeparator = '.';
    state.RejectedPasses = {Rejected(1, 9990, 1249, RejectReason::UnderMinimumLap, 1250)};
    const RejectedPassRow row = RejectedPassRowAt(state, 0);
    EXPECT_EQ(row.time, "0:09,99");
    EXPECT_EQ(row.afterLastLap, "1,25"); // 1.249 s rounded to hundredths
    EXPECT_EQ(row.reason, "Faster than the minimum lap time (1,25 s)");
}

TEST(RejectedPassesRows, TheClockTextTruncatesLikeTheRaceClock) {
    NumberLocale locale;
    EXPECT_EQ(RaceTimeText(0, locale), "0:00.00");
    EXPECT_EQ(RaceTimeText(59999, locale), "0:59.99");
    EXPECT_EQ(RaceTimeText(60000, locale), "1:00.00");
    EXPECT_EQ(RaceTimeText(-1500, locale), "-0:01.50");
    EXPECT_EQ(RaceTimeText(std::numeric_limits<int32_t>::min(), locale), "-596:31:23.64");
    EXPECT_EQ(RaceTimeText(std::numeric_limits<int32_t>::max(), locale), "596:31:23.64");
}

TEST(RejectedPassesRows, AFullListSaysHowManyWereOnlyCounted) {
    RaceState state;
    state.RejectedPassesNotKept = 1;
    EXPECT_EQ(RejectedPassesFooter(state),
              "1 more rejected pass was not kept (the list holds the first 10000).");
    state.RejectedPassesNotKept = 250;
    EXPECT_EQ(RejectedPassesFooter(state),
              "250 more rejected passes were not kept (the list holds the first 10000).");
}

TEST(RejectedPassesRows, ShowsWhatLapCountingKept) {
    test::TestRace race;
    RaceState& state = race.state;
    state.Settings.FirstLapCount = 0;
    state.Settings.MinLapTime = 0.7f;
    state.LapCount.fill(0);
    state.BestLapTime.fill(NoBestLap);
    state.Names.IdName[1] = "Ann";
    CountLap(race.context, 2, 4000);
    CountLap(race.context, 2, 4350);
    const std::vector<RejectedPassRow> rows = RejectedPassRows(state);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "Ann");
    EXPECT_EQ(rows[0].time, "0:04.35");
    EXPECT_EQ(rows[0].afterLastLap, "0.35");
    EXPECT_EQ(rows[0].reason, "Faster than the minimum lap time (0.70 s)");
}

} // namespace
} // namespace kesto
