// Saying the queued calls: one at a time through the sound ring, the next made
// while one is said, too-late sounds dropped, race sounds never stopped, and a
// synthesiser that cannot work told once.
#include "sound/call_player.h"

#include "support/fake_audio_device.h"
#include "support/test_doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kesto {
namespace {

using ::testing::ElementsAre;

class HandClock final : public CallClock {
public:
    int64_t NowMs() override { return now; }
    int64_t now = 0;
};

// Makes a sound of one sample per letter when the test says so.
class HandSynthesizer final : public Synthesizer {
public:
    void Start(const SpeechRequest& request) override { requests.push_back(request); }
    std::optional<SpeechResult> Take() override { return std::exchange(result, std::nullopt); }
    void Finish() {
        result = SpeechResult{};
        result->sound.samples.assign(requests.back().text.size(), 1000);
        if (!failure.empty())
            result->failure = failure;
    }
    std::vector<SpeechRequest> requests;
    std::optional<SpeechResult> result;
    std::string failure;
};

class CallPlayerTest : public ::testing::Test {
protected:
    CallPlayerTest() { state.Names.IdName[0] = "Ann Baker"; }
    void Add(CallKind kind, std::string text, int id = 0, int number = 0) {
        queue.Add(Call{kind, std::move(text), id, number});
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& request : synth.requests)
            texts.push_back(request.text);
        return texts;
    }

    HandClock clock;
    CallQueue queue{clock};
    HandSynthesizer synth;
    test::FakeAudioDevice device;
    test::FakeDialogs dialogs;
    SoundRing ring{device, dialogs};
    SpeechSettings settings;
    RaceState state;
    CallPlayer player{queue, synth, ring, dialogs, settings, state};
};

TEST_F(CallPlayerTest, OneCallAtATimeTheNextMadeWhileOneIsSaid) {
    settings.voice = "Finnish";
    settings.speed = 200;
    settings.volume = 50;
    Add(CallKind::BestLap, "", 1, 3250);
    Add(CallKind::Podium, "Winner, Ann Baker");
    player.Pump();
    ASSERT_THAT(Texts(), ElementsAre("New best lap, Ann Baker, 3.25"));
    EXPECT_EQ(synth.requests[0].voice, "Finnish");
    EXPECT_EQ(synth.requests[0].speed, 200);
    synth.Finish();
    player.Pump();
    // Said on the left at the chosen volume, like a wave file through PlayWav.
    EXPECT_THAT(device.calls, ElementsAre("pcm 0 29", "pan 0 -10000", "volume 0 -3000", "play 0"));
    EXPECT_THAT(Texts(), ElementsAre("New best lap, Ann Baker, 3.25", "Winner, Ann Baker"));

    synth.Finish();
    player.Pump(); // made, but the first call is still being said
    EXPECT_EQ(device.calls.size(), 4u);
    EXPECT_TRUE(player.Busy());
    device.Finish(0);
    player.Pump();
    EXPECT_EQ(device.calls.back(), "play 0");
    EXPECT_EQ(device.calls[device.calls.size() - 4], "pcm 0 17");
    device.FinishAll();
    EXPECT_FALSE(player.Busy());
    EXPECT_EQ(queue.Dropped(), 0);
}

TEST_F(CallPlayerTest, ASoundReadyTooLateOrWithNoSlotFreeIsDropped) {
    Add(CallKind::Podium, "Winner, Ann Baker");
    player.Pump();
    clock.now += 2001; // the synthesiser took too long
    synth.Finish();
    player.Pump();
    EXPECT_TRUE(device.calls.empty());
    EXPECT_EQ(queue.Dropped(), 1);

    // Every slot sounds a race sound: the call gives way and stops none.
    for (int slot = 0; slot < SoundRing::MaxSlots; ++slot)
        ASSERT_TRUE(ring.PlayPcmSound(PcmSound{{1}}, 100, 0));
    device.calls.clear();
    Add(CallKind::Racers, "Racers: car 1, Ann Baker");
    player.Pump();
    synth.Finish();
    player.Pump();
    EXPECT_TRUE(device.calls.empty());
    EXPECT_EQ(queue.Dropped(), 2);
}

TEST_F(CallPlayerTest, ASynthesiserThatCannotWorkIsToldOnceAndSaysNothing) {
    synth.failure = "espeak-ng could not be loaded (no such file)";
    player.Prepare();
    EXPECT_EQ(synth.requests.at(0).text, "");
    Add(CallKind::Podium, "Winner, Ann Baker");
    synth.Finish();
    player.Pump();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.last().text, "Spoken calls are not available: espeak-ng could not be loaded "
                                   "(no such file)\nThe timer goes on without them.");
    EXPECT_FALSE(player.Works());
    EXPECT_FALSE(player.Busy());
    Add(CallKind::Podium, "Winner, Ann Baker");
    player.Pump();
    player.Prepare();
    EXPECT_EQ(synth.requests.size(), 1u);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(CallPlayerTest, TheTryOutUsesTheVoiceShownNotTheVoiceKept) {
    SpeechSettings shown;
    shown.voice = "Swedish";
    shown.speed = 120;
    shown.volume = 100;
    player.SaySample("New best lap, Ann Baker, 3.25", shown);
    player.Pump();
    EXPECT_EQ(synth.requests.at(0).voice, "Swedish");
    EXPECT_EQ(synth.requests.at(0).speed, 120);
    synth.Finish();
    player.Pump();
    EXPECT_THAT(device.calls, ElementsAre("pcm 0 29", "pan 0 -10000", "play 0"));
}

} // namespace
} // namespace kesto
