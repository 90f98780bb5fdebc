#include "sound/sound_ring.h"

#include "support/fake_audio_device.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include <unistd.h>

namespace kesto {
namespace {

namespace fs = std::filesystem;

class SoundRingTest : public ::testing::Test {
protected:
    void SetUp() override {
        programFolder = fs::temp_directory_path() /
                        ("kesto-ring-" + std::to_string(::getpid()) +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(programFolder);
        // Spelled differently from "LmSound" on purpose.
        soundFolder = programFolder / "LMSOUND";
        fs::create_directories(soundFolder);
        for (const char* name : {"Go.wav", "everylap.wav", "Cheer.wav", "White Flag.wav"})
            std::ofstream(soundFolder / name) << "RIFF";
        ring.SetSoundFolder(programFolder);
    }
    void TearDown() override { fs::remove_all(programFolder); }

    int PlayingCount() const {
        return static_cast<int>(std::count_if(device.slots.begin(), device.slots.end(),
                                              [](const auto& s) { return s.playing; }));
    }
    bool Called(const std::string& call) const {
        return std::find(device.calls.begin(), device.calls.end(), call) != device.calls.end();
    }

    fs::path programFolder;
    fs::path soundFolder;
    test::FakeAudioDevice device;
    test::FakeDialogs dialogs;
    SoundRing ring{device, dialogs};
};

TEST(SoundRingMappings, VolumeAndPanInHundredthsOfADecibel) {
    EXPECT_EQ(BufferVolumeFor(0), -6000);
    EXPECT_EQ(BufferVolumeFor(1), -5940);
    EXPECT_EQ(BufferVolumeFor(50), -3000);
    EXPECT_EQ(BufferVolumeFor(100), 0);
    EXPECT_EQ(BufferVolumeFor(120), 0); // never louder than the recording

    EXPECT_EQ(BufferPanFor(0), -10000);
    EXPECT_EQ(BufferPanFor(1), -4900);
    EXPECT_EQ(BufferPanFor(50), 0);
    EXPECT_EQ(BufferPanFor(75), 2500);
    EXPECT_EQ(BufferPanFor(100), 10000);
    EXPECT_EQ(BufferPanFor(255), 10000);
}

TEST_F(SoundRingTest, SoundFolderAndFileNamesIgnoreLetterCase) {
    EXPECT_EQ(ring.SoundFolder(), soundFolder);
    ring.PlayWav("GO.WAV");
    EXPECT_EQ(device.slots[0].file, soundFolder / "Go.wav");
    EXPECT_TRUE(device.slots[0].playing);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SoundRingTest, PlayWavPlaysOnceOnTheLeftAtTheLoadedVolume) {
    ring.PlayWav("White Flag.wav");
    EXPECT_EQ(device.calls,
              (std::vector<std::string>{"load 0 White Flag.wav", "pan 0 -10000", "play 0"}));
    EXPECT_FALSE(device.slots[0].looping);
    EXPECT_EQ(device.slots[0].volume, 0);
}

TEST_F(SoundRingTest, CentredPanIsLeftAloneAndLowVolumeIsSet) {
    ring.PlaySoundBuffer("Cheer.wav", 50, 50, true);
    EXPECT_EQ(device.calls,
              (std::vector<std::string>{"load 0 Cheer.wav", "volume 0 -3000", "play 0"}));
    EXPECT_TRUE(device.slots[0].looping);
}

TEST_F(SoundRingTest, OverlappingSoundsTakeTheNextFreeSlotsAndTheSearchStartsWhereItStopped) {
    ring.PlayWav("Go.wav");
    EXPECT_EQ(ring.NextBuffer(), 0); // not advanced after a playback
    ring.PlayWav("Cheer.wav");
    EXPECT_EQ(ring.NextBuffer(), 1);
    EXPECT_EQ(device.slots[0].file.filename(), "Go.wav");
    EXPECT_EQ(device.slots[1].file.filename(), "Cheer.wav");
    EXPECT_EQ(PlayingCount(), 2);

    // Slot 0 is free again, but the search starts at 1 and moves on to 2.
    device.Finish(0);
    ring.PlayWav("everylap.wav");
    EXPECT_EQ(ring.NextBuffer(), 2);
    EXPECT_TRUE(device.slots[2].playing);

    // Once slot 1 is quiet the next sound goes there.
    device.FinishAll();
    ring.PlayWav("Go.wav");
    EXPECT_EQ(ring.NextBuffer(), 2);
    EXPECT_EQ(device.slots[2].file.filename(), "Go.wav");
}

TEST_F(SoundRingTest, MissingFileIsReportedWithItsFullPathAndTheSlotPlaysWhatItHeld) {
    ring.PlayWav("Go.wav");
    device.Finish(0);

    ring.PlayWav("Missing.wav");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.last().text,
              "Error can't find file: " + (soundFolder / "Missing.wav").string());
    EXPECT_EQ(dialogs.last().title, "");
    EXPECT_EQ(dialogs.last().buttons, MessageButtons::Ok);
    // The slot's previous sound starts again.
    EXPECT_EQ(device.slots[0].file.filename(), "Go.wav");
    EXPECT_EQ(device.slots[0].plays, 2);
    EXPECT_TRUE(device.slots[0].playing);
}

TEST_F(SoundRingTest, MissingFileInAnEmptySlotPlaysNothing) {
    ring.PlayWav("Missing.wav");
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_FALSE(ring.Loaded(0));
    EXPECT_EQ(PlayingCount(), 0);
    EXPECT_FALSE(Called("play 0"));
}

TEST_F(SoundRingTest, WhenEverySlotPlaysTheSoundThatStartedFirstGivesWay) {
    for (int i = 0; i < SoundRing::MaxSlots; ++i)
        ring.PlayWav("everylap.wav");
    EXPECT_EQ(PlayingCount(), 31);

    // Slot 0 finishes and plays again, so slot 1 now holds the oldest sound.
    device.Finish(0);
    ring.PlayWav("Go.wav");
    EXPECT_EQ(ring.NextBuffer(), 0);

    ring.PlayWav("Cheer.wav"); // returns at once although all 31 play
    EXPECT_EQ(ring.NextBuffer(), 1);
    EXPECT_EQ(device.slots[1].file.filename(), "Cheer.wav");
    EXPECT_EQ(device.slots[0].file.filename(), "Go.wav");
    EXPECT_EQ(PlayingCount(), 31);

    ring.PlayWav("Cheer.wav");
    EXPECT_EQ(ring.NextBuffer(), 2);
}

TEST_F(SoundRingTest, InitPreloadsEverySlotAtHalfVolume) {
    ring.InitSoundBuffers(30, "everylap.wav");
    EXPECT_TRUE(dialogs.shown.empty());
    for (int slot = 0; slot < SoundRing::MaxSlots; ++slot) {
        EXPECT_TRUE(ring.Loaded(slot)) << slot;
        EXPECT_EQ(device.slots[slot].volume, -3000) << slot;
        EXPECT_FALSE(device.slots[slot].playing) << slot;
    }
    // A playback loads the slot afresh: full volume.
    ring.PlayWav("Go.wav");
    EXPECT_EQ(device.slots[0].volume, 0);
}

TEST_F(SoundRingTest, InitStopsAtTheFirstSlotThatFailsToLoad) {
    device.failingSlots = {3};
    ring.InitSoundBuffers(30, "everylap.wav");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.last().text,
              "Error can't find file: " + (soundFolder / "everylap.wav").string());
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_TRUE(ring.Loaded(slot)) << slot;
    for (int slot = 3; slot < SoundRing::MaxSlots; ++slot)
        EXPECT_FALSE(ring.Loaded(slot)) << slot;
    EXPECT_FALSE(Called("load 4 everylap.wav"));
    EXPECT_FALSE(Called("volume 3 -3000"));
}

TEST_F(SoundRingTest, InitWithAMissingFileShowsOneMessage) {
    ring.InitSoundBuffers(30, "nothere.wav");
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_FALSE(ring.Loaded(0));
}

TEST_F(SoundRingTest, SmallerRingWrapsAtItsLastSlot) {
    ring.InitSoundBuffers(1, "everylap.wav");
    EXPECT_EQ(ring.SlotCount(), 2);
    ring.PlayWav("Go.wav");
    ring.PlayWav("Go.wav");
    ring.PlayWav("Go.wav"); // both busy: slot 0 started first
    EXPECT_EQ(ring.NextBuffer(), 0);
    EXPECT_FALSE(device.slots[2].playing);
}

// Spoken calls made in memory share the ring with the wave files.
TEST_F(SoundRingTest, ACallInMemoryPlaysLikeAWaveFileAndNeverStopsOne) {
    ring.PlayWav("Go.wav");
    const std::optional<RingPlayback> call = ring.PlayPcmSound(PcmSound{{5, 6, 7}}, 50, 0);
    ASSERT_TRUE(call);
    EXPECT_EQ(call->slot, 1);
    EXPECT_EQ(std::vector<std::string>(device.calls.begin() + 3, device.calls.end()),
              (std::vector<std::string>{"pcm 1 3", "pan 1 -10000", "volume 1 -3000", "play 1"}));
    EXPECT_TRUE(ring.IsPlaying(*call));
    device.Finish(1);
    EXPECT_FALSE(ring.IsPlaying(*call));

    // Once said, a wave file may take its slot; the call is then over for good.
    const std::optional<RingPlayback> again = ring.PlayPcmSound(PcmSound{{5}}, 100, 0);
    ASSERT_TRUE(again);
    device.Finish(again->slot);
    ring.PlayWav("Cheer.wav");
    EXPECT_EQ(device.slots[again->slot].file.filename(), "Cheer.wav");
    EXPECT_FALSE(ring.IsPlaying(*again));

    // With every slot sounding, a call plays nothing and stops nothing.
    for (int slot = 0; slot < SoundRing::MaxSlots; ++slot)
        ring.PlayWav("Go.wav");
    const size_t before = device.calls.size();
    EXPECT_FALSE(ring.PlayPcmSound(PcmSound{{5}}, 100, 0));
    EXPECT_EQ(device.calls.size(), before);
    EXPECT_EQ(PlayingCount(), SoundRing::MaxSlots);
}

TEST_F(SoundRingTest, AMissingFileNeverSaysAnOldCallAgain) {
    const std::optional<RingPlayback> call = ring.PlayPcmSound(PcmSound{{5}}, 100, 0);
    ASSERT_TRUE(call);
    device.Finish(call->slot);
    ring.PlayWav("Missing.wav");
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(device.slots[call->slot].plays, 1); // not said a second time
}

// A box is modal while the race clock goes on: a lap sound that is missing
// must not open a second box over the first.
class ReplayingDialogs final : public Dialogs {
public:
    MessageAnswer Show(const Message&) override {
        ++shown;
        if (ring && shown < 5)
            ring->PlayWav("Missing.wav");
        return MessageAnswer::Ok;
    }
    std::optional<std::string> ChooseFile(const FileChoice&) override { return {}; }
    std::optional<int32_t> ChooseColor(int32_t) override { return {}; }
    SoundRing* ring = nullptr;
    int shown = 0;
};

TEST_F(SoundRingTest, MissingFileDuringItsOwnMessageIsNotReportedAgain) {
    ReplayingDialogs replaying;
    SoundRing nested(device, replaying);
    nested.SetSoundFolder(programFolder);
    replaying.ring = &nested;
    nested.PlayWav("Missing.wav");
    EXPECT_EQ(replaying.shown, 1);
    nested.PlayWav("Missing.wav"); // once closed, the next failure is reported
    EXPECT_EQ(replaying.shown, 2);
}

} // namespace
} // namespace kesto
