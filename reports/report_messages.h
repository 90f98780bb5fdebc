#pragma once
// The message boxes of the result reports, with their exact texts.

#include "base/dialogs.h"

#include <string>

namespace kesto {

inline constexpr const char* NoDataText = "No data for current race.";
inline constexpr const char* SummaryTitle = "Summary";
inline constexpr const char* LapTimesTitle = "Lap Times";
inline constexpr const char* PrintProblemText = "There was a problem printing to your printer.";

// Title and text with the information icon and an OK button.
Message InformationMessage(std::string title, std::string text);
// A failure's description in a box with an OK button and no title.
Message ErrorDescriptionMessage(std::string description);
// "File " + path + " has been saved", title "File Saved".
Message FileSavedMessage(const std::string& path);

} // namespace kesto
