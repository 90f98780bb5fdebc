// The reports' data without any window: filled, saved and printed from the
// book the report operations keep.
#include "reports/result_book.h"
#include "reports/summary_report.h"
#include "reports/text_reports.h"
#include "support/recording_printer.h"
#include "support/report_races.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kesto {
namespace {

namespace fs = std::filesystem;
using test::DriveLaps;
using test::Standings;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ResultBookTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("kesto-book-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        race.state = test::NewRace(false);
        race.state.Names.IdName[6] = "Veronica";
        DriveLaps(race.state, 7, {5.0, 4.9, 5.1, 5.0});
        DriveLaps(race.state, 2, {6.5, 6.4, 8.6});
        Standings(race.state); // as a tick leaves it: no summary filled, no median sorted
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string Path(const char* name) const { return (folder / name).string(); }

    fs::path folder;
    test::TestRace race;
    ResultBook book;
};

TEST_F(ResultBookTest, SavesAndPrintsTheReportsWithNoWindow) {
    ASSERT_FALSE(book.FillSummary(race.state));
    ASSERT_FALSE(book.FillLapTimes(race.state).message);
    race.dialogs.files = {Path("race.sum"), Path("race.lap"), Path("summary.txt")};

    ASSERT_TRUE(book.SaveSummary(race.context, folder.string()));
    ASSERT_TRUE(book.SaveLaps(race.context, folder.string()));
    ASSERT_TRUE(book.SaveSummary(race.context, folder.string()));
    test::RecordingPrinter printer;
    ASSERT_TRUE(book.PrintSummary(race.context, printer));

    EXPECT_NE(ReadBytes(Path("race.sum")).find("\r\nVeronica\r\n"), std::string::npos);
    EXPECT_NE(ReadBytes(Path("race.lap")).find("\r\n4.90\r\n"), std::string::npos);
    EXPECT_NE(ReadBytes(Path("summary.txt")).find("1 Veronica"), std::string::npos);
    EXPECT_GT(printer.LineWith("1 Veronica"), 0);
    EXPECT_EQ(book.Summary().Text(2, 1), "Veronica");
}

TEST_F(ResultBookTest, TheSummaryTextHasTheMediansWithoutAFilledSummary) {
    ResultFileState files;
    ASSERT_FALSE(SaveSummaryToText(race.state, files));
    // Veronica's laps 4.9, 5.0, 5.1 (the first lap is not a timed lap): median 5.00.
    const std::string& body = files.SummaryTextBody;
    const std::string first = body.substr(0, body.find("\r\n"));
    EXPECT_EQ(first.substr(first.size() - 13), "5.00    0   0");
}

TEST_F(ResultBookTest, ARefreshAfterAnOpenedLapFileShowsNothingOfTheFile) {
    std::string file = "Practice\r\n";
    for (int row = 0; row < 30; ++row)
        for (int col = 0; col < LapGridCols; ++col)
            file += "f" + std::to_string(row) + "\r\n";
    ASSERT_TRUE(book.OpenLapFile(Path("old.lap"), file).complete);
    ASSERT_EQ(book.Laps().Text(29, 14), "f29");

    ASSERT_FALSE(book.FillLapTimes(race.state).message); // the lap window's Refresh

    EXPECT_EQ(book.Laps().Rows(), 20);
    EXPECT_EQ(book.Laps().Text(3, 1), "4.90");
    for (int row = 0; row < book.Laps().Rows(); ++row)
        for (int col = 3; col < LapGridCols; ++col)
            EXPECT_EQ(book.Laps().Text(row, col), "") << row << "," << col;
    EXPECT_EQ(book.Laps().Text(19, 0), "");
}

TEST_F(ResultBookTest, AnOpenedSummaryFilePrintsUnderItsOwnHeader) {
    std::string file = "Demo - Practice\r\n";
    for (int cell = 0; cell < SummaryRows * SummaryCols; ++cell)
        file += (cell == 2 * SummaryCols + 1 ? std::string("Zed") : std::string()) + "\r\n";
    book.OpenSummaryFile((folder / "heat1.sum").string(), file);
    test::RecordingPrinter printer;

    ASSERT_TRUE(book.PrintSummary(race.context, printer)); // the live race: 20 laps, Kesto Raceway

    EXPECT_EQ(printer.lines[2], std::string(9, ' ') + "heat1.sum");
    EXPECT_EQ(printer.lines[3], std::string(9, ' ') + "Summary,  Demo - Practice");
    EXPECT_EQ(printer.LineWith("Pos"), -1); // the practice layout: names only
    EXPECT_EQ(printer.ColumnOf(7, "Name"), 6);
    EXPECT_EQ(printer.ColumnOf(8, "Zed"), 8);

    ASSERT_FALSE(book.FillSummary(race.state)); // Refresh: the race again
    test::RecordingPrinter live;
    ASSERT_TRUE(book.PrintSummary(race.context, live));
    EXPECT_EQ(live.lines[2], std::string(9, ' ') + "Kesto Raceway");
    EXPECT_EQ(live.lines[3], std::string(9, ' ') + "Summary,  20 Lap Race");
}

} // namespace
} // namespace kesto
