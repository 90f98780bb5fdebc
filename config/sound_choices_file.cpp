#include "config/sound_choices_file.h"

#include "base/file_names.h"
#include "base/program_folder.h"
#include "config/value_file.h"

namespace kesto {

std::filesystem::path SoundChoicesPath(const std::filesystem::path& programFolder) {
    return ResolveInFolder(SoundFolderOf(programFolder), SoundChoicesFileName);
}

bool ReadSoundChoices(const std::filesystem::path& programFolder, SoundChoices& choices,
                      std::string* error) {
    auto reader = ValueFileReader::Open(SoundChoicesPath(programFolder), error);
    if (!reader)
        return false;
    for (int16_t& enabled : choices.CarSoundEnabled)
        reader->ReadInt16(enabled);
    for (std::string& file : choices.CarSoundFile)
        reader->ReadText(file);
    for (int event = 0; event < RaceSoundCount; ++event) {
        bool enabled = false;
        if (reader->ReadBoolean(enabled))
            choices.RaceSoundEnabled[event] = enabled;
    }
    if (!reader->Error().empty()) {
        if (error != nullptr)
            *error = reader->Error();
        return false;
    }
    return true;
}

void LoadSoundChoices(const std::filesystem::path& programFolder, SoundChoices& choices,
                      Dialogs& dialogs) {
    const std::filesystem::path path = SoundChoicesPath(programFolder);
    std::error_code exists;
    std::string error;
    if (!std::filesystem::exists(path, exists))
        error = "File not found\n" + path.string();
    else if (ReadSoundChoices(programFolder, choices, &error))
        return;
    Message box;
    box.text = error;
    dialogs.Show(box);
}

bool WriteSoundChoices(const std::filesystem::path& programFolder, const SoundChoices& choices,
                       std::string* error) {
    ValueFileWriter writer;
    for (int16_t enabled : choices.CarSoundEnabled)
        writer.Whole(enabled).EndLine();
    for (const std::string& file : choices.CarSoundFile)
        writer.Text(file).EndLine();
    for (int event = 0; event < RaceSoundCount; ++event)
        writer.Boolean(choices.RaceSoundEnabled[event]).EndLine();
    return writer.SaveTo(SoundChoicesPath(programFolder), error);
}

} // namespace kesto
