// Lap and summary grid files, the kind of a file by its path, and saving
// through the dialogs: what lands on the disk, byte for byte.
#include "base/safe_write.h"
#include "base/windows1252.h"
#include "reports/delimited_reader.h"
#include "reports/lap_times_report.h"
#include "reports/result_files.h"
#include "reports/result_saving.h"
#include "reports/summary_report.h"
#include "reports/text_reports.h"
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

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

int CountCrLfLines(const std::string& bytes) {
    int lines = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
         at = bytes.find("\r\n", at + 2))
        ++lines;
    return lines;
}

class ResultFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() /
            ("kesto-results-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        race.state = test::NewRace(false);
        race.state.Names.IdName[0] = "José";
        DriveLaps(race.state, 1, {5.0, 5.1, 5.2});
        DriveLaps(race.state, 2, {5.5, 5.6});
        Standings(race.state);
        race.state.LapsUnsaved = true;
        race.state.SummaryUnsaved = true;
    }
    void TearDown() override {
        SetSafeWriteFaultHookForTesting(nullptr);
        fs::remove_all(folder);
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }

    fs::path folder;
    test::TestRace race;
    ResultFileState files;
};

TEST(ResultFileKinds, TextAnywhereInTheNameAndLapAnywhereInThePath) {
    EXPECT_EQ(KindOfOpenedFile("/races/race.txt.lap"), ResultFileKind::Text);
    EXPECT_EQ(KindOfOpenedFile("/races/RACE.TXT"), ResultFileKind::Text);
    EXPECT_EQ(KindOfOpenedFile("/club/Laps/race.sum"), ResultFileKind::LapGrid);
    EXPECT_EQ(KindOfOpenedFile("/club/Overlap.sum"), ResultFileKind::LapGrid);
    EXPECT_EQ(KindOfOpenedFile("/club/final.sum"), ResultFileKind::SummaryGrid);
    EXPECT_TRUE(IsTextReportPath("/a/b.Txt.lap"));
    EXPECT_FALSE(IsTextReportPath("/a/b.lap"));
}

TEST(DelimitedItems, LeadingBlanksCommasAndQuotesShapeTheItems) {
    DelimitedReader reader("header, with comma\r\n  12.34\r\n\r\nSmith, John\r\n\"Fast\" Eddie\r\n"
                           "\"Smith, \"\"Jo\"\"\"\r\nx,\r\nlast");
    EXPECT_EQ(reader.ReadLine(), "header, with comma");
    EXPECT_EQ(reader.ReadItem(), "12.34");
    EXPECT_EQ(reader.ReadItem(), "");
    EXPECT_EQ(reader.ReadItem(), "Smith");
    EXPECT_EQ(reader.ReadItem(), "John");
    EXPECT_EQ(reader.ReadItem(), "Fast");
    EXPECT_EQ(reader.ReadItem(), "Smith, \"Jo\"");
    EXPECT_EQ(reader.ReadItem(), "x");
    EXPECT_EQ(reader.ReadItem(), "");
    EXPECT_FALSE(reader.AtEnd());
    EXPECT_EQ(reader.ReadItem(), "last");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.ReadItem(), std::nullopt);
}

TEST_F(ResultFilesTest, LapGridFileOfTwentyRowsHas301CrLfLinesAndReadsBack) {
    LapTableState table;
    ReportGrid grid = MakeLapGrid();
    ASSERT_FALSE(FillLapTimes(race.state, table, grid).message);
    ASSERT_EQ(grid.Rows(), 20);
    race.dialogs.files.push_back(Path("race.lap"));

    ASSERT_TRUE(SaveLapsFile(race.context, folder.string(), grid, files));

    const std::string bytes = ReadBytes(Path("race.lap"));
    EXPECT_EQ(CountCrLfLines(bytes), 301);
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
    EXPECT_EQ(bytes.substr(0, 2), "\r\n"); // LapFileHeader starts empty
    EXPECT_NE(bytes.find("Laps\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Jos\xE9\r\n"), std::string::npos); // Windows-1252 é
    EXPECT_EQ(bytes.find('"'), std::string::npos);           // no cell needs quotes
    EXPECT_EQ(files.LapFileCells[2][1], "5.00");
    EXPECT_FALSE(race.state.LapsUnsaved);
    EXPECT_TRUE(race.state.SummaryUnsaved);
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().text, "File " + Path("race.lap") + " has been saved");
    EXPECT_EQ(race.dialogs.last().title, "File Saved");
    EXPECT_EQ(race.dialogs.last().icon, MessageIcon::Information);

    std::string text;
    ASSERT_TRUE(ReadResultFile(Path("race.lap"), text, nullptr));
    ReportGrid back = MakeLapGrid();
    ResultFileState readFiles;
    GridFileRead read = ReadLapGridFile(text, back, readFiles);
    EXPECT_TRUE(read.complete);
    EXPECT_EQ(read.rows, 20);
    EXPECT_EQ(back.Rows(), 20);
    for (int row = 0; row < 20; ++row)
        for (int col = 0; col < LapGridCols; ++col)
            EXPECT_EQ(back.Text(row, col), grid.Text(row, col)) << row << "," << col;
    EXPECT_EQ(back.Text(1, 1), "José");
    EXPECT_EQ(back.Cell(1, 1).align, CellAlign::Left);
    EXPECT_EQ(back.Cell(2, 1).align, CellAlign::Centre);
}

TEST_F(ResultFilesTest, TheSaveDialogProposesAStampedNameAndTheTextFilter) {
    race.clock.now = {2026, 12, 7, 9, 5, 0};
    ReportGrid grid = MakeLapGrid();
    EXPECT_FALSE(SaveLapsFile(race.context, "/club", grid, files)); // cancelled

    ASSERT_EQ(race.dialogs.fileChoices.size(), 1u);
    const FileChoice& choice = race.dialogs.fileChoices[0];
    EXPECT_TRUE(choice.save);
    EXPECT_EQ(choice.title, "Save Laps File");
    EXPECT_EQ(choice.filter, "Lap Files (*.lap)|*.lap|Text Files(*.txt)|*.txt");
    EXPECT_EQ(choice.filterIndex, 2);
    EXPECT_EQ(choice.initialPath, "/club/Laps Dec-07, 9-05");
    EXPECT_EQ(race.state.RaceDateStamp, "Dec-07, 9-05");
    EXPECT_TRUE(race.dialogs.shown.empty());
    EXPECT_TRUE(race.state.LapsUnsaved);

    race.state.RaceDateStamp = "Jan-02, 3-04";
    ReportGrid summary = MakeSummaryGrid();
    EXPECT_FALSE(SaveSummaryFile(race.context, "/club", summary, files));
    const FileChoice& summaryChoice = race.dialogs.fileChoices[1];
    EXPECT_EQ(summaryChoice.title, "Save Summary File");
    EXPECT_EQ(summaryChoice.filter, "Summary Files (*.sum)|*.sum|Text File(*.txt)|*.txt");
    EXPECT_EQ(summaryChoice.filterIndex, 1);
    EXPECT_EQ(summaryChoice.initialPath, "/club/Summary Jan-02, 3-04");
}

TEST_F(ResultFilesTest, ATxtAnywhereInTheNameWritesTheTextReport) {
    ReportGrid grid = MakeLapGrid();
    race.dialogs.files.push_back(Path("race.txt.lap"));
    ASSERT_TRUE(SaveLapsFile(race.context, folder.string(), grid, files));
    ResultFileState expected;
    SaveLapTimesToText(race.state, expected);
    const std::string bytes = ReadBytes(Path("race.txt.lap"));
    EXPECT_EQ(bytes,
              Utf8ToWindows1252(TextReportFile(expected.LapTextHeader, expected.LapTextBody)));
    EXPECT_EQ(bytes.substr(0, 43), "20 Lap Race\r\nLap     \r\n No     Jos\xE9        ");
}

TEST_F(ResultFilesTest, SummaryGridFileHas209LinesAndReadsBackWithRedInsufficentData) {
    ReportGrid grid = MakeSummaryGrid();
    ASSERT_FALSE(FillSummary(race.state, grid));
    race.dialogs.files.push_back(Path("final.sum"));

    ASSERT_TRUE(SaveSummaryFile(race.context, folder.string(), grid, files));

    const std::string bytes = ReadBytes(Path("final.sum"));
    EXPECT_EQ(CountCrLfLines(bytes), 209);
    EXPECT_EQ(bytes.substr(0, 13), "20 Lap Race\r\n");
    EXPECT_EQ(files.SummaryFileHeader, "20 Lap Race");
    EXPECT_FALSE(race.state.SummaryUnsaved);
    EXPECT_TRUE(race.state.LapsUnsaved);

    std::string text;
    ASSERT_TRUE(ReadResultFile(Path("final.sum"), text, nullptr));
    ReportGrid back = MakeSummaryGrid();
    back.SetBackground(3, 2, 12345); // from an earlier race
    ResultFileState readFiles;
    GridFileRead read = ReadSummaryGridFile(text, back, readFiles);
    EXPECT_TRUE(read.complete);
    for (int row = 0; row < SummaryRows; ++row)
        for (int col = 0; col < SummaryCols; ++col)
            EXPECT_EQ(back.Text(row, col), grid.Text(row, col)) << row << "," << col;
    EXPECT_EQ(back.Text(3, 4), "0:11.100"); // ID 2 with 2 laps: its time replaced "Insufficent"
    EXPECT_EQ(back.Text(4, 4), "Insufficent");
    EXPECT_EQ(back.Cell(4, 4).foreground, RedColor);
    EXPECT_EQ(back.Cell(4, 5).foreground, RedColor);
    EXPECT_FALSE(back.Cell(3, 4).foreground);
    EXPECT_FALSE(back.Cell(3, 2).background);
    EXPECT_EQ(back.Cell(2, 2).align, CellAlign::Centre);
    EXPECT_EQ(readFiles.SummaryFileCells[2][1], "José");
}

// Commas in a name, in decimal numbers and in the grouping of a 1000 s lap,
// and a quote in a name: every file keeps them and the grid files read back.
TEST_F(ResultFilesTest, EveryFileTypeReadsBackCommasAndQuotesUnderBothDecimalSeparators) {
    for (const NumberLocale locale : {NumberLocale{',', '.'}, NumberLocale{'.', ','}}) {
        const bool comma = locale.decimalSeparator == ',';
        race.state = test::NewRace(false);
        race.state.Locale = locale;
        race.state.Names.IdName[2] = "Smith, Jo";
        race.state.Names.IdName[3] = "\"Fast\" Eddie";
        DriveLaps(race.state, 3, {5.0, 1005.0, 5.25, 5.5});
        DriveLaps(race.state, 4, {5.0, 4.75, 5.0});
        Standings(race.state);
        ReportGrid laps = MakeLapGrid();
        LapTableState table;
        ASSERT_FALSE(FillLapTimes(race.state, table, laps).message);
        ASSERT_EQ(laps.Text(3, 1), comma ? "1.005,00" : "1,005.00");
        ReportGrid summary = MakeSummaryGrid();
        ASSERT_FALSE(FillSummary(race.state, summary));
        ASSERT_EQ(summary.Text(2, 8), comma ? "5,25" : "5.25");
        race.dialogs.files = {Path("race.lap"), Path("race.sum"), Path("laps.txt"),
                              Path("summary.txt")};
        ASSERT_TRUE(SaveLapsFile(race.context, folder.string(), laps, files));
        ASSERT_TRUE(SaveSummaryFile(race.context, folder.string(), summary, files));
        ASSERT_TRUE(SaveLapsFile(race.context, folder.string(), laps, files));
        ASSERT_TRUE(SaveSummaryFile(race.context, folder.string(), summary, files));

        std::string text;
        ASSERT_TRUE(ReadResultFile(Path("race.lap"), text, nullptr));
        EXPECT_NE(text.find(comma ? "\r\n\"1.005,00\"\r\n" : "\r\n\"1,005.00\"\r\n"),
                  std::string::npos);
        EXPECT_NE(text.find("\r\n\"\"\"Fast\"\" Eddie\"\r\n"), std::string::npos);
        ReportGrid back = MakeLapGrid();
        EXPECT_TRUE(ReadLapGridFile(text, back, files).complete);
        for (int row = 0; row < laps.Rows(); ++row)
            for (int col = 0; col < LapGridCols; ++col)
                EXPECT_EQ(back.Text(row, col), laps.Text(row, col)) << row << "," << col;

        ASSERT_TRUE(ReadResultFile(Path("race.sum"), text, nullptr));
        back = MakeSummaryGrid();
        EXPECT_TRUE(ReadSummaryGridFile(text, back, files).complete);
        for (int row = 0; row < SummaryRows; ++row)
            for (int col = 0; col < SummaryCols; ++col)
                EXPECT_EQ(back.Text(row, col), summary.Text(row, col)) << row << "," << col;

        for (const char* report : {"laps.txt", "summary.txt"}) {
            ASSERT_TRUE(ReadResultFile(Path(report), text, nullptr));
            EXPECT_NE(text.find("Smith, Jo"), std::string::npos) << report;
            EXPECT_EQ(text.find("\"Smith"), std::string::npos) << report; // never quoted
        }
        EXPECT_NE(text.find(comma ? "5,25" : "5.25"), std::string::npos);
    }
}

TEST_F(ResultFilesTest, AShortLapFileKeepsWhatWasReadAndNoOlderRows) {
    ReportGrid grid = MakeLapGrid();
    for (int row = 0; row < 40; ++row)
        grid.SetText(row, 0, "old");
    std::string text = "hdr\r\n";
    for (int i = 0; i < 15 * 3 + 4; ++i)
        text += "c" + std::to_string(i) + "\r\n";
    ResultFileState readFiles;

    GridFileRead read = ReadLapGridFile(text, grid, readFiles);

    EXPECT_FALSE(read.complete);
    EXPECT_EQ(read.rows, 3);
    EXPECT_EQ(readFiles.LapFileHeader, "hdr");
    EXPECT_EQ(grid.Text(2, 14), "c44");
    EXPECT_EQ(grid.Text(3, 3), "c48");
    EXPECT_EQ(grid.Text(3, 4), "");
    EXPECT_EQ(grid.Rows(), 20);
    EXPECT_EQ(grid.Text(19, 0), "");
}

TEST_F(ResultFilesTest, ALapFileStopsAtTheLapTableLimit) {
    std::string text = "\r\n";
    for (int row = 0; row < LapFileMaxRows + 2; ++row)
        for (int col = 0; col < LapGridCols; ++col)
            text += std::to_string(row) + "\r\n";
    ReportGrid grid = MakeLapGrid();
    ResultFileState readFiles;

    GridFileRead read = ReadLapGridFile(text, grid, readFiles);

    EXPECT_FALSE(read.complete);
    EXPECT_EQ(read.rows, LapFileMaxRows);
    EXPECT_EQ(grid.Rows(), LapFileMaxRows);
    EXPECT_EQ(grid.Text(3000, 0), "3000");
    EXPECT_EQ(readFiles.LapFileCells.size(), static_cast<std::size_t>(LapFileMaxRows));
}

TEST_F(ResultFilesTest, ASummaryFileWithTooFewItemsKeepsTheCellsRead) {
    std::string text = "Practice\r\n";
    for (int i = 0; i < 30; ++i)
        text += "s" + std::to_string(i) + "\r\n";
    ReportGrid grid = MakeSummaryGrid();
    ResultFileState readFiles;
    GridFileRead read = ReadSummaryGridFile(text, grid, readFiles);
    EXPECT_FALSE(read.complete);
    EXPECT_EQ(grid.Text(2, 3), "s29");
    EXPECT_EQ(grid.Text(2, 4), "");
}

TEST_F(ResultFilesTest, AFailedSaveLeavesTheEarlierFileWhole) {
    const std::string old = "20 Lap Race\r\nolder results\r\n";
    WriteBytes(Path("race.lap"), old);
    ReportGrid grid = MakeLapGrid();
    race.dialogs.files.push_back(Path("race.lap"));
    SetSafeWriteFaultHookForTesting([](std::string_view step) { return step == "write"; });

    EXPECT_FALSE(SaveLapsFile(race.context, folder.string(), grid, files));

    EXPECT_EQ(ReadBytes(Path("race.lap")), old);
    EXPECT_TRUE(race.state.LapsUnsaved);
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().title, "");
    EXPECT_FALSE(race.dialogs.last().text.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(ResultFilesTest, ASaveIntoAMissingFolderIsReportedNotClaimed) {
    ReportGrid grid = MakeSummaryGrid();
    race.dialogs.files.push_back(Path("no-such-folder/final.sum"));
    EXPECT_FALSE(SaveSummaryFile(race.context, folder.string(), grid, files));
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().title, "");
    EXPECT_TRUE(race.state.SummaryUnsaved);
}

TEST_F(ResultFilesTest, OpenDialogUsesTheResultFilterAndIgnoresBlankNames) {
    race.dialogs.files.push_back(std::string("   "));
    EXPECT_FALSE(ChooseResultFileToOpen(race.dialogs));
    EXPECT_EQ(race.dialogs.fileChoices[0].filter,
              "Lap Files (*.lap)|*.lap|Summary Files(*.sum)|*.sum|Text Files(*.txt)|*.txt");
    EXPECT_FALSE(race.dialogs.fileChoices[0].save);
    race.dialogs.files.push_back(Path("a.lap"));
    EXPECT_EQ(ChooseResultFileToOpen(race.dialogs), Path("a.lap"));
    EXPECT_FALSE(ChooseResultFileToOpen(race.dialogs)); // cancelled
}

} // namespace
} // namespace kesto
