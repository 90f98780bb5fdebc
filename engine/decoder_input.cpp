#include "engine/decoder_input.h"

#include "engine/decoder_record.h"
#include "engine/lap_counting.h"
#include "engine/number_format.h"

#include <vector>

namespace kesto {
namespace {

void KeepRejectedLine(RaceState& state, const JudgedRecord& judged) {
    RejectedPass pass;
    pass.id = static_cast<int16_t>(judged.id);
    pass.timeMs = judged.timeMs;
    if (IsValidId(judged.id))
        pass.sinceLastPassMs =
            ClampToInt32(int64_t{judged.timeMs} - state.LastPassTime[judged.id - 1]);
    pass.reason = judged.reason;
    pass.minLapTimeMs = RoundToInt32(MinLapTimeMs(state.Settings));
    pass.decoderClockMs = judged.clockMs;
    KeepRejectedPass(state, pass);
}

bool TakeRecord(RaceContext& ctx, const DecoderRecord& record, const BeforeRecord& before) {
    std::vector<JudgedRecord> judged;
    ctx.state.Decoder.Take(record, judged);
    for (const JudgedRecord& line : judged) {
        if (before)
            before();
        switch (line.kind) {
        case JudgedRecord::Kind::Clock:
            ctx.state.RaceClock = line.timeMs;
            break;
        case JudgedRecord::Kind::Pass:
            CountLap(ctx, line.id, line.timeMs);
            break;
        case JudgedRecord::Kind::Rejected:
            KeepRejectedLine(ctx.state, line);
            break;
        }
    }
    return record.isClock;
}

// Lines that cannot change a race: no record, or an ID no car has.
bool ChangesNothing(const DecoderRecord& record) {
    return !record.isRecord || (!record.isClock && !IsValidId(record.id));
}

} // namespace

bool ParseDecoderRecord(RaceContext& ctx, std::string_view line, const BeforeRecord& before) {
    return TakeRecord(ctx, ReadDecoderRecord(line), before);
}

PortReading ReadDecoderPort(RaceContext& ctx, ReceiveBuffer& buffer, const BeforeRecord& before) {
    PortReading reading;
    bool closed = false;
    const ReceiveBuffer::LineHandler parse = [&](std::string_view line) {
        if (closed)
            return;
        ++reading.lines;
        const DecoderRecord record = ReadDecoderRecord(line);
        if (ChangesNothing(record))
            return;
        ctx.Journal().Record(JournalEvent::DecoderLine(
            ctx.state.RaceClock, line, static_cast<int32_t>(ctx.state.Decoder.Now())));
        if (TakeRecord(ctx, record, before))
            ++reading.clockLines;
        closed = ctx.state.RaceIsOver;
    };
    int budget = MaxBytesPerTick;
    while (!closed && budget > 0 && ctx.port.IsOpen() && ctx.port.BytesAvailable() > 0) {
        std::string bytes = ctx.port.Read(budget);
        if (bytes.empty())
            break; // the port claims data it cannot deliver: try again next tick
        budget -= static_cast<int>(bytes.size());
        buffer.Append(bytes, parse);
    }
    return reading;
}

} // namespace kesto
