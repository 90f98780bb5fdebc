#include "config/roster_file.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

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

// A roster of `bytes` whose names ("Racer 0", "Racer 1", ...) fill its first
// `namesBytes`; the rest a hole on the disk (never written, never read).
void WriteHugeRoster(const fs::path& file, size_t namesBytes, size_t bytes,
                     const std::string& padding = "") {
    {
        std::ofstream out(file, std::ios::binary);
        for (int i = 0; static_cast<size_t>(out.tellp()) < namesBytes; ++i)
            out << "\"Racer " << i << padding << "\"\r\n";
    }
    fs::resize_file(file, bytes);
}

TEST_F(RosterFile, ARosterLargerThanAnyClubsIsReadOnlyUpToTheLimitWithANotice) {
    const fs::path roster = folder / "kestoRacers.dat";
    WriteHugeRoster(roster, 2'000'000, 100'000'000); // 100 MB
    std::string notice;
    const auto entries = RacerListEntries(folder, &notice);
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), MaxRosterNames + 1);
    EXPECT_EQ(entries->at(9999), "Racer 9999");
    EXPECT_EQ(entries->back(), "Empty");
    EXPECT_EQ(notice, roster.string() +
                          " is larger than any club's roster (over 10000 names or 1 MB): only its "
                          "first 10000 names are read.");

    // Over 1 MB in fewer names: cut at the last whole name before the limit.
    WriteHugeRoster(roster, 3'000'000, 3'000'000, std::string(200, 'x'));
    const auto names = ReadRoster(folder, nullptr, &notice);
    ASSERT_TRUE(names.has_value());
    EXPECT_LT(names->size(), MaxRosterNames);
    EXPECT_EQ(names->back(), "Racer " + std::to_string(names->size() - 1) + std::string(200, 'x'));
    EXPECT_NE(notice.find("only its first " + std::to_string(names->size()) + " names"),
              std::string::npos);

    ASSERT_TRUE(WriteRoster(folder, {"Ann"}));
    EXPECT_EQ(ReadRoster(folder, nullptr, &notice), Names{"Ann"});
    EXPECT_EQ(notice, "");
}

TEST_F(RosterFile, AddingToATooLargeRosterAppendsWithoutRewritingIt) {
    const fs::path roster = folder / "kestoRacers.dat";
    WriteHugeRoster(roster, 1'500'000, 1'500'000);
    const std::string before = ReadBytes(roster);
    ASSERT_TRUE(AppendRosterName(folder, "Zed"));
    EXPECT_EQ(ReadBytes(roster), before + "\"Zed\"\r\n");
}

} // namespace
} // namespace kesto
