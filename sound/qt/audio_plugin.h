#pragma once
// The sound device lives in a plugin beside the program ("kesto_sdl_audio.so",
// SDL2_mixer and what it pulls in: fluidsynth, jack, ...), loaded once the
// main window shows, so none of it slows the timer's start.

#include "base/audio_device.h"

#include <filesystem>
#include <memory>

namespace kesto {

inline constexpr const char* AudioPluginFileName = "kesto_sdl_audio.so";
// The plugin's one entry point: a new sound device, silent when the machine
// has none.
inline constexpr const char* AudioPluginEntry = "KestoCreateAudioDevice";

// The plugin's sound device from `folder`; null when the plugin is missing
// or cannot load (the program then stays silent, as without a sound device).
std::unique_ptr<AudioDevice> LoadAudioPlugin(const std::filesystem::path& folder);

} // namespace kesto
