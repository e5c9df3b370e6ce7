#include "line/link_account.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

using line::Direction;
using line::FrameEvent;
using line::Kind;
using line::LinkAccount;
using line::Millis;
using line::Origin;
using line::Source;

civ::Frame hex(const std::string& text)
{
    std::istringstream in(text);
    civ::Frame out;
    unsigned b = 0;
    while (in >> std::hex >> b) {
        out.push_back(static_cast<std::uint8_t>(b));
    }
    return out;
}

// Our address E0, the radio 94, at 9600 bit/s: a 6-byte frame takes 7 ms on the wire.
struct Line : ::testing::Test {
    LinkAccount account;
    const Origin check{Source::Check, 0, {}};

    Line()
    {
        account.setAddresses(0xE0, 0x94);
        account.portChosen("/dev/ttyUSB0", 9600, false, 0);
        account.portOpened(0);
    }
    std::uint64_t send(const std::string& frame, Millis now, const Origin& origin = {})
    {
        const auto id = account.queued(hex(frame), origin, now);
        account.written(hex(frame), now);
        return id;
    }
    std::vector<FrameEvent> hear(const std::string& bytes, Millis now)
    {
        account.received(hex(bytes), now);
        return account.takeEvents();
    }
};

struct Cut {
    std::string line;
    std::vector<std::pair<Kind, std::string>> pieces;
};

void PrintTo(const Cut& cut, std::ostream* os)
{
    *os << cut.line;
}

struct Cutting : ::testing::TestWithParam<Cut> {};

std::vector<std::pair<Kind, civ::Frame>> pieces(LinkAccount& account)
{
    std::vector<std::pair<Kind, civ::Frame>> out;
    for (const FrameEvent& e : account.takeEvents()) {
        out.emplace_back(e.kind, e.bytes);
    }
    return out;
}

TEST_P(Cutting, PiecesDoNotDependOnHowReadsSplit)
{
    std::vector<std::pair<Kind, civ::Frame>> expected;
    for (const auto& [kind, bytes] : GetParam().pieces) {
        expected.emplace_back(kind, hex(bytes));
    }
    const civ::Frame line = hex(GetParam().line);
    for (std::size_t split = 0; split <= line.size(); ++split) {
        LinkAccount account;
        const std::span<const std::uint8_t> all(line);
        account.received(all.first(split), 0);
        account.received(all.subspan(split), 0);
        account.tick(0);
        EXPECT_EQ(pieces(account), expected) << "split at " << split;
    }
    LinkAccount bytewise;
    for (const std::uint8_t b : line) {
        bytewise.received(std::span(&b, 1), 0);
    }
    bytewise.tick(0);
    EXPECT_EQ(pieces(bytewise), expected) << "byte by byte";
}

INSTANTIATE_TEST_SUITE_P(
    Line, Cutting,
    ::testing::Values(Cut{"FE FE FE FE 94 E0 03 FD", {{Kind::Frame, "FE FE FE FE 94 E0 03 FD"}}},
                      Cut{"FE FE 94 E0 FD FE FE 94 E0 03 FD",
                          {{Kind::Headless, "FE FE 94 E0 FD"}, {Kind::Frame, "FE FE 94 E0 03 FD"}}},
                      Cut{"FE FE 94 E0 03 FC FE FE E0 94 FB FD",
                          {{Kind::Stray, "FE FE 94 E0 03"},
                           {Kind::Jam, "FC"},
                           {Kind::Frame, "FE FE E0 94 FB FD"}}},
                      Cut{"01 FE 02 FE FE E0 94 FE FB FD 03 FE",
                          {{Kind::Stray, "01 FE 02"},
                           {Kind::Frame, "FE FE E0 94 FE FB FD"},
                           {Kind::Stray, "03"}}},
                      Cut{"FE FC 07",
                          {{Kind::Stray, "FE"}, {Kind::Jam, "FC"}, {Kind::Stray, "07"}}}));

TEST_F(Line, StrayRunIsStampedWithItsFirstByteAndShownAtTick)
{
    EXPECT_TRUE(hear("01", 10).empty());
    hear("02", 20);
    account.tick(30);
    const auto events = account.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, Kind::Stray);
    EXPECT_EQ(events[0].bytes, hex("01 02"));
    EXPECT_EQ(events[0].at, 10);
    EXPECT_EQ(events[0].to(), -1);
}

TEST_F(Line, OverlongFrameKeepsItsAddressesAndWireLength)
{
    civ::Frame frame = hex("FE FE FE E0 94 1A 05");
    frame.insert(frame.end(), 300, 0x11);
    frame.push_back(0xFD);
    account.received(frame, 5);
    const auto events = account.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, Kind::Overlong);
    EXPECT_EQ(events[0].wireLength, frame.size());
    EXPECT_LT(events[0].bytes.size(), frame.size());
    EXPECT_EQ(std::vector(events[0].bytes.begin(), events[0].bytes.begin() + 6),
              hex("FE FE FE E0 94 1A"));
    EXPECT_EQ(events[0].to(), 0xE0);
    EXPECT_EQ(events[0].from(), 0x94);
    EXPECT_EQ(events[0].command(), 0x1A);
}

TEST_F(Line, OwnFrameHeardInOrderIsEchoButLaterOrFromOthersIsNot)
{
    const auto first = send("FE FE 94 E0 03 FD", 0, check);
    const auto second = send("FE FE 94 E0 04 FD", 5, check);
    ASSERT_EQ(account.takeEvents().size(), 2u);
    // Another station's frame in between does not spoil the echoes that follow it.
    auto heard = hear("FE FE 94 70 03 FD FE FE 94 E0 03 FD", 20);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].direction, Direction::Received);
    EXPECT_EQ(heard[1].direction, Direction::Echo);
    EXPECT_EQ(heard[1].request, first);
    EXPECT_EQ(heard[1].origin, check);
    // Beyond the window: the same bytes are someone else's, and clash with our address.
    heard = hear("FE FE 94 E0 04 FD", 5 + 7 + 151);
    EXPECT_EQ(heard[0].direction, Direction::Received);
    EXPECT_TRUE(heard[0].clash);
    EXPECT_NE(heard[0].request, second);
    EXPECT_FALSE(hear("FE FE E0 94 FB FD", 300)[0].clash);
}

struct Pairing {
    std::vector<std::string> requests; // sent 100 ms apart from 0
    std::string reply;
    Millis at;
    std::optional<std::uint64_t> answers;
    int refused;
};

void PrintTo(const Pairing& p, std::ostream* os)
{
    *os << p.requests.back() << " -> " << p.reply << " at " << p.at;
}

struct Pairs : Line, ::testing::WithParamInterface<Pairing> {};

TEST_P(Pairs, ReplyIsCreditedToTheRequestItAnswers)
{
    Millis at = 0;
    for (const std::string& request : GetParam().requests) {
        send(request, at, check);
        at += 100;
    }
    account.takeEvents();
    const auto heard = hear(GetParam().reply, GetParam().at);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].request, GetParam().answers);
    const int paired = GetParam().answers ? 1 : 0;
    EXPECT_EQ(account.count(check).answered, paired);
    EXPECT_EQ(account.count(check).refused, GetParam().refused);
    if (GetParam().answers) {
        EXPECT_EQ(heard[0].origin, check);
        EXPECT_EQ(heard[0].roundTrip, GetParam().at - 100 * Millis(*GetParam().answers - 1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Line, Pairs,
    ::testing::Values(
        Pairing{{"FE FE 94 E0 03 FD", "FE FE 94 E0 05 00 00 10 14 00 FD"},
                "FE FE E0 94 FB FD",
                300,
                2,
                0},
        Pairing{{"FE FE 94 E0 03 FD", "FE FE 94 E0 07 FD"}, "FE FE E0 94 FB FD", 300, 2, 0},
        Pairing{{"FE FE 94 E0 03 FD"}, "FE FE E0 94 FB FD", 300, std::nullopt, 0},
        Pairing{{"FE FE 94 E0 14 01 FD", "FE FE 94 E0 03 FD"}, "FE FE E0 94 FA FD", 300, 1, 1},
        Pairing{{"FE FE 94 E0 14 01 FD", "FE FE 94 E0 14 02 FD"},
                "FE FE E0 94 14 02 00 80 FD",
                300,
                2,
                0},
        Pairing{{"FE FE 88 E0 03 FD", "FE FE 94 E0 03 FD"},
                "FE FE E0 94 03 00 00 10 14 00 FD",
                300,
                2,
                0},
        Pairing{{"FE FE 94 E0 03 FD"}, "FE FE E0 94 03 00 00 10 14 00 FD", 1600, std::nullopt, 0}));

TEST_F(Line, LateRepliesToIdenticalRequestsGoToTheirOwn)
{
    send("FE FE 94 E0 04 FD", 0);
    send("FE FE 94 E0 04 FD", 100);
    account.takeEvents();
    const auto first = hear("FE FE E0 94 04 01 01 FD", 400);
    const auto second = hear("FE FE E0 94 04 01 01 FD", 700);
    EXPECT_EQ(first[0].request, 1u);
    EXPECT_EQ(first[0].roundTrip, 400);
    EXPECT_EQ(second[0].request, 2u);
    EXPECT_EQ(second[0].roundTrip, 600);
}

TEST_F(Line, BroadcastReadIdIsCreditedForEveryRadioAndNeverCountsSilence)
{
    send("FE FE 00 E0 19 00 FD", 0, check);
    EXPECT_EQ(hear("FE FE E0 94 19 00 94 FD", 50)[0].request, 1u);
    EXPECT_EQ(hear("FE FE E0 88 19 00 88 FD", 90)[0].request, 1u);
    EXPECT_EQ(account.count(check).answered, 2);
    account.tick(5000);
    EXPECT_EQ(account.radio(0).unanswered, 0);
}

TEST_F(Line, SilenceCountsOnlyRequestsThatLeftAndEndsWhenTheRadioSpeaks)
{
    account.queued(hex("FE FE 94 E0 04 FD"), {}, 0);
    account.queued(hex("FE FE 94 E0 03 FD"), {}, 0);
    account.dropped(hex("FE FE 94 E0 04 FD"), 10);
    EXPECT_EQ(account.takeEvents()[0].direction, Direction::Dropped);
    account.tick(5000);
    EXPECT_EQ(account.radio(0x94).unanswered, 0);
    EXPECT_EQ(account.count({}).sent, 0);
    send("FE FE 94 E0 05 00 00 10 14 00 FD", 6000);
    EXPECT_FALSE(account.waiting(2)) << "the ring had lost it";
    account.tick(8000);
    send("FE FE 94 E0 03 FD", 9000);
    account.tick(11000);
    EXPECT_EQ(account.radio(0x94).unanswered, 2);
    EXPECT_EQ(account.radio(0x94).silentSince, 6000);
    EXPECT_EQ(account.count({}).sent, 2);
    hear("FE FE 00 94 00 00 00 10 14 00 FD", 12000);
    EXPECT_EQ(account.radio(0x94).unanswered, 0);
    EXPECT_EQ(account.radio(0x94).lastHeard, 12000);
    EXPECT_FALSE(account.radio(0x94).silentSince);
}

TEST_F(Line, LostPortForgetsRequestsWithoutBlamingTheRadio)
{
    send("FE FE 94 E0 03 FD", 0);
    account.portLost("unplugged", 100);
    account.takeEvents();
    EXPECT_EQ(account.port().state, line::PortState::Lost);
    EXPECT_EQ(account.port().reason, "unplugged");
    EXPECT_EQ(account.port().since, 100);
    EXPECT_EQ(hear("FE FE E0 94 03 00 00 10 14 00 FD", 200)[0].request, std::nullopt);
    account.tick(5000);
    EXPECT_EQ(account.radio(0x94).unanswered, 0);
    account.portChosen("host:4532", 0, true, 6000);
    account.portOpening(6000);
    EXPECT_EQ(account.port().state, line::PortState::Opening);
    EXPECT_TRUE(account.port().reason.empty());
    account.portFailed("refused", 7000);
    EXPECT_EQ(account.port().state, line::PortState::NeverOpened);
    EXPECT_EQ(account.port().port, "host:4532");
}

TEST_F(Line, LongFrameWrittenInPiecesIsSentOnceWhole)
{
    const civ::Frame frame = hex("FE FE 94 E0 1A 05 00 01 02 03 04 05 FD");
    const auto id = account.queued(frame, check, 0);
    account.written(std::span(frame).first(5), 1);
    EXPECT_TRUE(account.takeEvents().empty());
    EXPECT_TRUE(account.waiting(id));
    account.written(std::span(frame).subspan(5), 2);
    account.written(hex("FE FE 94 E0 03 FD"), 3);
    const auto events = account.takeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].bytes, frame);
    EXPECT_EQ(events[0].at, 2);
    EXPECT_EQ(events[0].origin, check);
    EXPECT_EQ(events[1].direction, Direction::Sent) << "bytes no frame accounts for still show";
    EXPECT_EQ(events[1].origin, Origin{});
}

TEST_F(Line, WaitingFramesAreHeldBackByOthersTalking)
{
    account.queued(hex("FE FE 94 E0 03 FD"), {}, 100);
    hear("FE FE 94 70 03 FD FE FE 94 88 03 FD FE FE 94 88 04 FD FE FE E0 94 FB FD", 500);
    EXPECT_FALSE(account.heldBack(1000));
    const auto held = account.heldBack(1100);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->since, 100);
    EXPECT_EQ(held->talkers, (std::vector<int>{0x88, 0x70, 0x94}));
    EXPECT_EQ(held->framesHeard, 4);
    account.ringCleared(1200);
    EXPECT_FALSE(account.heldBack(1300));
}

} // namespace
