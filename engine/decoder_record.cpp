#include "engine/decoder_record.h"

#include "engine/number_format.h"

#include <charconv>
#include <cmath>
#include <string>

namespace kesto {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The two characters at 1-based position `position`, or what is left of them.
std::string_view Field(std::string_view line, std::size_t position) {
    if (line.size() < position)
        return {};
    return line.substr(position - 1, 2);
}

double FieldValue(std::string_view line, std::size_t position) {
    return LeadingNumber(Field(line, position));
}

bool PlainField(std::string_view line, std::size_t position) {
    for (char c : Field(line, position))
        if (!IsDigit(c) && c != ' ')
            return false;
    return true;
}

} // namespace

double LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    // Every decoder field takes this way: a few plain digits, read exactly
    // without building a text for the general conversion below.
    std::size_t end = i;
    int64_t whole = 0;
    while (end < text.size() && IsDigit(text[end]) && end - i < 15)
        whole = whole * 10 + (text[end++] - '0');
    bool continues =
        end < text.size() && (IsDigit(text[end]) || text[end] == '.' || text[end] == 'E' ||
                              text[end] == 'e' || text[end] == 'D' || text[end] == 'd');
    if (end > i && !continues)
        return negative ? -static_cast<double>(whole) : static_cast<double>(whole);

    std::string integerDigits;
    while (i < text.size() && IsDigit(text[i]))
        integerDigits += text[i++];
    std::string fractionDigits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            fractionDigits += text[i++];
    }
    if (integerDigits.empty() && fractionDigits.empty())
        return 0.0;
    // Rebuilt in one fixed shape so the conversion never depends on the
    // process locale.
    std::string number = (integerDigits.empty() ? "0" : integerDigits) + "." +
                         (fractionDigits.empty() ? "0" : fractionDigits);
    // An exponent counts only when digits follow it ("1E" reads as 1).
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            exponent += text[j++];
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                exponent += text[j++];
            number += exponent;
        }
    }
    double value = 0.0;
    std::from_chars_result read =
        std::from_chars(number.data(), number.data() + number.size(), value);
    if (read.ec != std::errc() || !std::isfinite(value))
        return 0.0; // too large to be a decoder field
    return negative ? -value : value;
}

DecoderRecord ReadDecoderRecord(std::string_view line) {
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);

    DecoderRecord record;
    if (line.empty() || line.front() != '@')
        return record;
    record.isRecord = true;
    record.isClock = line.substr(0, 3) == "@00";

    double seconds =
        FieldValue(line, 4) * 3600.0 + FieldValue(line, 6) * 60.0 + FieldValue(line, 8);
    record.readable = PlainField(line, 4) && PlainField(line, 6) && PlainField(line, 8) &&
                      (record.isClock || PlainField(line, 10));
    if (record.isClock) {
        record.timeMs = RoundToInt32(seconds * 1000.0);
        return record;
    }
    record.id = RoundHalfEven(FieldValue(line, 2));
    record.timeMs = RoundToInt32(seconds * 1000.0 + FieldValue(line, 10) * 10.0);
    return record;
}

} // namespace kesto
