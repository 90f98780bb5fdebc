#include "sound/late_audio_device.h"

#include <system_error>
#include <utility>

namespace kesto {

void LateAudioDevice::Attach(std::unique_ptr<AudioDevice> device) {
    m_device = std::move(device);
    if (!m_device)
        return;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const SlotSetting& setting = m_slots[slot];
        if (setting.file.empty() || !m_device->Load(slot, setting.file))
            continue;
        m_device->SetVolume(slot, setting.volume);
        m_device->SetPan(slot, setting.pan);
    }
}

bool LateAudioDevice::Load(int slot, const std::filesystem::path& file) {
    if (m_device)
        return m_device->Load(slot, file);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return false;
    if (Valid(slot))
        m_slots[slot] = SlotSetting{file, 0, 0}; // a fresh buffer: full volume, centred
    return true;
}

bool LateAudioDevice::LoadPcm(int slot, const PcmSound& sound) {
    // A spoken call before the device is open is dropped, as any sound is.
    return m_device && m_device->LoadPcm(slot, sound);
}

void LateAudioDevice::ForgetLoadedFiles() {
    if (m_device)
        m_device->ForgetLoadedFiles();
}

bool LateAudioDevice::IsPlaying(int slot) {
    return m_device && m_device->IsPlaying(slot);
}

void LateAudioDevice::Play(int slot, bool loop) {
    if (m_device)
        m_device->Play(slot, loop);
}

void LateAudioDevice::Stop(int slot) {
    if (m_device)
        m_device->Stop(slot);
}

void LateAudioDevice::SetVolume(int slot, int hundredthsDb) {
    if (m_device)
        m_device->SetVolume(slot, hundredthsDb);
    else if (Valid(slot))
        m_slots[slot].volume = hundredthsDb;
}

void LateAudioDevice::SetPan(int slot, int hundredthsDb) {
    if (m_device)
        m_device->SetPan(slot, hundredthsDb);
    else if (Valid(slot))
        m_slots[slot].pan = hundredthsDb;
}

void LateAudioDevice::RestIfQuiet() {
    if (m_device)
        m_device->RestIfQuiet();
}

} // namespace kesto
