#include "config/folder_check.h"

#include "base/file_names.h"
#include "config/data_files.h"
#include "config/roster_file.h"
#include "config/settings_files.h"
#include "config/sound_choices_file.h"

#include <system_error>

namespace kesto {

std::vector<std::filesystem::path> FilesLeftAsTheyAre(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (const char* name : {SettingsFileName, IdNamesFileName, SpeedMultiplierFileName,
                             RaceFormatFileName, RaceLagWriteName, RosterFileName})
        files.push_back(ResolveInFolder(folder, name));
    files.push_back(SoundChoicesPath(folder));
    std::vector<fs::path> left;
    for (const fs::path& file : files) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(file, error);
        if (!error && fs::exists(status) && !fs::is_regular_file(status))
            left.push_back(file);
    }
    return left;
}

std::string FilesLeftAsTheyAreText(const std::vector<std::filesystem::path>& files) {
    if (files.empty())
        return {};
    const bool one = files.size() == 1;
    std::string text = one ? "This file of the program folder is a link or not a regular file"
                           : "These files of the program folder are links or not regular files";
    text += " (a folder, a FIFO, a device): the timer never writes ";
    text += one ? "it" : "them";
    text += ", and reads ";
    text += one ? "it" : "them";
    text += " only through a link to a regular file. ";
    text += one ? "It is left as it is." : "They are left as they are.";
    text += "\n";
    for (const std::filesystem::path& file : files)
        text += "\n" + file.string();
    return text;
}

} // namespace kesto
