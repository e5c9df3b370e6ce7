#pragma once

#include "civ/frame.h"
#include "civ/frame_parser.h"
#include "platform/open_error.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace check {

using Millis = std::int64_t;

// What came back of our own bytes.
enum class Echo { Unknown, Own, Nothing, Garbled };

struct Setup {
    std::string port; // the chosen port's location; empty when there is none
    int baudCode = 8; // row of the rate pop-up
    int ourId = 0xEA;
    int radioId = 8;
    bool network = false; // a network port: its line rate is set at the far end
};

struct Finding {
    int baudCode = 0;
    int rate = 0;
    int address = 0;
};

// What the caller does after each call, in this order: append the sentences, show the
// progress, open the port (and answer with opened()), queue the frames. When done: put the
// port back at the rate the operator chose and resume the poll.
struct Step {
    std::vector<std::string> report;
    int progress = 0; // percent
    std::optional<int> openRate;
    std::vector<civ::Frame> send;
    std::optional<Finding> finding;
    bool done = false;
};

// Finds out why a radio does not answer: whether the port opens, what comes back of our own
// bytes, whether the radio at Radio ID answers at the current rate, and if it does not, at
// which rate and address a radio does. Driven by the pump's ticks and by the bytes it reads
// and writes; it never waits and knows no clock but the times it is given.
class InterfaceCheck {
public:
    static constexpr int kPolls = 10;
    // A radio that ignored this many polls in a row from the start will not answer the rest.
    static constexpr int kSilentPolls = 2;

    explicit InterfaceCheck(int tickMs);

    Step start(const Setup& setup);
    Step opened(platform::OpenError error, const std::string& reason);
    Step received(std::span<const std::uint8_t> bytes, Millis now);
    Step sent(std::span<const std::uint8_t> bytes, Millis now);
    Step tick();
    Step cancel();

    bool running() const { return phase_ != Phase::Idle; }
    Echo echo() const { return echo_; }

private:
    enum class Phase { Idle, Opening, Echo, Poll, Scan };

    Step take();
    void finish();
    void send(std::vector<civ::Frame> frames);
    int listenTicks() const;
    void timedOut();
    void heard(civ::FrameParser::Event event, Millis now);

    Echo notOurs() const;
    void decideEcho(Echo echo);
    void nextPoll();
    void pollsDone();
    void startScan();
    void nextRate();
    void scanRate();

    int tickMs_;
    Phase phase_ = Phase::Idle;
    Setup setup_;
    Step out_;
    civ::FrameParser parser_;
    int openRate_ = 0;

    // The frames of the exchange under way, until each is seen leaving; then the answer window.
    std::deque<civ::Frame> unsent_;
    bool listening_ = false;
    int ticksLeft_ = 0;
    Millis sentAt_ = 0;

    Echo echo_ = Echo::Unknown;
    civ::Frame echoFrame_;
    std::vector<std::uint8_t> heardBack_;
    int strayBytes_ = 0;
    int frameBytes_ = 0;
    bool replyBeforeEcho_ = false;

    int polls_ = 0;
    int lost_ = 0;
    int refused_ = 0;
    std::vector<Millis> roundTrips_;

    std::vector<int> scanCodes_;
    std::size_t scanIndex_ = 0;
    int scanCode_ = 0;
};

} // namespace check
