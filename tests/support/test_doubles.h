#pragma once
// Test doubles for the platform seams: dialogs that answer from a script and
// record what they showed, a sound player that records, a decoder port fed by
// the test, a scripted random source and a fixed wall clock.

#include "base/decoder_port.h"
#include "base/dialogs.h"
#include "base/random_source.h"
#include "base/sound_player.h"
#include "base/wall_clock.h"
#include "engine/race_context.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace kesto::test {

class FakeDialogs final : public Dialogs {
public:
    MessageAnswer Show(const Message& message) override;
    std::optional<std::string> ChooseFile(const FileChoice& choice) override;
    std::optional<int32_t> ChooseColor(int32_t initial) override;

    // Answers given in order; when none is queued a message gets its default answer
    // (Ok for Ok boxes), a file or colour choice is cancelled.
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<std::string>> files;
    std::deque<std::optional<int32_t>> colors;

    std::vector<Message> shown;
    std::vector<FileChoice> fileChoices;
    std::vector<int32_t> colorRequests;

    const Message& last() const { return shown.back(); }
};

class RecordingSoundPlayer final : public SoundPlayer {
public:
    void PlayWav(const std::string& fileName) override { played.push_back(fileName); }
    std::vector<std::string> played;
};

// A decoder port whose input the test writes.
class FakeDecoderPort final : public DecoderPort {
public:
    bool Open(int portNumber) override;
    bool Reopen(int portNumber) override {
        ++reopens;
        return Open(portNumber);
    }
    bool InUseElsewhere() const override { return failOpen && inUseElsewhere; }
    void Close() override {
        open = false;
        linkLost = false;
        ++closes;
    }
    bool IsOpen() const override { return open; }
    int BytesAvailable() override { return static_cast<int>(input.size()); }
    std::string Read(int maxBytes = 4096) override;
    bool SetRts(bool raised) override {
        rts = raised;
        return rtsSupported;
    }

    bool LinkLost() const override { return open && linkLost; }
    void SetInputArrived(std::function<void()> arrived) override {
        inputArrived = std::move(arrived);
    }

    void Feed(const std::string& bytes) { input += bytes; }
    std::function<void()> inputArrived; // what the event loop would call

    bool open = false;
    bool linkLost = false; // the device has gone while open (until closed)
    int opens = 0;         // Reopen too
    int reopens = 0;
    int closes = 0;
    bool failOpen = false;
    bool inUseElsewhere = false; // with failOpen: another timer holds the device
    bool rts = false;
    bool rtsSupported = true;
    int openedPort = 0;
    int maxReadSize = 4096; // lower it to split input across reads
    std::string input;
};

// Returns the queued values in order, then `fallback`.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<double> values = {}, double fallback = 0.5)
        : values(values.begin(), values.end()), fallback(fallback) {}
    double Next() override;
    void Reseed() override { ++reseeds; }

    std::deque<double> values;
    double fallback;
    int reseeds = 0;
};

class FixedWallClock final : public WallClock {
public:
    DateTime Now() override { return now; }
    DateTime now{2026, 12, 7, 20, 15, 42};
};

// A race context over test doubles, owning everything.
struct TestRace {
    RaceState state;
    SoundChoices sounds;
    RecordingSoundPlayer player;
    FakeDialogs dialogs;
    ScriptedRandom random;
    FixedWallClock clock;
    FakeDecoderPort port;
    RaceContext context{state, sounds, player, dialogs, random, clock, port};
};

} // namespace kesto::test
