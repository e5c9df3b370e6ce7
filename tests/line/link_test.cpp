// The link on an in-memory port: frames keep their identity from the ring to the port.
#include "line/link.h"
#include "memory_serial_connection.h"

#include <gtest/gtest.h>

namespace {

using namespace line;

civ::Frame frameOf(std::uint8_t command, std::size_t dataBytes = 0)
{
    civ::Frame frame{0xFE, 0xFE, 0x94, 0xE0, command};
    frame.insert(frame.end(), dataBytes, 0x11);
    frame.push_back(0xFD);
    return frame;
}

const Origin kCheck{Source::Check, 0, {}};
const Origin kTyped{Source::Typed, 0, {}};
const Origin kClient{Source::Network, 2, "127.0.0.1:4000"};

struct LinkTest : ::testing::Test {
    LinkTest()
    {
        auto connection = std::make_unique<platform::MemorySerialConnection>();
        port = connection.get();
        link = std::make_unique<Link>(std::move(connection), [this] { return now; });
        QObject::connect(&link->taps(), &Taps::frame, [this](const FrameEvent& e) {
            told.emplace_back(e.direction, e.request, e.origin, e.bytes);
        });
        link->open(QStringLiteral("/dev/A"), 9600);
    }

    // The pump's ticks without a window.
    void run(int ticks)
    {
        for (int n = 0; n < ticks; ++n) {
            now += Link::kTickMs;
            for (const char byte : link->read().bytes) {
                link->parse(static_cast<std::uint8_t>(byte));
            }
            link->release();
            link->finishTick();
        }
    }

    platform::MemorySerialConnection* port = nullptr;
    std::unique_ptr<Link> link;
    Millis now = 0;
    std::vector<std::tuple<Direction, std::optional<std::uint64_t>, Origin, civ::Frame>> told;
};

TEST_F(LinkTest, EachFrameIsToldSentAsItselfOnceItsLastPieceHasLeft)
{
    const civ::Frame longFrame = frameOf(0x1A, 60);
    const auto first = link->send(frameOf(0x03), kCheck);
    const auto second = link->send(longFrame, kTyped);
    const auto third = link->send(frameOf(0x04), {});
    run(12);
    EXPECT_TRUE(link->waiting(*second)) << "half of it left";
    run(30);
    QList<qsizetype> pieces;
    for (const QByteArray& piece : port->writes) {
        pieces.append(piece.size());
    }
    EXPECT_EQ(pieces, (QList<qsizetype>{6, 50, 16, 6}));
    EXPECT_EQ(told, (decltype(told){{Direction::Sent, first, kCheck, frameOf(0x03)},
                                    {Direction::Sent, second, kTyped, longFrame},
                                    {Direction::Sent, third, Origin{}, frameOf(0x04)}}));
    EXPECT_EQ(link->count(kTyped).sent, 1);
}

TEST_F(LinkTest, AFrameThePortDidNotTakeWholeIsDroppedAndSoIsWhatAResetEmpties)
{
    const auto cut = link->send(frameOf(0x1A, 60), kCheck);
    const auto closed = link->send(frameOf(0x03), {});
    run(1);
    port->fail(QStringLiteral("unplugged"));
    run(30);
    EXPECT_EQ(port->writes.size(), 1);
    const auto reset = link->send(frameOf(0x04), kClient);
    link->resetRing();
    link->publish();
    EXPECT_EQ(told, (decltype(told){{Direction::Dropped, cut, kCheck, frameOf(0x1A, 60)},
                                    {Direction::Dropped, closed, Origin{}, frameOf(0x03)},
                                    {Direction::Dropped, reset, kClient, frameOf(0x04)}}));
    EXPECT_FALSE(link->waiting(*reset));
}

// One step of the pump's script: a frame of the window's or another program's, bytes heard on
// the bus, or ticks.
struct Step {
    enum Op { Window, Client, Hear, Ticks } op;
    int ticks = 0;
    QByteArray heard = {};
};

// Requests to radio 94 and its answers; the client's comes from controller E1.
const QByteArray kWindowAsks("\xFE\xFE\x94\xE0\x03\xFD", 6);
const QByteArray kWindowAnswer("\xFE\xFE\xE0\x94\x03\x00\x40\x07\x07\x00\xFD", 11);
const QByteArray kClientAsks("\xFE\xFE\x94\xE1\x1C\x00\x01\xFD", 8);
const QByteArray kClientAnswer("\xFE\xFE\xE1\x94\xFB\xFD", 6);

civ::Frame frameOf(const QByteArray& bytes)
{
    return {bytes.begin(), bytes.end()};
}

struct LaneCase {
    const char* what;
    std::vector<Step> script;
    // Each write, in order: 'W' or 'C', and the tick it happened in.
    std::vector<std::pair<char, int>> writes;
};

// The ring's count runs 6 more ticks when a script begins; a request unanswered is given up
// on in the 31st tick after it left.
const LaneCase kLaneCases[] = {
    {"an idle bus takes the client's frame at once; its exchange leaves the ring's count be",
     {{Step::Client},
      {Step::Hear, 0, kClientAnswer},
      {Step::Ticks, 1},
      {Step::Window},
      {Step::Ticks, 7}},
     {{'C', 0}, {'W', 7}}},
    {"the window's request holds the client's frame until its answer",
     {{Step::Window},
      {Step::Ticks, 7},
      {Step::Client},
      {Step::Ticks, 2},
      {Step::Hear, 0, kWindowAnswer},
      {Step::Ticks, 2}},
     {{'W', 7}, {'C', 10}}},
    {"the window's request holds the client's frame until its time is up",
     {{Step::Window}, {Step::Ticks, 7}, {Step::Client}, {Step::Ticks, 40}},
     {{'W', 7}, {'C', 38}}},
    {"the client's request holds the window's due frame until its time is up",
     {{Step::Client}, {Step::Window}, {Step::Ticks, 40}},
     {{'C', 0}, {'W', 31}}},
    {"a frame half heard on the bus holds the client's until its end",
     {{Step::Hear, 0, kWindowAnswer.left(5)},
      {Step::Ticks, 1},
      {Step::Client},
      {Step::Ticks, 2},
      {Step::Hear, 0, kWindowAnswer.mid(5)},
      {Step::Ticks, 1}},
     {{'C', 4}}},
};

TEST_F(LinkTest, OtherProgramsFramesLeaveOnAQuietBusOneRequestAtATime)
{
    for (const LaneCase& c : kLaneCases) {
        auto connection = std::make_unique<platform::MemorySerialConnection>();
        port = connection.get();
        link = std::make_unique<Link>(std::move(connection), [this] { return now; });
        link->open(QStringLiteral("/dev/A"), 9600);
        run(5);
        int tick = 0;
        std::vector<std::pair<char, int>> writes;
        QObject::connect(&link->taps(), &Taps::written, [&](const QByteArray& bytes) {
            writes.emplace_back(bytes == kWindowAsks ? 'W' : 'C', tick);
        });
        for (const Step& step : c.script) {
            switch (step.op) {
            case Step::Window:
                link->send(frameOf(kWindowAsks), {});
                break;
            case Step::Client:
                link->send(frameOf(kClientAsks), kClient);
                break;
            case Step::Hear:
                port->feed(step.heard);
                break;
            case Step::Ticks:
                for (int n = 0; n < step.ticks; ++n) {
                    ++tick;
                    run(1);
                }
                break;
            }
        }
        EXPECT_EQ(writes, c.writes) << c.what;
    }
}

} // namespace
