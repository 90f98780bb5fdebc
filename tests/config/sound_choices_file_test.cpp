#include "config/sound_choices_file.h"

#include "base/program_folder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace kesto {
namespace {

namespace fs = std::filesystem;

class SoundChoicesFile : public test::TempFolderTest {};

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    EXPECT_EQ(start, bytes.size()) << "every line ends in CR LF";
    return lines;
}

TEST_F(SoundChoicesFile, OnlyGoAndCheckeredFlagMarkLinesTenAndEighteen) {
    fs::create_directories(folder / "LMSound");
    SoundChoices choices;
    choices.CarSoundEnabled = {1, 0, 1};
    choices.CarSoundFile = {"Cheer.wav", "everylap.wav", "Best, Ever.wav"};
    choices.RaceSoundEnabled[Go] = true;
    choices.RaceSoundEnabled[CheckeredFlag] = true;
    ASSERT_TRUE(WriteSoundChoices(folder, choices));

    const auto lines = Lines(ReadBytes(folder / "LMSound" / "LMSounds.dat"));
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[1], "0");
    EXPECT_EQ(lines[2], "1");
    EXPECT_EQ(lines[3], "\"Cheer.wav\"");
    EXPECT_EQ(lines[5], "\"Best, Ever.wav\"");
    for (int line = 7; line <= 18; ++line)
        EXPECT_EQ(lines[line - 1], line == 10 || line == 18 ? "#TRUE#" : "#FALSE#") << line;

    SoundChoices back;
    back.RaceSoundEnabled[YellowFlag] = true;
    ASSERT_TRUE(ReadSoundChoices(folder, back));
    EXPECT_EQ(back.CarSoundEnabled, choices.CarSoundEnabled);
    EXPECT_EQ(back.CarSoundFile, choices.CarSoundFile);
    EXPECT_EQ(back.RaceSoundEnabled, choices.RaceSoundEnabled);
}

TEST_F(SoundChoicesFile, TheSoundFolderIsFoundWhateverItsLetterCase) {
    fs::create_directories(folder / "LmSound");
    EXPECT_EQ(SoundChoicesPath(folder), folder / "LmSound" / "LMSounds.dat");
    EXPECT_EQ(ProgramFolder(folder).SoundFolder(), folder / "LmSound");
    SoundChoices choices;
    choices.RaceSoundEnabled[RaceStartsIn20Sec] = true;
    ASSERT_TRUE(WriteSoundChoices(folder, choices));
    EXPECT_TRUE(fs::exists(folder / "LmSound" / "LMSounds.dat"));

    fs::rename(folder / "LmSound" / "LMSounds.dat", folder / "LmSound" / "lmsounds.DAT");
    SoundChoices back;
    ASSERT_TRUE(ReadSoundChoices(folder, back));
    EXPECT_TRUE(back.RaceSoundEnabled[RaceStartsIn20Sec]);
}

TEST_F(SoundChoicesFile, AMissingFileIsReportedAndChangesNothing) {
    SoundChoices choices;
    std::string error;
    EXPECT_FALSE(ReadSoundChoices(folder, choices, &error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_EQ(choices.RaceSoundEnabled, SoundChoices{}.RaceSoundEnabled);
    // Saving without a sound folder fails rather than making one.
    EXPECT_FALSE(WriteSoundChoices(folder, choices, &error));
    EXPECT_FALSE(fs::exists(folder / "LmSound"));
}

TEST_F(SoundChoicesFile, AShortFileFillsWhatItHolds) {
    fs::create_directories(folder / "LMSound");
    WriteBytes(folder / "LMSound" / "LMSounds.dat", "1\r\n1\r\n0\r\n\"a.wav\"\r\n");
    SoundChoices choices;
    std::string error;
    EXPECT_FALSE(ReadSoundChoices(folder, choices, &error));
    EXPECT_EQ(error, "Input past end of file");
    EXPECT_EQ(choices.CarSoundEnabled, (std::array<int16_t, 3>{1, 1, 0}));
    EXPECT_EQ(choices.CarSoundFile[0], "a.wav");
    EXPECT_EQ(choices.CarSoundFile[1], "");
}

} // namespace
} // namespace kesto
