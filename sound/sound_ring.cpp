#include "sound/sound_ring.h"

#include "base/file_names.h"

#include <algorithm>

namespace kesto {

namespace {
constexpr int SilentVolume = -6000;
constexpr int LeftOnly = -10000;
constexpr int RightOnly = 10000;
} // namespace

int BufferVolumeFor(int volume) {
    if (volume <= 0)
        return SilentVolume;
    return std::min(0, volume * 60 - 6000);
}

int BufferPanFor(int pan) {
    if (pan <= 0)
        return LeftOnly;
    if (pan >= 100)
        return RightOnly;
    return pan * 100 - 5000;
}

SoundRing::SoundRing(AudioDevice& device, Dialogs& dialogs)
    : m_device(device), m_dialogs(dialogs) {}

void SoundRing::SetSoundFolder(const std::filesystem::path& programFolder) {
    m_programFolder = programFolder;
    m_foundFiles.clear();
}

void SoundRing::ForgetLoadedFiles() {
    m_foundFiles.clear();
    m_device.ForgetLoadedFiles();
}

std::filesystem::path SoundRing::SoundFile(const std::string& fileName) {
    if (const auto found = m_foundFiles.find(fileName); found != m_foundFiles.end())
        return found->second;
    return ResolvePath(SoundFolder(), fileName);
}

std::filesystem::path SoundRing::SoundFolder() const {
    return ResolveInFolder(m_programFolder, "LmSound");
}

bool SoundRing::Loaded(int slot) const {
    return ValidSlot(slot) && m_slots[slot].loaded;
}

void SoundRing::InitSoundBuffers(int lastIndex, const std::string& fileName) {
    for (int slot = 0; slot < MaxSlots; ++slot) {
        m_device.Stop(slot);
        m_slots[slot] = Slot{};
    }
    m_slotCount = std::clamp(lastIndex + 1, 1, MaxSlots);
    if (m_nextBuffer >= m_slotCount)
        m_nextBuffer = 0;
    for (int slot = 0; slot < m_slotCount; ++slot) {
        if (!LoadSoundBuffer(slot, fileName))
            return; // one message is enough; later playbacks fill the rest
        SetBufferVolume(slot, 50);
    }
}

bool SoundRing::LoadSoundBuffer(int slot, const std::string& fileName) {
    if (!ValidSlot(slot))
        return false;
    const std::filesystem::path file = SoundFile(fileName);
    if (m_device.Load(slot, file)) {
        // Only a file that loaded is remembered: a missing one is looked for
        // again next time, so a file put in place mid-race is found.
        m_foundFiles.try_emplace(fileName, file);
        m_slots[slot].loaded = true;
        m_slots[slot].looping = false;
        m_slots[slot].inMemory = false;
        return true;
    }
    m_foundFiles.erase(fileName); // gone or renamed: looked for afresh next time
    // The slot keeps its previous sound, but a spoken call is never said
    // again in place of a missing file.
    if (m_slots[slot].inMemory)
        m_slots[slot].loaded = false;
    // A box is modal and race ticks go on under it: a missing lap sound must
    // not stack up one box per lap.
    if (!m_reportingMissingFile) {
        m_reportingMissingFile = true;
        m_dialogs.Show(Message{"", "Error can't find file: " + file.string()});
        m_reportingMissingFile = false;
    }
    return false;
}

bool SoundRing::IsBusy(int slot) {
    // A looping slot counts as free, as a buffer that plays once is the only
    // one worth waiting for.
    return m_slots[slot].loaded && !m_slots[slot].looping && m_device.IsPlaying(slot);
}

void SoundRing::FindFreeSlot() {
    for (int tried = 0; tried < m_slotCount; ++tried) {
        if (!IsBusy(m_nextBuffer))
            return;
        m_nextBuffer = (m_nextBuffer + 1) % m_slotCount;
    }
    // Every slot is playing. Waiting for one to finish would stop the race
    // clock, so the sound that started first gives way.
    int oldest = 0;
    for (int slot = 1; slot < m_slotCount; ++slot)
        if (m_slots[slot].startedAt < m_slots[oldest].startedAt)
            oldest = slot;
    m_device.Stop(oldest);
    m_nextBuffer = oldest;
}

void SoundRing::PlaySoundBuffer(const std::string& fileName, int volume, int pan, bool loop) {
    FindFreeSlot();
    const int slot = m_nextBuffer;
    LoadSoundBuffer(slot, fileName);
    if (pan != 50)
        SetBufferPan(slot, pan);
    if (volume < 100)
        SetBufferVolume(slot, volume);
    if (m_slots[slot].loaded) {
        m_slots[slot].looping = loop;
        m_slots[slot].startedAt = ++m_playCount;
        m_device.Play(slot, loop);
    }
}

std::optional<RingPlayback> SoundRing::PlayPcmSound(const PcmSound& sound, int volume, int pan) {
    for (int tried = 0; tried < m_slotCount; ++tried) {
        if (!IsBusy(m_nextBuffer))
            break;
        m_nextBuffer = (m_nextBuffer + 1) % m_slotCount;
    }
    const int slot = m_nextBuffer;
    if (IsBusy(slot) || !m_device.LoadPcm(slot, sound))
        return std::nullopt;
    m_slots[slot].loaded = true;
    m_slots[slot].looping = false;
    m_slots[slot].inMemory = true;
    if (pan != 50)
        SetBufferPan(slot, pan);
    if (volume < 100)
        SetBufferVolume(slot, volume);
    m_slots[slot].startedAt = ++m_playCount;
    m_device.Play(slot, false);
    return RingPlayback{slot, m_playCount};
}

bool SoundRing::IsPlaying(const RingPlayback& playback) {
    return ValidSlot(playback.slot) && m_slots[playback.slot].startedAt == playback.number &&
           IsBusy(playback.slot);
}

void SoundRing::SetBufferPan(int slot, int pan) {
    if (ValidSlot(slot))
        m_device.SetPan(slot, BufferPanFor(pan));
}

void SoundRing::SetBufferVolume(int slot, int volume) {
    if (ValidSlot(slot))
        m_device.SetVolume(slot, BufferVolumeFor(volume));
}

void SoundRing::PlayWav(const std::string& fileName) {
    PlaySoundBuffer(fileName, 120, 0, false);
}

} // namespace kesto
