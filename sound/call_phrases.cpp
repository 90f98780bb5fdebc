#include "sound/call_phrases.h"

#include "engine/number_format.h"

namespace kesto {

namespace {

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string GridList(const GridRacers& racers) {
    std::string list;
    for (const auto& [id, name] : racers) {
        if (!list.empty())
            list += "; ";
        list += "car " + std::to_string(id) + ", " + CalledName(name, id);
    }
    return list;
}

} // namespace

std::string CalledName(std::string_view name, int id) {
    const size_t first = name.find_first_not_of(' ');
    if (first != std::string_view::npos) {
        name = name.substr(first, name.find_last_not_of(' ') - first + 1);
        if (name != "Empty")
            return std::string(name);
    }
    return "car " + std::to_string(id);
}

std::string BestLapPhrase(std::string_view name, int32_t lapMs, const NumberLocale& locale) {
    // As the "Best Lap" column shows it.
    return "New best lap, " + std::string(name) + ", " + FormatFixed(lapMs / 1000.0, 2, locale);
}

std::string LapCountPhrase(std::string_view name, int laps) {
    return std::string(name) + ", lap " + std::to_string(laps);
}

std::string LeaderLapPhrase(std::string_view name, int laps) {
    return "Leader, " + LapCountPhrase(name, laps);
}

std::string PodiumPhrase(const std::vector<std::string>& finishingOrder) {
    static constexpr const char* Places[] = {"Winner, ", ". Second, ", ". Third, "};
    std::string phrase;
    for (size_t place = 0; place < finishingOrder.size() && place < 3; ++place)
        phrase += Places[place] + finishingOrder[place];
    return phrase;
}

std::string RacersPhrase(const GridRacers& racers) {
    return racers.empty() ? std::string() : "Racers: " + GridList(racers);
}

std::string HeatCallUpPhrase(std::string_view heat, const GridRacers& racers) {
    std::string phrase = "Next up, " + std::string(heat);
    if (!racers.empty())
        phrase += ": " + GridList(racers);
    return phrase;
}

std::string DurationWords(int seconds) {
    const int hours = seconds / 3600;
    const int minutes = seconds / 60 % 60;
    const int rest = seconds % 60;
    std::string words;
    auto add = [&words](std::string part) { words += (words.empty() ? "" : " ") + part; };
    if (hours > 0)
        add(Counted(hours, "hour", "hours"));
    if (minutes > 0)
        add(Counted(minutes, "minute", "minutes"));
    if (rest > 0 || words.empty())
        add(Counted(rest, "second", "seconds"));
    return words;
}

std::string TimeLeftPhrase(int seconds) {
    return DurationWords(seconds) + " left";
}

std::string HalfwayTimePhrase(int secondsLeft) {
    return "Halfway, " + TimeLeftPhrase(secondsLeft);
}

std::string HalfwayLapsPhrase(int lapsToGo) {
    return "Halfway, " + Counted(lapsToGo, "lap", "laps") + " to go";
}

std::string CallWords(const Call& call, const RaceState& state) {
    if (!call.text.empty() || !IsValidId(call.id))
        return call.text;
    const std::string name = CalledName(state.IdName(call.id), call.id);
    switch (call.kind) {
    case CallKind::BestLap:
        return BestLapPhrase(name, call.number, state.Locale);
    case CallKind::LapCount:
        return LapCountPhrase(name, call.number);
    case CallKind::LeaderLapCount:
        return LeaderLapPhrase(name, call.number);
    default:
        return call.text;
    }
}

} // namespace kesto
