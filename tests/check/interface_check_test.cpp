// The interface check alone on scripted buses: echoes, silence, clashes, other rates, lost ports.
#include "check/interface_check.h"
#include "civ/transmit_queue.h"
#include "line/link_account.h"

#include <algorithm>
#include <deque>
#include <gtest/gtest.h>
#include <map>
#include <utility>

// The cases name only what differs from the defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace check {
namespace {

using platform::OpenError;
constexpr int kTickMs = 50;
constexpr int kOur = 0xEA;

enum class Collide { None, Jam, Merge };

// One radio (none at rate 0) behind an interface that echoes, stays silent or garbles.
struct Bus {
    int rate = 0; // bit/s the radio listens at; any rate on a network port
    int address = 8;
    Echo echo = Echo::Own;
    Millis replyDelayMs = 10;
    bool readId = true; // answers read ID (the IC-735 family does not)
    Collide collide = Collide::None;
    unsigned ignores = 0;  // polls (bit n: poll n from 0) whose replies are lost
    unsigned refuses = 0;  // polls it answers NG
    int answersFrom = 0;   // another address the radio answers a read frequency from
    bool reports = false;  // tells all of a change after each read ID it hears
    int strayAt = 0;       // a rate where stray bytes follow the first read ID to all
    int garbleEchoAt = 0;  // a rate where the echo comes back garbled
    bool flipEcho = false; // the echo's destination with a bit flipped: still a frame
};

struct Case {
    const char* name;
    Bus bus;
    bool network = false;
    std::map<std::size_t, OpenError> openErrors; // by open, from 0
    int settingsChangeAtTick = 0;
    int lostAtTick = 0;      // the port goes away
    bool deepSearch = false; // run the deeper search it offers, at the rate it offers
    std::optional<std::pair<int, int>> finding; // rate, address
    Millis maxMs = 12000;
    std::vector<const char*> phrases;
    std::vector<const char*> absent;
};

// The pump and the link account around the check: the window's ring and its pacing, and the
// account that makes events of the bytes the bus carries.
class InterfaceCheckTest : public ::testing::TestWithParam<Case> {
protected:
    void run()
    {
        account_.setAddresses(kOur, 8);
        apply(check_.start({"/dev/ttyUSB0", 8, kOur, 8, c_.network}, 0));
        drive();
        if (c_.deepSearch && offer_) {
            done_ = false;
            apply(check_.deepSearch(*offer_, now_));
            drive();
        }
    }

    void drive()
    {
        for (int ticks = 0; !done_ && ticks < 20000; ++ticks) {
            now_ += kTickMs;
            deliver();
            send();
            account_.tick(now_);
            deliver();
            const bool lost = c_.lostAtTick > 0 && ticks + 1 >= c_.lostAtTick;
            line::PortStatus port{lost ? line::PortState::Lost : line::PortState::Open};
            port.reason = "Input/output error";
            apply(check_.tick(now_, port, std::nullopt));
            if (ticks + 1 == c_.settingsChangeAtTick) {
                apply(check_.settingsChanged());
            }
        }
    }

    void apply(const Step& step)
    {
        for (const std::string& s : step.report) {
            report_ += s + "\n";
        }
        if (step.finding) {
            finding_ = std::pair{step.finding->rate, step.finding->address};
        }
        offer_ = step.offerDeepSearch ? step.offerDeepSearch : offer_;
        done_ = done_ || step.done;
        if (step.done) {
            rate_ = 9600; // the window puts the port back at the chosen rate
        }
        for (const civ::Frame& f : step.send) {
            ring_.SendSerialPacket(f);
            ids_.push_back(account_.queued(f, {line::Source::Check}, now_));
        }
        if (step.openRate) {
            const OpenError error =
                c_.openErrors.contains(opens_) ? c_.openErrors.at(opens_) : OpenError::None;
            rate_ = *step.openRate;
            ++opens_;
            account_.portChosen("/dev/ttyUSB0", rate_, c_.network, now_);
            account_.portOpened(now_);
            apply(check_.opened(error, "No such file or directory", now_));
        }
    }

    void hear(civ::Frame bytes, Millis at) { inbox_.push_back({at, std::move(bytes)}); }

    // The account hears what has arrived by now; the check hears the account.
    void deliver()
    {
        std::ranges::stable_sort(inbox_, {}, &Heard::first);
        while (!inbox_.empty() && inbox_.front().first <= now_) {
            const auto [at, bytes] = inbox_.front();
            inbox_.pop_front();
            if (bytes.back() == civ::kEndOfMessage) {
                ring_.frameEndSeen();
            }
            account_.received(bytes, at);
        }
        for (const line::FrameEvent& e : account_.takeEvents()) {
            apply(check_.event(e));
        }
    }

    void send()
    {
        const civ::Frame frame = ring_.DoSerialOut();
        if (frame.empty()) {
            return;
        }
        account_.written(ids_.front(), now_);
        ids_.pop_front();
        const Bus& bus = c_.bus;
        civ::Frame echo = frame;
        if (bus.flipEcho) {
            echo[2] ^= 1;
        } else if (bus.echo != Echo::Own || rate_ == bus.garbleEchoAt) {
            std::ranges::for_each(echo, [](std::uint8_t& b) { b ^= 0x10; });
        }
        if (bus.echo != Echo::Nothing) {
            hear(echo, now_ + 5);
        }
        answer(frame);
    }

    void answer(const civ::Frame& frame)
    {
        const Bus& bus = c_.bus;
        const bool atRate = bus.rate != 0 && (c_.network || bus.rate == rate_);
        const auto a = static_cast<std::uint8_t>(bus.address);
        const Millis at = now_ + bus.replyDelayMs + 20;
        const bool readId = frame[4] == civ::kCmdReadId;
        if (readId && bus.strayAt == rate_ && !std::exchange(strayed_, true)) {
            hear({0x80, 0x00, 0xF8}, now_ + 15);
        }
        if (!atRate || (frame[2] != 0 && frame[2] != a)) {
            return;
        }
        if (readId && bus.collide == Collide::Jam) {
            hear({0xFC, 0xFC}, at);
        } else if (readId && bus.collide == Collide::Merge) {
            hear({0xFE, 0xFE, kOur, 0x84, 0x19, 0x00, 0x84}, at);
        } else if (readId && bus.readId) {
            hear({0xFE, 0xFE, kOur, a, 0x19, 0x00, a, 0xFD}, at);
        } else if (readId && bus.reports) {
            hear({0xFE, 0xFE, 0x00, a, 0x00, 0, 0x40, 7, 0x14, 0, 0xFD}, at);
        } else if (frame[4] == 0x03 && frame[2] == a) {
            const unsigned poll = polls_ < 32 ? 1U << polls_ : 0;
            ++polls_;
            const auto from = static_cast<std::uint8_t>(bus.answersFrom ? bus.answersFrom : a);
            const civ::Frame ng{0xFE, 0xFE, kOur, from, 0xFA, 0xFD};
            const civ::Frame reply{0xFE, 0xFE, kOur, from, 0x03, 0, 0x40, 7, 0x14, 0, 0xFD};
            if ((bus.ignores & poll) == 0) {
                hear((bus.refuses & poll) != 0 ? ng : reply, at);
            }
        }
    }

    const Case& c_ = GetParam();
    InterfaceCheck check_{kTickMs};
    line::LinkAccount account_;
    civ::TransmitQueue ring_;
    std::deque<std::uint64_t> ids_;
    using Heard = std::pair<Millis, civ::Frame>;
    std::deque<Heard> inbox_;
    std::string report_;
    std::optional<std::pair<int, int>> finding_; // rate, address
    std::optional<int> offer_;
    Millis now_ = 0;
    int rate_ = 0;
    int polls_ = 0;
    bool strayed_ = false;
    std::size_t opens_ = 0;
    bool done_ = false;
};

TEST_P(InterfaceCheckTest, ReportsWhatTheBusDoes)
{
    run();
    EXPECT_LE(now_, c_.maxMs);
    EXPECT_EQ(finding_, c_.finding) << report_;
    for (const char* phrase : c_.phrases) {
        EXPECT_NE(report_.find(phrase), std::string::npos) << phrase << " in\n" << report_;
    }
    for (const char* phrase : c_.absent) {
        EXPECT_EQ(report_.find(phrase), std::string::npos) << phrase << " in\n" << report_;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ScriptedBuses, InterfaceCheckTest,
    ::testing::Values(
        Case{.name = "RadioAtTheCurrentRate",
             .bus = {.rate = 9600},
             .maxMs = 3000,
             .phrases = {"Our own bytes came back",
                         "answered 10 of 10 polls at 9600 bit/s, round trip about 30 ms",
                         "Baud Rate and Radio ID are right."},
             .absent = {"slow", "NG"}},
        Case{.name = "LateReplies",
             .bus = {.rate = 9600, .replyDelayMs = 600},
             .phrases = {"answered 10 of 10 polls at 9600 bit/s, round trip about 620 ms (620 to "
                         "620 ms",
                         "That is slow"}},
        Case{.name = "ThreeLostOneRefused",
             .bus = {.rate = 9600, .ignores = 0b1001001000, .refuses = 0b10},
             .maxMs = 7000,
             .phrases = {"answered 7 of 10 polls at 9600 bit/s, round trip about 30 ms",
                         "1 answer was NG",
                         "right, but 3 of 10 polls went unanswered (polls 4, 7 and 10): a loose"},
             .absent = {"are right."}},
        Case{.name = "RadioAtAnotherRateAndAddress",
             .bus = {.rate = 19200, .address = 0x94},
             .finding = std::pair{19200, 0x94},
             .maxMs = 6000,
             .phrases = {"did not answer 2 polls at 9600 bit/s",
                         "from address 0x94 (148). Set Baud Rate to 19200 and Radio ID to 148."}},
        Case{.name = "OldRadioAtRadioIdAtAnotherRate",
             .bus = {.rate = 1200, .readId = false},
             .finding = std::pair{1200, 8},
             .phrases = {"Set Baud Rate to 1200 and Radio ID to 8."}},
        Case{.name = "OldRadioAtAnotherAddressFoundByTheDeeperSearch",
             .bus = {.rate = 9600, .address = 0x04, .readId = false},
             .deepSearch = true,
             .finding = std::pair{9600, 4},
             .maxMs = 17000 + 40000,
             .phrases = {"Older radios (the IC-735 and IC-706 families among them) ignore read "
                         "ID",
                         "takes about 38 seconds per rate",
                         "address 0x04 (4). Set Baud Rate to "
                         "9600 and Radio ID to 4."}},
        Case{.name = "CollisionByJam",
             .bus = {.rate = 19200, .address = 0x94, .readId = true, .collide = Collide::Jam},
             .maxMs = 10000,
             .phrases = {"Several radios answered the read ID to all radios at once at 19200 "
                         "bit/s",
                         "Find All Radios"},
             .absent = {"Radio ID to", "the interface work"}},
        Case{.name = "CollisionByMergedBytes",
             .bus = {.rate = 9600, .address = 0x94, .collide = Collide::Merge},
             .maxMs = 10000,
             .phrases = {"Several radios answered", "at once at 9600 bit/s"},
             .absent = {"132", "Radio ID to"}},
        // Stray bytes, or a garbled echo, at one rate; a radio heard through its reports.
        Case{.name = "StrayBytesAndAGarbledEchoAtOtherRates",
             .bus = {.rate = 4800, .strayAt = 9600, .garbleEchoAt = 19200},
             .finding = std::pair{4800, 8}},
        Case{.name = "RadioHeardThroughItsReports",
             .bus = {.rate = 4800, .address = 0x94, .readId = false, .reports = true},
             .finding = std::pair{4800, 0x94}},
        Case{.name = "ReadFrequencyAnsweredFromAnotherAddress",
             .bus = {.rate = 9600, .address = 0x94, .answersFrom = 0xA4},
             .phrases = {"from 0x94 (148), but a read frequency to it was not"},
             .absent = {"Radio ID to"}},
        Case{.name = "GarbledEchoThatStillFormsAFrame",
             .bus = {.rate = 9600, .flipEcho = true},
             .maxMs = 3000,
             .phrases = {"a garbled echo", "answered 10 of 10 polls"}},
        // A radio's own USB port with its echo off.
        Case{.name = "RadioWithoutEcho",
             .bus = {.rate = 9600, .echo = Echo::Nothing, .refuses = 1},
             .maxMs = 3000,
             .phrases = {"nothing came back of it", "answered 10 of 10 polls", "1 answer was NG"},
             .absent = {"garbled"}},
        // The garbled echo at every rate is no collision: the scan goes on to the radio.
        Case{.name = "GarbledEchoAndTheRadioAtAnotherRate",
             .bus = {.rate = 19200, .address = 0x94, .echo = Echo::Garbled},
             .finding = std::pair{19200, 0x94},
             .maxMs = 8000,
             .phrases = {"a garbled echo", "Set Baud Rate to 19200 and Radio ID to 148."},
             .absent = {"Several radios"}},
        Case{.name = "NothingAtAllWithoutEcho",
             .bus = {.rate = 0, .echo = Echo::Nothing},
             .maxMs = 30000,
             .phrases = {"No radio answered the read ID at any rate",
                         "Nothing came back of our own bytes either",
                         "takes about 2 minutes per rate"}},
        Case{.name = "UnpluggedDuringTheScan",
             .openErrors = {{2, OpenError::NotFound}, {3, OpenError::NotFound}},
             .maxMs = 6000,
             .phrases = {"Lost /dev/ttyUSB0: No such file or directory. Choose the port again "
                         "once it is back."},
             .absent = {"could not be opened at", "the interface work"}},
        Case{.name = "LostWhileListening",
             .lostAtTick = 50,
             .maxMs = 2500,
             .phrases = {"Lost /dev/ttyUSB0: Input/output error. Choose the port again"},
             .absent = {"No radio answered"}},
        Case{.name = "SettingsChangedDuringTheCheck",
             .bus = {.rate = 19200, .address = 0x94},
             .settingsChangeAtTick = 30,
             .maxMs = 3000,
             .phrases = {"Check stopped: the port, Baud Rate or an address was changed"},
             .absent = {"Set Baud Rate"}},
        Case{.name = "NetworkRadioAtAnotherAddress",
             .bus = {.rate = 9600, .address = 0x94},
             .network = true,
             .finding = std::pair{9600, 0x94},
             .maxMs = 6000,
             .phrases = {"The port /dev/ttyUSB0 opened.", "Set Radio ID to 148."},
             .absent = {"bit/s", "Baud Rate to"}},
        Case{.name = "NetworkNothingThenTheDeeperSearch",
             .network = true,
             .deepSearch = true,
             .maxMs = 6000 + 40000,
             .phrases = {"the one set at the server for its serial port", "every address, about"},
             .absent = {"bit/s", "Baud Rate to", "rate in turn"}},
        Case{.name = "PortBusy",
             .bus = {.rate = 9600},
             .openErrors = {{0, OpenError::Busy}},
             .maxMs = 50,
             .phrases = {"another program is using it"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace check
