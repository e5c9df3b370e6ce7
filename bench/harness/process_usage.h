// The process's CPU time and resident memory, sampled and compared.
#pragma once

#include <chrono>

namespace bench {

// CPU time of the whole process (all threads, user and system) and its resident memory.
struct Usage {
    std::chrono::steady_clock::time_point wall;
    double cpuSeconds = 0;
    long rssKb = 0;
};

Usage usageNow();
// Highest resident memory so far, from /proc/self/status.
long peakRssKb();

// CPU time over wall time between two samples, in % of one core.
double cpuPercent(const Usage& from, const Usage& to);
double wallSeconds(const Usage& from, const Usage& to);

} // namespace bench
