#include "base/report_text.h"

namespace kesto {
namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string PadNumber(long long value, int digits) {
    std::string text = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(text.size()) < digits)
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return value < 0 ? "-" + text : text;
}

} // namespace

std::string LeftChars(std::string_view utf8, std::size_t count) {
    std::size_t chars = 0;
    std::size_t i = 0;
    for (; i < utf8.size(); ++i) {
        if (!IsContinuationByte(utf8[i])) {
            if (chars == count)
                break;
            ++chars;
        }
    }
    return std::string(utf8.substr(0, i));
}

std::size_t CharCount(std::string_view utf8) {
    std::size_t chars = 0;
    for (char c : utf8)
        if (!IsContinuationByte(c))
            ++chars;
    return chars;
}

std::string Field(std::string_view utf8, std::size_t width) {
    std::string field(utf8);
    std::size_t length = CharCount(utf8);
    if (length < width)
        field.append(width - length, ' ');
    return field;
}

std::string Field(long long number, std::size_t width) {
    return Field(std::to_string(number), width);
}

std::string TotalTimeText(int32_t milliseconds) {
    // Integer division and remainder keep the sign of the time, as the old
    // report did; a race time is never negative in practice.
    long long ms = milliseconds;
    long long seconds = ms / 1000;
    return std::to_string(seconds / 60) + ":" + PadNumber(seconds % 60, 2) + "." +
           PadNumber(ms % 1000, 3);
}

bool ContainsIgnoreCase(std::string_view text, std::string_view needle) {
    if (needle.empty())
        return true;
    if (needle.size() > text.size())
        return false;
    for (std::size_t start = 0; start + needle.size() <= text.size(); ++start) {
        std::size_t i = 0;
        while (i < needle.size() && LowerAscii(text[start + i]) == LowerAscii(needle[i]))
            ++i;
        if (i == needle.size())
            return true;
    }
    return false;
}

} // namespace kesto
