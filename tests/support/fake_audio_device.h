#pragma once
// An audio device for tests: a file loads when it exists on disk, a slot plays
// until the test finishes it, and every call is recorded.

#include "base/audio_device.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace kesto::test {

class FakeAudioDevice final : public AudioDevice {
public:
    struct Slot {
        std::filesystem::path file; // empty: nothing loaded ("(pcm)" for a sound in memory)
        bool playing = false;
        bool looping = false;
        int volume = 0;
        int pan = 0;
        int plays = 0;
    };

    bool Load(int slot, const std::filesystem::path& file) override;
    bool LoadPcm(int slot, const PcmSound& sound) override;
    bool IsPlaying(int slot) override { return slots.at(slot).playing; }
    void Play(int slot, bool loop) override;
    void Stop(int slot) override { slots.at(slot).playing = false; }
    void SetVolume(int slot, int hundredthsDb) override;
    void SetPan(int slot, int hundredthsDb) override;

    void Finish(int slot) { slots.at(slot).playing = false; }
    void FinishAll();

    std::array<Slot, SlotCount> slots{};
    std::vector<int> failingSlots; // loads into these fail even for existing files
    // "load 3 Go.wav", "pcm 3 2205", "volume 3 -3000", "pan 3 -10000", "play 3",
    // in call order.
    std::vector<std::string> calls;
};

} // namespace kesto::test
