#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                           bool captureStdout)
{
    int pipeFds[2] = {-1, -1};
    if (captureStdout && pipe2(pipeFds, O_CLOEXEC) != 0)
        return;
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t parent = getpid();
    m_pid = fork();
    if (m_pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        for (const std::string& variable : environment)
            putenv(const_cast<char*>(variable.c_str()));
        if (captureStdout) {
            dup2(pipeFds[1], STDOUT_FILENO);
            close(pipeFds[0]);
            close(pipeFds[1]);
        }
        execvp(args[0], args.data());
        _exit(127);
    }
    if (captureStdout) {
        close(pipeFds[1]);
        m_stdout = pipeFds[0];
    }
}

ChildProcess::~ChildProcess()
{
    Stop(SIGTERM);
    if (m_stdout >= 0)
        close(m_stdout);
}

std::string ChildProcess::ReadLine()
{
    std::string line;
    char c = 0;
    while (m_stdout >= 0) {
        ssize_t n = read(m_stdout, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || c == '\n')
            break;
        line += c;
    }
    return line;
}

void ChildProcess::Stop(int signal)
{
    if (m_pid <= 0)
        return;
    kill(m_pid, signal);
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
}

int ChildProcess::Wait()
{
    if (m_pid <= 0)
        return -1;
    int status = 0;
    pid_t ended = -1;
    while ((ended = waitpid(m_pid, &status, 0)) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    return ended > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
