#pragma once
// One run of a child program: its standard output line by line, a time
// limit, SIGKILL on demand, and the peak memory the kernel saw it use.

#include <chrono>
#include <string>
#include <vector>

namespace kesto::faults {

struct ChildRun {
    std::vector<std::string> lines; // what it printed
    bool exited = false;            // it ended by itself within the time
    int exitCode = -1;
    bool killed = false;    // ended by a signal (ours or not)
    long peakKilobytes = 0; // its largest resident set
    double seconds = 0;     // from start to end
    bool Said(const std::string& line) const;
    // The lines that begin with `prefix`.
    std::vector<std::string> Starting(const std::string& prefix) const;
};

// Runs `program` with `arguments` until it ends or `limit` passes (then it
// is killed). With `killAfterLine` it is killed as soon as it prints that line,
// after `killDelay` more.
ChildRun RunChild(const std::string& program, const std::vector<std::string>& arguments,
                  std::chrono::milliseconds limit, const std::string& killAfterLine = {},
                  std::chrono::microseconds killDelay = {});

} // namespace kesto::faults
