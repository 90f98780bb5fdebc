// Spoken calls through the real parts: espeak-ng on its worker thread, the
// sound ring and SDL (its disk driver to hear what was mixed), and espeak-ng
// missing or broken.
#include "sound/qt/spoken_calls.h"

#include "sound/qt/espeak_synthesizer.h"
#include "sound/qt/sdl_audio_device.h"
#include "sound/qt/sound_window.h"
#include "sound/qt/speech_panel.h"
#include "support/disk_audio.h"
#include "support/race_rig.h"
#include "support/temp_folder.h"
#include "support/test_doubles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace kesto {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::optional<SpeechResult> Made(EspeakSynthesizer& espeak) {
    espeak.WaitUntilMade(30s);
    return espeak.Take();
}

class HandClock final : public CallClock {
public:
    int64_t NowMs() override { return 0; }
};

// Hands each result over as soon as the worker has made it.
class WaitingSynthesizer final : public Synthesizer {
public:
    explicit WaitingSynthesizer(EspeakSynthesizer& real) : m_real(real) {}
    void Start(const SpeechRequest& request) override { m_real.Start(request); }
    std::optional<SpeechResult> Take() override {
        m_real.WaitUntilMade(30s);
        return m_real.Take();
    }

private:
    EspeakSynthesizer& m_real;
};

TEST(EspeakSynthesizer, MakesTheSoundOfACallInTheVoiceChosen) {
    EspeakSynthesizer espeak;
    espeak.Start(SpeechRequest{"New best lap, Ann Baker, 3.25", "", 175});
    const std::optional<SpeechResult> result = Made(espeak);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->failure, "");
    EXPECT_GT(result->sound.sampleRate, 0);
    // Well over a second of speech, and not silence.
    EXPECT_GT(result->sound.samples.size(), static_cast<size_t>(result->sound.sampleRate));
    EXPECT_GT(*std::max_element(result->sound.samples.begin(), result->sound.samples.end()), 1000);

    const std::vector<SpeechVoice> voices = espeak.Voices();
    const auto english = std::find_if(voices.begin(), voices.end(),
                                      [](const SpeechVoice& v) { return v.language == "en-gb"; });
    ASSERT_NE(english, voices.end());
    espeak.Start(SpeechRequest{"Winner", english->name, 300});
    const std::optional<SpeechResult> fast = Made(espeak);
    ASSERT_TRUE(fast);
    EXPECT_FALSE(fast->sound.samples.empty());
    espeak.Start(SpeechRequest{"Winner", "No such voice", 175}); // falls back to English
    ASSERT_TRUE(Made(espeak));
}

TEST(EspeakSynthesizer, MissingOrBrokenIsAFailureNotACrash) {
    {
        EspeakSynthesizer missing(EspeakLocation{"libespeak-ng-not-here.so.1", ""});
        missing.Start(SpeechRequest{"Winner", "", 175});
        const std::optional<SpeechResult> result = Made(missing);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->failure.rfind("espeak-ng could not be loaded (", 0), 0u)
            << result->failure;
        EXPECT_TRUE(result->sound.samples.empty());
    }
    const fs::path empty =
        fs::temp_directory_path() / ("kesto-no-espeak-" + std::to_string(getpid()));
    fs::create_directories(empty);
    {
        EspeakSynthesizer broken(EspeakLocation{"libespeak-ng.so.1", empty.string()});
        broken.Start(SpeechRequest{"Winner", "", 175});
        const std::optional<SpeechResult> result = Made(broken);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->failure.rfind("espeak-ng could not start (", 0), 0u) << result->failure;
    }
    fs::remove_all(empty);
}

// A call goes out as sound on the left channel only, as every wave file does.
TEST(SpokenCallSound, IsMixedOnTheLeftChannelOnly) {
    const fs::path mixed =
        fs::temp_directory_path() / ("kesto-call-" + std::to_string(getpid()) + ".raw");
    RaceState state;
    state.Names.IdName[0] = "Ann Baker";
    state.LapCount[0] = 2;
    state.BestLapTime[0] = 3250;
    SpeechSettings settings;
    settings.bestLap = true;
    test::FakeDialogs dialogs;
    {
        test::DiskAudio disk(mixed);
        SdlAudioDevice device;
        ASSERT_TRUE(device.IsOpen());
        SoundRing ring(device, dialogs);
        HandClock clock;
        CallQueue queue(clock);
        EspeakSynthesizer espeak;
        WaitingSynthesizer synthesizer(espeak);
        CallPlayer player(queue, synthesizer, ring, dialogs, settings, state);
        RaceCalls calls(settings, queue, [&player] { return player.Works(); });

        calls.LapCounted(state, 1, true);
        player.Pump(); // made on the worker thread
        player.Pump(); // and played
        ASSERT_TRUE(player.Busy());
        EXPECT_TRUE(device.IsPlaying(0));
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (player.Busy() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        EXPECT_FALSE(player.Busy());
        EXPECT_EQ(queue.Dropped(), 0);
    } // closing the device flushes the output file
    const test::SoundingFrames frames = test::CountSoundingFrames(mixed);
    fs::remove(mixed);
    EXPECT_TRUE(frames.whole);
    EXPECT_GT(frames.left, 22050); // more than a second of speech at the mixer's rate
    EXPECT_EQ(frames.right, 0);
    EXPECT_TRUE(dialogs.shown.empty());
}

using SpokenCallsTest = test::TempFolderTest;

// Counts the sounds made in memory it is given (test::FakeAudioDevice's
// "slots" is a Qt keyword).
class PcmCountingDevice final : public AudioDevice {
public:
    bool Load(int, const std::filesystem::path&) override { return true; }
    bool LoadPcm(int, const PcmSound&) override { return ++pcmLoads > 0; }
    bool IsPlaying(int) override { return false; }
    void Play(int, bool) override {}
    void Stop(int) override {}
    void SetVolume(int, int) override {}
    void SetPan(int, int) override {}
    int pcmLoads = 0;
};

// What a 3-lap race of two cars plays, every race and car sound on, with the
// spoken calls of `speech` listening (none: the timer without them).
std::vector<std::string> RaceSounds(SpokenCalls* speech) {
    test::RaceRig rig;
    if (speech)
        rig.race.context.caller = &speech->Caller();
    rig.NameAllCars();
    rig.race.sounds.RaceSoundEnabled.fill(true);
    rig.race.sounds.CarSoundEnabled.fill(1);
    rig.race.sounds.CarSoundFile = {"best.wav", "lap.wav", "mine.wav"};
    rig.state.LapRace = true;
    rig.state.NumberOfLaps = 3;
    rig.control.cmdStart_Click();
    for (auto [ms, id] : std::vector<std::pair<int32_t, int>>{
             {5000, 2}, {6000, 1}, {9900, 2}, {12000, 1}, {14900, 2}, {16500, 1}}) {
        rig.race.port.Feed(test::DecoderClockLine(ms / 1000 * 1000) +
                           test::DecoderPassLine(id, ms));
        rig.Tick();
        rig.Tick();
    }
    EXPECT_TRUE(rig.state.RaceIsOver);
    return rig.race.player.played;
}

// A club that has not chosen (no KestoSpeech.dat) hears exactly the sounds of
// the timer without spoken calls, and espeak-ng is never started.
TEST_F(SpokenCallsTest, WithoutTheirFileARaceSoundsExactlyAsWithoutThem) {
    RaceState state;
    PcmCountingDevice device;
    test::FakeDialogs dialogs;
    SoundRing ring(device, dialogs);
    SpokenCalls speech(folder, state, ring, dialogs);
    speech.LoadSettings();
    EXPECT_EQ(speech.Settings(), SpeechSettings{});
    const std::vector<std::string> heard = RaceSounds(&speech);
    EXPECT_EQ(heard, RaceSounds(nullptr));
    EXPECT_EQ(heard.size(), 16u); // "Get Ready", "Go", six laps, the halfway, flags, ...
    EXPECT_FALSE(speech.Busy());
    EXPECT_EQ(speech.Queue().Waiting(), 0u);
    EXPECT_EQ(device.pcmLoads, 0);
    EXPECT_TRUE(speech.Synthesizer().Voices().empty()); // never started
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(Entries(), std::vector<std::string>{});
}

TEST_F(SpokenCallsTest, WithACallOnAMissingEspeakIsToldOnceAndTheWaveFilesPlay) {
    SpeechSettings settings;
    settings.timeLeft = true;
    ASSERT_TRUE(WriteSpeechSettings(folder, settings));
    RaceState state;
    SdlAudioDevice device; // the tests' dummy driver
    test::FakeDialogs dialogs;
    SoundRing ring(device, dialogs);
    SpokenCalls speech(folder, state, ring, dialogs,
                       EspeakLocation{"libespeak-ng-not-here.so", ""});
    speech.LoadSettings(); // a call is on: espeak-ng starts now
    EXPECT_TRUE(speech.Settings().timeLeft);
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (speech.Works() && std::chrono::steady_clock::now() < deadline) {
        speech.Synthesizer().WaitUntilMade(10s); // let the worker finish, then look
        speech.Pump();
    }
    ASSERT_FALSE(speech.Works());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.last().text.rfind("Spoken calls are not available: espeak-ng could not be "
                                        "loaded (",
                                        0),
              0u);
    state.TimedRace = true;
    EXPECT_FALSE(speech.Caller().TimeLeftDue(state, OneMinuteLeft)); // its wave file plays
    speech.SettingsChanged();
    speech.Pump();
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(SpokenCallsTest, TheSoundWindowKeepsTheCallsInTheirOwnFile) {
    RaceState state;
    SdlAudioDevice device;
    test::FakeDialogs dialogs;
    SoundRing ring(device, dialogs);
    SpokenCalls speech(folder, state, ring, dialogs);
    speech.LoadSettings();
    SoundChoices choices;
    FrmKestoSound window(choices, ring, dialogs, folder, {});
    window.ShowSpeechCalls(speech);
    SpeechPanel* panel = window.SpeechCallsPanel();
    ASSERT_TRUE(panel);
    EXPECT_FALSE(panel->findChild<QCheckBox*>(QStringLiteral("chkCallBestLap"))->isChecked());
    panel->findChild<QCheckBox*>(QStringLiteral("chkCallBestLap"))->setChecked(true);
    panel->findChild<QCheckBox*>(QStringLiteral("chkCallPodium"))->setChecked(true);
    panel->findChild<QComboBox*>(QStringLiteral("cmbCallLapCounts"))->setCurrentIndex(2);
    panel->findChild<QSpinBox*>(QStringLiteral("spnVolume"))->setValue(60);
    window.cmdOK_Click();
    SpeechSettings kept;
    kept.bestLap = true;
    kept.podium = true;
    kept.lapCounts = LapCountCalls::Leader;
    kept.volume = 60;
    EXPECT_EQ(speech.Settings(), kept);
    EXPECT_EQ(ReadSpeechSettings(folder), kept);
}

} // namespace
} // namespace kesto
