#include "sound/qt/sdl_audio_device.h"

#include "sound/late_audio_device.h"
#include "sound/qt/audio_plugin.h"
#include "sound/sound_ring.h"
#include "support/disk_audio.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>
#include <vector>

#include <unistd.h>

namespace kesto {
namespace {

namespace fs = std::filesystem;

using test::ScopedEnv;

void PutLittleEndian(std::ofstream& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A tenth of a second of a loud square wave, the same on both channels.
void WriteTestWave(const fs::path& file) {
    constexpr uint32_t rate = 22050, frames = 2205, dataBytes = frames * 4;
    std::ofstream out(file, std::ios::binary);
    out << "RIFF";
    PutLittleEndian(out, 36 + dataBytes, 4);
    out << "WAVEfmt ";
    PutLittleEndian(out, 16, 4);
    PutLittleEndian(out, 1, 2); // PCM
    PutLittleEndian(out, 2, 2);
    PutLittleEndian(out, rate, 4);
    PutLittleEndian(out, rate * 4, 4);
    PutLittleEndian(out, 4, 2);
    PutLittleEndian(out, 16, 2);
    out << "data";
    PutLittleEndian(out, dataBytes, 4);
    for (uint32_t i = 0; i < frames; ++i) {
        const uint16_t sample = (i / 25) % 2 ? static_cast<uint16_t>(-8000) : 8000;
        PutLittleEndian(out, sample, 2);
        PutLittleEndian(out, sample, 2);
    }
}

class SdlAudioDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        programFolder = fs::temp_directory_path() /
                        ("kesto-sdl-" + std::to_string(::getpid()) +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(programFolder);
        fs::create_directories(programFolder / "LmSound");
        WriteTestWave(programFolder / "LmSound" / "beep.wav");
    }
    void TearDown() override { fs::remove_all(programFolder); }
    fs::path programFolder;
    test::FakeDialogs dialogs;
};

TEST(SdlAudioDeviceLevels, DecibelsToMixerLevels) {
    EXPECT_EQ(MixerVolumeFor(0), 128);
    EXPECT_EQ(MixerVolumeFor(-600), 64);
    EXPECT_EQ(MixerVolumeFor(-6000), 0);
    EXPECT_EQ(MixerVolumeFor(500), 128);
    EXPECT_EQ(MixerPanningFor(-10000), (std::array<int, 2>{255, 0}));
    EXPECT_EQ(MixerPanningFor(10000), (std::array<int, 2>{0, 255}));
    EXPECT_EQ(MixerPanningFor(0), (std::array<int, 2>{255, 255}));
    EXPECT_EQ(MixerPanningFor(-600), (std::array<int, 2>{255, 128}));
}

TEST_F(SdlAudioDeviceTest, PlayWavSoundsOnTheLeftChannelOnly) {
    const fs::path mixed = programFolder / "mixed.raw";
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv output("SDL_DISKAUDIOFILE", mixed.string());
    // One millisecond per mixed block instead of real time.
    ScopedEnv delay("SDL_DISKAUDIODELAY", "1");
    {
        SdlAudioDevice device;
        ASSERT_TRUE(device.IsOpen());
        SoundRing ring(device, dialogs);
        ring.SetSoundFolder(programFolder);
        ring.PlayWav("BEEP.WAV");
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_TRUE(device.IsPlaying(0));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (device.IsPlaying(0) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_FALSE(device.IsPlaying(0));
    } // closing the device flushes the output file

    std::ifstream in(mixed, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size() % 4, 0u);
    int leftSounding = 0, rightSounding = 0;
    for (size_t i = 0; i + 3 < bytes.size(); i += 4) {
        const auto left = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                               (static_cast<uint8_t>(bytes[i + 1]) << 8));
        const auto right = static_cast<int16_t>(static_cast<uint8_t>(bytes[i + 2]) |
                                                (static_cast<uint8_t>(bytes[i + 3]) << 8));
        leftSounding += left != 0;
        rightSounding += right != 0;
    }
    EXPECT_GE(leftSounding, 2000); // nearly all 2205 frames of the sound
    EXPECT_EQ(rightSounding, 0);
}

TEST_F(SdlAudioDeviceTest, WithoutASoundDeviceEverythingIsSilent) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    SdlAudioDevice device;
    EXPECT_FALSE(device.IsOpen());

    SoundRing ring(device, dialogs);
    ring.SetSoundFolder(programFolder);
    ring.InitSoundBuffers(30, "beep.wav");
    ring.PlayWav("beep.wav");
    ring.PlaySoundBuffer("beep.wav", 10, 100, true);
    EXPECT_TRUE(dialogs.shown.empty()); // the files are there
    EXPECT_FALSE(device.IsPlaying(0));
    device.Stop(0);
    device.SetVolume(0, -3000);
    device.SetPan(40, 0);

    // A missing file is still a missing file.
    ring.PlayWav("gone.wav");
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(SdlAudioDeviceTest, AFileThatIsNoWaveDoesNotLoad) {
    std::ofstream(programFolder / "LmSound" / "broken.wav") << "not a wave";
    SdlAudioDevice device; // the tests' dummy driver
    ASSERT_TRUE(device.IsOpen());
    EXPECT_TRUE(device.Load(3, programFolder / "LmSound" / "beep.wav"));
    EXPECT_FALSE(device.Load(3, programFolder / "LmSound" / "broken.wav"));
    EXPECT_FALSE(device.Load(3, programFolder / "LmSound"));
    device.Play(3, false); // the beep loaded first is still there
    EXPECT_TRUE(device.IsPlaying(3));
    device.Stop(3);
    EXPECT_FALSE(device.IsPlaying(3));
}

// Each wave file is read once: a lap sound loads from memory, until the sound
// choices change.
TEST_F(SdlAudioDeviceTest, AWaveFileIsReadOnceUntilTheLoadedFilesAreForgotten) {
    const fs::path beep = programFolder / "LmSound" / "beep.wav";
    SdlAudioDevice device; // the tests' dummy driver
    ASSERT_TRUE(device.IsOpen());
    ASSERT_TRUE(device.Load(0, beep));
    std::ofstream(beep, std::ios::trunc) << "not a wave any more";
    EXPECT_TRUE(device.Load(1, beep)); // not read again
    device.Play(1, false);
    EXPECT_TRUE(device.IsPlaying(1));

    device.ForgetLoadedFiles();
    device.Play(0, false); // the slots keep what they hold
    EXPECT_TRUE(device.IsPlaying(0));
    EXPECT_FALSE(device.Load(2, beep)); // read again: no wave now
    fs::remove(beep);
    EXPECT_FALSE(device.Load(2, beep)); // a file gone is missing, kept or not
}

TEST_F(SdlAudioDeviceTest, ASoundMadeInMemoryLoadsIntoASlot) {
    SdlAudioDevice device;
    ASSERT_TRUE(device.IsOpen());
    EXPECT_FALSE(device.LoadPcm(4, PcmSound{}));
    PcmSound sound;
    sound.samples.assign(2205, 8000);
    EXPECT_TRUE(device.LoadPcm(4, sound));
    device.Play(4, false);
    EXPECT_TRUE(device.IsPlaying(4));
    device.Stop(4);
}

// Between races a quiet device closes its output, and the next sound opens
// it again with the slot as it was set.
TEST_F(SdlAudioDeviceTest, AQuietDeviceRestsAndWakesForTheNextSoundAsItWas) {
    const fs::path mixed = programFolder / "mixed.raw";
    {
        test::DiskAudio disk(mixed);
        SdlAudioDevice device;
        ASSERT_TRUE(device.IsOpen());
        ASSERT_TRUE(device.Load(5, programFolder / "LmSound" / "beep.wav"));
        device.SetPan(5, -10000); // left only
        device.RestIfQuiet();
        EXPECT_FALSE(device.Resting()); // a sound was loaded since the last look
        device.RestIfQuiet();
        ASSERT_TRUE(device.Resting());
        EXPECT_FALSE(device.IsPlaying(5));

        device.Play(5, false);
        EXPECT_FALSE(device.Resting());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (device.IsPlaying(5) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_FALSE(device.IsPlaying(5));
    } // closing the device flushes the output file
    const test::SoundingFrames frames = test::CountSoundingFrames(mixed);
    EXPECT_GE(frames.left, 2000);
    EXPECT_EQ(frames.right, 0);
}

// The program's device opens once its window shows: sounds before that are
// dropped, slots set up before that are taken over, and sounds play after.
TEST_F(SdlAudioDeviceTest, SoundsPlayOnceTheDeviceFromThePluginIsOpen) {
    const fs::path mixed = programFolder / "mixed.raw";
    {
        test::DiskAudio disk(mixed);
        LateAudioDevice device;
        SoundRing ring(device, dialogs);
        ring.SetSoundFolder(programFolder);
        ring.InitSoundBuffers(2, "beep.wav");
        ring.SetBufferPan(1, 100); // right only
        ring.PlayWav("beep.wav");
        EXPECT_FALSE(device.IsPlaying(0)); // dropped

        device.Attach(LoadAudioPlugin(QCoreApplication::applicationDirPath().toStdString()));
        ASSERT_TRUE(device.Attached());
        auto playsToItsEnd = [&device](int slot) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            const bool started = device.IsPlaying(slot);
            while (device.IsPlaying(slot) && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return started && !device.IsPlaying(slot);
        };
        device.Play(1, false); // as set up before the device was open
        EXPECT_TRUE(playsToItsEnd(1));
        ring.PlayWav("beep.wav"); // left only
        EXPECT_TRUE(playsToItsEnd(ring.NextBuffer()));
        EXPECT_TRUE(dialogs.shown.empty());
    } // closing the device flushes the output file
    const test::SoundingFrames frames = test::CountSoundingFrames(mixed);
    EXPECT_GE(frames.left, 2000); // nearly all 2205 frames of each sound
    EXPECT_GE(frames.right, 2000);
}

} // namespace
} // namespace kesto
