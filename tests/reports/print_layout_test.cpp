// The summary and lap printouts as they land on the page: texts at their tab
// columns, line by line.
#include "reports/print_layout.h"
#include "reports/summary_report.h"
#include "support/recording_printer.h"
#include "support/report_races.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

using test::DriveLaps;
using test::RecordingPrinter;
using test::Standings;

struct PrintRace : test::TestRace {
    explicit PrintRace(bool practice, int firstLapCount = 0) {
        state = test::NewRace(practice, firstLapCount);
        clock.now = {2026, 12, 7, 20, 5, 42};
    }
    ResultFileState files;
    RecordingPrinter printer;
};

TEST(PrintDates, SummaryAndLapPrintoutsHaveTheirOwnFormats) {
    DateTime t{2026, 3, 4, 9, 5, 0};
    EXPECT_EQ(FormatSummaryPrintDate(t), "Mar-04, 9:05");
    EXPECT_EQ(FormatLapPrintDate(t), "Mar. 04 2026, 9:05");
}

TEST(SummaryPrintout, RaceHeadersAndRowsSitAtTheirColumns) {
    PrintRace race(false);
    race.state.Names.IdName[6] = "Veronica";
    DriveLaps(race.state, 7, {5.0, 4.9, 5.1, 5.0});
    DriveLaps(race.state, 2, {6.5, 6.4, 8.6}); // a lap down, passing after the leader
    Standings(race.state);
    ReportGrid grid = MakeSummaryGrid();
    ASSERT_FALSE(FillSummary(race.state, grid));

    ASSERT_TRUE(PrintSummary(race.context, grid, RaceSummaryPrintHeader(race.state), race.files,
                             race.printer));

    const RecordingPrinter& page = race.printer;
    EXPECT_TRUE(page.landscape);
    EXPECT_TRUE(page.ended);
    EXPECT_TRUE(race.dialogs.shown.empty());
    EXPECT_EQ(page.lines[0], "");
    EXPECT_EQ(page.lines[1], "");
    EXPECT_EQ(page.lines[2], std::string(9, ' ') + "Kesto Raceway");
    EXPECT_EQ(page.lines[3], std::string(9, ' ') + "Summary,  20 Lap Race");
    EXPECT_EQ(page.lineFontSizes[3], 20);
    EXPECT_EQ(page.lines[4], std::string(16, ' ') + "Dec-07, 20:05");
    EXPECT_EQ(page.lineFontSizes[4], 12);
    EXPECT_EQ(page.lines[5], "");

    const int header1 = 6, header2 = 7;
    EXPECT_EQ(page.ColumnOf(header1, "Pos"), 6);
    EXPECT_EQ(page.ColumnOf(header1, "ID"), 23);
    EXPECT_EQ(page.ColumnOf(header1, "Lag"), 53);
    EXPECT_EQ(page.ColumnOf(header1, "Avg"), 84);
    for (auto [text, column] : {std::pair{"Name", 8},
                                {"Color", 23},
                                {"Laps", 31},
                                {"Time", 39},
                                {"First", 53},
                                {"Behind", 61},
                                {"MPH", 69},
                                {"Lap ", 77},
                                {"Med", 92},
                                {"Crash", 99},
                                {"%", 107}})
        EXPECT_EQ(page.ColumnOf(header2, text), column) << text;

    const int first = 8;
    EXPECT_EQ(page.ColumnOf(first, "1 Veronica"), 8);
    EXPECT_EQ(page.ColumnOf(first, "0:20.000"), 39);
    EXPECT_EQ(page.ColumnOf(first, "4.90"), 77);
    EXPECT_EQ(page.ColumnOf(first + 1, "2 "), 8);
    EXPECT_EQ(page.ColumnOf(first + 1, "1Lap"), 53);
    EXPECT_EQ(page.lines.size(), static_cast<std::size_t>(first + 14 + 1));
    // The grid's cells were copied first.
    EXPECT_EQ(race.files.SummaryFileCells[2][1], "Veronica");
}

TEST(SummaryPrintout, PracticeLeavesOutPositionsAndGaps) {
    PrintRace race(true);
    race.state.Names.IdName[0] = "Ann";
    DriveLaps(race.state, 1, {5.0, 4.9, 5.1, 5.0});
    ReportGrid grid = MakeSummaryGrid();
    ASSERT_FALSE(FillSummary(race.state, grid));

    ASSERT_TRUE(PrintSummary(race.context, grid, RaceSummaryPrintHeader(race.state), race.files,
                             race.printer));

    const RecordingPrinter& page = race.printer;
    EXPECT_EQ(page.ColumnOf(6, "ID"), 23);
    EXPECT_EQ(page.ColumnOf(6, "Avg"), 69);
    EXPECT_EQ(page.ColumnOf(6, "Pos"), 0);
    EXPECT_EQ(page.ColumnOf(7, "Name"), 6);
    EXPECT_EQ(page.ColumnOf(7, "%"), 92);
    EXPECT_EQ(page.lines[8].find("Ann"), 7u); // name at column 8, no position
    EXPECT_EQ(page.ColumnOf(8, "4.90"), 61);  // best lap
    EXPECT_EQ(page.LineWith("Data"), -1);     // column 5 of the grid is not printed
    EXPECT_EQ(page.ColumnOf(9, "Insufficent"), 39);
}

TEST(SummaryPrintout, APrinterFailureIsReportedWithoutTitle) {
    PrintRace race(true);
    DriveLaps(race.state, 1, {5.0, 4.9, 5.1, 5.0});
    ReportGrid grid = MakeSummaryGrid();
    ASSERT_FALSE(FillSummary(race.state, grid));
    race.printer.failAtCall = 5;

    EXPECT_FALSE(PrintSummary(race.context, grid, RaceSummaryPrintHeader(race.state), race.files,
                              race.printer));

    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().text, "There was a problem printing to your printer.");
    EXPECT_EQ(race.dialogs.last().title, "");
    EXPECT_EQ(race.dialogs.last().buttons, MessageButtons::Ok);
    EXPECT_EQ(race.printer.calls, 5); // nothing is tried after the failure
    EXPECT_FALSE(race.printer.ended);
}

TEST(LapPrintout, RaceHasOrdinalsForCarsWithLapsAndColumnsForAll) {
    PrintRace race(false);
    race.state.Names.IdName[2] = "Christopher";
    race.state.Names.NamedId[2] = 3;
    DriveLaps(race.state, 3, {5.0, 5.1, 5.2, 5.3, 5.4});
    DriveLaps(race.state, 5, {5.5, 5.5, 5.5, 5.5, 5.5, 5.5, 5.5, 5.5});
    DriveLaps(race.state, 9, {6.25});
    Standings(race.state);

    ASSERT_TRUE(PrintLaps(race.context, race.printer));

    const RecordingPrinter& page = race.printer;
    EXPECT_EQ(page.lines[2], std::string(8, ' ') + "Kesto Raceway");
    EXPECT_EQ(page.lines[3], std::string(8, ' ') + "Lap Times, 20 Lap Race");
    EXPECT_EQ(page.lines[4], std::string(17, ' ') + "Dec. 07 2026, 20:05");
    EXPECT_EQ(page.lineFontSizes[4], 10);
    const int ordinals = 6;
    EXPECT_EQ(page.ColumnOf(ordinals, "First"), 12);
    EXPECT_EQ(page.ColumnOf(ordinals, "Second"), 23);
    EXPECT_EQ(page.ColumnOf(ordinals, "Third"), 34);
    EXPECT_EQ(page.ColumnOf(ordinals, "Fourth"), 0);
    // The ID line wraps: the ordinals already passed column 12.
    const int ids = 7;
    EXPECT_EQ(page.ColumnOf(ids, "ID 0"), 12); // ID 5 leads; no name chosen for it
    EXPECT_EQ(page.ColumnOf(ids, "ID 3"), 23);
    EXPECT_EQ(page.lines[ids].size(), 155u + 3);        // position 14 at column 155
    EXPECT_EQ(page.ColumnOf(ids + 1, "Christophe"), 0); // names cut to 9 characters
    EXPECT_EQ(page.ColumnOf(ids + 1, "Christoph"), 23);
    const int lap1 = ids + 2;
    EXPECT_EQ(page.ColumnOf(lap1, " 1 "), 7);
    EXPECT_EQ(page.ColumnOf(lap1, "5.500"), 12);
    EXPECT_EQ(page.ColumnOf(lap1, "5.000"), 23);
    EXPECT_EQ(page.ColumnOf(lap1, "6.250"), 34);
    // Eight lap lines: the second car's cells of laps 6 to 8 stay empty.
    EXPECT_EQ(page.ColumnOf(lap1 + 7, " 8 "), 7);
    EXPECT_EQ(page.lines[lap1 + 7], std::string(6, ' ') + " 8   5.500");
    EXPECT_EQ(page.lines.size(), static_cast<std::size_t>(lap1 + 8));
}

TEST(LapPrintout, PracticeHasNoOrdinalsAndSkipsTheStartLap) {
    PrintRace race(true, -1);
    race.state.Names.NamedId[0] = 1;
    DriveLaps(race.state, 1, {1.234, 5.0, 5.1});
    Standings(race.state);

    ASSERT_TRUE(PrintLaps(race.context, race.printer));

    const RecordingPrinter& page = race.printer;
    EXPECT_EQ(page.LineWith("First"), -1);
    const int ids = 6; // straight after the empty line
    EXPECT_EQ(page.ColumnOf(ids, "ID 1"), 12);
    EXPECT_EQ(page.LineWith("1.230"), -1);
    EXPECT_EQ(page.ColumnOf(ids + 2, " 1 "), 7);
    EXPECT_EQ(page.ColumnOf(ids + 2, "5.000"), 12);
    EXPECT_EQ(page.ColumnOf(ids + 3, "5.100"), 12);
    EXPECT_EQ(page.lines.size(), static_cast<std::size_t>(ids + 4));
}

TEST(LapPrintout, APrinterFailureStopsThePrintout) {
    PrintRace race(true);
    DriveLaps(race.state, 1, {5.0, 5.1});
    race.printer.failAtCall = 1;

    EXPECT_FALSE(PrintLaps(race.context, race.printer));
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().text, "There was a problem printing to your printer.");
}

} // namespace
} // namespace kesto
