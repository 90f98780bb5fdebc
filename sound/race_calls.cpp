#include "sound/race_calls.h"

#include "engine/number_format.h"
#include "sound/call_phrases.h"

namespace kesto {

RaceCalls::RaceCalls(const SpeechSettings& settings, CallQueue& queue,
                     std::function<bool()> speechWorks)
    : m_settings(settings), m_queue(queue), m_speechWorks(std::move(speechWorks)) {}

void RaceCalls::Add(CallKind kind, std::string text) {
    if (text.empty())
        return;
    Call call;
    call.kind = kind;
    call.text = std::move(text);
    m_queue.Add(std::move(call));
}

void RaceCalls::LapCounted(const RaceState& state, int id, bool newOverallBest) {
    if (!IsValidId(id) || (!m_settings.bestLap && m_settings.lapCounts == LapCountCalls::Off) ||
        !Works())
        return;
    if (newOverallBest && m_settings.bestLap) {
        Call call;
        call.kind = CallKind::BestLap;
        call.id = id;
        call.number = state.BestLapTime[id - 1];
        m_queue.Add(std::move(call));
    }
    const int laps = state.LapCount[id - 1];
    if (laps < 1) // a race that begins with lap 0: the first pass is no lap yet
        return;
    Call call;
    call.id = id;
    call.number = laps;
    if (m_settings.lapCounts == LapCountCalls::EachCar) {
        call.kind = CallKind::LapCount;
        m_queue.Add(std::move(call));
    } else if (m_settings.lapCounts == LapCountCalls::Leader && LeadsAfterLap(state, id)) {
        call.kind = CallKind::LeaderLapCount;
        m_queue.Add(std::move(call));
    }
}

void RaceCalls::StartLightsOn(const RaceState& state) {
    if (m_settings.racers && Works())
        Add(CallKind::Racers, RacersPhrase(RacersOnTheGrid(state.Names.IdName)));
}

void RaceCalls::RaceClosed(const RaceState& state) {
    if (!m_settings.podium || !Works())
        return;
    std::vector<std::string> names;
    for (int id : CarsInRunningOrder(state))
        names.push_back(CalledName(state.IdName(id), id));
    Add(CallKind::Podium, PodiumPhrase(names));
}

bool RaceCalls::TimeLeftDue(const RaceState& state, RaceSound event) {
    if (!m_settings.timeLeft || !Works())
        return false;
    std::string text;
    switch (event) {
    case TenSecondsLeft:
        text = TimeLeftPhrase(10);
        break;
    case OneMinuteLeft:
        text = TimeLeftPhrase(60);
        break;
    case FiveMinutesLeft:
        text = TimeLeftPhrase(300);
        break;
    case HalfwayThruTheRace:
        text = state.TimedRace ? HalfwayTimePhrase(RoundHalfEven(state.RaceMinutes * 60 / 2.0))
                               : HalfwayLapsPhrase(RoundHalfEven(state.NumberOfLaps / 2.0));
        break;
    default:
        return false; // not a time-left call: its wave file plays
    }
    Add(CallKind::TimeLeft, std::move(text));
    return true;
}

void RaceCalls::NextHeatCalledUp(std::string_view heat, const PerId<std::string>& names) {
    if (m_settings.racers && Works())
        Add(CallKind::HeatCallUp, HeatCallUpPhrase(heat, RacersOnTheGrid(names)));
}

} // namespace kesto
