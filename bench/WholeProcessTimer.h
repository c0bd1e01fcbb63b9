// Times a program as a whole process: from spawning it to reaping it, with
// its standard input read from a file and its output thrown away. No shell
// and no fork of a large process in between, so nothing of the timing
// harness counts against the program.
#pragma once
#include <optional>
#include <string>
#include <vector>

struct ProcessTimes {
    double seconds = 0;    // from spawn to reaping, on the wall clock
    double cpuSeconds = 0; // the process's user and system time
};

// The times the run took, or nothing (with a message on standard error)
// when it could not be started or did not exit with status 0.
// `command` is the program and its arguments.
std::optional<ProcessTimes> TimeWholeProcess(const std::vector<std::string>& command, const std::string& inputFile);

// User and system time of this process so far, in seconds.
double OwnCpuSeconds();
