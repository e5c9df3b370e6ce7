// The simulator's line to the controller: a pseudo-terminal, a device or a TCP port.
#pragma once

#include "options.h"

#include <memory>
#include <optional>
#include <string>

namespace civsim {

// Owns a file descriptor and closes it.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd)
        : fd_(fd)
    {}
    UniqueFd(UniqueFd&& other) noexcept
        : fd_(other.release())
    {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    int get() const { return fd_; }
    int release();
    void reset();

private:
    int fd_ = -1;
};

// Where the simulated bus meets the controller. Errors throw std::runtime_error.
class Transport {
public:
    virtual ~Transport() = default;

    // What the user opens: a device path, or tcp://HOST:PORT.
    virtual std::string address() const = 0;
    // Carries bus bytes, non-blocking; -1 while no client is connected.
    virtual int lineFd() const = 0;
    // Polled for a new client while lineFd() is -1; -1 when there is no such thing.
    virtual int listenFd() const { return -1; }
    virtual void acceptClient() {}
    // The other end went away. False when the line cannot come back.
    virtual bool lineClosed() { return false; }
    // Nobody reads the line: drop what waits there, as a real line would lose it.
    virtual void discardUnread() {}
    // The rate the controller set on its side, where that can be seen.
    virtual std::optional<int> controllerRate() const { return std::nullopt; }
};

std::unique_ptr<Transport> openTransport(const Options& options);

} // namespace civsim
