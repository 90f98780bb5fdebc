#pragma once
// The speech synthesiser of the spoken calls: espeak-ng, run on a worker
// thread of its own, each request made with a synchronous espeak_Synth whose
// callback gathers the samples into a buffer. The library is opened when the
// first request comes (never at start-up, so a club without calls never loads
// it), and a missing library or broken voice data is a failure of the result,
// never a crash. espeak-ng keeps global state: one synthesiser per process.

#include "sound/synthesizer.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kesto {

struct SpeechVoice {
    std::string name;     // as espeak-ng names it: "English_(Great_Britain)"
    std::string language; // "en-gb"
};

struct EspeakLocation {
    std::string library = "libespeak-ng.so.1";
    std::string dataFolder; // the folder holding "espeak-ng-data"; empty: the library's own
};

class EspeakSynthesizer final : public Synthesizer {
public:
    explicit EspeakSynthesizer(EspeakLocation location = {});
    ~EspeakSynthesizer() override;
    EspeakSynthesizer(const EspeakSynthesizer&) = delete;
    EspeakSynthesizer& operator=(const EspeakSynthesizer&) = delete;

    void Start(const SpeechRequest& request) override;
    std::optional<SpeechResult> Take() override;
    // Waits up to `timeout` until the result is made (Take() then has it): for tests.
    bool WaitUntilMade(std::chrono::milliseconds timeout);

    // The voices espeak-ng has installed, by name; empty until it has started.
    std::vector<SpeechVoice> Voices() const;

private:
    struct Espeak;

    void Run();
    SpeechResult Make(const SpeechRequest& request);
    std::string StartEspeak();

    EspeakLocation m_location;
    std::unique_ptr<Espeak> m_espeak; // the worker's alone
    std::string m_failure;            // the worker's alone

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<SpeechRequest> m_request;
    std::optional<SpeechResult> m_result;
    std::vector<SpeechVoice> m_voices;
    bool m_quit = false;
    std::thread m_worker;
};

} // namespace kesto
