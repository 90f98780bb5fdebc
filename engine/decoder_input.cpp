#include "engine/decoder_input.h"

#include "engine/decoder_record.h"
#include "engine/lap_counting.h"

namespace kesto {

bool ParseDecoderRecord(RaceContext& ctx, std::string_view line) {
    DecoderRecord record = ReadDecoderRecord(line);
    if (!record.isRecord)
        return false;
    if (record.isClock) {
        ctx.state.RaceClock = record.timeMs;
        return true;
    }
    CountLap(ctx, record.id, record.timeMs);
    return false;
}

PortReading ReadDecoderPort(RaceContext& ctx, ReceiveBuffer& buffer) {
    PortReading reading;
    const ReceiveBuffer::LineHandler parse = [&ctx, &reading](std::string_view line) {
        ctx.Journal().Record(JournalEvent::DecoderLine(ctx.state.RaceClock, line));
        ++reading.lines;
        if (ParseDecoderRecord(ctx, line))
            ++reading.clockLines;
    };
    int budget = MaxBytesPerTick;
    while (budget > 0 && ctx.port.IsOpen() && ctx.port.BytesAvailable() > 0) {
        std::string bytes = ctx.port.Read(budget);
        if (bytes.empty())
            break; // the port claims data it cannot deliver: try again next tick
        budget -= static_cast<int>(bytes.size());
        buffer.Append(bytes, parse);
    }
    return reading;
}

} // namespace kesto
