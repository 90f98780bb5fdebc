#include "display/pointer_feedback.h"

namespace kesto {

PointerFeedback MouseOver(const RaceState& state, ScreenPart part) {
    const bool clockStopped = !state.TimerEnabled;
    const bool idle = state.Button == StartButton::Start;
    switch (part) {
    case ScreenPart::BestLapHeader:
        return {Pointer::Hand,
                state.PracticeMode
                    ? "Click to toggle between \"Best Lap\" and \"MPH\""
                    : "Click to toggle between \"Best Lap\" and \"MPH\" and \"Median\""};
    case ScreenPart::LagHeader:
        if (state.PracticeMode)
            return {Pointer::Default, std::string()};
        return {Pointer::Hand,
                "Click to toggle between \"Lag Behind\", \"Lag First\" & \"Median\""};
    case ScreenPart::BestCell:
        if (clockStopped)
            return {Pointer::Default, std::string()};
        if (state.BestColumnMode == BestLapMode)
            return {Pointer::Hand, "Click to reset \"Best Lap\""};
        return {Pointer::Default, std::nullopt};
    case ScreenPart::NameCell:
        if (clockStopped && idle)
            return {Pointer::Racer, "Click to select name"};
        return {};
    case ScreenPart::RaceFormat:
        if (clockStopped && idle)
            return {Pointer::Hand, "Click here or go to \"Race Format\" menu to change race type"};
        return {Pointer::Default, std::string()};
    case ScreenPart::Other:
        break;
    }
    return {Pointer::Default, std::nullopt};
}

} // namespace kesto
