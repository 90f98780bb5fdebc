#pragma once
// The one way the engine makes a sound: play a wave file of the sound folder.

#include <string>

namespace kesto {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // fileName is relative to the sound folder, e.g. "White Flag.wav".
    virtual void PlayWav(const std::string& fileName) = 0;
};

} // namespace kesto
