#include "sound/sound_file_list.h"

#include <gtest/gtest.h>

#include <fstream>

#include <unistd.h>

namespace kesto {
namespace {

namespace fs = std::filesystem;

TEST(ProperCase, EveryWordStartsUpperCaseAndAPointStartsNoWord) {
    EXPECT_EQ(ProperCase("CHEER.WAV"), "Cheer.wav");
    EXPECT_EQ(ProperCase("white FLAG.wav"), "White Flag.wav");
    EXPECT_EQ(ProperCase("1 minute left.wav"), "1 Minute Left.wav");
    EXPECT_EQ(ProperCase("best-lap.wav"), "Best-lap.wav");
    EXPECT_EQ(ProperCase(""), "");
    EXPECT_EQ(ProperCase("\xc3\x89T\xc3\x89.WAV"),
              "\xc3\x89t\xc3\x89.wav"); // bytes beyond ASCII kept
}

TEST(ListWaveFiles, WaveFilesInAnyLetterCaseInAlphabeticalOrder) {
    const fs::path folder =
        fs::temp_directory_path() / ("kesto-wavelist-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "sub.wav");
    for (const char* name :
         {"go.wav", "CHEER.WAV", "Bestlap.Wav", "LMSounds.dat", "notes.wav.txt", ".wav"})
        std::ofstream(folder / name) << "x";
    EXPECT_EQ(ListWaveFiles(folder),
              (std::vector<std::string>{"Bestlap.Wav", "CHEER.WAV", "go.wav"}));
    EXPECT_TRUE(ListWaveFiles(folder / "missing").empty());
    fs::remove_all(folder);
}

} // namespace
} // namespace kesto
