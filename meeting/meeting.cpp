#include "meeting/meeting.h"

#include <algorithm>
#include <cctype>

namespace kesto {
namespace {

constexpr int MaxRounds = 20;
constexpr int MaxHeatLaps = 3000; // the lap tables end at lap 3000
constexpr int MaxHeatMinutes = 600;
constexpr size_t MaxPlaces = 99;

bool IsDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    const int month = std::stoi(text.substr(5, 2));
    const int day = std::stoi(text.substr(8, 2));
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

template <class Heats> auto FindIn(Heats& heats, int heatNumber) -> decltype(&heats.front()) {
    for (auto& heat : heats)
        if (heat.number == heatNumber)
            return &heat;
    return nullptr;
}

} // namespace

std::string HeatFormatText(const HeatFormat& format) {
    return std::to_string(format.count) +
           (format.kind == HeatFormatKind::Laps ? " Lap Race" : " Minute Race");
}

std::vector<int> DefaultPoints() {
    return {10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
}

Meeting NewMeeting(std::string name, std::string date) {
    Meeting meeting;
    meeting.name = std::move(name);
    meeting.date = std::move(date);
    meeting.scoring.points = DefaultPoints();
    return meeting;
}

const MeetingEntry* FindEntry(const Meeting& meeting, int entry) {
    for (const auto& e : meeting.entries)
        if (e.number == entry)
            return &e;
    return nullptr;
}

Heat* FindHeat(Meeting& meeting, int heatNumber) {
    return FindIn(meeting.heats, heatNumber);
}

const Heat* FindHeat(const Meeting& meeting, int heatNumber) {
    return FindIn(meeting.heats, heatNumber);
}

const HeatSlot* FindSlot(const Heat& heat, int entry) {
    for (const auto& slot : heat.grid)
        if (slot.entry == entry)
            return &slot;
    return nullptr;
}

const RacerResult* FindResult(const HeatResult& result, int entry) {
    for (const auto& racer : result)
        if (racer.entry == entry)
            return &racer;
    return nullptr;
}

std::string EntryName(const Meeting& meeting, int entry) {
    const MeetingEntry* found = FindEntry(meeting, entry);
    return found != nullptr ? found->name : "#" + std::to_string(entry);
}

std::string MainName(int main) {
    if (main >= 0 && main < 26)
        return std::string(1, static_cast<char>('A' + main));
    return std::to_string(main + 1);
}

bool IsLaneRotation(const Meeting& meeting) {
    return meeting.scoring.rule == ScoringRule::LaneRotation;
}

int HeatCapacity(const Meeting& meeting) {
    return IsLaneRotation(meeting) ? meeting.heatSize : MaxHeatSize;
}

Refusal CheckHeatFormat(const HeatFormat& format) {
    const int most = format.kind == HeatFormatKind::Laps ? MaxHeatLaps : MaxHeatMinutes;
    if (format.count < 1 || format.count > most)
        return "A heat runs 1 to " + std::to_string(most) +
               (format.kind == HeatFormatKind::Laps ? " laps." : " minutes.");
    return std::nullopt;
}

Refusal CheckSetup(const Meeting& meeting) {
    if (meeting.name.empty())
        return "The meeting needs a name.";
    if (!IsDate(meeting.date))
        return "The meeting's date must read YYYY-MM-DD, not \"" + meeting.date + "\".";
    if (Refusal fault = CheckHeatFormat(meeting.heatFormat))
        return fault;
    if (meeting.rounds < 1 || meeting.rounds > MaxRounds)
        return "A meeting has 1 to " + std::to_string(MaxRounds) + " qualifying rounds.";
    if (meeting.heatSize < 1 || meeting.heatSize > MaxHeatSize)
        return "A heat holds 1 to 14 cars.";
    const Scoring& scoring = meeting.scoring;
    if (scoring.rule == ScoringRule::BestRounds &&
        (scoring.countedRounds < 1 || scoring.countedRounds > meeting.rounds))
        return "The rounds that count must be 1 to " + std::to_string(meeting.rounds) + ".";
    if (scoring.rule == ScoringRule::Points &&
        (scoring.points.empty() || scoring.points.size() > MaxPlaces ||
         std::any_of(scoring.points.begin(), scoring.points.end(), [](int p) { return p < 0; })))
        return "The points list needs 1 to 99 places, none below 0.";
    return std::nullopt;
}

} // namespace kesto
