#include "check/interface_check.h"
#include "civ/transmit_queue.h"

#include <gtest/gtest.h>

namespace check {
namespace {

using platform::OpenError;
constexpr int kTickMs = 50;
constexpr int kOur = 0xEA;

// One radio (none at rate 0) behind an interface that echoes, stays silent or garbles.
struct Bus {
    int rate = 0;
    int address = 8;
    Echo echo = Echo::Own;
};

struct Case {
    const char* name;
    Bus bus;
    OpenError openError = OpenError::None;
    std::size_t cancelAfterOpens = 0;
    std::optional<std::pair<int, int>> finding; // rate, address
    std::vector<int> firstOpens;
    std::size_t opens = 0;
    int maxTicks = 0;
    std::vector<const char*> phrases;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

struct Outcome {
    std::string report;
    std::optional<Finding> finding;
    std::vector<int> opens;
    int ticks = 0;
    bool done = false;
};

// The window's pump around the check: a read, one release of the transmit ring, then the tick.
// What the bus hands back is read at the next tick.
Outcome run(const Case& c)
{
    InterfaceCheck check(kTickMs);
    civ::TransmitQueue ring;
    civ::FrameParser pumpParser;
    Outcome out;
    int rate = 0;
    civ::Frame inbox;
    const auto apply = [&](auto& self, Step step) -> void {
        for (const std::string& s : step.report) {
            out.report += s + "\n";
        }
        out.finding = step.finding ? step.finding : out.finding;
        out.done = out.done || step.done;
        for (const civ::Frame& f : step.send) {
            ring.SendSerialPacket(f);
        }
        if (step.openRate) {
            rate = *step.openRate;
            out.opens.push_back(rate);
            self(self, check.opened(c.openError, "refused"));
        }
    };
    apply(apply, check.start({"/dev/ttyUSB0", 8, kOur, 8, false}));
    for (out.ticks = 1; !out.done && out.ticks <= 1000; ++out.ticks) {
        const Millis now = Millis{out.ticks} * kTickMs;
        for (const std::uint8_t b : inbox) {
            if (pumpParser.ParseByte(b) == civ::FrameParser::Event::FrameEnd) {
                ring.frameEndSeen();
            }
        }
        apply(apply, check.received(std::exchange(inbox, {}), now));
        civ::Frame frame = ring.DoSerialOut();
        if (!frame.empty()) {
            apply(apply, check.sent(frame, now));
            const bool heard = c.bus.rate == rate && (frame[2] == 0 || frame[2] == c.bus.address);
            for (std::uint8_t& b : frame) {
                b ^= c.bus.echo == Echo::Garbled ? 0x10 : 0;
            }
            inbox = c.bus.echo == Echo::Nothing ? civ::Frame{} : frame;
            const auto a = static_cast<std::uint8_t>(c.bus.address);
            if (heard && frame[4] == 0x19) {
                inbox.insert(inbox.end(), {0xFE, 0xFE, kOur, a, 0x19, 0x00, a, 0xFD});
            } else if (heard) {
                inbox.insert(inbox.end(), {0xFE, 0xFE, kOur, a, 0x03, 0, 0x40, 7, 0x14, 0, 0xFD});
            }
        }
        apply(apply, check.tick());
        if (c.cancelAfterOpens > 0 && out.opens.size() == c.cancelAfterOpens) {
            apply(apply, check.cancel());
        }
    }
    return out;
}

class InterfaceCheckTest : public ::testing::TestWithParam<Case> {};

TEST_P(InterfaceCheckTest, ReportsWhatTheBusDoes)
{
    const Case& c = GetParam();
    const Outcome out = run(c);
    std::cerr << c.name << " ticks=" << out.ticks << "\n" << out.report;
    EXPECT_TRUE(out.done);
    EXPECT_LE(out.ticks, c.maxTicks);
    ASSERT_EQ(out.finding.has_value(), c.finding.has_value()) << out.report;
    if (c.finding) {
        EXPECT_EQ(out.finding->rate, c.finding->first);
        EXPECT_EQ(out.finding->address, c.finding->second);
    }
    EXPECT_EQ(std::vector<int>(out.opens.begin(),
                               out.opens.begin() + std::min(out.opens.size(), c.firstOpens.size())),
              c.firstOpens);
    EXPECT_EQ(out.opens.size(), c.opens);
    for (const char* phrase : c.phrases) {
        EXPECT_NE(out.report.find(phrase), std::string::npos) << phrase << " in\n" << out.report;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ScriptedBuses, InterfaceCheckTest,
    ::testing::Values(
        Case{"RadioAtTheCurrentRate",
             {9600, 8, Echo::Own},
             OpenError::None,
             0,
             {},
             {9600},
             1,
             60,
             {"Our own bytes came back", "answered 10 of 10 polls at 9600 bit/s",
              "minimum 50 ms, median 50 ms, maximum 50 ms"}},
        Case{"RadioAtAnotherRateAndAddress",
             {19200, 0x94, Echo::Own},
             OpenError::None,
             0,
             std::pair{19200, 0x94},
             {9600, 19200},
             2,
             600,
             {"did not answer 2 polls at 9600 bit/s",
              "A radio answered at 19200 bit/s from "
              "address 0x94 (148). Set Baud Rate to 19200 and Radio ID to 148."}},
        Case{"RadioAtAnotherAddress",
             {9600, 0x94, Echo::Nothing},
             OpenError::None,
             0,
             std::pair{9600, 0x94},
             {9600},
             1,
             600,
             {"Nothing came back of our own bytes:", "Set Baud Rate to 9600 and Radio ID to 148."}},
        Case{"GarbledEcho",
             {9600, 8, Echo::Garbled},
             OpenError::None,
             0,
             {},
             {9600},
             1,
             60,
             {"a garbled echo", "answered 10 of 10 polls"}},
        Case{"NothingAtAll",
             {0, 8, Echo::Nothing},
             OpenError::None,
             0,
             {},
             {9600, 19200, 4800},
             14,
             600,
             {"No radio answered at any rate", "Nothing came back of our own bytes either"}},
        Case{"CancelDuringTheSearch",
             {0, 8, Echo::Own},
             OpenError::None,
             3,
             {},
             {9600, 19200, 4800},
             3,
             600,
             {"Check cancelled"}},
        Case{"PortBusy",
             {9600, 8, Echo::Own},
             OpenError::Busy,
             0,
             {},
             {9600},
             1,
             1,
             {"another program is using it"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace check
