// The process's CPU time from the system, and its memory from /proc/self/status.
#include "process_usage.h"

#include <fstream>
#include <string>
#include <sys/resource.h>

namespace bench {

namespace {

double seconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

long statusKb(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string name;
    long value = -1;
    while (status >> name) {
        if (name == key) {
            status >> value;
            return value;
        }
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

} // namespace

Usage usageNow()
{
    Usage u;
    u.wall = std::chrono::steady_clock::now();
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    u.cpuSeconds = seconds(r.ru_utime) + seconds(r.ru_stime);
    u.rssKb = statusKb("VmRSS:");
    return u;
}

long peakRssKb()
{
    return statusKb("VmHWM:");
}

double wallSeconds(const Usage& from, const Usage& to)
{
    return std::chrono::duration<double>(to.wall - from.wall).count();
}

double cpuPercent(const Usage& from, const Usage& to)
{
    const double wall = wallSeconds(from, to);
    return wall > 0 ? 100.0 * (to.cpuSeconds - from.cpuSeconds) / wall : 0.0;
}

} // namespace bench
