// The entry point of the sound device plugin (audio_plugin.h).
#include "sound/qt/sdl_audio_device.h"

extern "C" __attribute__((visibility("default"))) kesto::AudioDevice* KestoCreateAudioDevice() {
    return new kesto::SdlAudioDevice();
}
