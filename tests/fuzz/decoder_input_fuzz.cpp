// Feeds arbitrary bytes from the decoder port through the receive buffer, the
// record parser and lap counting, then computes what the race screen shows.
// Whatever arrives on the serial line, the timer must not crash, and the
// unfinished line it holds must stay within the buffer's cap.

#include "engine/cell_formulas.h"
#include "engine/decoder_input.h"
#include "engine/lap_counting.h"
#include "engine/positions.h"
#include "engine/quiet_platform.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace kesto;

// Hands out the fuzz input in reads of a chosen size.
class InputPort final : public DecoderPort {
public:
    InputPort(const uint8_t* data, std::size_t size, int readSize)
        : m_data(reinterpret_cast<const char*>(data), size), m_readSize(readSize) {}
    bool Open(int) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    int BytesAvailable() override { return static_cast<int>(m_data.size() - m_at); }
    std::string Read(int maxBytes) override {
        std::size_t n =
            std::min<std::size_t>({static_cast<std::size_t>(std::max(maxBytes, 0)),
                                   static_cast<std::size_t>(m_readSize), m_data.size() - m_at});
        std::string chunk(m_data.substr(m_at, n));
        m_at += n;
        return chunk;
    }
    bool SetRts(bool) override { return false; }
    bool Drained() const { return m_at >= m_data.size(); }

private:
    std::string_view m_data;
    std::size_t m_at = 0;
    int m_readSize;
};

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    // The first bytes choose the race: first-lap rule, lap race, minimum lap
    // time and the size of the port's reads.
    // One state for every run, copied over from a fresh one: the lap tables
    // keep their storage, so a run costs the work under test, not large
    // allocations.
    static const RaceState fresh;
    static RaceState state;
    state = fresh;
    state.Settings.FirstLapCount = (data[0] & 1) ? -1 : 0;
    state.LapRace = (data[0] & 2) != 0;
    state.NumberOfLaps = static_cast<int16_t>(data[1]);
    state.Settings.MinLapTime = static_cast<float>(data[2]) / 10.0f;
    state.SpeedMultiplier = 1636.36f;
    state.Locale = (data[0] & 4) ? NumberLocale{',', '.'} : NumberLocale{};
    for (int i = 0; i < MaxCarIds; ++i) {
        state.LapCount[i] = state.Settings.FirstLapCount;
        state.BestLapTime[i] = NoBestLap;
    }
    int readSize = 1 + data[3] % 64;

    SoundChoices sounds;
    sounds.CarSoundEnabled = {1, 1, 1};
    SilentPlayer player;
    DefaultAnswerDialogs dialogs;
    SteadyRandom random;
    StoppedClock clock;
    InputPort port(data + 4, size - 4, readSize);
    RaceContext ctx{state, sounds, player, dialogs, random, clock, port};
    ReceiveBuffer buffer;

    while (!port.Drained()) {
        ReadDecoderPort(ctx, buffer);
        Check(buffer.PendingSize() <= ReceiveBuffer::MaxLineLength);
        // What the race screen refresh computes after every tick.
        ComputePosition(state);
        ComputeInterval(state);
    }
    // The same bytes typed into the raw-command window.
    ParseDecoderRecord(ctx, std::string_view(reinterpret_cast<const char*>(data + 4), size - 4));

    subSortLapTimes(state);
    ComputePosition(state);
    ComputeInterval(state);
    bool seen[MaxCarIds] = {};
    for (int p = 0; p < MaxCarIds; ++p) {
        int id = state.RaceOrder[p];
        Check(IsValidId(id) && !seen[id - 1]);
        seen[id - 1] = true;
        Check(state.RacePosition[id - 1] == p + 1);
    }
    for (int id = 1; id <= MaxCarIds; ++id) {
        (void)LapTimeText(state, id);
        (void)BestColumnCellText(state, id);
        (void)LagColumnCellText(state, id);
        (void)MphCellText(state, id);
        if (state.LapRace)
            Check(state.LapCount[id - 1] <=
                  std::max<int>(state.NumberOfLaps, state.Settings.FirstLapCount));
    }
    return 0;
}
