#include "display/sensor_check.h"

#include "engine/decoder_record.h"
#include "engine/number_format.h"
#include "engine/race_state.h"

namespace kesto {
namespace {

// A decoder that floods the port must not hold the window for ever: at 9600
// baud a few reads catch up with it, so this many is far beyond normal use.
constexpr int MaxReadsPerPoll = 64;

} // namespace

int SensorCheckId(std::string_view read) {
    // A read may begin with the line end of the detection before it, which the
    // port delivered late; it is no part of this detection.
    while (!read.empty() && (read.front() == '\r' || read.front() == '\n'))
        read.remove_prefix(1);
    int id = RoundHalfEven(LeadingNumber(read));
    return IsValidId(id) ? id : 0;
}

int PollSensorCheck(DecoderPort& port, const std::function<void(int id)>& onHit) {
    int hits = 0;
    for (int reads = 0; reads < MaxReadsPerPoll && port.IsOpen(); ++reads) {
        int waiting = port.BytesAvailable();
        if (waiting <= 0)
            break;
        std::string text = port.Read(waiting);
        if (text.empty())
            break; // the port claims input it cannot deliver
        if (int id = SensorCheckId(text); id != 0) {
            ++hits;
            if (onHit)
                onHit(id);
        }
    }
    return hits;
}

} // namespace kesto
