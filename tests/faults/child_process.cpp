#include "child_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kesto::faults {

bool ChildRun::Said(const std::string& line) const {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<std::string> ChildRun::Starting(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    return found;
}

ChildRun RunChild(const std::string& program, const std::vector<std::string>& arguments,
                  std::chrono::milliseconds limit, const std::string& killAfterLine,
                  std::chrono::microseconds killDelay) {
    using Clock = std::chrono::steady_clock;
    ChildRun run;
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::vector<std::string> all = {program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const auto started = Clock::now();
    const int spawned =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        return run;
    }
    std::string pending;
    bool open = true;
    while (open) {
        const auto left =
            limit - std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
        if (left.count() <= 0)
            break;
        pollfd poll{out[0], POLLIN, 0};
        if (::poll(&poll, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = ::read(out[0], buffer, sizeof buffer);
        if (got <= 0) {
            open = false;
            break;
        }
        pending.append(buffer, static_cast<size_t>(got));
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            run.lines.push_back(pending.substr(0, end));
            pending.erase(0, end + 1);
            if (!killAfterLine.empty() && run.lines.back() == killAfterLine) {
                std::this_thread::sleep_for(killDelay);
                ::kill(pid, SIGKILL);
            }
        }
    }
    ::close(out[0]);
    if (open)
        ::kill(pid, SIGKILL); // out of time
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    run.peakKilobytes = usage.ru_maxrss;
    run.killed = WIFSIGNALED(status);
    run.exited = WIFEXITED(status) && !open;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace kesto::faults
