#pragma once
// The audio back end under the sound ring: 31 numbered slots, each holding one
// sound loaded from a wave file, that can play at once with their own volume
// and pan. A slot behaves like a fresh sound buffer after every load: full
// volume, centred. Volume and pan are in hundredths of a decibel.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace kesto {

// Sound made in memory (spoken calls): mono 16-bit samples.
struct PcmSound {
    std::vector<int16_t> samples;
    int sampleRate = 22050;
};

class AudioDevice {
public:
    static constexpr int SlotCount = 31;

    virtual ~AudioDevice() = default;
    // False when the file can't be loaded; the slot then keeps its previous sound.
    virtual bool Load(int slot, const std::filesystem::path& file) = 0;
    // Loads a sound made in memory, as Load does a file.
    virtual bool LoadPcm(int slot, const PcmSound& sound) = 0;
    // A device may keep the sounds of the files it loaded, to load them again
    // without reading the file: this forgets them (the sound choices changed).
    virtual void ForgetLoadedFiles() {}
    virtual bool IsPlaying(int slot) = 0;
    // Starts the slot's sound from its beginning; nothing when the slot is empty.
    virtual void Play(int slot, bool loop) = 0;
    virtual void Stop(int slot) = 0;
    // 0 is full volume, -10000 silence.
    virtual void SetVolume(int slot, int hundredthsDb) = 0;
    // -10000 left only, 0 centre, +10000 right only; the other side is
    // attenuated by the amount.
    virtual void SetPan(int slot, int hundredthsDb) = 0;
    // Called now and then while no race runs: a device with nothing played
    // or loaded since the last call and nothing playing may close its output
    // to use no processor, and opens it again, as it was, for the next sound.
    virtual void RestIfQuiet() {}
};

} // namespace kesto
