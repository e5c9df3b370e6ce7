// The simulator's run loop and its side of the line: what it reads, and writing it out.
#include "simulator.h"

#include "line_rate.h"
#include "log.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <poll.h>
#include <unistd.h>

namespace civsim {

namespace {

std::vector<Radio> makeRadios(const Options& options)
{
    std::vector<Radio> radios;
    for (const RadioConfig& config : options.radios) {
        Radio& radio = radios.emplace_back(config, options.transceive);
        radio.limitTo(options.lowestHz, options.highestHz);
        radio.setPowered(!options.off);
    }
    return radios;
}

std::uint32_t seedOf(const Options& options, std::uint32_t stream)
{
    return options.faults.seed ? *options.faults.seed + stream : std::random_device{}();
}

std::chrono::steady_clock::duration seconds(double value)
{
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(value));
}

} // namespace

bool Simulator::Periodic::fire(TimePoint now)
{
    if (period == Clock::duration::zero() || now < next) {
        return false;
    }
    next += period;
    if (next <= now) {
        next = now + period;
    }
    return true;
}

Simulator::Simulator(const Options& options, Transport& transport)
    : options_(options)
    , transport_(transport)
    , bus_(makeRadios(options), options.echo)
    , flood_(options.controller, bus_.radios())
    , rng_(seedOf(options, 0))
    , replyFaults_(options.faults, seedOf(options, 1))
    , inbound_(std::chrono::milliseconds(options.faults.netDelayMs),
               std::chrono::milliseconds(options.faults.netDelayMaxMs), seedOf(options, 2))
    , outbound_(std::chrono::milliseconds(options.faults.netDelayMs),
                std::chrono::milliseconds(options.faults.netDelayMaxMs), seedOf(options, 3))
{
    const TimePoint now = Clock::now();
    jam_ = {seconds(options.jamEverySeconds), now + seconds(options.jamEverySeconds)};
    noise_ = {seconds(options.noiseEverySeconds), now + seconds(options.noiseEverySeconds)};
    dial_ = {seconds(options.dialEverySeconds), now + seconds(options.dialEverySeconds)};
    chatter_ = {seconds(options.chatterEverySeconds), now + seconds(options.chatterEverySeconds)};
}

int Simulator::run(const volatile std::sig_atomic_t& stop,
                   const volatile std::sig_atomic_t& powerToggles, const sigset_t& waitMask)
{
    std::sig_atomic_t toggled = 0;
    while (!stop && !failed_) {
        if (toggled != powerToggles) {
            toggled = powerToggles;
            bus_.togglePower();
            std::cerr << "civ-sim: radios switched "
                      << (bus_.radios().front().powered() ? "on" : "off") << '\n';
        }
        const TimePoint now = Clock::now();
        runTimers(now);
        writeLine();

        std::array<pollfd, 1> fds{};
        const int line = transport_.lineFd();
        const int listener = transport_.listenFd();
        nfds_t count = 0;
        if (line >= 0) {
            fds[count++] = {line, static_cast<short>(POLLIN | (out_.empty() ? 0 : POLLOUT)), 0};
        } else if (listener >= 0) {
            fds[count++] = {listener, POLLIN, 0};
        }

        timespec timeout{};
        const timespec* wait = nullptr;
        if (const auto deadline = nextDeadline()) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                std::max(*deadline - now, Clock::duration::zero()))
                                .count();
            timeout = {static_cast<time_t>(ns / 1'000'000'000),
                       static_cast<long>(ns % 1'000'000'000)};
            wait = &timeout;
        }

        if (::ppoll(fds.data(), count, wait, &waitMask) < 0) {
            if (errno == EINTR) {
                continue;
            }
            std::cerr << "civ-sim: poll: " << std::strerror(errno) << '\n';
            return 1;
        }
        if (count == 0 || fds[0].revents == 0) {
            continue;
        }
        if (line < 0) {
            transport_.acceptClient();
            continue;
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            readLine(Clock::now());
        }
        if (fds[0].revents & POLLOUT) {
            writeLine();
        }
    }
    return failed_ ? 1 : 0;
}

void Simulator::readLine(TimePoint now)
{
    std::array<std::uint8_t, 4096> buffer{};
    while (transport_.lineFd() >= 0) {
        const ssize_t n = ::read(transport_.lineFd(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        }
        if (n <= 0) {
            lineGone();
            return;
        }
        inbound_.push({buffer.data(), static_cast<std::size_t>(n)}, now);
        if (const Bytes due = inbound_.take(now); !due.empty()) {
            hear(due, now);
        }
    }
}

void Simulator::hear(std::span<const std::uint8_t> wire, TimePoint now)
{
    lastRx_ = now;
    const std::optional<int> theirs = otherRate();
    const Bytes heard = theirs ? misheard(wire, *theirs, options_.rate) : Bytes();
    if (theirs) {
        log("misheard", heard);
    }
    SimBus::Output out = bus_.receive(theirs ? std::span<const std::uint8_t>(heard) : wire);
    for (const Frame& frame : out.received) {
        log("rx", frame.encode());
    }
    // The interface hands back what was sent, whatever the radios made of it.
    if (options_.echo) {
        out.echo.assign(wire.begin(), wire.end());
    }
    if (options_.garbleEcho) {
        for (std::uint8_t& b : out.echo) {
            b ^= 0x10;
        }
    }
    if (options_.faults.flipEchoBit) {
        echoFlipper_.flip(out.echo);
    }
    queue(out.echo, now);
    const auto due = now + std::chrono::milliseconds(options_.replyDelayMs);
    if (std::optional<Bytes> merged = collide(out.replies, options_.collide)) {
        pending_.push_back({due, {}, std::move(*merged)});
    }
    queueReplies(out.replies, due);
}

void Simulator::writeLine()
{
    while (!out_.empty() && transport_.lineFd() >= 0) {
        const ssize_t n = ::write(transport_.lineFd(), out_.data(), out_.size());
        if (n > 0) {
            out_.erase(out_.begin(), out_.begin() + n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        } else {
            lineGone();
        }
    }
}

void Simulator::lineGone()
{
    out_.clear();
    pending_.clear();
    inbound_.clear();
    outbound_.clear();
    if (!transport_.lineClosed()) {
        std::cerr << "civ-sim: line lost: " << transport_.address() << '\n';
        failed_ = true;
    }
}

} // namespace civsim
