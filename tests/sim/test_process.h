#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace civsim::test {

using namespace std::chrono_literals;

// Generous so that a loaded CI machine does not fail the tests.
inline constexpr std::chrono::milliseconds kDeadline = 5s;

// A child process whose stdout and stderr come back through one pipe; killed if still running.
class TestProcess {
public:
    explicit TestProcess(const std::vector<std::string>& args);
    ~TestProcess();
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;

    std::optional<std::string> readLine();
    void signal(int sig) const;
    // The exit status; empty if it has not exited in time or died from a signal.
    std::optional<int> waitExit();

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
};

// Closes the descriptor at the end of the scope.
struct ScopedFd {
    explicit ScopedFd(int fd)
        : fd(fd)
    {}
    ~ScopedFd();
    ScopedFd(const ScopedFd&) = delete;
    ScopedFd& operator=(const ScopedFd&) = delete;
    const int fd;
};

// Reads until `count` bytes arrived or the deadline passed; returns what arrived.
std::vector<std::uint8_t> readBytes(int fd, std::size_t count);
void writeAll(int fd, const std::vector<std::uint8_t>& bytes);

} // namespace civsim::test
