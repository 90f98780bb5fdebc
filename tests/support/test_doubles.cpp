#include "support/test_doubles.h"

namespace kesto::test {

MessageAnswer FakeDialogs::Show(const Message& message) {
    shown.push_back(message);
    if (!answers.empty()) {
        MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : message.defaultAnswer;
}

std::optional<std::string> FakeDialogs::ChooseFile(const FileChoice& choice) {
    fileChoices.push_back(choice);
    if (files.empty())
        return std::nullopt;
    auto file = files.front();
    files.pop_front();
    return file;
}

std::optional<int32_t> FakeDialogs::ChooseColor(int32_t initial) {
    colorRequests.push_back(initial);
    if (colors.empty())
        return std::nullopt;
    auto color = colors.front();
    colors.pop_front();
    return color;
}

bool FakeDecoderPort::Open(int portNumber) {
    openedPort = portNumber;
    ++opens;
    linkLost = false;
    open = !failOpen;
    // Opening a serial device drops RTS, as the real port does.
    if (open)
        rts = false;
    return open;
}

std::string FakeDecoderPort::Read(int maxBytes) {
    size_t n = static_cast<size_t>(std::min(maxBytes, maxReadSize));
    std::string chunk = input.substr(0, n);
    input.erase(0, chunk.size());
    return chunk;
}

double ScriptedRandom::Next() {
    if (values.empty())
        return fallback;
    double value = values.front();
    values.pop_front();
    return value;
}

} // namespace kesto::test
