#pragma once

#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vexilon::samples {

struct ChildRun {
    int result = -1000;      // what the work returned
    long peakGrowthKiB = -1; // how far the child's peak memory rose above its start
};

// Runs work in a forked child, so that its peak memory is its own and not
// the test process's earlier high-water mark.
inline ChildRun runInChild(const std::function<int()>& work) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        rusage before{};
        ::getrusage(RUSAGE_SELF, &before);
        ChildRun run;
        run.result = work();
        rusage after{};
        ::getrusage(RUSAGE_SELF, &after);
        run.peakGrowthKiB = after.ru_maxrss - before.ru_maxrss;
        const bool sent = ::write(channel[1], &run, sizeof run) == sizeof run;
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    ChildRun run;
    if (child < 0 || ::read(channel[0], &run, sizeof run) != sizeof run) {
        run = {};
    }
    ::close(channel[0]);
    if (child > 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
    }
    return run;
}

} // namespace vexilon::samples
