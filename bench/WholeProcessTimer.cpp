#include "WholeProcessTimer.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

extern char** environ;

namespace {

// The child's standard input from `inputFile`, its output to /dev/null.
bool RedirectStreams(posix_spawn_file_actions_t& actions, const std::string& inputFile)
{
    return posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, inputFile.c_str(), O_RDONLY, 0) == 0 &&
           posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0) == 0 &&
           posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0) == 0;
}

double Seconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double CpuSeconds(const rusage& usage)
{
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

} // namespace

double OwnCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return CpuSeconds(usage);
}

std::optional<ProcessTimes> TimeWholeProcess(const std::vector<std::string>& command, const std::string& inputFile)
{
    if (command.empty())
        return std::nullopt;
    const std::string& program = command.front();
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return std::nullopt;
    std::optional<ProcessTimes> times;
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    int error = RedirectStreams(actions, inputFile) ? posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ)
                                                    : EINVAL;
    int status = 0;
    rusage usage{};
    if (error == 0 && wait4(pid, &status, 0, &usage) != pid)
        error = errno;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        std::fprintf(stderr, "pcsc-replay: cannot run %s: %s\n", program.c_str(), std::strerror(error));
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "pcsc-replay: %s ended with status 0x%x\n", program.c_str(), static_cast<unsigned>(status));
    else
        times = ProcessTimes{elapsed.count(), CpuSeconds(usage)};
    return times;
}
