// A child process of the test, stopped by its PID when the object goes (and
// by the kernel, through the parent-death signal, if the test dies first).
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
public:
    // Starts `argv` with `environment` added to ours. With `captureStdout` the
    // child's stdout is readable through ReadLine().
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 bool captureStdout);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return m_pid; }
    bool Running() const { return m_pid > 0; }
    // One line of the child's stdout without its newline; empty at the end.
    std::string ReadLine();
    // Sends `signal` and waits for the child to end.
    void Stop(int signal);
    // Waits for the child to end by itself: its exit status, or -1 when it
    // was ended by a signal.
    int Wait();

private:
    pid_t m_pid = -1;
    int m_stdout = -1;
};
