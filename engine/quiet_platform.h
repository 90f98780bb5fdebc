#pragma once
// Platform seams that do nothing: for engine work done out of the operator's
// sight (replaying a race journal), and for benchmarks and fuzzing, where a
// sound, a question or a real port would only get in the way.

#include "base/decoder_port.h"
#include "base/dialogs.h"
#include "base/random_source.h"
#include "base/sound_player.h"
#include "base/wall_clock.h"
#include "engine/race_screen.h"
#include "engine/race_timer.h"
#include "engine/start_sequence.h"

namespace kesto {

class SilentPlayer final : public SoundPlayer {
public:
    void PlayWav(const std::string&) override {}
};

// Every message is answered with its preselected button; no file, no colour.
class DefaultAnswerDialogs final : public Dialogs {
public:
    MessageAnswer Show(const Message& message) override { return message.defaultAnswer; }
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    std::optional<int32_t> ChooseColor(int32_t) override { return std::nullopt; }
};

class SteadyRandom final : public RandomSource {
public:
    double Next() override { return 0.5; }
    void Reseed() override {}
};

class StoppedClock final : public WallClock {
public:
    DateTime Now() override { return {}; }
};

class NoPort final : public DecoderPort {
public:
    bool Open(int) override { return false; }
    void Close() override {}
    bool IsOpen() const override { return false; }
    int BytesAvailable() override { return 0; }
    std::string Read(int) override { return {}; }
    bool SetRts(bool) override { return false; }
};

// A race screen nobody sees: every call does nothing. The standings it would
// show are the engine's own (engine/standings.h), so nothing is lost.
class BlankRaceScreen final : public RaceScreen {
public:
    void ResetRows() override {}
    void ShowFlag(const std::string&) override {}
    void HideFlag() override {}
    void ShowRaceOver(bool) override {}
    void SetClockText(const std::string&) override {}
    void SetClockColor(int32_t) override {}
    void SetStartButton(StartButton) override {}
    void EnableMenu(MainMenu, bool) override {}
    void ComposeTitle() override {}
    void UpdateRaceScreen() override {}
    void UpdatePracticeScreen() override {}
    void ShowLinkAlarm(const std::string&) override {}
    void HideLinkAlarm() override {}
    void ShowJournalAlarm(const std::string&) override {}
    void HideJournalAlarm() override {}
};

// A race timer that never ticks: the replay drives the race by its events.
class NoRaceTimer final : public RaceTimer {
public:
    void SetRaceTimer(bool) override {}
};

// Start windows that release the race at once: green the moment Start is
// accepted, the lights closed straight after.
class InstantStart final : public StartSequenceLauncher {
public:
    void ShowCountdown(StartSequenceHost& host) override { ShowStartLights(host); }
    void ShowStartLights(StartSequenceHost& host) override {
        host.StartTimingAtGreen();
        host.StartLightsClosed();
    }
};

} // namespace kesto
