#include "sound/qt/sdl_audio_device.h"

#include "sound/pcm_wave.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <system_error>

namespace kesto {

namespace {
// The format every sound of the program is mixed to.
constexpr int Frequency = 22050;
constexpr int Channels = 2;
constexpr int ChunkFrames = 1024;

// Freeing a chunk also stops every channel that plays it.
void FreeChunk(Mix_Chunk* chunk) {
    Mix_FreeChunk(chunk);
}

// Level 0..full for an attenuation in hundredths of a decibel.
int Attenuated(int full, int hundredthsDb) {
    const double level = full * std::pow(10.0, std::min(0, hundredthsDb) / 2000.0);
    return std::clamp(static_cast<int>(std::lround(level)), 0, full);
}
} // namespace

int MixerVolumeFor(int hundredthsDb) {
    return Attenuated(MIX_MAX_VOLUME, hundredthsDb);
}

std::array<int, 2> MixerPanningFor(int hundredthsDb) {
    if (hundredthsDb < 0)
        return {255, Attenuated(255, hundredthsDb)};
    return {Attenuated(255, -hundredthsDb), 255};
}

SdlAudioDevice::SdlAudioDevice() {
    // Qt owns the process's signals.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return;
    m_sdlStarted = true;
    if (!OpenMixer())
        return;
    m_open = true;
    Mix_QuerySpec(&m_format.frequency, &m_format.format, &m_format.channels);
}

bool SdlAudioDevice::OpenMixer() {
    if (Mix_OpenAudio(Frequency, AUDIO_S16SYS, Channels, ChunkFrames) != 0)
        return false;
    Mix_AllocateChannels(SlotCount);
    m_mixing = true;
    return true;
}

SdlAudioDevice::~SdlAudioDevice() {
    if (m_mixing)
        Mix_HaltChannel(-1);
    for (Chunk& chunk : m_chunks)
        chunk.reset();
    m_loadedFiles.clear();
    if (m_mixing)
        Mix_CloseAudio();
    if (m_sdlStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioDevice::Load(int slot, const std::filesystem::path& file) {
    // A resting output opens first: the sounds kept are in its format.
    const bool ready = Ready(slot);
    // A sound already read plays from memory without asking the disk again:
    // a lap sound is loaded many times a second.
    auto kept = m_loadedFiles.find(file.native());
    if (ready && kept != m_loadedFiles.end()) {
        PutInSlot(slot, kept->second);
        return true;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return false;
    if (!ready)
        return true; // silent: the file is there, nothing to play it on
    if (kept == m_loadedFiles.end()) {
        Mix_Chunk* loaded = Mix_LoadWAV(file.c_str());
        if (!loaded)
            return false;
        kept = m_loadedFiles.emplace(file.native(), Chunk(loaded, FreeChunk)).first;
    }
    PutInSlot(slot, kept->second);
    return true;
}

bool SdlAudioDevice::LoadPcm(int slot, const PcmSound& sound) {
    if (sound.samples.empty() || !Ready(slot))
        return false;
    // As a wave file, so the mixer converts it to its rate and channels.
    const std::string bytes = MonoWaveFileBytes(sound);
    SDL_RWops* memory = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    Mix_Chunk* loaded = memory ? Mix_LoadWAV_RW(memory, 1) : nullptr;
    if (!loaded)
        return false;
    PutInSlot(slot, Chunk(loaded, FreeChunk));
    return true;
}

void SdlAudioDevice::ForgetLoadedFiles() {
    // Slots keep the chunks they hold until they load another sound.
    m_loadedFiles.clear();
}

void SdlAudioDevice::PutInSlot(int slot, Chunk chunk) {
    // The mixer reads the old chunk while its channel plays.
    Mix_HaltChannel(slot);
    m_chunks[slot] = std::move(chunk);
    // Like a fresh buffer: full volume, centred.
    m_volume[slot] = 0;
    Mix_Volume(slot, MIX_MAX_VOLUME);
    m_pan[slot] = 0;
    ApplyPan(slot);
}

bool SdlAudioDevice::IsPlaying(int slot) {
    return Usable(slot) && m_mixing && Mix_Playing(slot) != 0;
}

void SdlAudioDevice::Play(int slot, bool loop) {
    if (!Ready(slot) || !m_chunks[slot])
        return;
    // Stopping a channel drops its panning, so stop first and pan again.
    Mix_HaltChannel(slot);
    ApplyPan(slot);
    Mix_PlayChannel(slot, m_chunks[slot].get(), loop ? -1 : 0);
}

void SdlAudioDevice::Stop(int slot) {
    if (Usable(slot) && m_mixing)
        Mix_HaltChannel(slot);
}

void SdlAudioDevice::SetVolume(int slot, int hundredthsDb) {
    if (!Usable(slot))
        return;
    m_volume[slot] = hundredthsDb;
    if (m_mixing)
        Mix_Volume(slot, MixerVolumeFor(hundredthsDb));
}

void SdlAudioDevice::SetPan(int slot, int hundredthsDb) {
    if (!Usable(slot))
        return;
    m_pan[slot] = hundredthsDb;
    if (m_mixing)
        ApplyPan(slot);
}

void SdlAudioDevice::RestIfQuiet() {
    const bool calledSinceLastLook = m_calledSinceRestLook;
    m_calledSinceRestLook = false;
    m_wakeFailed = false;
    if (!m_mixing || calledSinceLastLook || Mix_Playing(-1) > 0)
        return;
    // Closing the output stops SDL's mixing thread, which otherwise mixes
    // silence all the time. The sounds and every slot's setting stay.
    Mix_CloseAudio();
    m_mixing = false;
    std::fill(m_panned.begin(), m_panned.end(), false);
}

bool SdlAudioDevice::Ready(int slot) {
    if (!Usable(slot))
        return false;
    m_calledSinceRestLook = true;
    if (m_mixing)
        return true;
    // A device gone while resting leaves the program silent, and is tried
    // again after the next look between races, not at every sound.
    if (m_wakeFailed)
        return false;
    if (!OpenMixer()) {
        m_wakeFailed = true;
        return false;
    }
    MixerFormat format;
    Mix_QuerySpec(&format.frequency, &format.format, &format.channels);
    if (!(format == m_format)) {
        // Kept sounds were converted for the old output: read them again.
        m_format = format;
        m_loadedFiles.clear();
        for (Chunk& chunk : m_chunks)
            chunk.reset();
    }
    for (int other = 0; other < SlotCount; ++other) {
        Mix_Volume(other, MixerVolumeFor(m_volume[other]));
        ApplyPan(other);
    }
    return true;
}

void SdlAudioDevice::ApplyPan(int slot) {
    // Centring a channel that has no panning is a failed call in the mixer
    // (it formats an error text), and a lap sound is centred twice a lap.
    if (m_pan[slot] == 0 && !m_panned[slot])
        return;
    const auto [left, right] = MixerPanningFor(m_pan[slot]);
    Mix_SetPanning(slot, static_cast<Uint8>(left), static_cast<Uint8>(right));
    m_panned[slot] = m_pan[slot] != 0;
}

} // namespace kesto
