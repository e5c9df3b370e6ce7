#include "test_process.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace civsim::test {

namespace {

using Clock = std::chrono::steady_clock;

bool readable(int fd, Clock::time_point end)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    pollfd p{fd, POLLIN, 0};
    return left.count() > 0 && ::poll(&p, 1, static_cast<int>(left.count())) > 0;
}

} // namespace

TestProcess::TestProcess(const std::vector<std::string>& args)
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) < 0) {
        throw std::runtime_error("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], 2);

    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const int rc = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    output_ = pipe[0];
    if (rc != 0) {
        throw std::runtime_error("cannot start " + args[0]);
    }
}

TestProcess::~TestProcess()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    ::close(output_);
}

std::optional<std::string> TestProcess::readLine()
{
    const auto end = Clock::now() + kDeadline;
    std::size_t nl = 0;
    while ((nl = pending_.find('\n')) == std::string::npos) {
        char buffer[256];
        const ssize_t n = readable(output_, end) ? ::read(output_, buffer, sizeof buffer) : 0;
        if (n <= 0) {
            return std::nullopt;
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
    std::string line = pending_.substr(0, nl);
    pending_.erase(0, nl + 1);
    return line;
}

void TestProcess::signal(int sig) const
{
    ::kill(pid_, sig);
}

std::optional<int> TestProcess::waitExit()
{
    const auto end = Clock::now() + kDeadline;
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) != pid_) {
        if (Clock::now() > end) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(5ms);
    }
    pid_ = -1;
    return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
}

ScopedFd::~ScopedFd()
{
    ::close(fd);
}

std::vector<std::uint8_t> readBytes(int fd, std::size_t count)
{
    const auto end = Clock::now() + kDeadline;
    std::vector<std::uint8_t> bytes(count);
    std::size_t got = 0;
    while (got < count && readable(fd, end)) {
        const ssize_t n = ::read(fd, bytes.data() + got, count - got);
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

void writeAll(int fd, const std::vector<std::uint8_t>& bytes)
{
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("short write");
    }
}

} // namespace civsim::test
