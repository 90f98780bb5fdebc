#pragma once
// Driving the whole timer from outside, as a club volunteer would: a
// pseudo-terminal pair made by socat, decoder-sim at one end, the program's
// Start button and start lights, the race timer left to run, and the results
// saved through the viewers' Save menus.

#include "app/kesto_program.h"
#include "support/test_doubles.h"

#include <QProcess>

#include <filesystem>
#include <functional>
#include <string>

namespace kesto::e2e {

// socat joining two pseudo-terminals, reachable through two symbolic links.
class PseudoTerminalPair final {
public:
    static bool Available(); // socat is installed
    PseudoTerminalPair() = default;
    ~PseudoTerminalPair();
    PseudoTerminalPair(const PseudoTerminalPair&) = delete;
    PseudoTerminalPair& operator=(const PseudoTerminalPair&) = delete;

    // False, with socat's words in `why`, when the links did not appear.
    bool Open(const std::filesystem::path& oneEnd, const std::filesystem::path& otherEnd,
              std::string* why);

private:
    QProcess m_socat;
};

// decoder-sim, started with "--start signal": it plans its race, writes its
// log and waits for the start signal, as a decoder waits for RTS.
class DecoderSimProcess final {
public:
    static std::filesystem::path Program(); // the one built beside the tests
    DecoderSimProcess() = default;
    ~DecoderSimProcess();
    DecoderSimProcess(const DecoderSimProcess&) = delete;
    DecoderSimProcess& operator=(const DecoderSimProcess&) = delete;

    // True once it said it is ready; otherwise `why` holds what it said.
    bool Launch(const QStringList& arguments, std::string* why);
    // Launch playing `script` (decoder-sim's "seconds id" lines) on `device`,
    // its clock `speed` times real time, with `tailSeconds` of clock lines
    // after the last passing and `more` arguments.
    bool LaunchScript(const std::filesystem::path& device, const std::filesystem::path& script,
                      double speed, int tailSeconds, std::string* why, QStringList more = {});
    void StartClock(); // SIGUSR1
    // SIGUSR1 again, once its clock runs: with --restart-clock it restarts it.
    void RaiseRtsAgain();
    bool ClockStarted() const { return m_started; }
    std::string Output(); // what it wrote to standard error so far

private:
    QProcess m_process;
    std::string m_errors;
    bool m_started = false;
};

// Presses the main window's Start button. The start lights open modally; their
// one-second tick is driven here until they release the race, and `atGreen`
// runs the moment timing begins. False, with the reason, when the lights never
// opened or never turned green.
bool PressStartThroughTheLights(KestoProgram& program, const std::function<void()>& atGreen,
                                std::string* why);

// Lets the race timer run (the event loop turns) until the race closes or
// `timeoutMs` has passed. True when it closed.
bool RunUntilRaceCloses(KestoProgram& program, int timeoutMs);

// The four result files, saved through "View Data" > "Summary" / "Lap Times"
// and each viewer's Save menu, the save dialogs answered with paths in `folder`.
struct SavedResults {
    std::string lapGrid, lapText, summaryGrid, summaryText; // file contents
    std::vector<std::string> paths;
};
SavedResults SaveResults(KestoProgram& program, test::FakeDialogs& dialogs,
                         const std::filesystem::path& folder, std::string* why);

} // namespace kesto::e2e
