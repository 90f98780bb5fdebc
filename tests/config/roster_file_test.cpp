#include "config/roster_file.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class RosterFile : public test::TempFolderTest {};

TEST_F(RosterFile, AnnAndBobGiveEveryListAnnBobAndEmpty) {
    ASSERT_TRUE(WriteRoster(folder, {"Ann", "Bob"}));
    EXPECT_EQ(ReadBytes(folder / "kestoRacers.dat"), "\"Ann\"\r\n\"Bob\"\r\n");
    EXPECT_EQ(RacerListEntries(folder), (Names{"Ann", "Bob", "Empty"}));
}

TEST_F(RosterFile, WithoutARosterFileTheListsAreLeftAlone) {
    EXPECT_EQ(RacerListEntries(folder), std::nullopt);
    WriteBytes(folder / "kestoRacers.dat", "");
    EXPECT_EQ(RacerListEntries(folder), Names{"Empty"});
    EXPECT_EQ(ReadRoster(folder), Names{});
}

TEST_F(RosterFile, ANameHoldingACommaOrQuoteStaysOneName) {
    ASSERT_TRUE(WriteRoster(folder, {"Smith, John", "Al \"Ace\" Jones", "Zoë"}));
    EXPECT_EQ(ReadRoster(folder), (Names{"Smith, John", "Al \"Ace\" Jones", "Zoë"}));
    EXPECT_EQ(ReadBytes(folder / "kestoRacers.dat"),
              "\"Smith, John\"\r\n\"Al \"\"Ace\"\" Jones\"\r\n\"Zo\xEB\"\r\n");
}

TEST_F(RosterFile, AnImportFileMayHoldSeveralNamesPerLineQuotedOrNot) {
    WriteBytes(folder / "club.txt", "Tom,Jerry\r\n\"Spike, Sr.\", Tyke\r\n\r\n");
    EXPECT_EQ(ReadNameList(folder / "club.txt"), (Names{"Tom", "Jerry", "Spike, Sr.", "Tyke"}));
    std::string error;
    EXPECT_EQ(ReadNameList(folder / "none.txt", &error), std::nullopt);
    EXPECT_EQ(error, "No such file or directory");
}

TEST_F(RosterFile, AppendAddsOneLineAndCreatesTheFileWhenMissing) {
    ASSERT_TRUE(AppendRosterName(folder, "Ann Lee"));
    ASSERT_TRUE(AppendRosterName(folder, "Bob"));
    EXPECT_EQ(ReadBytes(folder / "kestoRacers.dat"), "\"Ann Lee\"\r\n\"Bob\"\r\n");

    // A hand-edited roster without a final line end still gets a line of its own.
    WriteBytes(folder / "kestoRacers.dat", "\"Ann\"");
    ASSERT_TRUE(AppendRosterName(folder, "Cy"));
    EXPECT_EQ(ReadRoster(folder), (Names{"Ann", "Cy"}));
}

TEST_F(RosterFile, TheRosterIsFoundWhateverItsLetterCase) {
    WriteBytes(folder / "KestoRacers.DAT", "\"Ann\"\r\n");
    ASSERT_TRUE(AppendRosterName(folder, "Bob"));
    EXPECT_EQ(Entries(), Names{"KestoRacers.DAT"});
    EXPECT_EQ(RacerListEntries(folder), (Names{"Ann", "Bob", "Empty"}));
}

TEST_F(RosterFile, DeletingTheLastNameLeavesAnEmptyFile) {
    ASSERT_TRUE(WriteRoster(folder, {"Ann"}));
    ASSERT_TRUE(WriteRoster(folder, {}));
    EXPECT_TRUE(fs::exists(folder / "kestoRacers.dat"));
    EXPECT_EQ(fs::file_size(folder / "kestoRacers.dat"), 0u);
}

} // namespace
} // namespace kesto
