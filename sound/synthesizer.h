#pragma once
// A speech synthesiser as the spoken calls use it: text in, sound out, made
// away from the user-interface thread. One request at a time.

#include "base/audio_device.h"

#include <optional>
#include <string>

namespace kesto {

struct SpeechRequest {
    std::string text; // empty: only get the synthesiser ready
    std::string voice;
    int speed = 175; // words a minute
};

struct SpeechResult {
    PcmSound sound;      // empty when nothing could be said
    std::string failure; // set when the synthesiser cannot work at all
};

class Synthesizer {
public:
    virtual ~Synthesizer() = default;
    // Starts making the sound of `request` (starting the synthesiser first when
    // needed). The caller waits for its result before the next request.
    virtual void Start(const SpeechRequest& request) = 0;
    // The result of the request started last, once it is made; nothing before.
    virtual std::optional<SpeechResult> Take() = 0;
};

} // namespace kesto
