#pragma once
// Between races the program's sound device rests when quiet: every few
// seconds it is asked to (AudioDevice::RestIfQuiet), and a device with no
// sound since the last ask closes its output, so an idle timer uses no
// processor mixing silence. While a race runs it is never asked, so no sound
// of the race waits for the output to open again.

#include "base/audio_device.h"

#include <functional>

class QObject;

namespace kesto {

void RestAudioBetweenRaces(QObject& owner, AudioDevice& device, std::function<bool()> raceRuns);

} // namespace kesto
