#pragma once
// File names in the program folder are matched without regard to letter case:
// "kestoRaceLag.dat" and "KestoRaceLag.dat" reach one file, "LmSound" and
// "LMSound" one folder. This is the one place that rule lives.

#include <filesystem>
#include <string>

namespace kesto {

// The entry of `folder` whose name equals `name` ignoring ASCII letter case.
// When several match, an exact match wins, then the first in name order. When
// none exists, folder / name as given (so a write creates it under that name).
std::filesystem::path ResolveInFolder(const std::filesystem::path& folder, const std::string& name);

// Resolves each element of a relative path in turn ("LMSound/LMSounds.dat").
std::filesystem::path ResolvePath(const std::filesystem::path& folder,
                                  const std::filesystem::path& relative);

bool EqualsIgnoringCase(const std::string& a, const std::string& b);

} // namespace kesto
