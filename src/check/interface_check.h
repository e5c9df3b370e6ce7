// The interface check: why a radio does not answer, found step by step from the account.
#pragma once

#include "civ/frame.h"
#include "line/link_account.h"
#include "platform/open_error.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace check {

using line::Millis;

// What came back of our own bytes.
enum class Echo { Unknown, Own, Nothing, Garbled };

struct Setup {
    std::string port; // the chosen port's location; empty when there is none
    int baudCode = 8; // row of the rate pop-up
    int ourId = 0xEA;
    int radioId = 8;
    bool network = false; // a network port: its line rate is set at the server
};

// A rate and address confirmed by an answered read frequency, and settable in the main window.
struct Finding {
    int baudCode = 0;
    int rate = 0;
    int address = 0;
};

// What the caller does after each call, in this order: append the sentences, show the
// progress and the activity, open the port (and answer with opened()), queue the frames. When
// done: put the port back at the rate the operator chose and resume the poll.
struct Step {
    std::vector<std::string> report;
    int progress = 0; // percent
    std::string activity;
    std::optional<int> openRate; // bit/s
    std::vector<civ::Frame> send;
    std::optional<Finding> finding;
    // The deeper search is worth offering; at this rate (0: the usual order) first.
    std::optional<int> offerDeepSearch;
    bool done = false;
};

// Finds out why a radio does not answer: whether the port opens, what comes back of our own
// bytes, whether the radio at Radio ID answers at the current rate, and if it does not, at
// which rate and address a radio does. Driven by the link account's events, the pump's ticks
// and the port's state; it never waits and knows no clock but the times it is given.
class InterfaceCheck {
public:
    static constexpr int kPolls = 10;
    // A radio that ignored this many polls in a row from the start will not answer the rest.
    static constexpr int kSilentPolls = 2;
    // Our frames held back this long by other stations: the bus is too busy to check.
    static constexpr Millis kBusyMs = 3000;
    // A frame not gone this long without anyone talking: the line is stuck.
    static constexpr Millis kStuckMs = 6000;
    // Beyond the pop-up: the fastest rate of a radio's USB port.
    static constexpr int kUsbRate = 115200;
    // The deeper search asks every address from 1 to this one.
    static constexpr int kLastAddress = 0xFB;

    explicit InterfaceCheck(int tickMs);

    Step start(const Setup& setup, Millis now);
    Step opened(platform::OpenError error, const std::string& reason, Millis now);
    Step event(const line::FrameEvent& event);
    Step tick(Millis now, const line::PortStatus& port, const std::optional<line::HoldBack>& held);
    // The port, the rate or an address changed in the main window.
    Step settingsChanged();
    Step cancel();
    // Every address at one rate (0: each usual rate in turn), with a read frequency to each.
    Step deepSearch(int rate, Millis now);

    bool running() const { return phase_ != Phase::Idle; }
    Echo echo() const { return echo_; }
    // What the deeper search takes per rate, going by the echo.
    Millis deepSearchMsPerRate() const;

private:
    enum class Phase { Idle, Opening, Echo, Poll, Scan, Confirm, Deep };

    Step take();
    void reset(const Setup& setup, Millis now);
    void finish();
    int progress() const;
    std::string activity() const;
    void queue(std::vector<civ::Frame> frames, Millis now);
    Millis listenMs() const;
    // A tick after the account gives up on a request that left at `left`.
    Millis givenUpAt(Millis left) const;
    bool isOurs(const line::FrameEvent& event) const;
    void sent(const line::FrameEvent& event);
    void heard(const line::FrameEvent& event);
    void timedOut(Millis now);
    void stuck(Millis now, const std::optional<line::HoldBack>& held);

    // Phases, each in a file of its own: opening and the echo, the polls, the scan and the
    // deeper search.
    void portOpened(platform::OpenError error, const std::string& reason, Millis now);
    void decideEcho(Echo echo, Millis now);
    void heardInEcho(const line::FrameEvent& event);
    // One poll open at a time, so that a lost reply never lets the account credit the next
    // one to it.
    void nextPoll(Millis now);
    void pollTimedOut(Millis now);
    void pollAnswered(const line::FrameEvent& event);
    void pollsDone(Millis now);

    void startScan(Millis now);
    void nextRate(Millis now);
    void scanRate(Millis now);
    void heardInScan(const line::FrameEvent& event);
    // Bytes that make no frame, or a jam, where answers to our read ID belong.
    bool tramples(const line::FrameEvent& event) const;
    void scanTimedOut(Millis now);
    void confirmTimedOut();
    void found();

    void nextDeepRate(Millis now);
    void nextDeepAddress(Millis now);
    void deepTimedOut(Millis now);

    int currentRate() const;
    // The rates of the pop-up, the usual ones first, then the fastest of a radio's USB port.
    static std::vector<int> usualRates();

    int tickMs_;
    Phase phase_ = Phase::Idle;
    Setup setup_;
    Step out_;
    int openRate_ = 0;
    Millis now_ = 0;

    // Our frames queued and not yet gone, and the deadline of the wait under way.
    int unsent_ = 0;
    Millis queuedAt_ = 0;
    Millis lastLeft_ = 0;
    std::optional<Millis> deadline_;
    bool droppedFrame_ = false;

    Echo echo_ = Echo::Unknown;
    bool echoMangled_ = false;
    civ::Frame echoSent_;

    // The frame sent to find the echo is the first poll.
    int polls_ = 0;
    std::optional<std::uint64_t> openPoll_;
    Millis pollGivenUpAt_ = 0;
    std::vector<int> lostPolls_; // numbered from 1
    int refused_ = 0;
    std::vector<Millis> roundTrips_;

    std::vector<int> scanRates_;
    std::size_t scanIndex_ = 0;
    int scanRate_ = 0;
    Millis readIdLeft_ = 0;
    // Answers come after our echo: bytes before it are our echo garbled.
    std::optional<Millis> readIdEchoed_;
    // Read IDs sent at this rate, and in how many of their answer windows answers trampled.
    int readIds_ = 0;
    int trampled_ = 0;
    bool trampledNow_ = false;
    // Our read frequencies: only the address that answers one of them is recommended.
    std::set<std::uint64_t> asked_;
    std::vector<int> candidates_;
    std::vector<int> confirmed_;

    std::vector<int> deepRates_;
    std::size_t deepRateIndex_ = 0;
    int deepAddress_ = 0;
};

} // namespace check
