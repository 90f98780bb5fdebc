#include "tools/decoder-sim/decoder_lines.h"

#include <cstdio>

namespace kesto::sim {

namespace {

struct Fields {
    int hours, minutes, seconds, hundredths;
};

Fields Split(int64_t ms) {
    int64_t hundredths = ms / 10;
    int64_t seconds = hundredths / 100;
    return {static_cast<int>((seconds / 3600) % 100), static_cast<int>((seconds / 60) % 60),
            static_cast<int>(seconds % 60), static_cast<int>(hundredths % 100)};
}

} // namespace

std::string DetectionLine(int id, int64_t ms, bool crlf) {
    Fields f = Split(ms);
    char text[32];
    std::snprintf(text, sizeof text, "@%02d%02d%02d%02d%02d%s", id % 100, f.hours, f.minutes,
                  f.seconds, f.hundredths, crlf ? "\r\n" : "\n");
    return text;
}

std::string ClockLine(int64_t ms, bool crlf) {
    Fields f = Split(ms);
    char text[32];
    std::snprintf(text, sizeof text, "@00%02d%02d%02d%s", f.hours, f.minutes, f.seconds,
                  crlf ? "\r\n" : "\n");
    return text;
}

} // namespace kesto::sim
