#pragma once
// From the decoder port to lap counting: each line received is parsed; clock
// lines ("@00...") set the race clock, detection lines go to CountLap. The
// raw-command window injects typed records through ParseDecoderRecord too.

#include "engine/race_context.h"
#include "engine/receive_buffer.h"

#include <string_view>

namespace kesto {

// Parses one line. Lines not beginning with "@" are ignored; "@00..." sets
// RaceClock and nothing else; any other record calls CountLap(ID, time).
// True for a clock line.
bool ParseDecoderRecord(RaceContext& ctx, std::string_view line);

// What one port step received.
struct PortReading {
    int lines = 0;      // whole lines parsed
    int clockLines = 0; // of them "@00..." clock lines: the decoder is alive
};

// The tick's port step: while the port reports received characters, reads
// them, cuts them into lines at each line feed and parses every line in
// arrival order, each recorded in the race journal before it is parsed. At
// most MaxBytesPerTick are read in one call; the rest waits for the next
// tick, so a flooding port cannot hold up the race timer.
PortReading ReadDecoderPort(RaceContext& ctx, ReceiveBuffer& buffer);

inline constexpr int MaxBytesPerTick = 65536;

} // namespace kesto
