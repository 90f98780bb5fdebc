#include "web/live_board_settings.h"

#include "base/safe_write.h"

#include <charconv>
#include <sstream>

namespace kesto {

namespace {

constexpr size_t MaxFileBytes = 4096; // two short lines; anything longer is not ours

bool ParseNumber(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

} // namespace

LiveBoardSettings ParseLiveBoardSettings(const std::string& text) {
    LiveBoardSettings settings;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        int number = 0;
        if (!ParseNumber(value, number))
            continue;
        if (key == "On" && (number == 0 || number == 1))
            settings.on = number == 1;
        else if (key == "Port" && number >= 1024 && number <= 65535)
            settings.port = number;
    }
    return settings;
}

std::string LiveBoardSettingsText(const LiveBoardSettings& settings) {
    return "On=" + std::string(settings.on ? "1" : "0") +
           "\r\nPort=" + std::to_string(settings.port) + "\r\n";
}

LiveBoardSettings ReadLiveBoardSettings(const std::filesystem::path& programFolder) {
    std::string text;
    if (!ReadFilePrefix(programFolder / LiveBoardFileName, MaxFileBytes, text, nullptr))
        return {};
    return ParseLiveBoardSettings(text);
}

bool WriteLiveBoardSettings(const std::filesystem::path& programFolder,
                            const LiveBoardSettings& settings, std::string* error) {
    return WriteFileAtomically(programFolder / LiveBoardFileName, LiveBoardSettingsText(settings),
                               error);
}

} // namespace kesto
