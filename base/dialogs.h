#pragma once
// Every question, message, file choice and colour choice the timer shows goes
// through this interface, so the texts are testable and tests answer them.

#include <cstdint>
#include <optional>
#include <string>

namespace kesto {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct Message {
    std::string title; // empty: no title
    std::string text;  // "\n" separates lines
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer defaultAnswer = MessageAnswer::Ok; // preselected button
};

struct FileChoice {
    bool save = false;
    std::string title;
    std::string filter;      // "Lap Files (*.lap)|*.lap|Text Files(*.txt)|*.txt"
    int filterIndex = 1;     // 1-based, as in the filter
    std::string initialPath; // proposed folder and file name
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer Show(const Message& message) = 0;
    // Empty when the user cancels.
    virtual std::optional<std::string> ChooseFile(const FileChoice& choice) = 0;
    // Windows colour value (red in the low byte); empty when cancelled.
    virtual std::optional<int32_t> ChooseColor(int32_t initial) = 0;
};

} // namespace kesto
