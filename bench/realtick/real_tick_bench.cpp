// The race timer's tick in the running program, with its real parts: the
// serial port on a socat pseudo-terminal fed at the decoder's full line rate
// (9600 baud, about 80 lines a second) by a thread playing the decoder, the
// race journal in a folder on disk, sound through SDL (its dummy driver unless
// SDL_AUDIODRIVER says otherwise), and the real main window, shown (offscreen,
// or under X with QT_QPA_PLATFORM=xcb). The window is wired as the program
// wires it (app/main_window_parts.h) and Timer1 drives the ticks.
//
// The application's notify() times every Timer1 tick and every repaint, so
// the figures are the event loop's own: the tick, the tick and the repaint
// that follows it, and detection to screen (a passing's line written on the
// pseudo-terminal -> the end of the repaint that shows its lap). Also the
// processor time of an idle minute's share (no race, window shown) and the
// resident memory. Environment: KESTO_BENCH_PASSINGS (default 5000),
// KESTO_BENCH_BUSY (spinning threads, default 0), KESTO_BENCH_DIR (the folder
// the program folder is made in).
#include "app/main_window_load.h"
#include "app/main_window_parts.h"
#include "config/first_run_seed.h"
#include "config/sound_choices_file.h"
#include "engine/journal_file.h"
#include "engine/qt/serial_decoder_port.h"
#include "engine/quiet_platform.h"
#include "sound/qt/audio_rest.h"
#include "sound/qt/sdl_audio_device.h"
#include "sound/sound_ring.h"
#include "tools/decoder-sim/decoder_lines.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>
#include <vector>

namespace kesto {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double MicrosSince(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::micro>(to - from).count();
}

int EnvInt(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text ? std::atoi(text) : fallback;
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

// The application: times the ticks of Timer1 and the repaints that follow.
class TimingApplication final : public QApplication {
public:
    using QApplication::QApplication;

    QObject* timer1 = nullptr;
    std::function<void(Clock::time_point)> repainted; // after each repaint
    std::vector<double> ticks, ticksWithRepaint;
    // The same ticks apart: Timer1's own, and those the decoder's bytes ran.
    std::vector<double> timerTicks, inputTicks;

    bool notify(QObject* receiver, QEvent* event) override {
        if (m_depth > 0 || !(IsTick(receiver, event) || event->type() == QEvent::UpdateRequest))
            return QApplication::notify(receiver, event);
        const bool tick = event->type() != QEvent::UpdateRequest;
        const auto begin = Clock::now();
        ++m_depth;
        const bool handled = QApplication::notify(receiver, event);
        --m_depth;
        const auto end = Clock::now();
        if (tick) {
            ticks.push_back(MicrosSince(begin, end));
            (event->type() == QEvent::Timer ? timerTicks : inputTicks).push_back(ticks.back());
            if (m_tickBegan) // a tick that drew nothing
                ticksWithRepaint.push_back(m_tickEnded);
            m_tickBegan = begin;
            m_tickEnded = MicrosSince(begin, end);
        } else {
            if (m_tickBegan) {
                ticksWithRepaint.push_back(MicrosSince(*m_tickBegan, end));
                m_tickBegan.reset();
            }
            if (repainted)
                repainted(end);
        }
        return handled;
    }

private:
    // Timer1's ticks, and the ticks the decoder's bytes run at once (the
    // port's read notifier, a child of the QSerialPort).
    bool IsTick(QObject* receiver, QEvent* event) const {
        if (event->type() == QEvent::Timer)
            return receiver == timer1;
        return event->type() == QEvent::SockAct && receiver->parent() &&
               receiver->parent()->inherits("QSerialPort");
    }
    int m_depth = 0;
    std::optional<Clock::time_point> m_tickBegan;
    double m_tickEnded = 0;
};

// The decoder at its full line rate: 960 characters a second, a clock line on
// every whole second and otherwise the 14 cars passing in turn.
class DecoderThread final {
public:
    DecoderThread(const fs::path& device, int passings) : m_written(passings) {
        m_fd = ::open(device.c_str(), O_WRONLY | O_NOCTTY);
        m_thread = std::thread([this] { Run(); });
    }
    ~DecoderThread() {
        m_stop = true;
        m_thread.join();
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool Done() const { return m_done; }
    // When the passing was written (its index in sending order).
    Clock::time_point WrittenAt(size_t passing) const { return m_written[passing].load(); }
    size_t Passings() const { return m_written.size(); }

private:
    void Run() {
        constexpr double CharsPerSecond = 960.0;
        const auto start = Clock::now();
        double charsSent = 0;
        int64_t lastClockSecond = -1;
        for (size_t passing = 0; passing < m_written.size() && !m_stop;) {
            const auto due = start + std::chrono::duration_cast<Clock::duration>(
                                         std::chrono::duration<double>(charsSent / CharsPerSecond));
            std::this_thread::sleep_until(due);
            const auto now = Clock::now();
            const int64_t ms =
                std::chrono::duration_cast<std::chrono::milliseconds>(now - start).count();
            std::string line;
            if (ms / 1000 != lastClockSecond) {
                lastClockSecond = ms / 1000;
                line = sim::ClockLine(ms);
            } else {
                line = sim::DetectionLine(static_cast<int>(passing % 14) + 1, ms);
                m_written[passing++].store(Clock::now());
            }
            if (::write(m_fd, line.data(), line.size()) < 0)
                break;
            charsSent += static_cast<double>(line.size());
        }
        m_done = true;
    }

    int m_fd = -1;
    std::vector<std::atomic<Clock::time_point>> m_written;
    std::atomic<bool> m_stop{false}, m_done{false};
    std::thread m_thread;
};

// Threads that keep the processor busy (the "both cores busy" runs).
class BusyThreads final {
public:
    explicit BusyThreads(int count) {
        for (int i = 0; i < count; ++i)
            m_threads.emplace_back([this] {
                volatile unsigned spin = 0;
                while (!m_stop)
                    spin = spin + 1;
            });
    }
    ~BusyThreads() {
        m_stop = true;
        for (auto& thread : m_threads)
            thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_threads;
};

void Report(benchmark::State& st, const std::string& name, std::vector<double> micros) {
    if (micros.empty())
        return;
    std::sort(micros.begin(), micros.end());
    st.counters[name + "_median_us"] = micros[micros.size() / 2];
    st.counters[name + "_p99_us"] = micros[micros.size() * 99 / 100];
    st.counters[name + "_max_us"] = micros.back();
}

fs::path ProgramFolder() {
    const char* chosen = std::getenv("KESTO_BENCH_DIR");
    fs::path folder = chosen ? fs::path(chosen) : fs::temp_directory_path();
    folder /= "kesto-realtick-" + std::to_string(::getpid());
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

void BM_RealTick(benchmark::State& st) {
    auto& app = *static_cast<TimingApplication*>(QApplication::instance());
    const fs::path folder = ProgramFolder();
    SeedFirstRun(folder);
    fs::create_directory_symlink(KESTO_SOUND_FOLDER, folder / "LmSound");
    QProcess socat;
    socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") +
                                              QString::fromStdString((folder / "decoder").string()),
                                          QStringLiteral("pty,raw,echo=0,link=") +
                                              QString::fromStdString((folder / "COM1").string())});
    for (QDeadlineTimer deadline(5000); !fs::exists(folder / "COM1") && !deadline.hasExpired();)
        socat.waitForFinished(10);
    if (!fs::exists(folder / "COM1")) {
        st.SkipWithError("socat made no pseudo-terminal pair");
        return;
    }

    RaceState state;
    SoundChoices sounds;
    DefaultAnswerDialogs dialogs;
    SdlAudioDevice audio;
    SoundRing ring(audio, dialogs);
    SerialDecoderPort port(folder);
    SteadyRandom random;
    StoppedClock clock;
    JournalFile journal(folder);
    RaceContext ctx{state, sounds, ring, dialogs, random, clock, port};
    ctx.journal = &journal;
    InstantStart launcher;
    MainWindowParts parts(ctx, folder, &launcher);
    MainWindowLoadSteps steps;
    steps.initSound = [&] {
        ring.SetSoundFolder(folder);
        ring.InitSoundBuffers(30, "everylap.wav");
    };
    steps.loadSoundChoices = [&] { LoadSoundChoices(folder, sounds, dialogs); };
    LoadMainWindow(parts.Window(), parts.Control(), ctx, steps);
    parts.Window().show();
    app.timer1 = parts.Window().findChild<QTimer*>(QStringLiteral("Timer1"));

    RestAudioBetweenRaces(parts.Window(), audio, [&] { return state.TimerEnabled; });

    // The first paints of the window shown are start-up, not idle; and the
    // sound device, quiet, rests within seconds, as in the program.
    const auto shownAt = Clock::now();
    QTimer settled;
    QObject::connect(&settled, &QTimer::timeout, &app, [&] {
        if (audio.Resting() || Clock::now() - shownAt > std::chrono::seconds(20))
            QApplication::exit(0);
    });
    settled.start(100);
    QApplication::exec();
    settled.stop();
    st.counters["audio_rested_after_s"] =
        audio.Resting() ? MicrosSince(shownAt, Clock::now()) / 1e6 : -1;

    // Idle: the window shown, no race.
    const double idleCpuBefore = ProcessCpuSeconds();
    const auto idleBegan = Clock::now();
    QTimer::singleShot(5000, &app, [] { QApplication::exit(0); });
    QApplication::exec();
    const double idleSeconds = MicrosSince(idleBegan, Clock::now()) / 1e6;
    st.counters["idle_cpu_percent"] = 100.0 * (ProcessCpuSeconds() - idleCpuBefore) / idleSeconds;
    st.counters["rss_idle_MB"] = ResidentMegabytes();
    app.ticks.clear();
    app.ticksWithRepaint.clear();
    app.timerTicks.clear();
    app.inputTicks.clear();

    // The race: 14 cars on a 240-minute race, timed from the decoder's lines.
    state.DemoMode = false;
    state.LapRace = false;
    state.TimedRace = true;
    state.RaceMinutes = 240;
    state.Settings.MinLapTime = 0.1f;
    parts.Control().cmdStart_Click();

    const int passings = EnvInt("KESTO_BENCH_PASSINGS", 5000);
    BusyThreads busy(EnvInt("KESTO_BENCH_BUSY", 0));
    std::vector<double> toScreen, rssDuringRace;
    // The bench's own records take their memory before the race, so the
    // resident memory read through the race is the program's.
    const auto ticksExpected = static_cast<size_t>(passings) * 3 + 10000;
    for (std::vector<double>* kept :
         {&app.ticks, &app.ticksWithRepaint, &app.timerTicks, &app.inputTicks, &toScreen}) {
        kept->resize(kept == &toScreen ? static_cast<size_t>(passings) : ticksExpected);
        kept->clear(); // the capacity stays, touched
    }
    size_t shown = 0;
    for (auto _ : st) {
        DecoderThread decoder(folder / "decoder", passings);
        app.repainted = [&](Clock::time_point flushed) {
            int laps = 0;
            for (const int16_t count : state.LapCount)
                laps += count - state.Settings.FirstLapCount;
            const auto counted = static_cast<size_t>(std::max(laps, 0));
            for (; shown < std::min(counted, decoder.Passings()); ++shown)
                toScreen.push_back(MicrosSince(decoder.WrittenAt(shown), flushed));
        };
        QTimer done;
        QObject::connect(&done, &QTimer::timeout, &app, [&] {
            if (decoder.Done() && shown >= decoder.Passings())
                QApplication::exit(0);
        });
        done.start(100);
        // Resident memory through the race: it should stay flat.
        QTimer memory;
        QObject::connect(&memory, &QTimer::timeout, &app,
                         [&] { rssDuringRace.push_back(ResidentMegabytes()); });
        memory.start(10000);
        QTimer::singleShot(passings * 20 + 10000, &app,
                           [] { QApplication::exit(0); }); // never hang
        QApplication::exec();
        app.repainted = nullptr;
    }
    st.counters["passings_shown"] = static_cast<double>(shown);
    st.counters["rss_race_MB"] = ResidentMegabytes();
    if (!rssDuringRace.empty()) {
        // From its first reading, ten seconds in, to the highest.
        st.counters["rss_race_first_MB"] = rssDuringRace.front();
        st.counters["rss_race_peak_MB"] =
            *std::max_element(rssDuringRace.begin(), rssDuringRace.end());
    }
    Report(st, "tick", app.ticks);
    Report(st, "tick_timer", app.timerTicks);
    Report(st, "tick_input", app.inputTicks);
    st.counters["ticks_timer"] = static_cast<double>(app.timerTicks.size());
    st.counters["ticks_input"] = static_cast<double>(app.inputTicks.size());
    Report(st, "tick_repaint", app.ticksWithRepaint);
    Report(st, "to_screen", toScreen);
    parts.Window().hide();
    socat.kill();
    socat.waitForFinished(3000);
    fs::remove_all(folder);
}
BENCHMARK(BM_RealTick)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
} // namespace kesto

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    kesto::TimingApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
