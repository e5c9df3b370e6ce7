// The server between its clients and a fake door: what reaches the ring, when, and who is
// answered what.
#include "fake_door.h"
#include "share/rigctl_server.h"

#include <gtest/gtest.h>
#include <map>

namespace share {
namespace {

class FakeListener final : public platform::ClientListener {
public:
    std::optional<std::string> listen(const std::string&, std::uint16_t) override
    {
        return std::nullopt;
    }
    void serve(Events e) override { events = std::move(e); }
    bool listening() const override { return true; }
    std::string address() const override { return "127.0.0.1:4532"; }
    void close() override {}
    void write(std::uint32_t client, std::string_view bytes) override { out[client] += bytes; }
    std::size_t unsent(std::uint32_t client) const override
    {
        return out.count(client) ? out.at(client).size() : 0;
    }
    void disconnect(std::uint32_t client, bool) override
    {
        closed.push_back(client);
        events.gone(client);
    }

    Events events;
    std::map<std::uint32_t, std::string> out;
    std::vector<std::uint32_t> closed;
};

// The server on a fake door and listener; "now" is the server's clock.
struct Rig {
    Rig()
    {
        auto l = std::make_unique<FakeListener>();
        listener = l.get();
        server = std::make_unique<RigctlServer>(door, std::move(l), [this] { return now; });
        server->start("127.0.0.1", 4532);
    }

    void client(std::uint32_t id)
    {
        listener->events.connected(id, "127.0.0.1:" + std::to_string(id));
    }
    void say(std::uint32_t id, std::string_view text) { listener->events.received(id, text); }
    std::string heard(std::uint32_t id) { return std::exchange(listener->out[id], {}); }

    // The line's account of request n: sent, then the radio's answer when there is one.
    void line(std::uint64_t n, line::Direction direction, civ::Frame bytes = {})
    {
        line::FrameEvent e(direction, line::Kind::Frame,
                           bytes.empty() ? door.sent.at(n - 1).first : bytes);
        e.request = n;
        emit door.taps_.frame(e);
    }
    void answer(std::uint64_t n, std::initializer_list<std::uint8_t> body)
    {
        line(n, line::Direction::Sent);
        civ::Frame reply{0xFE, 0xFE, 0xE0, 0x08};
        reply.insert(reply.end(), body);
        reply.push_back(0xFD);
        line(n, line::Direction::Received, reply);
    }
    void tick(line::Millis ms)
    {
        now += ms;
        emit door.taps_.ticked();
    }

    line::Millis now = 100'000;
    FakeDoor door;
    FakeListener* listener = nullptr;
    std::unique_ptr<RigctlServer> server;
};

class RigctlServerTest : public ::testing::Test, public Rig {};

TEST_F(RigctlServerTest, ASetIsAnsweredOnlyAfterTheRadioAndItsAnswerIsKept)
{
    const civ::Frame setFreq{0xFE, 0xFE, 0x08, 0xE0, 0x05, 0x00, 0x40, 0x07, 0x07, 0x00, 0xFD};
    const struct {
        std::function<void(Rig&)> radio;
        const char* answer;
    } cases[] = {
        {[](Rig& t) { t.answer(1, {0xFB}); }, "RPRT 0\n7074000\n"},
        {[](Rig& t) { t.answer(1, {0xFA}); }, "RPRT -9\n"},
        {[](Rig& t) { t.line(1, line::Direction::Dropped); }, "RPRT -6\n"},
        {[](Rig& t) {
             t.line(1, line::Direction::Sent);
             t.tick(line::LinkAccount::kAnswerWindowMs);
             EXPECT_EQ(t.heard(1), "");
             t.tick(1);
         },
         "RPRT -5\n"},
    };
    for (const auto& c : cases) {
        Rig t;
        t.client(1);
        t.say(1, "F 7074000\nf\n");
        ASSERT_EQ(t.door.sent.size(), 1u);
        EXPECT_EQ(t.door.sent[0].first, setFreq);
        EXPECT_EQ(t.door.sent[0].second, (line::Origin{line::Source::Network, 1, "127.0.0.1:1"}));
        EXPECT_EQ(t.heard(1), "");
        c.radio(t);
        const std::string out = t.heard(1);
        EXPECT_EQ(out.substr(0, std::string(c.answer).size()), c.answer);
    }
}

TEST_F(RigctlServerTest, WithoutCommandsForTheOtherVfoItIsSelectedForTheSetAndSelectedBack)
{
    const civ::Frame direct{0xFE, 0xFE, 0x08, 0xE0, 0x25, 0x01, 0x00, 0x50, 0x07, 0x14, 0x00, 0xFD};
    const civ::Frame selectB{0xFE, 0xFE, 0x08, 0xE0, 0x07, 0x01, 0xFD};
    const civ::Frame set{0xFE, 0xFE, 0x08, 0xE0, 0x05, 0x00, 0x50, 0x07, 0x14, 0x00, 0xFD};
    const civ::Frame selectA{0xFE, 0xFE, 0x08, 0xE0, 0x07, 0x00, 0xFD};
    // The radio's answer to the set on the other VFO, and what the client hears.
    const std::pair<std::uint8_t, const char*> cases[] = {{0xFB, "RPRT 0\n"}, {0xFA, "RPRT -9\n"}};
    for (const auto& [taken, reply] : cases) {
        Rig t;
        t.client(1);
        t.say(1, "I 14075000\nI 14075000\n");
        // NG to 25; OK to 07 01; the set's answer; OK to 07 00.
        for (std::uint64_t n = 1; const std::uint8_t a : {std::uint8_t{0xFA}, std::uint8_t{0xFB},
                                                          taken, std::uint8_t{0xFB}}) {
            t.answer(n++, {a});
        }
        EXPECT_EQ(t.heard(1), reply);
        // The radio lacks 25: the second goes the older way at once.
        EXPECT_EQ(t.door.frames(),
                  (std::vector<civ::Frame>{direct, selectB, set, selectA, selectB}));
    }
}

TEST_F(RigctlServerTest, APortThatIsGoneAnswersEveryRadioCommandAtOnceUntilItIsBack)
{
    for (const bool lost : {true, false}) {
        Rig t;
        t.client(1);
        lost ? t.door.account_.portLost("unplugged", 0) : t.door.account_.portFailed("busy", 0);
        t.say(1, "f\nF 7074000\n+t\nM PKTUSB -1\n");
        EXPECT_EQ(t.heard(1), "RPRT -6\nRPRT -6\nget_ptt:\nRPRT -6\nRPRT -6\n");
        EXPECT_TRUE(t.door.sent.empty());
        t.door.account_.portOpened(0);
        t.say(1, "f\n");
        EXPECT_EQ(t.door.sent.size(), 1u);
    }
}

TEST_F(RigctlServerTest, AFourByteRadioIsReadAndSetInFourBytes)
{
    // An IC-735's live report: four BCD bytes, 7.074 MHz.
    emit door.taps_.frame(
        line::FrameEvent(line::Direction::Received, line::Kind::Frame,
                         {0xFE, 0xFE, 0x00, 0x08, 0x00, 0x00, 0x40, 0x07, 0x07, 0xFD}));
    client(1);
    say(1, "f\nF 7040000\n");
    EXPECT_EQ(heard(1), "7074000\n");
    ASSERT_EQ(door.sent.size(), 1u);
    EXPECT_EQ(door.sent[0].first,
              (civ::Frame{0xFE, 0xFE, 0x08, 0xE0, 0x05, 0x00, 0x00, 0x04, 0x07, 0xFD}));
}

TEST_F(RigctlServerTest, ClientsTakeTurnsWithOneFrameInTheRingAndEachHearsItsOwnAnswer)
{
    client(1);
    client(2);
    say(1, "M USB 2400\nT 1\n");
    say(2, "+T 0\n");
    ASSERT_EQ(door.sent.size(), 1u);
    EXPECT_EQ(door.sent[0].first, (civ::Frame{0xFE, 0xFE, 0x08, 0xE0, 0x06, 0x01, 0x02, 0xFD}));
    answer(1, {0xFB});
    ASSERT_EQ(door.sent.size(), 2u);
    EXPECT_EQ(door.sent[1].first, (civ::Frame{0xFE, 0xFE, 0x08, 0xE0, 0x1C, 0x00, 0x00, 0xFD}));
    answer(2, {0xFA});
    // Data mode off after a mode that has none, where the radio has not said it is off.
    EXPECT_EQ(door.sent.at(2).first,
              (civ::Frame{0xFE, 0xFE, 0x08, 0xE0, 0x1A, 0x06, 0x00, 0x00, 0xFD}));
    answer(3, {0xFB});
    EXPECT_EQ(door.sent.at(3).first, (civ::Frame{0xFE, 0xFE, 0x08, 0xE0, 0x1C, 0x00, 0x01, 0xFD}));
    answer(4, {0xFB});
    EXPECT_EQ(heard(1), "RPRT 0\nRPRT 0\n");
    EXPECT_EQ(heard(2), "set_ptt: 0\nRPRT -9\n");
    const auto c = server->clients();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].framesSent, 3);
    EXPECT_EQ(c[1].framesDropped, 1);
}

TEST_F(RigctlServerTest, ReadsComeFromTheLineAndAreKeptFreshOnlyWhileClientsAreConnected)
{
    tick(5000);
    EXPECT_TRUE(door.sent.empty());
    client(1);
    say(1, "f\n");
    EXPECT_EQ(door.sent.size(), 1u) << "nothing known yet";
    answer(1, {0x03, 0x00, 0x40, 0x07, 0x14, 0x00});
    EXPECT_EQ(heard(1), "14074000\n");
    // The radio does not say whether it transmits: taken as receiving, and not asked again.
    tick(50);
    tick(50);
    answer(2, {0x04, 0x03, 0x01});
    answer(3, {0x1A, 0x06, 0x00, 0x00});
    tick(50);
    EXPECT_EQ(door.sent.at(3).first, (civ::Frame{0xFE, 0xFE, 0x08, 0xE0, 0x1C, 0x00, 0xFD}));
    answer(4, {0xFA});
    say(1, "m\nt\n");
    EXPECT_EQ(heard(1), "CW\n1200\n0\n");
    // A live report keeps the frequency fresh; only the mode is read again.
    const line::FrameEvent report(
        line::Direction::Received, line::Kind::Frame,
        {0xFE, 0xFE, 0x00, 0x08, 0x00, 0x00, 0x50, 0x07, 0x07, 0x00, 0xFD});
    emit door.taps_.frame(report);
    tick(RigctlScheduler::kFreshMs - 50);
    ASSERT_EQ(door.sent.size(), 5u);
    EXPECT_EQ(door.sent[4].first, (civ::Frame{0xFE, 0xFE, 0x08, 0xE0, 0x04, 0xFD}));
    say(1, "f\n");
    EXPECT_EQ(heard(1), "7075000\n");
    EXPECT_EQ(server->clients().at(0).framesAnswered, 4) << "each read, from a frame or not";
    listener->disconnect(1, false);
    line(5, line::Direction::Dropped);
    tick(5000);
    EXPECT_EQ(door.sent.size(), 5u);
}

TEST_F(RigctlServerTest, ClientsOverTheirBoundsAreRefusedOrLetGo)
{
    for (std::uint32_t id = 1; id <= RigctlServer::kMaxClients + 1; ++id) {
        client(id);
    }
    EXPECT_EQ(listener->closed, std::vector<std::uint32_t>{RigctlServer::kMaxClients + 1});
    EXPECT_EQ(heard(RigctlServer::kMaxClients + 1), "RPRT -14\n");
    EXPECT_EQ(server->refusedClients(), 1);
    door.full = true;
    say(1, "F 7074000\n");
    EXPECT_EQ(heard(1), "RPRT -14\n");
    door.full = false;
    door.settings_.radioId = -1;
    say(2, "T 1\n");
    EXPECT_EQ(heard(2), "RPRT -2\n");
    // Never reads its answers.
    while (listener->closed.size() < 2) {
        listener->events.received(3, "\\dump_state\n");
        ASSERT_LT(listener->out[3].size(), RigctlServer::kMaxUnsent + 4096);
    }
    EXPECT_EQ(listener->closed.back(), 3u);
    EXPECT_EQ(server->clients().size(), RigctlServer::kMaxClients - 1);
    say(4, "q\n");
    EXPECT_EQ(listener->closed.back(), 4u);
}

} // namespace
} // namespace share
