#pragma once
// "LMSounds.dat" in the sound folder: the sound window's choices, eighteen
// lines of one value each: lines 1-3 CarSoundEnabled 0..2 (0 or 1), lines 4-6
// CarSoundFile 0..2 (quoted, relative to the sound folder), lines 7-18
// RaceSoundEnabled for the 12 race events in list order (#TRUE# / #FALSE#).
//
// Both return false with a description in `error` on failure (see
// data_files.h for the policy); a missing sound folder is not created.

#include "base/dialogs.h"
#include "base/sound_choices.h"

#include <filesystem>
#include <string>

namespace kesto {

inline constexpr const char* SoundChoicesFileName = "LMSounds.dat";

// The file's path under `programFolder`, letter case of folder and file ignored.
std::filesystem::path SoundChoicesPath(const std::filesystem::path& programFolder);

bool ReadSoundChoices(const std::filesystem::path& programFolder, SoundChoices& choices,
                      std::string* error = nullptr);
bool WriteSoundChoices(const std::filesystem::path& programFolder, const SoundChoices& choices,
                       std::string* error = nullptr);

// The one read of the file, at start-up. A failure is shown through `dialogs`
// as its description in a box without title ("File not found" and the path
// when there is no file) and leaves the choices it could not read as they were.
void LoadSoundChoices(const std::filesystem::path& programFolder, SoundChoices& choices,
                      Dialogs& dialogs);

} // namespace kesto
