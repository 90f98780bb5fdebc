#pragma once
// The audio device of the program, on SDL2_mixer: one mixer channel per slot.
// Without a usable sound device it stays silent: every call does nothing and
// loads only check that the file is there. Open one at a time per process.
// A wave file is read once: its sound is kept, and loaded into any slot again
// without reading the file, until ForgetLoadedFiles (the sound choices changed).
// A quiet device rests (RestIfQuiet): its output is closed until the next
// sound, which opens it again with every slot as it was.

#include "base/audio_device.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

struct Mix_Chunk;

namespace kesto {

class SdlAudioDevice final : public AudioDevice {
public:
    SdlAudioDevice();
    ~SdlAudioDevice() override;
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    // False when there is no sound device and everything is silent.
    bool IsOpen() const { return m_open; }

    bool Load(int slot, const std::filesystem::path& file) override;
    bool LoadPcm(int slot, const PcmSound& sound) override;
    void ForgetLoadedFiles() override;
    bool IsPlaying(int slot) override;
    void Play(int slot, bool loop) override;
    void Stop(int slot) override;
    void SetVolume(int slot, int hundredthsDb) override;
    void SetPan(int slot, int hundredthsDb) override;
    void RestIfQuiet() override;
    // The output is closed for now, to be opened again by the next sound.
    bool Resting() const { return m_open && !m_mixing; }

private:
    using Chunk = std::shared_ptr<Mix_Chunk>;

    struct MixerFormat {
        int frequency = 0;
        uint16_t format = 0;
        int channels = 0;
        bool operator==(const MixerFormat&) const = default;
    };

    bool Usable(int slot) const { return m_open && slot >= 0 && slot < SlotCount; }
    // Usable, with the output open (a resting device opens it again).
    bool Ready(int slot);
    bool OpenMixer();
    void ApplyPan(int slot);
    void PutInSlot(int slot, Chunk chunk);

    bool m_sdlStarted = false;
    bool m_open = false;                // there is a sound device
    bool m_mixing = false;              // and its output is open (not resting)
    bool m_calledSinceRestLook = false; // a sound was loaded or played since RestIfQuiet looked
    bool m_wakeFailed = false;          // the output would not open again after a rest
    MixerFormat m_format;               // of the output the kept sounds were converted for
    // A chunk lives while a slot or the file cache holds it.
    std::array<Chunk, SlotCount> m_chunks{};
    std::unordered_map<std::string, Chunk> m_loadedFiles; // by the file's path
    std::array<int, SlotCount> m_volume{};
    std::array<int, SlotCount> m_pan{};
    // The mixer may still pan the slot's channel (it drops panning when a
    // playing channel stops, so this can say so when it no longer does).
    std::array<bool, SlotCount> m_panned{};
};

// Hundredths of a decibel (0 or less) to SDL_mixer's volume 0..128.
int MixerVolumeFor(int hundredthsDb);
// Pan in hundredths of a decibel to the left and right levels 0..255.
std::array<int, 2> MixerPanningFor(int hundredthsDb);

} // namespace kesto
