#include "engine/lap_counting.h"

#include "base/guarded_step.h"
#include "engine/number_format.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kesto {
namespace {

// Lap seconds rounded to hundredths (half away from zero), worked out on the
// whole milliseconds so 12.345 s is 12.35 like the lap time shown on screen.
float LapSeconds(int32_t milliseconds) {
    int64_t ms = milliseconds;
    int64_t hundredths = ms >= 0 ? (ms + 5) / 10 : -((-ms + 5) / 10);
    return static_cast<float>(static_cast<double>(hundredths) / 100.0);
}

void PlayCarSound(RaceContext& ctx, CarSound sound) {
    try {
        ctx.player.PlayWav(ctx.sounds.CarSoundFile[sound]);
    } catch (...) {
        // A sound that cannot play never costs a lap.
    }
}

bool CarSoundOn(const SoundChoices& sounds, CarSound sound) {
    return sounds.CarSoundEnabled[sound] != 0;
}

// Keeps a dropped detection for the operator.
void RejectDetection(RaceState& state, int LaneNum, int32_t TimeStamp, int32_t sinceLastPass,
                     RejectReason reason) {
    RejectedPass pass;
    pass.id = static_cast<int16_t>(LaneNum);
    pass.timeMs = TimeStamp;
    pass.sinceLastPassMs = sinceLastPass;
    pass.reason = reason;
    pass.minLapTimeMs = RoundToInt32(MinLapTimeMs(state.Settings));
    KeepRejectedPass(state, pass);
}

} // namespace

void KeepRejectedPass(RaceState& state, const RejectedPass& pass) {
    // Past the bound (or without memory) it is only counted; either way
    // counting goes on untouched.
    if (state.RejectedPasses.size() < MaxRejectedPasses) {
        try {
            state.RejectedPasses.push_back(pass);
            return;
        } catch (...) {
        }
    }
    if (state.RejectedPassesNotKept < std::numeric_limits<int32_t>::max())
        ++state.RejectedPassesNotKept;
}

double MinLapTimeMs(const SettingsRecord& settings) {
    // The setting is kept in single precision; its shortest decimal text is
    // the number the operator picked from the list.
    char text[32];
    auto written = std::to_chars(text, text + sizeof text, settings.MinLapTime);
    double seconds = 0.0;
    std::from_chars(text, written.ptr, seconds);
    if (!std::isfinite(seconds))
        return seconds > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    double ms = seconds * 1000.0;
    // 0.7 s must be exactly 700 ms, or a 700 ms lap would pass the strict test.
    double nearest = std::round(ms);
    return std::fabs(ms - nearest) < 1e-6 ? nearest : ms;
}

bool IsOverallBestLap(const RaceState& state, int LaneNum) {
    if (!IsValidId(LaneNum))
        return false;
    int32_t best = state.BestLapTime[LaneNum - 1];
    for (int id = 1; id <= MaxCarIds; ++id)
        if (id != LaneNum && state.BestLapTime[id - 1] <= best)
            return false;
    return true;
}

void CountLap(RaceContext& ctx, int LaneNum, int32_t TimeStamp) {
    if (!IsValidId(LaneNum))
        return;
    RaceState& state = ctx.state;
    const int i = LaneNum - 1;

    // A car that has run the distance of a lap race is not counted again.
    if (state.LapRace && state.LapCount[i] == state.NumberOfLaps) {
        RejectDetection(state, LaneNum, TimeStamp,
                        ClampToInt32(static_cast<int64_t>(TimeStamp) -
                                     static_cast<int64_t>(state.LastPassTime[i])),
                        RejectReason::DistanceRun);
        return;
    }

    // Under the every-car-on-its-next-pass rule a finished car is done.
    if (state.CheckeredFlagOut && state.Finish == FinishRule::EveryCarOnNextPass &&
        state.LapCount[i] >= state.FinishLap[i]) {
        RejectDetection(state, LaneNum, TimeStamp,
                        ClampToInt32(static_cast<int64_t>(TimeStamp) -
                                     static_cast<int64_t>(state.LastPassTime[i])),
                        RejectReason::AfterFinish);
        return;
    }

    // 64-bit so a wild time stamp cannot overflow; the lap time is clamped.
    state.CurrentLapTime[i] =
        ClampToInt32(static_cast<int64_t>(TimeStamp) - static_cast<int64_t>(state.LastPassTime[i]));

    // The first detection since the start reset is always a lap.
    bool firstDetection = state.LapCount[i] == state.Settings.FirstLapCount;
    if (!(state.CurrentLapTime[i] > MinLapTimeMs(state.Settings)) && !firstDetection) {
        // Not a lap; the next one is measured from the last accepted pass.
        RejectDetection(state, LaneNum, TimeStamp, state.CurrentLapTime[i],
                        RejectReason::UnderMinimumLap);
        return;
    }

    state.LastPassTime[i] = TimeStamp;

    if (state.LapCount[i] < std::numeric_limits<int16_t>::max())
        ++state.LapCount[i];
    const int n = state.LapCount[i];

    // Laps above the last column still count; their times are not stored.
    if (n >= 0 && n <= MaxLapNumber) {
        float seconds = LapSeconds(state.CurrentLapTime[i]);
        state.LapTimes[i][n] = seconds;
        state.SortedLapTimes[i][n] = seconds;
    }

    state.LastLapTime[i] = state.CurrentLapTime[i];

    bool personalBest = false;
    bool overallBest = false;
    if (state.CurrentLapTime[i] < state.BestLapTime[i] && n > 1) {
        state.BestLapTime[i] = state.CurrentLapTime[i];
        personalBest = true;
        overallBest = IsOverallBestLap(state, LaneNum);
    }

    // Exactly one car sound, or none.
    if (overallBest && CarSoundOn(ctx.sounds, OverallBestLapSound))
        PlayCarSound(ctx, OverallBestLapSound);
    else if (personalBest && CarSoundOn(ctx.sounds, PersonalBestLapSound))
        PlayCarSound(ctx, PersonalBestLapSound);
    else if (CarSoundOn(ctx.sounds, EachLapSound))
        PlayCarSound(ctx, EachLapSound);

    RunGuarded([&] { ctx.Caller().LapCounted(state, LaneNum, overallBest); });
}

} // namespace kesto
