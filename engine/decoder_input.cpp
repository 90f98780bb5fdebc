#include "engine/decoder_input.h"

#include "engine/decoder_record.h"
#include "engine/lap_counting.h"

namespace kesto {

void ParseDecoderRecord(RaceContext& ctx, std::string_view line) {
    DecoderRecord record = ReadDecoderRecord(line);
    if (!record.isRecord)
        return;
    if (record.isClock) {
        ctx.state.RaceClock = record.timeMs;
        return;
    }
    CountLap(ctx, record.id, record.timeMs);
}

void ReadDecoderPort(RaceContext& ctx, ReceiveBuffer& buffer) {
    const ReceiveBuffer::LineHandler parse = [&ctx](std::string_view line) {
        ParseDecoderRecord(ctx, line);
    };
    int budget = MaxBytesPerTick;
    while (budget > 0 && ctx.port.IsOpen() && ctx.port.BytesAvailable() > 0) {
        std::string bytes = ctx.port.Read(budget);
        if (bytes.empty())
            break; // the port claims data it cannot deliver: try again next tick
        budget -= static_cast<int>(bytes.size());
        buffer.Append(bytes, parse);
    }
}

} // namespace kesto
