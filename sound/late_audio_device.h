#pragma once
// The program's audio device until the real one is open: the sound device
// and its libraries load after the main window first shows, so the timer
// starts sooner. Until Attach it is silent, as a missing sound device is
// (sounds asked for are dropped), but it keeps what each slot was given (the
// file, volume and pan), so the real device takes over the slots as set.

#include "base/audio_device.h"

#include <array>
#include <filesystem>
#include <memory>

namespace kesto {

class LateAudioDevice final : public AudioDevice {
public:
    // From now on everything goes to `device` (null: silent for good).
    void Attach(std::unique_ptr<AudioDevice> device);
    bool Attached() const { return m_device != nullptr; }

    bool Load(int slot, const std::filesystem::path& file) override;
    bool LoadPcm(int slot, const PcmSound& sound) override;
    void ForgetLoadedFiles() override;
    bool IsPlaying(int slot) override;
    void Play(int slot, bool loop) override;
    void Stop(int slot) override;
    void SetVolume(int slot, int hundredthsDb) override;
    void SetPan(int slot, int hundredthsDb) override;
    void RestIfQuiet() override;

private:
    struct SlotSetting {
        std::filesystem::path file; // empty: nothing loaded
        int volume = 0;
        int pan = 0;
    };

    static bool Valid(int slot) { return slot >= 0 && slot < SlotCount; }

    std::unique_ptr<AudioDevice> m_device;
    std::array<SlotSetting, SlotCount> m_slots{};
};

} // namespace kesto
