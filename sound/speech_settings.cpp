#include "sound/speech_settings.h"

#include "base/file_names.h"
#include "base/safe_write.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace kesto {

namespace {

constexpr size_t MaxFileBytes = 64 * 1024;

const char* LapCountsText(LapCountCalls calls) {
    switch (calls) {
    case LapCountCalls::EachCar:
        return "EachCar";
    case LapCountCalls::Leader:
        return "Leader";
    case LapCountCalls::Off:
        break;
    }
    return "Off";
}

bool ReadSwitch(const std::string& value, bool& to) {
    if (value != "0" && value != "1")
        return false;
    to = value == "1";
    return true;
}

void ReadNumber(const std::string& value, int low, int high, int& to) {
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error == std::errc() && end == value.data() + value.size() && number >= low &&
        number <= high)
        to = number;
}

void ReadLine(const std::string& name, const std::string& value, SpeechSettings& settings) {
    if (name == "BestLap")
        ReadSwitch(value, settings.bestLap);
    else if (name == "Podium")
        ReadSwitch(value, settings.podium);
    else if (name == "Racers")
        ReadSwitch(value, settings.racers);
    else if (name == "TimeLeft")
        ReadSwitch(value, settings.timeLeft);
    else if (name == "LapCounts") {
        for (LapCountCalls calls :
             {LapCountCalls::Off, LapCountCalls::EachCar, LapCountCalls::Leader})
            if (value == LapCountsText(calls))
                settings.lapCounts = calls;
    } else if (name == "Voice")
        settings.voice = value;
    else if (name == "Speed")
        ReadNumber(value, MinSpeechSpeed, MaxSpeechSpeed, settings.speed);
    else if (name == "Volume")
        ReadNumber(value, 0, 100, settings.volume);
}

} // namespace

bool SpeechSettings::AnyCallOn() const {
    return bestLap || lapCounts != LapCountCalls::Off || podium || racers || timeLeft;
}

std::filesystem::path SpeechSettingsPath(const std::filesystem::path& programFolder) {
    return ResolveInFolder(programFolder, SpeechSettingsFileName);
}

SpeechSettings ReadSpeechSettings(const std::filesystem::path& programFolder) {
    SpeechSettings settings;
    std::string bytes;
    if (!ReadFilePrefix(SpeechSettingsPath(programFolder), MaxFileBytes, bytes, nullptr))
        return settings;
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            ReadLine(line.substr(0, equals), line.substr(equals + 1), settings);
    }
    return settings;
}

bool WriteSpeechSettings(const std::filesystem::path& programFolder, const SpeechSettings& settings,
                         std::string* error) {
    std::string voice = settings.voice;
    voice.erase(
        std::remove_if(voice.begin(), voice.end(), [](char c) { return c == '\n' || c == '\r'; }),
        voice.end());
    std::ostringstream text;
    text << "BestLap=" << settings.bestLap << "\n"
         << "LapCounts=" << LapCountsText(settings.lapCounts) << "\n"
         << "Podium=" << settings.podium << "\n"
         << "Racers=" << settings.racers << "\n"
         << "TimeLeft=" << settings.timeLeft << "\n"
         << "Voice=" << voice << "\n"
         << "Speed=" << settings.speed << "\n"
         << "Volume=" << settings.volume << "\n";
    return WriteFileAtomically(SpeechSettingsPath(programFolder), text.str(), error);
}

} // namespace kesto
