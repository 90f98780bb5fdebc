#include "display/rejected_passes_rows.h"

#include "engine/clock_format.h"
#include "engine/number_format.h"

#include <cstdlib>

namespace kesto {

const std::string& RejectedPassRow::Cell(int column) const {
    switch (column) {
    case 0:
        return id;
    case 1:
        return name;
    case 2:
        return time;
    case 3:
        return afterLastLap;
    default:
        return reason;
    }
}

std::string RaceTimeText(int32_t ms, const NumberLocale& locale) {
    // 64-bit so the most negative clock value has a magnitude.
    int64_t magnitude = std::llabs(static_cast<int64_t>(ms));
    auto seconds = static_cast<int32_t>(magnitude / 1000);
    int hundredths = static_cast<int>(magnitude % 1000 / 10); // truncated, like the clock
    std::string text = ms < 0 ? "-" : "";
    text += FormatClock(seconds);
    text += locale.decimalSeparator;
    text += static_cast<char>('0' + hundredths / 10);
    text += static_cast<char>('0' + hundredths % 10);
    return text;
}

std::string RejectReasonText(const RejectedPass& pass, const NumberLocale& locale) {
    const std::string clock = RaceTimeText(pass.decoderClockMs, locale);
    switch (pass.reason) {
    case RejectReason::DistanceRun:
        return "Race distance already run";
    case RejectReason::AfterFinish:
        return "Finished: after the checkered flag";
    case RejectReason::AheadOfDecoderClock:
        return "Stamped ahead of the clock (" + clock + ")";
    case RejectReason::BehindDecoderClock:
        return "Stamped behind the clock (" + clock + ")";
    case RejectReason::DecoderClockJump:
        return "Clock jump (the clock was " + clock + ")";
    case RejectReason::UnreadableRecord:
        return "Unreadable line (stray sign or letter)";
    case RejectReason::UnderMinimumLap:
        break;
    }
    return "Faster than the minimum lap time (" +
           FormatFixed(pass.minLapTimeMs / 1000.0, 2, locale) + " s)";
}

RejectedPassRow RejectedPassRowAt(const RaceState& state, std::size_t index) {
    const RejectedPass& pass = state.RejectedPasses.at(index);
    RejectedPassRow row;
    row.time = RaceTimeText(pass.timeMs, state.Locale);
    row.reason = RejectReasonText(pass, state.Locale);
    if (pass.id == 0) { // a clock line
        row.id = "Clock";
        return row;
    }
    row.id = std::to_string(pass.id);
    if (IsValidId(pass.id))
        row.name = state.IdName(pass.id);
    row.afterLastLap = FormatFixed(pass.sinceLastPassMs / 1000.0, 2, state.Locale);
    return row;
}

std::vector<RejectedPassRow> RejectedPassRows(const RaceState& state) {
    std::vector<RejectedPassRow> rows;
    rows.reserve(state.RejectedPasses.size());
    for (std::size_t i = 0; i < state.RejectedPasses.size(); ++i)
        rows.push_back(RejectedPassRowAt(state, i));
    return rows;
}

std::string RejectedPassesFooter(const RaceState& state) {
    if (state.RejectedPassesNotKept <= 0)
        return {};
    const int32_t n = state.RejectedPassesNotKept;
    return std::to_string(n) + (n == 1 ? " more rejected pass was" : " more rejected passes were") +
           " not kept (the list holds the first " + std::to_string(MaxRejectedPasses) + ").";
}

} // namespace kesto
