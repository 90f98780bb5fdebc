#pragma once
// The race state: one set of values shared by every part of the timer (lap
// counting, race control, the race screen, the reports, the settings windows).
// It is a plain aggregate on purpose; the operations that change it live in
// the other engine files. Per-car arrays hold ID n in entry n - 1.

#include "base/settings_records.h"
#include "engine/decoder_clock.h"
#include "engine/finish_rule.h"
#include "engine/rejected_pass.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kesto {

inline constexpr int MaxLapNumber = 3000;          // lap columns 0..3000
inline constexpr int32_t NoBestLap = 999999;       // ms; BestLapTime without a best lap
inline constexpr int16_t NotFlaggedLap = 3000;     // FinishLap before the checkered flag
inline constexpr int32_t NoCloseTime = 2147483647; // RaceCloseTime before the checkered flag

// One row per car ID, lap columns 0..MaxLapNumber, seconds rounded to hundredths.
using LapRow = std::array<float, MaxLapNumber + 1>;
using LapTable = std::vector<LapRow>;

// How numbers are shown to the user: "the user's decimal separator".
struct NumberLocale {
    char decimalSeparator = '.';
    char groupSeparator = ',';
};

// The caption of the start button is the race's phase.
enum class StartButton { Start, Abort, Reset };
const char* Caption(StartButton button); // "Start", "Abort", "Reset"

// Column mode texts (the race screen's two right-hand headers).
inline constexpr const char* BestLapMode = "Best Lap";
inline constexpr const char* MphMode = "MPH";
inline constexpr const char* MedianMode = "Median";
inline constexpr const char* LagBehindMode = "Lag Behind";
inline constexpr const char* LagFirstMode = "Lag First";

struct RaceState {
    RaceState();

    // --- per car ---------------------------------------------------------
    PerId<int16_t> LapCount{};
    PerId<int32_t> LastPassTime{};   // ms on the race clock of the last counted lap
    PerId<int32_t> CurrentLapTime{}; // working value of lap counting
    PerId<int32_t> LastLapTime{};
    PerId<int32_t> BestLapTime{};
    PerId<int16_t> FinishLap{};
    PerId<std::string> LagBehind;
    PerId<std::string> LagFirst;
    PerId<std::string> MedianLap;
    PerId<int16_t> RacePosition{}; // 1..14
    PerId<int16_t> RaceOrder{};    // entry p - 1 holds the ID in position p

    // Detections not counted since the start reset, in arrival order.
    std::vector<RejectedPass> RejectedPasses;
    int32_t RejectedPassesNotKept = 0; // beyond MaxRejectedPasses

    LapTable LapTimes;       // 14 x 3001
    LapTable SortedLapTimes; // same values, each car's laps 1..LapCount sorted on demand
    // The race clock and lap counts of the last sort of SortedLapTimes (a
    // clock of -1 after a reset: nothing sorted yet).
    struct LapsSorted {
        int32_t raceClock = -1;
        PerId<int16_t> lapCount{};
    } LastLapSort;

    // --- racer names and timing settings (loaded from the record files) ----
    IdNamesRecord Names;       // IdName, NamedId
    SettingsRecord Settings;   // TrackLength, ScaleText, MinLapTime, StartDelay, ComPort, ...
    float SpeedMultiplier = 0; // TrackLength / 5280 * 3600 * ScaleDivisor

    // --- race format (race format window) ---------------------------------
    bool PracticeMode = false;
    bool LapRace = false;
    bool TimedRace = false;
    int16_t NumberOfLaps = 0;
    int32_t RaceMinutes = 0;
    bool DemoMode = false; // the "Demo Mode" check box
    std::string RaceFormatText;
    FinishRule Finish = FinishRule::LeaderAtFlag; // a race meeting's heat may choose the other

    // --- race progress ------------------------------------------------------
    int32_t RaceClock = 0; // ms
    DecoderClock Decoder;  // the decoder's clock as the race knows it (from green)
    int32_t ClockSeconds = 0;
    bool WhiteFlagOut = false;
    bool CheckeredFlagOut = false;
    bool RaceIsOver = false;
    int32_t RaceCloseTime = NoCloseTime;
    std::string FlagBitmap;
    std::string RaceDateStamp; // "MMM-DD, H-MM"
    bool LapsUnsaved = false;
    bool SummaryUnsaved = false;
    bool KeepSettingsOpen = false;
    StartButton Button = StartButton::Start;
    bool TimerEnabled = false; // the 10 ms race timer runs
    bool RtsRaised = false;

    // --- column modes (texts of the race screen's headers) -------------------
    std::string BestColumnMode = BestLapMode;
    std::string LagColumnMode = LagBehindMode;

    // --- demo generator -----------------------------------------------------
    PerId<int32_t> DemoNextPass{};
    PerId<int32_t> DemoLapBase{};
    PerId<int32_t> DemoLapSpread{};
    PerId<int16_t> DemoCrashChance{};

    // --- summary statistics -------------------------------------------------
    PerId<float> AverageLap{};
    PerId<int16_t> CrashCount{};
    PerId<int16_t> CrashPercent{};
    int16_t IdsWithLaps = 0;

    NumberLocale Locale;

    // Convenience accessors by car ID (1..14).
    int16_t& LapsOf(int id) { return LapCount[id - 1]; }
    const std::string& IdName(int id) const { return Names.IdName[id - 1]; }
};

inline bool IsValidId(int id) {
    return id >= 1 && id <= MaxCarIds;
}

} // namespace kesto
