// The speech settings' own file: defaults without it, every setting kept.
#include "sound/speech_settings.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

using SpeechSettingsFile = test::TempFolderTest;

TEST_F(SpeechSettingsFile, EveryCallIsOffWithoutTheFile) {
    const SpeechSettings settings = ReadSpeechSettings(folder);
    EXPECT_EQ(settings, SpeechSettings{});
    EXPECT_FALSE(settings.AnyCallOn());
    EXPECT_EQ(settings.speed, 175);
    EXPECT_EQ(settings.volume, 100);
}

TEST_F(SpeechSettingsFile, WrittenWholeAndReadBack) {
    SpeechSettings settings;
    settings.bestLap = true;
    settings.lapCounts = LapCountCalls::Leader;
    settings.timeLeft = true;
    settings.voice = "English_(Great_Britain)";
    settings.speed = 150;
    settings.volume = 80;
    ASSERT_TRUE(WriteSpeechSettings(folder, settings));
    EXPECT_EQ(ReadBytes(folder / "KestoSpeech.dat"),
              "BestLap=1\nLapCounts=Leader\nPodium=0\nRacers=0\nTimeLeft=1\n"
              "Voice=English_(Great_Britain)\nSpeed=150\nVolume=80\n");
    EXPECT_EQ(ReadSpeechSettings(folder), settings);
    EXPECT_EQ(Entries(), std::vector<std::string>{"KestoSpeech.dat"});
}

TEST_F(SpeechSettingsFile, ValuesItCannotUseKeepTheirDefaults) {
    WriteBytes(folder / "kestospeech.dat",
               "Podium=1\r\nSpeed=9000\r\nVolume=-3\r\nLapCounts=All\r\nRacers=yes\r\nNoise\r\n");
    SpeechSettings expected;
    expected.podium = true;
    EXPECT_EQ(ReadSpeechSettings(folder), expected);
}

} // namespace
} // namespace kesto
