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

// A frame half received for longer than this was abandoned; radios stop waiting for it.
constexpr auto kAbandonedFrame = std::chrono::milliseconds(50);
// Flood frames are queued this far ahead of the line, to keep wake-ups few.
constexpr auto kFloodLead = std::chrono::milliseconds(10);
// More than this waiting means nobody reads the line.
constexpr std::size_t kMaxQueued = std::size_t{64} * 1024;

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
    , rng_(std::random_device{}())
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

        lastRx_ = now;
        const std::span<const std::uint8_t> wire{buffer.data(), static_cast<std::size_t>(n)};
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
        queue(out.echo, now);
        const auto due = now + std::chrono::milliseconds(options_.replyDelayMs);
        if (std::optional<Bytes> merged = collide(out.replies, options_.collide)) {
            pending_.push_back({due, {}, std::move(*merged)});
        }
        for (const Frame& reply : out.replies) {
            pending_.push_back({due, reply, {}});
        }
    }
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
    if (!transport_.lineClosed()) {
        std::cerr << "civ-sim: line lost: " << transport_.address() << '\n';
        failed_ = true;
    }
}

void Simulator::runTimers(TimePoint now)
{
    if (jam_.fire(now)) {
        static constexpr std::array<std::uint8_t, 1> kJamCode{kJam};
        log("tx", kJamCode);
        send(kJamCode, now);
    }
    if (noise_.fire(now)) {
        const Bytes noise = noiseBurst(rng_);
        log("tx", noise);
        send(noise, now);
    }
    if (dial_.fire(now)) {
        for (Frame& report : bus_.turnDials()) {
            pending_.push_back({now, std::move(report), {}});
        }
    }
    if (chatter_.fire(now)) {
        pending_.push_back({now, chatterReport(flood_.stationA(), chatterCount_++), {}});
    }
    while (!pending_.empty() && pending_.front().due <= now && !busBusy(now)) {
        sendPending(pending_.front(), now);
        pending_.pop_front();
    }
    if (options_.flood && transport_.lineFd() >= 0 && !busBusy(now)) {
        while (lineFreeAt_ <= now + kFloodLead) {
            sendFrame(flood_.next(bus_.radios()), now);
        }
    }
}

std::optional<Simulator::TimePoint> Simulator::nextDeadline() const
{
    std::optional<TimePoint> next;
    const auto consider = [&next](TimePoint t) { next = next ? std::min(*next, t) : t; };
    if (jam_.period != Clock::duration::zero()) {
        consider(jam_.next);
    }
    if (noise_.period != Clock::duration::zero()) {
        consider(noise_.next);
    }
    if (dial_.period != Clock::duration::zero()) {
        consider(dial_.next);
    }
    if (chatter_.period != Clock::duration::zero()) {
        consider(chatter_.next);
    }

    // Radios hold their output while a frame is coming in, up to kAbandonedFrame.
    const TimePoint busFree = bus_.receiving() ? lastRx_ + kAbandonedFrame : TimePoint{};
    if (!pending_.empty()) {
        consider(std::max(pending_.front().due, busFree));
    }
    if (options_.flood && transport_.lineFd() >= 0) {
        consider(std::max(lineFreeAt_ - kFloodLead, busFree));
    }
    return next;
}

bool Simulator::busBusy(TimePoint now) const
{
    return bus_.receiving() && now - lastRx_ < kAbandonedFrame;
}

std::optional<int> Simulator::otherRate() const
{
    const std::optional<int> theirs = options_.rate ? transport_.controllerRate() : std::nullopt;
    return theirs && *theirs != options_.rate ? theirs : std::nullopt;
}

void Simulator::send(std::span<const std::uint8_t> bytes, TimePoint now)
{
    if (const std::optional<int> theirs = otherRate()) {
        const Bytes heard = misheard(bytes, options_.rate, *theirs);
        queue(heard, now);
    } else {
        queue(bytes, now);
    }
}

void Simulator::queue(std::span<const std::uint8_t> bytes, TimePoint now)
{
    if (bytes.empty() || transport_.lineFd() < 0) {
        return;
    }
    lineFreeAt_ = std::max(lineFreeAt_, now) + lineTime(bytes.size(), options_.baud);
    out_.insert(out_.end(), bytes.begin(), bytes.end());
    if (out_.size() > kMaxQueued) {
        transport_.discardUnread();
        out_.clear();
    }
}

void Simulator::sendFrame(const Frame& frame, TimePoint now)
{
    const Bytes bytes = frame.encode();
    log("tx", bytes);
    send(bytes, now);
}

void Simulator::sendPending(const PendingReply& reply, TimePoint now)
{
    if (reply.raw.empty()) {
        sendFrame(reply.frame, now);
        return;
    }
    log("tx", reply.raw);
    send(reply.raw, now);
}

void Simulator::log(std::string_view direction, std::span<const std::uint8_t> bytes) const
{
    if (options_.log) {
        std::cerr << logLine(direction, bytes) << '\n';
    }
}

} // namespace civsim
