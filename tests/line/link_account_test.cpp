// The link account: how it cuts the line, pairs replies, counts silence and tells hold-back.
#include "hex.h"
#include "line/link_account.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

using namespace line;

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
        account.written(id, now);
        return id;
    }
    std::vector<FrameEvent> hear(const std::string& bytes, Millis now)
    {
        account.received(hex(bytes), now);
        return account.takeEvents();
    }
};

// A frame to E0 from 94 with this many bytes after its command, the overlong one's head.
std::string longFrame(int bytes, bool whole = true)
{
    std::string text = "FE FE FE E0 94 1A";
    for (int i = 0; i < bytes; ++i) {
        text += " 11";
    }
    return whole ? text + " FD" : text;
}

// Each piece: kind, bytes, its sender as the event reads it.
using Pieces = std::vector<std::tuple<Kind, civ::Frame, int>>;
struct Cut {
    std::string line;
    Pieces pieces;
    friend void PrintTo(const Cut& cut, std::ostream* os)
    {
        *os << cut.line.substr(0, 36) << " (" << hex(cut.line).size() << " bytes)";
    }
};
struct Cutting : ::testing::TestWithParam<Cut> {};

TEST_P(Cutting, PiecesDoNotDependOnHowReadsSplit)
{
    const civ::Frame line = hex(GetParam().line);
    for (std::size_t split = 0; split <= line.size(); ++split) {
        LinkAccount account;
        account.received(std::span(line).first(split), 0);
        account.received(std::span(line).subspan(split), 0);
        account.tick(0);
        Pieces pieces;
        for (const FrameEvent& e : account.takeEvents()) {
            pieces.emplace_back(e.kind, e.bytes, e.view.from);
            EXPECT_EQ(e.wireLength, e.kind == Kind::Overlong ? line.size() : e.bytes.size());
        }
        EXPECT_EQ(pieces, GetParam().pieces) << "split at " << split;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Line, Cutting,
    ::testing::Values(
        Cut{"FE FE FE FE 94 E0 03 FD", {{Kind::Frame, hex("FE FE FE FE 94 E0 03 FD"), 0xE0}}},
        Cut{"FE FE 94 E0 FD FE FE 94 E0 03 FD",
            {{Kind::Headless, hex("FE FE 94 E0 FD"), 0xE0},
             {Kind::Frame, hex("FE FE 94 E0 03 FD"), 0xE0}}},
        Cut{"FE FE 94 E0 03 FC FE FE E0 94 FB FD",
            {{Kind::Stray, hex("FE FE 94 E0 03"), -1},
             {Kind::Jam, {0xFC}, -1},
             {Kind::Frame, hex("FE FE E0 94 FB FD"), 0x94}}},
        Cut{"01 FE 02 FE FE E0 94 FE FB FD 03 FE",
            {{Kind::Stray, hex("01 FE 02"), -1},
             {Kind::Frame, hex("FE FE E0 94 FE FB FD"), 0x94},
             {Kind::Stray, {3}, -1}}},
        Cut{"FE FE E0 94 03 00 40 FE FE FE E0 94 03 00 40 07 07 00 FD FE FE E0 94 FE FE E0 94 FB "
            "FD",
            {{Kind::Stray, hex("FE FE E0 94 03 00 40"), -1},
             {Kind::Frame, hex("FE FE FE E0 94 03 00 40 07 07 00 FD"), 0x94},
             {Kind::Stray, hex("FE FE E0 94"), -1},
             {Kind::Frame, hex("FE FE E0 94 FB FD"), 0x94}}},
        Cut{"FE FC 07",
            {{Kind::Stray, {0xFE}, -1}, {Kind::Jam, {0xFC}, -1}, {Kind::Stray, {7}, -1}}},
        Cut{longFrame(257), {{Kind::Frame, hex(longFrame(257)), 0x94}}},
        Cut{longFrame(300), {{Kind::Overlong, hex(longFrame(257, false)), 0x94}}}));

TEST_F(Line, StrayRunIsStampedWithItsFirstByteAndShownAtTick)
{
    EXPECT_TRUE(hear("01", 10).empty());
    hear("02", 20);
    account.tick(30);
    const auto events = account.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].bytes, hex("01 02"));
    EXPECT_EQ(events[0].at, 10);
}

constexpr auto kRead = "FE FE 94 E0 03 FD";
constexpr auto kFreq = "FE FE E0 94 03 00 00 10 14 00 FD";
constexpr auto kOk = "FE FE E0 94 FB FD";
constexpr std::optional<std::uint64_t> kNone;

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

TEST_F(Line, NetworkEchoComesBackLaterThroughTheFarEndsBuffers)
{
    account.portChosen("tcp://127.0.0.1:4000", 9600, true, 0);
    account.portOpened(0);
    // Behind a slow link, both ways, each echo takes about a second: the window follows.
    const auto first = send(kRead, 0, check);
    const auto second = send("FE FE 94 E0 04 FD", 100, check);
    const auto third = send(kRead, 1200, check);
    account.takeEvents();
    EXPECT_EQ(hear(kRead, 900).at(0).request, first);
    EXPECT_EQ(hear("FE FE 94 E0 04 FD", 1100).at(0).request, second);
    const auto garbled = hear("FE FE 95 E0 03 FD", 2100).at(0);
    EXPECT_EQ(std::tuple(garbled.direction, garbled.garbled, garbled.request, garbled.clash),
              std::tuple(Direction::Echo, true, third, false));
    send(kRead, 3000);
    account.takeEvents();
    EXPECT_TRUE(hear(kRead, 5100).at(0).clash) << "past twice the longest echo seen";
}

struct Pairing {
    std::vector<std::string> requests; // sent 100 ms apart from 0
    std::string reply;
    Millis at;
    std::optional<std::uint64_t> answers;
    friend void PrintTo(const Pairing& p, std::ostream* os)
    {
        *os << p.requests.back() << " then " << p.reply << " at " << p.at;
    }
};
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
    EXPECT_EQ(account.count(check).answered, GetParam().answers ? 1 : 0);
    EXPECT_EQ(account.count(check).refused, heard[0].view.command == 0xFA ? 1 : 0);
    if (GetParam().answers) {
        EXPECT_EQ(heard[0].origin, check);
        EXPECT_EQ(heard[0].roundTrip, GetParam().at - 100 * Millis(*GetParam().answers - 1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Line, Pairs,
    ::testing::Values(
        Pairing{{kRead, "FE FE 94 E0 05 00 00 10 14 00 FD"}, kOk, 300, 2},
        Pairing{{kRead, "FE FE 94 E0 07 FD"}, kOk, 300, 2}, Pairing{{kRead}, kOk, 300, kNone},
        Pairing{{"FE FE 94 E0 14 01 FD", kRead}, "FE FE E0 94 FA FD", 300, 1},
        Pairing{
            {"FE FE 94 E0 14 01 FD", "FE FE 94 E0 14 02 FD"}, "FE FE E0 94 14 02 00 80 FD", 300, 2},
        Pairing{{"FE FE 88 E0 03 FD", kRead}, kFreq, 300, 2},
        Pairing{{kRead}, kFreq, 1600, kNone}));

// Ten polls of one kind, `apart`; the radio answers each after `delay`, in order, but not the
// `lost`.
using Polls = std::tuple<Millis, Millis, std::set<int>>;
struct Losses : Line, ::testing::WithParamInterface<Polls> {};

TEST_P(Losses, EachReplyGoesToItsOwnPollAndTheLostAreTold)
{
    const auto& [apart, delay, lost] = GetParam();
    send(kRead, 0); // the main window's poll: the radio has shown how long it takes
    hear(kFreq, delay);
    std::multimap<Millis, int> line; // poll i leaves (-1 - i) or is answered (i)
    for (int i = 0; i < 10; ++i) {
        line.emplace(3000 + i * apart, -1 - i);
        if (!lost.contains(i)) {
            line.emplace(3000 + i * apart + delay, i);
        }
    }
    std::vector<std::uint64_t> ids;
    std::set<std::uint64_t> told;
    for (const auto& [at, poll] : line) {
        if (poll < 0) {
            ids.push_back(send(kRead, at, check));
            account.takeEvents();
            continue;
        }
        const FrameEvent reply = hear(kFreq, at).at(0);
        EXPECT_EQ(std::tuple(reply.request, reply.roundTrip), std::tuple(ids.at(poll), delay));
        told.insert(reply.lost.begin(), reply.lost.end());
    }
    std::set<std::uint64_t> known; // a loss is known once a later poll is answered
    for (const int poll : lost) {
        if (poll < 9) {
            known.insert(ids[poll]);
        }
    }
    EXPECT_EQ(told, known);
}

INSTANTIATE_TEST_SUITE_P(Line, Losses,
                         ::testing::Values(Polls{200, 10, {3}}, Polls{150, 60, {1, 3, 5, 7, 9}},
                                           Polls{170, 600, {}}, Polls{170, 600, {4}},
                                           Polls{300, 700, {0, 1}}));

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
    account.dropped(account.queued(hex("FE FE 94 E0 04 FD"), {}, 0), 10);
    EXPECT_EQ(account.takeEvents()[0].direction, Direction::Dropped);
    account.tick(5000);
    EXPECT_EQ(account.radio(0x94).unanswered, 0);
    send("FE FE 94 E0 05 00 00 10 14 00 FD", 6000);
    account.tick(8000);
    send(kRead, 9000);
    account.tick(11000);
    EXPECT_EQ(account.radio(0x94).unanswered, 2);
    EXPECT_EQ(account.radio(0x94).silentSince, 6000);
    EXPECT_EQ(account.count({}).sent, 2);
    hear("FE FE 00 94 00 00 00 10 14 00 FD", 12000);
    EXPECT_EQ(account.radio(0x94).unanswered, 0);
    EXPECT_EQ(account.radio(0x94).lastHeard, 12000);
    EXPECT_FALSE(account.radio(0x94).silentSince);
}

TEST_F(Line, PortStatesAndALostPortForgetsRequestsWithoutBlamingTheRadio)
{
    send(kRead, 0);
    account.portLost("unplugged", 100);
    account.takeEvents();
    EXPECT_EQ(std::tie(account.port().state, account.port().reason, account.port().since),
              std::tuple(PortState::Lost, "unplugged", 100));
    EXPECT_EQ(hear(kFreq, 200)[0].request, kNone);
    account.tick(5000);
    EXPECT_EQ(account.radio(0x94).unanswered, 0);
    account.portChosen("host:4532", 0, true, 6000);
    account.portOpening(6000);
    EXPECT_EQ(std::tie(account.port().state, account.port().reason),
              std::tuple(PortState::Opening, ""));
    account.portFailed("refused", 7000);
    EXPECT_EQ(std::tie(account.port().state, account.port().port),
              std::tuple(PortState::NeverOpened, "host:4532"));
}

TEST_F(Line, OnlyOthersHoldOurFramesBackFromTheirFirstFrameWhileTheyGoOn)
{
    const auto report = [this](const std::string& from, Millis at) {
        hear("FE FE 00 " + from + " 00 00 00 50 45 01 FD", at);
        account.tick(at);
    };
    // Our backlog: the sets leave one by one, each OK'd, the last OK after its set's time-out.
    std::vector<std::uint64_t> sets;
    for (int i = 0; i < 8; ++i) {
        sets.push_back(account.queued(hex("FE FE 94 E0 05 00 00 10 14 00 FD"), {}, 0));
    }
    for (int i = 0; i < 5; ++i) {
        account.written(sets[i], i * 300);
        hear(kOk, i * 300 + 20);
    }
    hear(kOk, 3000);
    EXPECT_FALSE(account.heldBack(3000)) << "no busy bus of our own frames";
    report("88", 3000);
    report("70", 3100);
    for (int i = 5; i < 8; ++i) {
        account.written(sets[i], 3200);
    }
    report("70", 3300); // nothing of ours waits
    const auto poll = account.queued(hex(kRead), {}, 3500);
    report("70", 3900);
    const HoldBack held = account.heldBack(4500).value();
    EXPECT_EQ(std::tie(held.since, held.talkers, held.framesHeard),
              std::tuple(0, std::vector<int>{0x70, 0x88}, 3));
    account.written(poll, 4500);
    account.tick(5000);
    account.queued(hex(kRead), {}, 5050);
    report("94", 5100);
    EXPECT_EQ(account.heldBack(6100).value().since, 5050) << "quiet for a hold once ours left";
    account.ringCleared(6100);
    EXPECT_FALSE(account.heldBack(6100));
}

} // namespace
