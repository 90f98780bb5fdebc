#pragma once
// Reading one line of the timing decoder: "@", a two-digit ID ("00" for the
// decoder's clock), then hours, minutes, seconds and hundredths, two
// characters each, no separators. Example: "@0512345678" is ID 5 passing at
// 12:34:56.78 (45296780 ms); "@00123456" is the decoder clock at 45296000 ms.

#include <cstdint>
#include <string_view>

namespace kesto {

// The number a text begins with, read the way the timer reads every decoder
// field: leading blanks are skipped, an optional sign, digits, a decimal point
// and an exponent are taken as far as they go, and text without digits reads
// as 0 ("12" -> 12, " 7" -> 7, "5x" -> 5, "AB" -> 0, "" -> 0).
double LeadingNumber(std::string_view text);

struct DecoderRecord {
    bool isRecord = false; // the line begins with "@"
    bool isClock = false;  // the line begins with "@00"
    int id = 0;            // the ID field as a whole number (0 when unreadable)
    int32_t timeMs = 0;    // detection time, or the clock for a clock record
    // Every time field read holds only digits and blanks. A sign, a decimal
    // point or a letter there is line noise, whatever the field reads as.
    bool readable = true;
};

// Reads one line. A line feed at its end, and a carriage return before it, are
// not part of the record. Fields the line is too short for read as 0.
DecoderRecord ReadDecoderRecord(std::string_view line);

} // namespace kesto
