#pragma once
// What the "Rejected Passes" window shows: one row of text per detection lap
// counting dropped or line the decoder's clock did not take (newest last) and a footer when some
// were only counted. Plain data, so the texts are tested without widgets.

#include "engine/race_state.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kesto {

inline constexpr const char* RejectedPassesCaption = "Rejected Passes";
inline constexpr int RejectedPassesColumns = 5;
inline constexpr std::array<const char*, RejectedPassesColumns> RejectedPassesHeads = {
    "ID", "Name", "Time", "After last lap", "Reason"};

struct RejectedPassRow {
    std::string id;
    std::string name;
    std::string time;         // race clock of the detection, "1:05.43"
    std::string afterLastLap; // seconds since the car's last counted pass, "0.43"
    std::string reason;

    const std::string& Cell(int column) const;
};

// The race clock as the race screen shows it (m:ss or h:mm:ss) with the
// hundredths after the user's decimal separator: 65432 ms is "1:05.43".
std::string RaceTimeText(int32_t ms, const NumberLocale& locale);

// "Faster than the minimum lap time (0.70 s)", "Race distance already run", or
// why the decoder's clock did not take the line: "Stamped ahead of the clock
// (0:12.00)", "Stamped behind the clock (0:12.00)", "Clock jump (the clock was
// 0:12.00)", "Unreadable line (stray sign or letter)".
std::string RejectReasonText(const RejectedPass& pass, const NumberLocale& locale);

// Row `index` of the kept passes (index < RejectedPasses.size()).
RejectedPassRow RejectedPassRowAt(const RaceState& state, std::size_t index);

// Every kept pass in arrival order.
std::vector<RejectedPassRow> RejectedPassRows(const RaceState& state);

// Empty while every rejected pass is listed; otherwise says how many were
// only counted.
std::string RejectedPassesFooter(const RaceState& state);

} // namespace kesto
