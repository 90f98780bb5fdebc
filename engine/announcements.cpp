#include "engine/announcements.h"

#include "engine/number_format.h"

namespace kesto {

namespace {

bool Enabled(const SoundChoices& sounds, RaceSound event) {
    return sounds.RaceSoundEnabled[event];
}

} // namespace

const char* RaceSoundFile(RaceSound event) {
    switch (event) {
    case RaceStartsIn20Sec:
        return "Race Starts in 20 sec.wav";
    case RaceStartsIn5Sec:
        return "Race Starts in 5 sec.wav";
    case GetReady:
        return "Get Ready.wav";
    case Go:
        return "Go.wav";
    case YellowFlag:
        return "";
    case WhiteFlag:
        return "White Flag.wav";
    case OneMinuteLeft:
        return "1 Minute Left.wav";
    case FiveMinutesLeft:
        return "5 Minutes Left.wav";
    case HalfwayThruTheRace:
        return "halfway thru the race.wav";
    case TenSecondsLeft:
        return "10 Seconds Left.wav";
    case RaceOver:
        return "Race Over.wav";
    case CheckeredFlag:
        return "Checkered Flag.wav";
    }
    return "";
}

bool PlayRaceSound(const SoundChoices& sounds, SoundPlayer& player, RaceSound event) {
    const char* file = RaceSoundFile(event);
    if (!Enabled(sounds, event) || *file == '\0')
        return false;
    player.PlayWav(file);
    return true;
}

void PlayTimeLeftSounds(const RaceState& state, SoundChoices& sounds, SoundPlayer& player,
                        RaceCaller& caller) {
    if (state.PracticeMode)
        return;
    double raceSeconds = static_cast<double>(state.RaceMinutes) * 60.0;
    int secondsLeft = RoundHalfEven(raceSeconds - state.RaceClock / 1000.0);
    int halfway = RoundHalfEven(raceSeconds / 2.0);

    // The points lie one second before the named mark; the first match wins.
    RaceSound event;
    if (secondsLeft == 11)
        event = TenSecondsLeft;
    else if (secondsLeft == 62)
        event = OneMinuteLeft;
    else if (secondsLeft == 302)
        event = FiveMinutesLeft;
    else if (secondsLeft == halfway)
        event = HalfwayThruTheRace;
    else
        return;

    if (!Enabled(sounds, event) || sounds.RaceSoundPlayed[event])
        return;
    sounds.RaceSoundPlayed[event] = true;
    if (!caller.TimeLeftDue(state, event))
        PlayRaceSound(sounds, player, event);
}

void PlayLapHalfwaySound(const RaceState& state, SoundChoices& sounds, SoundPlayer& player,
                         RaceCaller& caller) {
    if (state.PracticeMode)
        return;
    int leader = state.RaceOrder[0];
    if (!IsValidId(leader))
        return; // no running order yet
    int lapsToGo = state.NumberOfLaps - state.LapCount[leader - 1];
    if (lapsToGo != RoundHalfEven(state.NumberOfLaps / 2.0) ||
        sounds.RaceSoundPlayed[HalfwayThruTheRace])
        return;
    // Marked even when the announcement is off: the halfway point has passed.
    sounds.RaceSoundPlayed[HalfwayThruTheRace] = true;
    if (Enabled(sounds, HalfwayThruTheRace) && caller.TimeLeftDue(state, HalfwayThruTheRace))
        return;
    PlayRaceSound(sounds, player, HalfwayThruTheRace);
}

void ClearTimeLeftSounds(SoundChoices& sounds) {
    for (RaceSound event : {OneMinuteLeft, FiveMinutesLeft, HalfwayThruTheRace, TenSecondsLeft})
        sounds.RaceSoundPlayed[event] = false;
}

} // namespace kesto
