#pragma once
// The live board's choices, kept in a file of their own in the program folder
// ("KestoLiveBoard.dat", two text lines: "On=0" or "On=1", "Port=8080"), so
// the timer's own settings files stay as they are. Without the file, or with
// a line that makes no sense, the board is off on port 8080: a first run opens
// no port.

#include <filesystem>
#include <string>

namespace kesto {

inline constexpr const char* LiveBoardFileName = "KestoLiveBoard.dat";
inline constexpr int DefaultLiveBoardPort = 8080;

struct LiveBoardSettings {
    bool on = false;
    int port = DefaultLiveBoardPort; // 1024..65535

    bool operator==(const LiveBoardSettings&) const = default;
};

LiveBoardSettings ParseLiveBoardSettings(const std::string& text);
std::string LiveBoardSettingsText(const LiveBoardSettings& settings);

LiveBoardSettings ReadLiveBoardSettings(const std::filesystem::path& programFolder);
// Written whole or not at all; false (with the system's words) on failure.
bool WriteLiveBoardSettings(const std::filesystem::path& programFolder,
                            const LiveBoardSettings& settings, std::string* error);

} // namespace kesto
