// The simulator's loop and state: the bus, its line, timers, faults and pending replies.
#pragma once

#include "bus_faults.h"
#include "delay_line.h"
#include "options.h"
#include "sim_bus.h"
#include "traffic.h"
#include "transport.h"

#include <chrono>
#include <csignal>
#include <deque>
#include <optional>
#include <random>
#include <span>
#include <string_view>

namespace civsim {

// Runs the bus on a transport: reads the controller, answers, and puts faults and load on
// the line when asked to.
class Simulator {
public:
    Simulator(const Options& options, Transport& transport);

    // Serves until `stop` is set; each change of `powerToggles` switches the radios on or off.
    // `waitMask` is the signal mask while waiting, so a signal blocked elsewhere still ends the
    // wait. Returns the exit status.
    int run(const volatile std::sig_atomic_t& stop, const volatile std::sig_atomic_t& powerToggles,
            const sigset_t& waitMask);

private:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    struct Periodic {
        Clock::duration period{};
        TimePoint next{};

        bool fire(TimePoint now);
    };

    struct PendingReply {
        TimePoint due;
        Frame frame;
        // Sent instead of the frame when not empty: answers that collided.
        Bytes raw;
    };

    // In simulator.cpp: the line itself.
    void readLine(TimePoint now);
    // What the radios make of bytes from the controller, once the network link delivered them.
    void hear(std::span<const std::uint8_t> wire, TimePoint now);
    void writeLine();
    void lineGone();
    // In simulator_output.cpp: what goes onto the line, and when.
    void runTimers(TimePoint now);
    // The radios' replies, each as the reply faults decide: sent, lost or cut short first.
    void queueReplies(const std::vector<Frame>& replies, TimePoint due);
    std::optional<TimePoint> nextDeadline() const;
    bool busBusy(TimePoint now) const;
    // The controller's rate when the radios run at another one.
    std::optional<int> otherRate() const;
    // From the radios' side of the line, at their rate.
    void send(std::span<const std::uint8_t> bytes, TimePoint now);
    void queue(std::span<const std::uint8_t> bytes, TimePoint now);
    // Bytes the network link has carried by now, to the line.
    void release(TimePoint now);
    void sendFrame(const Frame& frame, TimePoint now);
    void sendPending(const PendingReply& reply, TimePoint now);
    void log(std::string_view direction, std::span<const std::uint8_t> bytes) const;

    const Options& options_;
    Transport& transport_;
    SimBus bus_;
    FloodSource flood_;
    std::mt19937 rng_;
    ReplyFaults replyFaults_;
    EchoFlipper echoFlipper_;
    // The network link's delay each way; none on other lines.
    DelayLine inbound_;
    DelayLine outbound_;
    Periodic jam_;
    Periodic noise_;
    Periodic dial_;
    Periodic chatter_;
    std::uint64_t chatterCount_ = 0;
    Bytes out_;
    std::deque<PendingReply> pending_;
    TimePoint lastRx_{};
    TimePoint lineFreeAt_{};
    bool failed_ = false;
};

} // namespace civsim
