#include "engine/journal_alarm.h"

namespace kesto {

std::string JournalAlarmText(const std::string& error) {
    return "RACE JOURNAL NOT WRITTEN - " + error;
}

void ShowJournalError(RaceScreen& screen, const std::string& error) {
    if (error.empty())
        screen.HideJournalAlarm();
    else
        screen.ShowJournalAlarm(JournalAlarmText(error));
}

} // namespace kesto
