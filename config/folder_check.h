#pragma once
// The timer's own files in the program folder (settings, names, speed
// multiplier, race format, lag mode, roster, sound choices) as they are found
// at start-up: one that is not a regular file (a FIFO, a folder, a device) or
// is a link is never written, and read only when it leads to a regular file.
// Such files are told to the operator once, at start-up.

#include <filesystem>
#include <string>
#include <vector>

namespace kesto {

// Those of the timer's files in `folder` that are links or not regular files.
std::vector<std::filesystem::path> FilesLeftAsTheyAre(const std::filesystem::path& folder);

// The message telling them, empty when there are none.
std::string FilesLeftAsTheyAreText(const std::vector<std::filesystem::path>& files);

} // namespace kesto
