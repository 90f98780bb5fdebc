// decoder-sim: plays the timing decoder on a serial device or pseudo-terminal,
// so the timer can be tried (and tested) without cars. See --help.

#include "tools/decoder-sim/decoder_lines.h"
#include "tools/decoder-sim/passing_plan.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace kesto::sim;

namespace {

const char* const Usage = R"(usage: decoder-sim --device PATH [options]

Sends the decoder's lines to PATH (a serial device or a pseudo-terminal):
"@00hhmmss" every second of the decoder's clock, and "@IIhhmmsshh" for every
car that passes the sensor.

Cars:
  --cars N            cars with IDs 1..N (default 14)
  --lap SECONDS       shortest lap of car 1 (default 5); each further ID is
                      --step SECONDS slower (default 0.15)
  --spread SECONDS    random extra time per lap (default 0.5)
  --crash PERCENT     chance per lap of a crash (default 5)
  --crash-time SECONDS  time a crash costs (default 3)
  --bounce PERCENT    chance per passing that the sensor reads the car a second
                      time 0.05 to 0.3 s later (default 0); the timer must drop
                      it by its minimum lap time
  --laps N            laps per car (default 10); 0 with --duration for a timed run
  --duration SECONDS  stop sending passings after this decoder time
  --seed N            random seed (default 1)
  --script FILE       passings from FILE instead: one "seconds id" per line
Timing:
  --start now|signal  start the clock at once (default) or on SIGUSR1, as a real
                      decoder starts when the timer raises RTS; it says "ready"
                      on standard error once it waits (the --log is written by then)
  --speed FACTOR      run the decoder's clock FACTOR times faster than real time
  --tail SECONDS      keep sending clock lines this long after the last passing
                      (default 30), so the timer can close the race
  --restart-clock     restart the decoder's clock from zero each time RTS rises
                      again, as some decoders do when the timer resumes a race
                      or reopens its port. A pseudo-terminal has no RTS line,
                      so SIGUSR1 stands for each raise (with --start signal the
                      first one starts the clock); from a restart on, lines are
                      stamped from zero and clock lines come at the decoder's
                      own whole seconds. It says "clock restarted at S s" on
                      standard error. Times in its messages and in the --log
                      are race time: since the clock first started
Real-world mess:
  --crlf              end lines with CR LF instead of LF
  --split             split every line across two writes
  --burst             send a whole second's lines in one write
  --garbage PERCENT   chance of a garbage line before each line
  --no-final-lf       send the last passing without its line feed
  --reconnect         when a write fails (the device is gone: a USB cable
                      pulled, the pseudo-terminal closed) keep the clock
                      running and try to open PATH again every 100 ms, then
                      go on sending; lines due while the link was down are
                      lost, as with a real decoder. It says "link lost at S s"
                      and "reconnected at S s" (decoder time) on standard
                      error; every line due from the reconnect time on is sent
Output:
  --log FILE          write every passing sent as "seconds id" (script format)
)";

volatile std::sig_atomic_t g_started = 0;
void OnStartSignal(int) {
    g_started = 1;
}

struct Options {
    std::string device;
    CarPlan plan;
    std::string script;
    bool startOnSignal = false;
    double speed = 1;
    double tailSeconds = 30;
    bool crlf = false, split = false, burst = false, noFinalLf = false, reconnect = false;
    bool restartClock = false;
    double garbagePercent = 0;
    std::string log;
};

[[noreturn]] void Fail(const std::string& message) {
    std::cerr << "decoder-sim: " << message << "\n";
    std::exit(2);
}

Options Parse(int argc, char** argv) {
    Options o;
    auto value = [&](int& i) -> std::string {
        if (i + 1 >= argc)
            Fail(std::string(argv[i]) + " needs a value");
        return argv[++i];
    };
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << Usage;
            std::exit(0);
        } else if (a == "--device")
            o.device = value(i);
        else if (a == "--cars")
            o.plan.cars = std::stoi(value(i));
        else if (a == "--lap")
            o.plan.lapSeconds = std::stod(value(i));
        else if (a == "--step")
            o.plan.carStepSeconds = std::stod(value(i));
        else if (a == "--spread")
            o.plan.spreadSeconds = std::stod(value(i));
        else if (a == "--crash")
            o.plan.crashPercent = std::stod(value(i));
        else if (a == "--crash-time")
            o.plan.crashSeconds = std::stod(value(i));
        else if (a == "--bounce")
            o.plan.bouncePercent = std::stod(value(i));
        else if (a == "--laps")
            o.plan.laps = std::stoi(value(i));
        else if (a == "--duration")
            o.plan.durationSeconds = std::stod(value(i));
        else if (a == "--seed")
            o.plan.seed = static_cast<uint32_t>(std::stoul(value(i)));
        else if (a == "--script")
            o.script = value(i);
        else if (a == "--start") {
            std::string s = value(i);
            if (s != "now" && s != "signal")
                Fail("--start takes now or signal");
            o.startOnSignal = s == "signal";
        } else if (a == "--speed")
            o.speed = std::stod(value(i));
        else if (a == "--tail")
            o.tailSeconds = std::stod(value(i));
        else if (a == "--crlf")
            o.crlf = true;
        else if (a == "--split")
            o.split = true;
        else if (a == "--burst")
            o.burst = true;
        else if (a == "--garbage")
            o.garbagePercent = std::stod(value(i));
        else if (a == "--no-final-lf")
            o.noFinalLf = true;
        else if (a == "--reconnect")
            o.reconnect = true;
        else if (a == "--restart-clock")
            o.restartClock = true;
        else if (a == "--log")
            o.log = value(i);
        else
            Fail("unknown option " + a + " (see --help)");
    }
    if (o.device.empty())
        Fail("--device is required (see --help)");
    if (o.speed <= 0)
        Fail("--speed must be above 0");
    return o;
}

// The device set up for the decoder's line, or -1 with errno set.
int TryOpenDevice(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return -1;
    termios tio{};
    if (tcgetattr(fd, &tio) == 0) { // 9600 8N1, raw; a pseudo-terminal ignores the speed
        cfmakeraw(&tio);
        cfsetispeed(&tio, B9600);
        cfsetospeed(&tio, B9600);
        tio.c_cflag |= CLOCAL | CREAD;
        tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

int OpenDevice(const std::string& path) {
    int fd = TryOpenDevice(path);
    if (fd < 0)
        Fail("cannot open " + path + ": " + std::strerror(errno));
    return fd;
}

// False, with the reason, when the device refused the bytes.
bool WriteAll(int fd, const std::string& bytes, std::string* error) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                continue;
            }
            *error = std::string("write failed: ") + std::strerror(errno);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string Seconds(int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(ms) / 1000);
    return text;
}

// One line the decoder sends, by race time (since its clock first started).
// A line is written out in the decoder's time when it is sent, so that a clock
// restarted meanwhile stamps it from zero.
struct Output {
    enum Kind { Clock, Passing, Noise };
    int64_t ms = 0;
    Kind kind = Clock;
    int id = 0;          // Passing
    bool lineEnd = true; // false: the passing goes without its line end
    std::string noise;   // Noise: the whole line
};

Output Line(int64_t ms, Output::Kind kind, int id = 0) {
    Output out;
    out.ms = ms;
    out.kind = kind;
    out.id = id;
    return out;
}

std::string Render(const Output& out, int64_t decoderMs, bool crlf) {
    switch (out.kind) {
    case Output::Clock:
        return ClockLine(decoderMs, crlf);
    case Output::Passing: {
        std::string line = DetectionLine(out.id, decoderMs, crlf);
        return out.lineEnd ? line : line.substr(0, line.find_first_of("\r\n"));
    }
    case Output::Noise:
        break;
    }
    return out.noise;
}

// After the clock restarted at race time `restart`: its clock lines from
// then on come at each of its own whole seconds, beginning at once.
void RescheduleClock(std::vector<Output>& outputs, size_t from, int64_t restart, int64_t end) {
    std::vector<Output> rest;
    for (size_t i = from; i < outputs.size(); ++i)
        if (outputs[i].kind != Output::Clock)
            rest.push_back(outputs[i]);
    for (int64_t ms = restart; ms <= end; ms += 1000)
        rest.push_back(Line(ms, Output::Clock));
    // As planned at the start: a clock line goes before a passing of the same moment.
    std::stable_sort(rest.begin(), rest.end(), [](const Output& a, const Output& b) {
        return a.ms != b.ms ? a.ms < b.ms : (a.kind == Output::Clock && b.kind != Output::Clock);
    });
    outputs.resize(from);
    outputs.insert(outputs.end(), rest.begin(), rest.end());
}

} // namespace

int main(int argc, char** argv) {
    Options o = Parse(argc, argv);
    // Before anything else: an early start signal must neither end the program
    // nor be lost. It stays blocked (pending) until the wait below.
    sigset_t startSignal, unblocked;
    sigemptyset(&startSignal);
    sigaddset(&startSignal, SIGUSR1);
    if (o.startOnSignal || o.restartClock) {
        std::signal(SIGUSR1, OnStartSignal);
        sigprocmask(SIG_BLOCK, &startSignal, &unblocked);
    }

    std::vector<Passing> passings;
    if (!o.script.empty()) {
        std::ifstream in(o.script);
        if (!in)
            Fail("cannot read " + o.script);
        std::string error;
        passings = ReadScript(in, &error);
        if (!error.empty())
            std::cerr << "decoder-sim: " << error;
    } else {
        passings = PlanRace(o.plan);
    }

    // Everything the decoder will send, in time order: clock lines each second
    // from 0 to the tail's end, passings at their times.
    int64_t lastPassing = passings.empty() ? 0 : passings.back().ms;
    int64_t end = lastPassing + static_cast<int64_t>(o.tailSeconds * 1000);
    std::vector<Output> outputs;
    std::mt19937 random(o.plan.seed + 7);
    std::uniform_real_distribution<double> unit(0, 1);
    auto garbage = [&](int64_t ms) {
        if (o.garbagePercent > 0 && unit(random) * 100 < o.garbagePercent) {
            outputs.push_back(Line(ms, Output::Noise));
            outputs.back().noise = "#noise " + std::to_string(ms) + (o.crlf ? "\r\n" : "\n");
        }
    };
    size_t next = 0;
    for (int64_t second = 0; second * 1000 <= end; ++second) {
        while (next < passings.size() && passings[next].ms < second * 1000) {
            garbage(passings[next].ms);
            outputs.push_back(Line(passings[next].ms, Output::Passing, passings[next].id));
            ++next;
        }
        garbage(second * 1000);
        outputs.push_back(Line(second * 1000, Output::Clock));
    }
    if (o.noFinalLf) {
        // The last passing goes without its line end, at the very end.
        for (auto it = outputs.rbegin(); it != outputs.rend(); ++it)
            if (it->kind == Output::Passing) {
                Output last = *it;
                last.lineEnd = false;
                outputs.erase(std::next(it).base());
                last.ms = end + 1;
                outputs.push_back(last);
                break;
            }
    }

    if (!o.log.empty()) {
        std::ofstream log(o.log);
        for (const Passing& p : passings)
            log << p.ms / 1000 << "." << (p.ms % 1000) / 10 / 10 << (p.ms % 1000) / 10 % 10 << " "
                << p.id << "\n";
    }

    int fd = OpenDevice(o.device);
    if (o.startOnSignal) {
        std::cerr << "decoder-sim: ready, waiting for SIGUSR1 (pid " << getpid() << ")\n";
        while (!g_started)
            sigsuspend(&unblocked);
        // With --restart-clock the signal stays blocked: each one is taken
        // from the waits between lines below.
        if (!o.restartClock)
            sigprocmask(SIG_SETMASK, &unblocked, nullptr);
    }
    std::cerr << "decoder-sim: timing " << passings.size() << " passings\n";

    auto start = std::chrono::steady_clock::now();
    auto due = [&](int64_t ms) {
        return start + std::chrono::microseconds(static_cast<int64_t>(ms * 1000 / o.speed));
    };
    // Race time now: milliseconds of the decoder's clock since it first started.
    auto raceNow = [&] {
        const auto real = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - start);
        return static_cast<int64_t>(static_cast<double>(real.count()) * o.speed / 1000);
    };
    // Race time at which the decoder's clock last started from zero.
    int64_t restartedAt = 0;
    // Waits until `until`; true when the start signal came meanwhile (RTS rose again).
    auto waitUntil = [&](std::chrono::steady_clock::time_point until) {
        if (!o.restartClock) {
            std::this_thread::sleep_until(until);
            return false;
        }
        for (;;) {
            const auto left = until - std::chrono::steady_clock::now();
            if (left <= std::chrono::steady_clock::duration::zero())
                return false;
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timespec timeout{static_cast<time_t>(ns / 1000000000),
                             static_cast<long>(ns % 1000000000)};
            if (sigtimedwait(&startSignal, nullptr, &timeout) == SIGUSR1)
                return true;
        }
    };
    for (size_t i = 0; i < outputs.size();) {
        // A burst gathers everything up to the decoder's next whole second.
        size_t j = i + 1;
        int64_t sendAt = outputs[i].ms;
        if (o.burst) {
            int64_t second = restartedAt + (outputs[i].ms - restartedAt) / 1000 * 1000 + 1000;
            while (j < outputs.size() && outputs[j].ms < second)
                ++j;
            sendAt = outputs[j - 1].ms;
        }
        if (waitUntil(due(sendAt))) {
            restartedAt = std::max(raceNow(), restartedAt);
            RescheduleClock(outputs, i, restartedAt, end);
            std::cerr << "decoder-sim: clock restarted at " << Seconds(restartedAt) << " s\n";
            continue;
        }
        std::string chunk;
        for (size_t k = i; k < j; ++k)
            chunk += Render(outputs[k], outputs[k].ms - restartedAt, o.crlf);
        std::string error;
        bool sent;
        if (o.split && chunk.size() > 2) {
            sent = WriteAll(fd, chunk.substr(0, chunk.size() / 2), &error);
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
            sent = sent && WriteAll(fd, chunk.substr(chunk.size() / 2), &error);
        } else {
            sent = WriteAll(fd, chunk, &error);
        }
        if (!sent && !o.reconnect)
            Fail(error);
        if (!sent) {
            // The device is gone. The decoder's clock runs on; what falls due
            // until the device is back is lost.
            ::close(fd);
            std::cerr << "decoder-sim: link lost at " << Seconds(sendAt) << " s (" << error
                      << "); opening " << o.device << " again every 100 ms\n";
            while ((fd = TryOpenDevice(o.device)) < 0) {
                if (raceNow() > end)
                    Fail("the device never came back");
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            const int64_t back = raceNow();
            std::cerr << "decoder-sim: reconnected at " << Seconds(back) << " s\n";
            while (j < outputs.size() && outputs[j].ms < back)
                ++j;
        }
        i = j;
    }
    tcdrain(fd);
    ::close(fd);
    return 0;
}
