// The fixed-width text reports, byte for byte.
#include "engine/positions.h"
#include "reports/text_reports.h"
#include "support/report_races.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

using test::DriveLaps;
using test::NewRace;
using test::Standings;

std::string Times(const std::string& field, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += field;
    return text;
}

TEST(LapText, RaceColumnsRunInPositionOrderUntilTheLeaderStops) {
    RaceState state = NewRace(false);
    state.Names.IdName[3] = "Bob";
    state.Names.IdName[8] = "Zoë";
    DriveLaps(state, 4, {5.0, 5.25});
    DriveLaps(state, 9, {6.0});
    Standings(state);
    ResultFileState files;

    SaveLapTimesToText(state, files);

    EXPECT_EQ(files.LapTextHeader, "20 Lap Race\r\n"
                                   "Lap     \r\n"
                                   " No     Bob         Zoë         " +
                                       Times("            ", 12));
    EXPECT_EQ(files.LapTextBody, " 1      5.00        6.00        " + Times("0.00        ", 12) +
                                     "\r\n"
                                     " 2      5.25        0.00        " +
                                     Times("0.00        ", 12) + "\r\n");
    EXPECT_EQ(TextReportFile(files.LapTextHeader, files.LapTextBody),
              files.LapTextHeader + "\r\n" + files.LapTextBody + "\r\n");
}

TEST(LapText, PracticeHeaderUsesTheNameCellsAndLapZeroIsNumbered) {
    RaceState state = NewRace(true, -1);
    state.Names.IdName[0] = "Ann";
    DriveLaps(state, 9, {2.0, 5.0, 5.5, 5.75}); // ID 9 runs longest
    DriveLaps(state, 1, {3.0, 4.0});
    ResultFileState files;

    SaveLapTimesToText(state, files);

    EXPECT_EQ(files.LapTextHeader,
              "Practice\r\nLap     \r\n No     Ann        " + Times(" Select Name", 13));
    const std::string empty8 = Times("0.00        ", 7);
    EXPECT_EQ(files.LapTextBody, " 0      3.00        " + empty8 + "2.00        " +
                                     Times("0.00        ", 5) + "\r\n" + " 1      4.00        " +
                                     empty8 + "5.00        " + Times("0.00        ", 5) + "\r\n" +
                                     " 2      0.00        " + empty8 + "5.50        " +
                                     Times("0.00        ", 5) + "\r\n" + " 3      0.00        " +
                                     empty8 + "5.75        " + Times("0.00        ", 5) + "\r\n");
}

TEST(LapText, RaceWithoutRunningOrderHasAnEmptyBody) {
    RaceState state = NewRace(false);
    DriveLaps(state, 1, {5.0});
    ResultFileState files;
    files.LapTextBody = "old";
    SaveLapTimesToText(state, files);
    EXPECT_EQ(files.LapTextBody, "");
    EXPECT_EQ(TextReportFile(files.LapTextHeader, files.LapTextBody),
              files.LapTextHeader + "\r\n\r\n");
}

TEST(LapText, TwoSavesOfTheSameTableAreIdentical) {
    RaceState state = NewRace(false);
    DriveLaps(state, 2, {5.0, 5.1, 1234.5});
    DriveLaps(state, 3, {5.2, 5.3});
    Standings(state);
    ResultFileState files;
    SaveLapTimesToText(state, files);
    const std::string first = TextReportFile(files.LapTextHeader, files.LapTextBody);
    SaveLapTimesToText(state, files);
    EXPECT_EQ(TextReportFile(files.LapTextHeader, files.LapTextBody), first);
    EXPECT_NE(first.find("1,234.50    "), std::string::npos);
}

TEST(SummaryText, RaceLinesLeaveOutMissingFieldsSoLaterFieldsShift) {
    RaceState state = NewRace(false, -1);
    state.Names.IdName[0] = "Ann";
    state.Names.IdName[1] = "Bo";
    state.Names.IdName[2] = "Cy";
    DriveLaps(state, 1, {2.0, 5.0, 5.0, 5.0, 5.0});
    DriveLaps(state, 2, {2.5, 5.5}); // exactly 1 lap: no speed, no best lap
    Standings(state);
    subSortLapTimes(state);
    ResultFileState files;

    ASSERT_FALSE(SaveSummaryToText(state, files));

    EXPECT_EQ(
        files.SummaryTextHeader,
        " Pos        Flag   Total Total      Lag   Lag    Best   Best  Avg   \r\n"
        " Name       Color  Laps  Time       First Behind MPH    Lap   Time  Med   Crash %\r\n");
    const std::string lines = files.SummaryTextBody;
    EXPECT_EQ(lines.substr(0, lines.find("\r\n") + 2),
              "1 Ann       4    0:22.000   0.00  0.00   327.3  5.00  6.67  5.00    0   0\r\n");
    const std::size_t second = lines.find("\r\n") + 2;
    EXPECT_EQ(lines.substr(second, lines.find("\r\n", second) + 2 - second),
              "2 Bo        1    0:08.000" + std::string(16, ' ') + "0.00  0.00    0   0\r\n");
    EXPECT_NE(lines.find("Cy         Insufficent data to display summary\r\n"), std::string::npos);
    EXPECT_NE(lines.find("           Insufficent data to display summary\r\n"), std::string::npos);
    EXPECT_EQ(state.CrashCount[0], 0);
    EXPECT_FLOAT_EQ(state.AverageLap[0], 20.0f / 3);
}

TEST(SummaryText, AOneLapCarWithABestLapLosesOnlyTheSpeedField) {
    RaceState state = NewRace(false, -1);
    DriveLaps(state, 1, {2.0, 5.0, 5.0, 5.0, 5.0});
    DriveLaps(state, 2, {2.5, 5.5});
    state.BestLapTime[1] = 5500;
    Standings(state);
    ResultFileState files;
    ASSERT_FALSE(SaveSummaryToText(state, files));

    const std::string& body = files.SummaryTextBody;
    const std::size_t second = body.find("\r\n") + 2;
    // Both lines hold a best lap; in the second its field starts 7 characters earlier.
    const std::size_t bestInFirst = body.find("5.00  ");
    const std::size_t bestInSecond = body.find("5.50  ", second) - second;
    EXPECT_EQ(bestInFirst - bestInSecond, 7u);
}

TEST(SummaryText, RaceWithoutRunningOrderGetsTheHeaderOnly) {
    RaceState state = NewRace(false);
    DriveLaps(state, 1, {5.0, 5.0, 5.0});
    ResultFileState files;

    std::optional<Message> message = SaveSummaryToText(state, files);

    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "Insufficent data to display summary");
    EXPECT_EQ(message->title, "Summary");
    EXPECT_EQ(message->icon, MessageIcon::Information);
    EXPECT_EQ(files.SummaryTextBody, "");
    EXPECT_FALSE(files.SummaryTextHeader.empty());
}

TEST(SummaryText, PracticeRowsKeepTheirColumnsUnderTheHeader) {
    RaceState state = NewRace(true);
    state.Names.IdName[2] = "Cy";
    state.Names.IdName[5] = "Dee";
    DriveLaps(state, 3, {5.0, 4.0, 6.0, 5.0});
    DriveLaps(state, 6, {5.0});
    subSortLapTimes(state);
    ResultFileState files;

    ASSERT_FALSE(SaveSummaryToText(state, files));

    EXPECT_EQ(files.SummaryTextHeader,
              "Racer     Flag   Total Best   Best   Ave    \r\n"
              "Name      Color  Laps  Lap    MPH    Time   Med   Crash  %\r\n");
    EXPECT_NE(files.SummaryTextBody.find(
                  "Cy        3      4     4.00   409.1  5.00   5.00   3     75\r\n"),
              std::string::npos);
    EXPECT_NE(files.SummaryTextBody.find("Dee       Insufficent data to display summary\r\n"),
              std::string::npos);
    EXPECT_NE(files.SummaryTextBody.find("          Insufficent data to display summary\r\n"),
              std::string::npos);
}

} // namespace
} // namespace kesto
