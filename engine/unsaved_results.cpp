#include "engine/unsaved_results.h"

namespace kesto {

bool ConfirmUnsavedResults(Dialogs& dialogs, const RaceState& state, const std::string& question) {
    std::string title;
    std::string first;
    if (state.SummaryUnsaved && state.LapsUnsaved) {
        title = "Files not saved";
        first = "Summary & Lap files have not be saved.";
    } else if (state.SummaryUnsaved) {
        title = "Summary not saved";
        first = "Summary file has not be saved.";
    } else if (state.LapsUnsaved) {
        title = "Laps not saved";
        first = "Lap file has not be saved.";
    } else {
        return true;
    }
    // Yes throws the results away, so a reflex Enter answers No.
    Message message{title, first + "\n" + question, MessageIcon::Warning, MessageButtons::YesNo,
                    MessageAnswer::No};
    return dialogs.Show(message) == MessageAnswer::Yes;
}

} // namespace kesto
