#pragma once
// From the decoder port to lap counting: each line received is parsed and,
// during a race, held against the decoder's clock (decoder_clock.h); clock
// lines set the race clock, detection lines go to CountLap, lines that do not
// fit the clock go to the rejected passes. The raw-command window injects
// typed records through ParseDecoderRecord too.

#include "engine/race_context.h"
#include "engine/receive_buffer.h"

#include <functional>
#include <string_view>

namespace kesto {

// Called before each record reaches the race (a clock line taken, a
// detection counted or rejected), so the race can be checked line by line.
using BeforeRecord = std::function<void()>;

// Parses one line. Lines not beginning with "@" are ignored; "@00..." sets
// RaceClock and nothing else; any other record calls CountLap(ID, time).
// During a race a record may wait for the decoder's next clock lines, and is
// then taken with those. True for a clock line.
bool ParseDecoderRecord(RaceContext& ctx, std::string_view line, const BeforeRecord& before = {});

// What one port step received.
struct PortReading {
    int lines = 0;      // whole lines parsed
    int clockLines = 0; // of them "@00..." clock lines: the decoder is alive
};

// The tick's port step: while the port reports received characters, reads
// them, cuts them into lines at each line feed and parses every line in
// arrival order. Each line that can change the race is recorded in the race
// journal before it is parsed, with the decoder clock's time of arrival;
// empty lines, noise and IDs no car has change nothing and are not. At most
// MaxBytesPerTick are read in one call; the rest waits for the next tick, so
// a flooding port cannot hold up the race timer. Once the race is over, no
// line after the one being taken is, as the race timer stops at the close.
PortReading ReadDecoderPort(RaceContext& ctx, ReceiveBuffer& buffer,
                            const BeforeRecord& before = {});

// At 9600 baud the decoder sends about 10 characters a tick: this is four
// seconds of its line, enough for any backlog, and little work for a tick.
inline constexpr int MaxBytesPerTick = 4096;

} // namespace kesto
