#pragma once
// What the PDF benchmarks share: the spread of paired measurements and the processor time
// and peak memory of a finished child process.

#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <vector>

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

} // namespace tavlo::bench
