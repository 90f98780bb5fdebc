#pragma once
// DX7Sound: every wave file the timer plays goes through this ring of 31 slots
// of the audio device, so lap sounds of several cars overlap instead of
// cutting each other off. Files are looked up in the sound folder "LmSound"
// under the program folder, without regard to letter case.

#include "base/audio_device.h"
#include "base/dialogs.h"
#include "base/sound_player.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>

namespace kesto {

// Volume 0..100 to hundredths of a decibel: 100 -> 0, 50 -> -3000, 0 -> -6000.
int BufferVolumeFor(int volume);
// Pan 0..100 to hundredths of a decibel: 0 left only, 100 right only.
int BufferPanFor(int pan);

// One playback of the ring: the slot and which of its playbacks it was.
struct RingPlayback {
    int slot = -1;
    uint64_t number = 0;
};

class SoundRing final : public SoundPlayer {
public:
    static constexpr int MaxSlots = AudioDevice::SlotCount;

    SoundRing(AudioDevice& device, Dialogs& dialogs);

    // The sound folder is `programFolder`/LmSound (any letter case).
    void SetSoundFolder(const std::filesystem::path& programFolder);
    std::filesystem::path SoundFolder() const;

    // Makes the ring slots 0..lastIndex and preloads `fileName` into each at
    // volume 50. The first slot whose file can't be loaded ends the preloading.
    void InitSoundBuffers(int lastIndex, const std::string& fileName);
    // Loads the file into the slot; on failure says so and the slot keeps its
    // previous sound.
    bool LoadSoundBuffer(int slot, const std::string& fileName);
    // Plays the file in the next slot that isn't playing. volume 0..100 (100 or
    // more leaves the slot's volume as loaded), pan 0..100 with 50 the centre.
    void PlaySoundBuffer(const std::string& fileName, int volume, int pan, bool loop);
    void SetBufferPan(int slot, int pan);
    void SetBufferVolume(int slot, int volume);

    // The one way the rest of the program plays a sound: full volume, pan 0.
    void PlayWav(const std::string& fileName) override;

    // A spoken call made in memory, with the volume and pan rules of
    // PlaySoundBuffer, in the next slot that isn't playing. It never stops
    // another sound: with every slot busy (or a sound that won't load) it
    // plays nothing and returns nullopt.
    std::optional<RingPlayback> PlayPcmSound(const PcmSound& sound, int volume, int pan);
    // True while that playback sounds (not once its slot plays something else).
    bool IsPlaying(const RingPlayback& playback);

    // The device forgets the wave files it keeps loaded: the sound choices
    // changed, or a recording in the sound folder was replaced.
    void ForgetLoadedFiles();

    int NextBuffer() const { return m_nextBuffer; }
    int SlotCount() const { return m_slotCount; }
    bool Loaded(int slot) const;

private:
    struct Slot {
        bool loaded = false;   // a sound was loaded into the slot
        bool looping = false;  // started with the loop flag
        bool inMemory = false; // holds a sound made in memory, not a file's
        uint64_t startedAt = 0;
    };

    bool IsBusy(int slot);
    void FindFreeSlot();
    bool ValidSlot(int slot) const { return slot >= 0 && slot < m_slotCount; }
    // The file's path in the sound folder, looked up once: a lap sound is
    // played many times a second and each look-up reads the disk.
    std::filesystem::path SoundFile(const std::string& fileName);

    AudioDevice& m_device;
    Dialogs& m_dialogs;
    std::filesystem::path m_programFolder;
    std::unordered_map<std::string, std::filesystem::path> m_foundFiles;
    std::array<Slot, MaxSlots> m_slots{};
    int m_slotCount = MaxSlots;
    int m_nextBuffer = 0;
    uint64_t m_playCount = 0;
    bool m_reportingMissingFile = false;
};

} // namespace kesto
