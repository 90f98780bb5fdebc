#pragma once
// What the sound window shows of the sound folder: its wave files, and the
// spelling a chosen file name is stored under.

#include <filesystem>
#include <string>
#include <vector>

namespace kesto {

// Names of the regular files in `folder` ending in ".wav" in any letter case,
// in alphabetical order ignoring case. Empty when the folder can't be read.
std::vector<std::string> ListWaveFiles(const std::filesystem::path& folder);

// First letter of each word upper case, the rest lower case; words are
// separated by white space only, so "CHEER.WAV" becomes "Cheer.wav". Only
// ASCII letters change, so the name still reaches the same file when letter
// case is ignored.
std::string ProperCase(const std::string& text);

} // namespace kesto
