#include "reports/report_messages.h"

namespace kesto {

Message InformationMessage(std::string title, std::string text) {
    Message message;
    message.title = std::move(title);
    message.text = std::move(text);
    message.icon = MessageIcon::Information;
    message.buttons = MessageButtons::Ok;
    return message;
}

Message ErrorDescriptionMessage(std::string description) {
    Message message;
    message.text = std::move(description);
    message.buttons = MessageButtons::Ok;
    return message;
}

Message FileSavedMessage(const std::string& path) {
    return InformationMessage("File Saved", "File " + path + " has been saved");
}

} // namespace kesto
