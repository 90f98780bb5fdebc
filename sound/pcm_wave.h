#pragma once
// A sound made in memory as the bytes of a wave file (RIFF, PCM, mono, 16 bit),
// so the sound device loads it as it loads a file and converts it to its own
// rate and channels the same way.

#include "base/audio_device.h"

#include <string>

namespace kesto {

std::string MonoWaveFileBytes(const PcmSound& sound);

} // namespace kesto
