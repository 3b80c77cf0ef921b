#pragma once
// What the PDF benchmarks share: the spread of paired measurements, the processor time and
// peak memory of a finished child process, and a case run in a fresh process of its own.

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace tavlo::bench {

struct Spread {
    double min = 0, median = 0, max = 0;
};

inline Spread SpreadOf(std::vector<double> values)
{
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

struct ChildUsage {
    double cpu = -1;  // user plus system seconds
    double peakMb = 0;
    bool ok = false;  // ended by exit status 0
};

inline ChildUsage WaitChild(pid_t pid)
{
    ChildUsage usage;
    int status = 0;
    rusage r{};
    if (wait4(pid, &status, 0, &r) != pid)
        return usage;
    usage.cpu = double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) + double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
    usage.peakMb = double(r.ru_maxrss) / 1024;
    usage.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return usage;
}

// Processor time of this process so far, in seconds.
inline double ProcessSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The most memory this process has held resident (VmHWM), in MiB. A spawned child's
// ru_maxrss starts from its parent's peak; its own VmHWM starts from nothing.
inline double PeakMib()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024;
    return -1;
}

struct SelfRun {
    std::string output;  // what the child printed
    ChildUsage usage;
};

// This program again in a fresh process with the arguments given.
inline SelfRun RunSelf(const std::vector<std::string>& args)
{
    SelfRun run;
    int ends[2];
    if (pipe(ends) != 0)
        return run;
    std::vector<std::string> all = {"/proc/self/exe"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    char chunk[4096];
    for (ssize_t n; started && (n = read(ends[0], chunk, sizeof chunk)) > 0;)
        run.output.append(chunk, std::size_t(n));
    close(ends[0]);
    if (started)
        run.usage = WaitChild(pid);
    return run;
}

} // namespace tavlo::bench
