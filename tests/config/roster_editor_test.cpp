#include "config/roster_editor.h"

#include "config/roster_file.h"
#include "support/temp_folder.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kesto {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

TEST(RacerNameFromInput, TrimmedAndInProperCase) {
    EXPECT_EQ(RacerNameFromInput("  ann lee "), "Ann Lee");
    EXPECT_EQ(RacerNameFromInput("McDONALD"), "Mcdonald");
    EXPECT_EQ(RacerNameFromInput("jean-luc o'neil"), "Jean-luc O'neil");
    EXPECT_EQ(RacerNameFromInput("ann  lee"), "Ann  Lee"); // inner blanks stay
    EXPECT_EQ(RacerNameFromInput("   "), "");
    EXPECT_EQ(RacerNameFromInput(""), "");
    EXPECT_EQ(RacerNameFromInput("\tbob\t"), "Bob");
}

TEST(RacerNameFromInput, LettersBeyondAsciiChangeCaseToo) {
    EXPECT_EQ(RacerNameFromInput("JOSÉ ÑÚÑEZ"), "José Ñúñez");
    EXPECT_EQ(RacerNameFromInput("émile šÍma"), "Émile Šíma");
    EXPECT_EQ(RacerNameFromInput("ÿves ŒDIPE"), "Ÿves Œdipe");
    EXPECT_EQ(RacerNameFromInput("x×y ÷"), "X×y ÷");  // signs are no letters
    EXPECT_EQ(RacerNameFromInput("李 小龍"), "? ??"); // beyond the code page of the file
}

TEST(RacerCountText, CountAfterTheCaption) {
    EXPECT_EQ(RacerCountText(0), "Total number of Racers: 0");
    EXPECT_EQ(RacerCountText(12), "Total number of Racers: 12");
}

class RosterEditorTest : public test::TempFolderTest {
protected:
    std::string Roster() const { return ReadBytes(folder / "kestoRacers.dat"); }
    RacerNameOutcome Type(RosterEditor& roster, RacerNameMode mode, size_t index,
                          const std::string& typed) {
        return ConfirmRacerName(roster, mode, index, typed, dialogs);
    }
    test::FakeDialogs dialogs;
};

TEST_F(RosterEditorTest, AnAddedNameIsTrimmedProperCasedAndAppendedAsOneLine) {
    WriteBytes(folder / "kestoRacers.dat", "\"Bob\"\r\n");
    RosterEditor roster(folder);
    ASSERT_TRUE(roster.Load(nullptr));
    EXPECT_EQ(Type(roster, RacerNameMode::Add, 0, "  ann lee "), RacerNameOutcome::Saved);
    EXPECT_EQ(Roster(), "\"Bob\"\r\n\"Ann Lee\"\r\n");
    EXPECT_EQ(roster.Names(), (Names{"Bob", "Ann Lee"}));
    EXPECT_EQ(roster.CountText(), "Total number of Racers: 2");
}

TEST_F(RosterEditorTest, DuplicatesAreComparedExactlyWithTheProperCasedName) {
    WriteBytes(folder / "kestoRacers.dat", "\"ANN\"\r\n\"Bob\"\r\n");
    RosterEditor roster(folder);
    ASSERT_TRUE(roster.Load(nullptr));
    EXPECT_EQ(Type(roster, RacerNameMode::Add, 0, "bob"), RacerNameOutcome::Duplicate);
    EXPECT_EQ(dialogs.last().text, "Bob already exists");
    EXPECT_EQ(dialogs.last().title, "");
    EXPECT_EQ(dialogs.last().buttons, MessageButtons::Ok);
    // The imported ANN is not the proper-cased Ann.
    EXPECT_EQ(Type(roster, RacerNameMode::Add, 0, "ann"), RacerNameOutcome::Saved);
    // Confirming a modify without a change finds the entry itself.
    EXPECT_EQ(Type(roster, RacerNameMode::Modify, 1, "Bob"), RacerNameOutcome::Duplicate);
    EXPECT_EQ(roster.Names(), (Names{"ANN", "Bob", "Ann"}));
    EXPECT_EQ(Roster(), "\"ANN\"\r\n\"Bob\"\r\n\"Ann\"\r\n");
}

TEST_F(RosterEditorTest, AnEmptyNameLeavesTheRosterAlone) {
    RosterEditor roster(folder);
    EXPECT_EQ(Type(roster, RacerNameMode::Add, 0, "   "), RacerNameOutcome::Empty);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(fs::exists(folder / "kestoRacers.dat"));
}

TEST_F(RosterEditorTest, ModifyRewritesTheFileInListOrder) {
    ASSERT_TRUE(WriteRoster(folder, {"Ann", "Bob", "Cy"}));
    RosterEditor roster(folder);
    ASSERT_TRUE(roster.Load(nullptr));
    EXPECT_EQ(Type(roster, RacerNameMode::Modify, 1, "robert "), RacerNameOutcome::Saved);
    EXPECT_EQ(Roster(), "\"Ann\"\r\n\"Robert\"\r\n\"Cy\"\r\n");
    std::string error;
    EXPECT_FALSE(roster.Modify(3, "Dee", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(roster.Names().size(), 3u);
}

TEST_F(RosterEditorTest, DeletingTheLastEntryLeavesAnEmptyFile) {
    ASSERT_TRUE(WriteRoster(folder, {"Ann"}));
    RosterEditor roster(folder);
    ASSERT_TRUE(roster.Load(nullptr));
    ASSERT_TRUE(roster.Delete(0, nullptr));
    EXPECT_TRUE(fs::exists(folder / "kestoRacers.dat"));
    EXPECT_EQ(Roster(), "");
    EXPECT_EQ(roster.CountText(), "Total number of Racers: 0");
    EXPECT_FALSE(roster.Delete(0, nullptr));
}

TEST_F(RosterEditorTest, ImportReplacesTheWholeRoster) {
    ASSERT_TRUE(WriteRoster(folder, {"Ann", "Bob"}));
    WriteBytes(folder / "cartoon.txt", "Tom,Jerry\r\n");
    RosterEditor roster(folder);
    ASSERT_TRUE(roster.Load(nullptr));
    EXPECT_EQ(roster.Import(folder / "cartoon.txt", nullptr), RosterEditor::ImportResult::Imported);
    EXPECT_EQ(roster.Names(), (Names{"Tom", "Jerry"}));
    EXPECT_EQ(Roster(), "\"Tom\"\r\n\"Jerry\"\r\n");
    EXPECT_EQ(roster.Import(folder / "none.txt", nullptr), RosterEditor::ImportResult::Unreadable);
    EXPECT_EQ(roster.Names(), (Names{"Tom", "Jerry"}));
}

TEST_F(RosterEditorTest, AnImportedUtf8ListIsReadAsUtf8AndTheRosterStaysWindows1252) {
    WriteBytes(folder / "export.csv", "\xEF\xBB\xBFZo\xC3\xAB M\xC3\xBCller,Ren\xC3\xA9"
                                      "e\r\n");
    WriteBytes(folder / "old.dat", "\"Zo\xEB M\xFCller\"\r\n"); // Windows-1252, as always
    RosterEditor roster(folder);
    EXPECT_EQ(roster.Import(folder / "export.csv", nullptr), RosterEditor::ImportResult::Imported);
    EXPECT_EQ(roster.Names(), (Names{"Zoë Müller", "Renée"}));
    EXPECT_EQ(Roster(), "\"Zo\xEB M\xFCller\"\r\n\"Ren\xE9"
                        "e\"\r\n");
    EXPECT_EQ(roster.Import(folder / "old.dat", nullptr), RosterEditor::ImportResult::Imported);
    EXPECT_EQ(roster.Names(), (Names{"Zoë Müller"}));
}

TEST_F(RosterEditorTest, AChangeTheFileDidNotTakeIsNotMade) {
    ASSERT_TRUE(WriteRoster(folder, {"Ann", "Bob"}));
    WriteBytes(folder / "cartoon.txt", "Tom,Jerry\r\n");
    RosterEditor roster(folder);
    ASSERT_TRUE(roster.Load(nullptr));
    // The roster file turns into a folder: every write fails.
    fs::remove(folder / "kestoRacers.dat");
    fs::create_directory(folder / "kestoRacers.dat");
    EXPECT_EQ(Type(roster, RacerNameMode::Add, 0, "cy"), RacerNameOutcome::Failed);
    EXPECT_FALSE(dialogs.last().text.empty());
    EXPECT_EQ(Type(roster, RacerNameMode::Modify, 0, "cy"), RacerNameOutcome::Failed);
    std::string error;
    EXPECT_FALSE(roster.Delete(1, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(roster.Import(folder / "cartoon.txt", nullptr), RosterEditor::ImportResult::NotSaved);
    EXPECT_EQ(roster.Names(), (Names{"Ann", "Bob"}));
}

TEST_F(RosterEditorTest, ARosterReadInPartIsNeverRewrittenFromThatPart) {
    {
        std::ofstream out(folder / "kestoRacers.dat", std::ios::binary);
        for (int i = 0; i < 12000; ++i)
            out << "\"Racer " << i << "\"\r\n";
    }
    const std::string before = ReadBytes(folder / "kestoRacers.dat");
    RosterEditor roster(folder);
    ASSERT_TRUE(roster.Load(nullptr));
    EXPECT_EQ(roster.Names().size(), 10000u);
    EXPECT_NE(roster.Notice().find("only its first 10000 names are read."), std::string::npos);
    std::string error;
    EXPECT_FALSE(roster.Delete(0, &error));
    EXPECT_EQ(error, roster.Notice() + " It is left as it is.");
    EXPECT_FALSE(roster.Modify(0, "Ann", &error));
    EXPECT_EQ(ReadBytes(folder / "kestoRacers.dat"), before);
}

TEST_F(RosterEditorTest, AMissingRosterLoadsEmptyAndSaysWhy) {
    RosterEditor roster(folder);
    std::string error;
    EXPECT_FALSE(roster.Load(&error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_TRUE(roster.Names().empty());
    EXPECT_EQ(roster.CountText(), "Total number of Racers: 0");
}

} // namespace
} // namespace kesto
