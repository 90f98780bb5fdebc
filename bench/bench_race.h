#pragma once
// What the engine benchmarks share: a race context on quiet seams whose
// decoder port serves prepared bytes, and decoder lines made to order.

#include "engine/decoder_input.h"
#include "engine/positions.h"
#include "engine/quiet_platform.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kesto::bench {

// Serves the bytes loaded for the tick, as often as the port step asks.
class PreparedPort final : public DecoderPort {
public:
    bool Open(int) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    int BytesAvailable() override { return static_cast<int>(m_bytes.size() - m_at); }
    std::string Read(int maxBytes) override {
        const std::size_t n = std::min(static_cast<std::size_t>(maxBytes), m_bytes.size() - m_at);
        std::string chunk = m_bytes.substr(m_at, n);
        m_at += n;
        return chunk;
    }
    bool SetRts(bool) override { return false; }
    void Load(const std::string& bytes) {
        m_bytes = bytes;
        m_at = 0;
    }

private:
    std::string m_bytes;
    std::size_t m_at = 0;
};

// A detection line "@IIhhmmsshh" with CR LF; id 0 with the hundredths cut
// off (`.substr(0, 9) + "\r\n"`) is the decoder's clock line.
inline std::string Record(int id, int64_t ms) {
    const int64_t hundredths = ms / 10;
    char line[32];
    std::snprintf(line, sizeof line, "@%02d%02d%02d%02d%02d\r\n", id,
                  static_cast<int>(hundredths / 360000), static_cast<int>(hundredths / 6000 % 60),
                  static_cast<int>(hundredths / 100 % 60), static_cast<int>(hundredths % 100));
    return line;
}

// 14 cars with every car sound on, nothing heard or asked.
struct BenchRace {
    RaceState state;
    SoundChoices sounds;
    SilentPlayer player;
    DefaultAnswerDialogs dialogs;
    SteadyRandom random;
    StoppedClock clock;
    PreparedPort port;
    RaceContext ctx{state, sounds, player, dialogs, random, clock, port};
    ReceiveBuffer buffer;

    BenchRace() {
        sounds.CarSoundEnabled = {1, 1, 1};
        sounds.CarSoundFile = {"Best.wav", "Lap.wav", "Personal.wav"};
    }
    // Every car back to no lap, the running order recomputed.
    void ResetCars() {
        for (int i = 0; i < MaxCarIds; ++i) {
            state.LapCount[i] = 0;
            state.LastPassTime[i] = 0;
            state.BestLapTime[i] = NoBestLap;
        }
        ComputePosition(state);
    }
    // The tick's port step on `bytes`.
    void PortStep(const std::string& bytes) {
        port.Load(bytes);
        ReadDecoderPort(ctx, buffer);
    }
};

} // namespace kesto::bench
