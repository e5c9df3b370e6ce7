// The link on an in-memory port: frames keep their identity from the ring to the port.
#include "line/link.h"
#include "memory_serial_connection.h"

#include <cctype>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>

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
        start();
        QObject::connect(&link->taps(), &Taps::frame, [this](const FrameEvent& e) {
            told.emplace_back(e.direction, e.request, e.origin, e.bytes);
        });
    }

    // A fresh link on a fresh port.
    void start()
    {
        auto connection = std::make_unique<platform::MemorySerialConnection>();
        port = connection.get();
        link = std::make_unique<Link>(std::move(connection), [this] { return now; });
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

// Requests to radio 94 and its answers; the client's comes from controller E1.
const QByteArray kWindowAsks("\xFE\xFE\x94\xE0\x03\xFD", 6);
const QByteArray kWindowAnswer("\xFE\xFE\xE0\x94\x03\x00\x40\x07\x07\x00\xFD", 11);
const QByteArray kClientAsks("\xFE\xFE\x94\xE1\x1C\x00\x01\xFD", 8);
const QByteArray kClientAnswer("\xFE\xFE\xE1\x94\xFB\xFD", 6);

// Scripts: W the window's request sent, C the client's; w, c the radio's answer to each heard;
// h the first five bytes of w, r the rest; a number, that many ticks. Then each write and the
// tick it left in. The ring's count runs 6 more ticks as a script begins; an unanswered request
// is given up on in the 31st tick after it left.
const std::pair<const char*, const char*> kLaneCases[] = {
    {"Cc1W7", "C0 W7 "},   // at once on an idle bus; its exchange leaves the ring's count be
    {"W7C2w2", "W7 C10 "}, // the window's request holds the client's until its answer
    {"W7C40", "W7 C38 "},  // or until its time is up
    {"CW40", "C0 W31 "},   // the client's request holds the window's due frame likewise
    {"h1C2r1", "C4 "},     // a frame half heard holds it until its end
};

TEST_F(LinkTest, OtherProgramsFramesLeaveOnAQuietBusOneRequestAtATime)
{
    for (const auto& [script, expected] : kLaneCases) {
        start();
        run(5);
        int tick = 0;
        std::string writes;
        QObject::connect(&link->taps(), &Taps::written, [&](const QByteArray& bytes) {
            writes += (bytes == kWindowAsks ? "W" : "C") + std::to_string(tick) + ' ';
        });
        const std::map<char, QByteArray> heard{{'w', kWindowAnswer},
                                               {'c', kClientAnswer},
                                               {'h', kWindowAnswer.left(5)},
                                               {'r', kWindowAnswer.mid(5)}};
        for (const char* step = script; *step != 0;) {
            if (std::isdigit(*step) != 0) {
                char* end = nullptr;
                for (long n = std::strtol(step, &end, 10); n > 0; --n) {
                    ++tick;
                    run(1);
                }
                step = end;
                continue;
            }
            const char op = *step++;
            if (op == 'W' || op == 'C') {
                const QByteArray& frame = op == 'W' ? kWindowAsks : kClientAsks;
                link->send({frame.begin(), frame.end()}, op == 'W' ? Origin{} : kClient);
            } else {
                port->feed(heard.at(op));
            }
        }
        EXPECT_EQ(writes, expected) << script;
    }
}

} // namespace
