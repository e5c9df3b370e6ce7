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
            link->read();
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
    const auto second = link->send(longFrame, kClient);
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
                                    {Direction::Sent, second, kClient, longFrame},
                                    {Direction::Sent, third, Origin{}, frameOf(0x04)}}));
    EXPECT_EQ(link->count(kClient).sent, 1);
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

} // namespace
