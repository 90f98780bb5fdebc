#include "support/fake_audio_device.h"

#include <algorithm>

namespace kesto::test {

bool FakeAudioDevice::Load(int slot, const std::filesystem::path& file) {
    calls.push_back("load " + std::to_string(slot) + " " + file.filename().string());
    const bool failing =
        std::find(failingSlots.begin(), failingSlots.end(), slot) != failingSlots.end();
    if (failing || !std::filesystem::is_regular_file(file))
        return false;
    Slot& s = slots.at(slot);
    s.playing = false; // a fresh buffer replaces the old one
    s.file = file;
    s.volume = 0;
    s.pan = 0;
    return true;
}

bool FakeAudioDevice::LoadPcm(int slot, const PcmSound& sound) {
    calls.push_back("pcm " + std::to_string(slot) + " " + std::to_string(sound.samples.size()));
    if (sound.samples.empty())
        return false;
    Slot& s = slots.at(slot);
    s = Slot{};
    s.file = "(pcm)";
    return true;
}

void FakeAudioDevice::Play(int slot, bool loop) {
    calls.push_back("play " + std::to_string(slot));
    Slot& s = slots.at(slot);
    if (s.file.empty())
        return;
    s.playing = true;
    s.looping = loop;
    ++s.plays;
}

void FakeAudioDevice::SetVolume(int slot, int hundredthsDb) {
    calls.push_back("volume " + std::to_string(slot) + " " + std::to_string(hundredthsDb));
    slots.at(slot).volume = hundredthsDb;
}

void FakeAudioDevice::SetPan(int slot, int hundredthsDb) {
    calls.push_back("pan " + std::to_string(slot) + " " + std::to_string(hundredthsDb));
    slots.at(slot).pan = hundredthsDb;
}

void FakeAudioDevice::FinishAll() {
    for (Slot& s : slots)
        s.playing = false;
}

} // namespace kesto::test
