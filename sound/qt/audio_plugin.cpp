#include "sound/qt/audio_plugin.h"

#include <QLibrary>

namespace kesto {

std::unique_ptr<AudioDevice> LoadAudioPlugin(const std::filesystem::path& folder) {
    // The library stays loaded for the life of the process: the device's code is in it.
    QLibrary plugin(QString::fromStdString((folder / AudioPluginFileName).string()));
    using Create = AudioDevice* (*)();
    auto create = reinterpret_cast<Create>(plugin.resolve(AudioPluginEntry));
    return std::unique_ptr<AudioDevice>(create ? create() : nullptr);
}

} // namespace kesto
