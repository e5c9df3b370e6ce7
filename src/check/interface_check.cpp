#include "check/interface_check.h"

#include "check/sentences.h"
#include "civ/commands.h"
#include "civ/transmit_queue.h"
#include "serial/baud_rates.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace check {

namespace {

// Rows of the rate pop-up, the rates radios most often use first: 9600, 19200, 4800, then
// the rest, the common ones before the odd ones.
constexpr std::array<int, serial::kBaudRates.size()> kScanOrder{8, 10, 6, 2, 12, 13, 4,
                                                                0, 1,  3, 5, 7,  9,  11};

// The longest request we send (read ID) and the longest reply we wait for (a frequency).
constexpr int kRequestBytes = 7;
constexpr int kReplyBytes = 11;
constexpr int kBitsPerByte = 10;
// What a radio takes to start its answer.
constexpr int kTurnaroundMs = 100;
// The pump reads on tick boundaries, and the tick that sends also counts down.
constexpr int kMarginTicks = 2;
// One of our frames may wait behind two the main window had queued.
constexpr int kReleaseTicks = 3 * (civ::TransmitQueue::kDelayAfterRelease + 1);
constexpr int kProgressUnits = 2 + InterfaceCheck::kPolls + static_cast<int>(kScanOrder.size());

bool contains(const std::vector<std::uint8_t>& bytes, const civ::Frame& frame)
{
    return std::search(bytes.begin(), bytes.end(), frame.begin(), frame.end()) != bytes.end();
}

} // namespace

InterfaceCheck::InterfaceCheck(int tickMs)
    : tickMs_(std::max(tickMs, 1))
{}

Step InterfaceCheck::take()
{
    if (phase_ != Phase::Idle) {
        const int scanned = 2 + kPolls + static_cast<int>(scanIndex_);
        out_.progress = (phase_ == Phase::Scan ? scanned : polls_ + 1) * 100 / kProgressUnits;
    }
    return std::exchange(out_, Step{});
}

void InterfaceCheck::finish()
{
    phase_ = Phase::Idle;
    unsent_.clear();
    listening_ = false;
    out_.progress = 100;
    out_.done = true;
}

Step InterfaceCheck::start(const Setup& setup)
{
    setup_ = setup;
    echo_ = Echo::Unknown;
    parser_.reset();
    polls_ = 0;
    const bool ourOk = civ::isEncodableAddress(setup.ourId);
    if (!ourOk || !civ::isEncodableAddress(setup.radioId)) {
        out_.report.push_back(sentences::badAddress(ourOk ? "Radio ID" : "Our ID"));
        finish();
    } else if (setup.port.empty()) {
        out_.report.push_back(sentences::noPort());
        finish();
    } else {
        phase_ = Phase::Opening;
        out_.openRate = serial::baudRateForCode(setup.baudCode);
    }
    return take();
}

Step InterfaceCheck::opened(platform::OpenError error, const std::string& reason)
{
    const bool ok = error == platform::OpenError::None;
    if (phase_ == Phase::Opening) {
        const int rate = serial::baudRateForCode(setup_.baudCode);
        if (ok) {
            openRate_ = rate;
            out_.report.push_back(sentences::opened(setup_.port, setup_.network ? 0 : rate));
            phase_ = Phase::Echo;
            echoFrame_ = civ::readFrequency(setup_.radioId, setup_.ourId).frame;
            heardBack_.clear();
            strayBytes_ = 0;
            frameBytes_ = 0;
            replyBeforeEcho_ = false;
            send({echoFrame_});
        } else {
            out_.report.push_back(sentences::openFailed(setup_.port, error, reason));
            finish();
        }
    } else if (phase_ == Phase::Scan) {
        const int rate = serial::baudRateForCode(scanCode_);
        openRate_ = ok ? rate : 0;
        if (ok) {
            scanRate();
        } else {
            out_.report.push_back(sentences::rateRefused(rate, reason));
            nextRate();
        }
    }
    return take();
}

void InterfaceCheck::send(std::vector<civ::Frame> frames)
{
    unsent_.assign(frames.begin(), frames.end());
    out_.send = std::move(frames);
    listening_ = false;
    ticksLeft_ = kReleaseTicks;
}

int InterfaceCheck::listenTicks() const
{
    const int rate = std::max(openRate_, serial::kBaudRates.front());
    const int lineMs = ((kRequestBytes + kReplyBytes) * kBitsPerByte * 1000 + rate - 1) / rate;
    return (lineMs + kTurnaroundMs + tickMs_ - 1) / tickMs_ + kMarginTicks;
}

Step InterfaceCheck::sent(std::span<const std::uint8_t> bytes, Millis now)
{
    if (!unsent_.empty() && std::ranges::equal(bytes, unsent_.front())) {
        unsent_.pop_front();
        sentAt_ = now;
        listening_ = unsent_.empty();
        ticksLeft_ = listening_ ? listenTicks() : kReleaseTicks;
    }
    return take();
}

Step InterfaceCheck::tick()
{
    const bool waiting = phase_ == Phase::Echo || phase_ == Phase::Poll || phase_ == Phase::Scan;
    if (waiting && --ticksLeft_ <= 0) {
        timedOut();
    }
    return take();
}

Step InterfaceCheck::cancel()
{
    if (running()) {
        out_.report.push_back(sentences::cancelled());
        finish();
    }
    return take();
}

Step InterfaceCheck::received(std::span<const std::uint8_t> bytes, Millis now)
{
    for (const std::uint8_t b : bytes) {
        const civ::FrameParser::Event event = parser_.ParseByte(b);
        if (phase_ == Phase::Echo && listening_) {
            heardBack_.push_back(b);
            ++frameBytes_;
            if (event == civ::FrameParser::Event::FrameEnd ||
                event == civ::FrameParser::Event::OverlongFrameEnd) {
                frameBytes_ = 0;
            } else if (parser_.parseState == 0) {
                strayBytes_ += std::exchange(frameBytes_, 0);
            }
        }
        heard(event, now);
    }
    if (phase_ == Phase::Echo && listening_) {
        // On a one-wire bus our echo comes before any answer to it.
        if (contains(heardBack_, echoFrame_)) {
            decideEcho(Echo::Own);
        } else if (replyBeforeEcho_) {
            decideEcho(notOurs());
        }
    }
    return take();
}

void InterfaceCheck::heard(civ::FrameParser::Event event, Millis now)
{
    const int to = parser_.parseToID;
    const int from = parser_.parseFromID;
    if (event != civ::FrameParser::Event::FrameEnd || from == setup_.ourId) {
        return;
    }
    const bool toUs = to == setup_.ourId;
    if (phase_ == Phase::Echo && listening_ && toUs) {
        replyBeforeEcho_ = true;
    } else if (phase_ == Phase::Poll && listening_ && toUs && from == setup_.radioId) {
        roundTrips_.push_back(now - sentAt_);
        refused_ += parser_.parseCmd == civ::kNg ? 1 : 0;
        nextPoll();
    } else if (phase_ == Phase::Scan && (toUs || to == civ::kBroadcast)) {
        const int rate = serial::baudRateForCode(scanCode_);
        out_.report.push_back(sentences::found(rate, from));
        out_.finding = Finding{scanCode_, rate, from};
        finish();
    }
}

void InterfaceCheck::timedOut()
{
    switch (phase_) {
    case Phase::Echo:
        decideEcho(notOurs());
        break;
    case Phase::Poll:
        ++lost_;
        if (lost_ >= kSilentPolls && roundTrips_.empty()) {
            pollsDone();
        } else {
            nextPoll();
        }
        break;
    case Phase::Scan:
        nextRate();
        break;
    case Phase::Idle:
    case Phase::Opening:
        break;
    }
}

Echo InterfaceCheck::notOurs() const
{
    // Bytes that are no part of a whole frame from another station.
    return strayBytes_ + frameBytes_ > 0 ? Echo::Garbled : Echo::Nothing;
}

void InterfaceCheck::decideEcho(Echo echo)
{
    echo_ = echo;
    out_.report.push_back(sentences::echo(echo));
    phase_ = Phase::Poll;
    polls_ = 0;
    lost_ = 0;
    refused_ = 0;
    roundTrips_.clear();
    nextPoll();
}

void InterfaceCheck::nextPoll()
{
    if (polls_ == kPolls) {
        pollsDone();
        return;
    }
    ++polls_;
    send({civ::readFrequency(setup_.radioId, setup_.ourId).frame});
}

void InterfaceCheck::pollsDone()
{
    const int rate = serial::baudRateForCode(setup_.baudCode);
    if (roundTrips_.empty()) {
        out_.report.push_back(sentences::silent(setup_.radioId, rate, polls_, setup_.network));
        startScan();
        return;
    }
    std::vector<Millis> times = roundTrips_;
    std::ranges::sort(times);
    const std::size_t n = times.size();
    const Millis median = n % 2 == 1 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    out_.report.push_back(sentences::answered(setup_.radioId, rate, static_cast<int>(n), polls_,
                                              {times.front(), median, times.back()}, refused_,
                                              tickMs_));
    finish();
}

void InterfaceCheck::startScan()
{
    phase_ = Phase::Scan;
    if (setup_.network) {
        out_.report.push_back(sentences::networkPort());
        scanCodes_ = {setup_.baudCode};
    } else {
        scanCodes_.assign(kScanOrder.begin(), kScanOrder.end());
    }
    scanIndex_ = 0;
    nextRate();
}

void InterfaceCheck::nextRate()
{
    if (scanIndex_ == scanCodes_.size()) {
        out_.report.push_back(sentences::nothing(echo_, setup_.network));
        finish();
        return;
    }
    scanCode_ = scanCodes_[scanIndex_++];
    const int rate = serial::baudRateForCode(scanCode_);
    if (rate != openRate_ && !setup_.network) {
        unsent_.clear();
        listening_ = false;
        out_.openRate = rate;
        return;
    }
    scanRate();
}

void InterfaceCheck::scanRate()
{
    send({civ::readId(civ::kBroadcast, setup_.ourId).frame,
          civ::readFrequency(setup_.radioId, setup_.ourId).frame});
}

} // namespace check
