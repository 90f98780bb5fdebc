#include "sound/qt/espeak_synthesizer.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <dlfcn.h>

#include <mutex>
#include <string>

namespace kesto {

namespace {

// No call is longer than this; a runaway text is cut here.
constexpr int MaxCallSeconds = 60;

struct Gathered {
    std::vector<int16_t>* samples;
    size_t limit;
};

// espeak_Synth's callback: appends the samples made so far.
int GatherSamples(short* wav, int count, espeak_EVENT* events) {
    auto* gathered = static_cast<Gathered*>(events ? events->user_data : nullptr);
    if (!gathered || !wav || count <= 0)
        return 0;
    gathered->samples->insert(gathered->samples->end(), wav, wav + count);
    return gathered->samples->size() > gathered->limit ? 1 : 0; // 1 stops the synthesis
}

template <class Function> bool Resolve(void* library, const char* name, Function*& to) {
    to = reinterpret_cast<Function*>(dlsym(library, name));
    return to != nullptr;
}

} // namespace

// The entry points of the library, opened at run time so a timer without
// espeak-ng still starts.
struct EspeakSynthesizer::Espeak {
    void* library = nullptr;
    decltype(espeak_ng_InitializePath)* InitializePath = nullptr;
    decltype(espeak_ng_Initialize)* Initialize = nullptr;
    decltype(espeak_ng_InitializeOutput)* InitializeOutput = nullptr;
    decltype(espeak_ng_GetSampleRate)* GetSampleRate = nullptr;
    decltype(espeak_ng_GetStatusCodeMessage)* StatusMessage = nullptr;
    decltype(espeak_ng_ClearErrorContext)* ClearErrorContext = nullptr;
    decltype(espeak_SetSynthCallback)* SetSynthCallback = nullptr;
    decltype(espeak_SetVoiceByName)* SetVoiceByName = nullptr;
    decltype(espeak_SetParameter)* SetParameter = nullptr;
    decltype(espeak_Synth)* Synth = nullptr;
    decltype(espeak_ListVoices)* ListVoices = nullptr;
    int sampleRate = 22050;
    std::optional<std::string> voice; // the voice set last
    int speed = 0;

    bool ResolveAll() {
        return Resolve(library, "espeak_ng_InitializePath", InitializePath) &&
               Resolve(library, "espeak_ng_Initialize", Initialize) &&
               Resolve(library, "espeak_ng_InitializeOutput", InitializeOutput) &&
               Resolve(library, "espeak_ng_GetSampleRate", GetSampleRate) &&
               Resolve(library, "espeak_ng_GetStatusCodeMessage", StatusMessage) &&
               Resolve(library, "espeak_ng_ClearErrorContext", ClearErrorContext) &&
               Resolve(library, "espeak_SetSynthCallback", SetSynthCallback) &&
               Resolve(library, "espeak_SetVoiceByName", SetVoiceByName) &&
               Resolve(library, "espeak_SetParameter", SetParameter) &&
               Resolve(library, "espeak_Synth", Synth) &&
               Resolve(library, "espeak_ListVoices", ListVoices);
    }

    std::string Describe(espeak_ng_STATUS status) const {
        char text[256] = {};
        StatusMessage(status, text, sizeof text);
        return text;
    }

    // espeak-ng is never ended: espeak_Terminate can hang for good in the
    // library's own threads (seen as a program that would not close), and
    // what it holds goes with the process. The library stays mapped.
};

namespace {

// The library and data espeak-ng was started with in this process; a
// synthesiser made later with the same ones goes on with it as it is.
std::mutex StartedForMutex;
std::string StartedFor;

std::string StartKey(const EspeakLocation& location) {
    return location.library + '\n' + location.dataFolder;
}

} // namespace

EspeakSynthesizer::EspeakSynthesizer(EspeakLocation location) : m_location(std::move(location)) {}

EspeakSynthesizer::~EspeakSynthesizer() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_changed.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

void EspeakSynthesizer::Start(const SpeechRequest& request) {
    {
        std::lock_guard lock(m_mutex);
        m_request = request;
        m_result.reset();
    }
    if (!m_worker.joinable())
        m_worker = std::thread([this] { Run(); });
    m_changed.notify_all();
}

std::optional<SpeechResult> EspeakSynthesizer::Take() {
    std::lock_guard lock(m_mutex);
    std::optional<SpeechResult> result = std::move(m_result);
    m_result.reset();
    return result;
}

bool EspeakSynthesizer::WaitUntilMade(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [this] { return m_result.has_value(); });
}

std::vector<SpeechVoice> EspeakSynthesizer::Voices() const {
    std::lock_guard lock(m_mutex);
    return m_voices;
}

void EspeakSynthesizer::Run() {
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_quit || m_request.has_value(); });
        if (m_quit)
            break;
        SpeechRequest request = std::move(*m_request);
        m_request.reset();
        lock.unlock();
        SpeechResult result = Make(request);
        lock.lock();
        if (!m_request) // a newer request replaces this one's result
            m_result = std::move(result);
        m_changed.notify_all();
    }
    lock.unlock();
    m_espeak.reset();
}

std::string EspeakSynthesizer::StartEspeak() {
    auto espeak = std::make_unique<Espeak>();
    espeak->library = dlopen(m_location.library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!espeak->library) {
        const char* why = dlerror();
        return "espeak-ng could not be loaded (" + std::string(why ? why : m_location.library) +
               ")";
    }
    if (!espeak->ResolveAll())
        return "espeak-ng could not be loaded (" + m_location.library +
               " lacks a function the timer uses)";
    std::lock_guard started(StartedForMutex);
    if (StartedFor != StartKey(m_location)) {
        StartedFor.clear();
        espeak->InitializePath(m_location.dataFolder.empty() ? nullptr
                                                             : m_location.dataFolder.c_str());
        espeak_ng_ERROR_CONTEXT context = nullptr;
        const espeak_ng_STATUS status = espeak->Initialize(&context);
        espeak->ClearErrorContext(&context);
        if (status != ENS_OK)
            return "espeak-ng could not start (" + espeak->Describe(status) + ")";
        if (const espeak_ng_STATUS output =
                espeak->InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
            output != ENS_OK)
            return "espeak-ng could not start (" + espeak->Describe(output) + ")";
        StartedFor = StartKey(m_location);
    }
    espeak->sampleRate = espeak->GetSampleRate();
    espeak->SetSynthCallback(GatherSamples);

    std::vector<SpeechVoice> voices;
    if (const espeak_VOICE** list = espeak->ListVoices(nullptr))
        for (; *list; ++list)
            if ((*list)->name && (*list)->languages)
                voices.push_back(
                    {(*list)->name, (*list)->languages + 1}); // after the priority byte
    {
        std::lock_guard lock(m_mutex);
        m_voices = std::move(voices);
    }
    m_espeak = std::move(espeak);
    return {};
}

SpeechResult EspeakSynthesizer::Make(const SpeechRequest& request) {
    SpeechResult result;
    if (!m_espeak && m_failure.empty())
        m_failure = StartEspeak();
    if (!m_failure.empty()) {
        result.failure = m_failure;
        return result;
    }
    Espeak& espeak = *m_espeak;
    result.sound.sampleRate = espeak.sampleRate;
    if (request.text.empty())
        return result;
    if (request.voice != espeak.voice) {
        // An unknown voice (one removed since it was chosen) falls back to English.
        if (request.voice.empty() || espeak.SetVoiceByName(request.voice.c_str()) != EE_OK)
            espeak.SetVoiceByName("en");
        espeak.voice = request.voice;
        espeak.speed = 0; // a new voice starts at its own rate
    }
    if (request.speed != espeak.speed) {
        espeak.SetParameter(espeakRATE, request.speed, 0);
        espeak.speed = request.speed;
    }
    Gathered gathered{&result.sound.samples,
                      static_cast<size_t>(espeak.sampleRate) * MaxCallSeconds};
    if (espeak.Synth(request.text.c_str(), request.text.size() + 1, 0, POS_CHARACTER, 0,
                     espeakCHARS_UTF8, nullptr, &gathered) != EE_OK)
        result.sound.samples.clear(); // nothing to say; the call is dropped
    return result;
}

} // namespace kesto
