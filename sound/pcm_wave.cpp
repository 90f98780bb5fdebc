#include "sound/pcm_wave.h"

namespace kesto {

namespace {

void PutLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

std::string MonoWaveFileBytes(const PcmSound& sound) {
    const auto rate = static_cast<uint32_t>(sound.sampleRate);
    const auto dataBytes = static_cast<uint32_t>(sound.samples.size() * 2);
    std::string bytes;
    bytes.reserve(44 + dataBytes);
    bytes += "RIFF";
    PutLittleEndian(bytes, 36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    PutLittleEndian(bytes, 16, 4);
    PutLittleEndian(bytes, 1, 2); // PCM
    PutLittleEndian(bytes, 1, 2); // mono
    PutLittleEndian(bytes, rate, 4);
    PutLittleEndian(bytes, rate * 2, 4); // bytes a second
    PutLittleEndian(bytes, 2, 2);        // block alignment
    PutLittleEndian(bytes, 16, 2);       // bits a sample
    bytes += "data";
    PutLittleEndian(bytes, dataBytes, 4);
    for (int16_t sample : sound.samples)
        PutLittleEndian(bytes, static_cast<uint16_t>(sample), 2);
    return bytes;
}

} // namespace kesto
