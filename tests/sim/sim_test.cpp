// What the end-to-end tests do not reach: the simulator's options, and the refusals of its
// radio.
#include "bus_faults.h"
#include "delay_line.h"
#include "options.h"
#include "radio.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace civsim {
namespace {

ParseResult parse(const std::string& line)
{
    std::vector<std::string> args;
    std::istringstream words(line);
    for (std::string word; words >> word;) {
        args.push_back(word);
    }
    return parseOptions(args);
}

TEST(Options, ParseOrRefuseWithAReason)
{
    const ParseResult r = parse("--radio 0x94,freq=7040000,mode=CW,filter=2,bytes=4 --radio=12,"
                                "readid=no --echo garble --jam-every 2.5 --reply-delay 150 "
                                "--controller 0xE0 --collide merge --chatter-every 0.08 --listen "
                                "127.0.0.1:0 --net-delay 180-200 --lose-every 4 --cut-every 3 "
                                "--lose-random 0.25 --flip-echo-bit --seed 7");
    ASSERT_EQ(r.action, ParseResult::Action::Run) << r.error;
    EXPECT_EQ(r.options.radios, (std::vector<RadioConfig>{{0x94, 7'040'000, 0x03, 2, 4, true},
                                                          {12, 14'074'000, 0x01, 1, 5, false}}));
    EXPECT_TRUE(r.options.echo && r.options.garbleEcho);
    EXPECT_EQ(r.options.collide, Collision::Merge);
    EXPECT_EQ(r.options.chatterEverySeconds, 0.08);
    EXPECT_EQ(r.options.controller, 0xE0);
    const LinkFaults& f = r.options.faults;
    EXPECT_EQ(std::tuple(f.netDelayMs, f.netDelayMaxMs, f.loseEvery, f.cutEvery, f.loseChance,
                         f.flipEchoBit, f.seed),
              std::tuple(180, 200, 4, 3, 0.25, true, 7U));
    for (const char* bad :
         {"--radio 0xFD", "--radio 8,freq=100000000,bytes=4", "--radio 8,mode=9",
          "--radio 8,filter=4", "--radio 8 --radio 0x08", "--echo maybe", "--baud 12345",
          "--listen 127.0.0.1:70000", "--device /dev/ttyS0 --listen 127.0.0.1:0", "--jam-every 0",
          "--controller 0xFE", "--bogus", "--collide jam", "--radio 8 --radio 9 --collide both",
          "--radio 8,readid=maybe", "--chatter-every 0", "--lose-every 0", "--lose-random 1.5",
          "--net-delay 20"}) {
        const ParseResult refused = parse(bad);
        EXPECT_EQ(refused.action, ParseResult::Action::Error) << bad;
        EXPECT_FALSE(refused.error.empty()) << bad;
    }
}

// What the radio cannot do is refused with NG; of what is sent to all, only read ID is answered,
// and only by a radio that has it.
TEST(Radio, RefusesWhatItCannotDoAndAnswersOnlyReadIdToBroadcasts)
{
    Radio radio({0x08, 14'074'000, 0x01, 1, 5});
    Radio withoutReadId({0x04, 7'040'000, 0x03, 1, 4, false});
    const std::vector<Frame> ng{{0xEA, 0x08, 0xFA, {}}};
    const std::tuple<Radio*, Frame, std::vector<Frame>> cases[] = {
        {&radio, {0x08, 0xEA, 0x05, {0x00, 0x40, 0x07}}, ng},
        {&radio, {0x08, 0xEA, 0x06, {0x09, 0x01}}, ng},
        {&radio, {0x08, 0xEA, 0x07, {0x02}}, ng},
        {&radio, {0x08, 0xEA, 0x1C, {0x01}}, ng},
        {&radio, {0x08, 0xEA, 0x1C, {0x00, 0x02}}, ng},
        {&radio, {0x00, 0xEA, 0x05, {0x00, 0x00, 0x00, 0x07, 0x00}}, {}},
        {&radio, {0x00, 0xEA, 0x1C, {0x00, 0x01}}, {}},
        {&radio, {0x00, 0xEA, 0x19, {0x00}}, {{0xEA, 0x08, 0x19, {0x00, 0x08}}}},
        {&withoutReadId, {0x00, 0xEA, 0x19, {0x00}}, {}},
        {&withoutReadId, {0x04, 0xEA, 0x19, {0x00}}, {{0xEA, 0x04, 0xFA, {}}}},
    };
    for (const auto& [to, in, out] : cases) {
        EXPECT_EQ(to->handle(in), out);
    }
    EXPECT_FALSE(radio.transmitting());
}

// Two read ID answers become one jam or one merged frame: 0x94 and 0xA4 make 0x84, an address
// no radio has. Other replies, and a lone answer, go out as they are.
TEST(Collide, ReadIdAnswersCollideOthersPass)
{
    const Frame other{0xEA, 0x08, 0x03, {0x00}};
    const std::vector<Frame> answers{
        {0xEA, 0x94, 0x19, {0x00, 0x94}}, {0xEA, 0xA4, 0x19, {0x00, 0xA4}}, other};
    std::vector<Frame> replies = answers;
    EXPECT_EQ(collide(replies, Collision::Merge),
              (Bytes{0xFE, 0xFE, 0xEA, 0x84, 0x19, 0x00, 0x84, 0xFD}));
    EXPECT_EQ(replies, std::vector<Frame>{other});
    replies = answers;
    EXPECT_EQ(collide(replies, Collision::Jam), (Bytes{0xFC, 0xFC}));
    replies = {answers[0], other};
    EXPECT_EQ(collide(replies, Collision::Jam), std::nullopt);
    EXPECT_EQ(replies.size(), 2U);
    replies = answers;
    EXPECT_EQ(collide(replies, Collision::None), std::nullopt);
}

// Lost at random, the same replies for the same seed; lost every Nth: in the process test.
TEST(ReplyFaults, RandomLossFollowsItsSeed)
{
    const auto fates = [](std::uint32_t seed) {
        LinkFaults lossy;
        lossy.loseChance = 0.25;
        ReplyFaults faults(lossy, seed);
        std::vector<ReplyFaults::Fate> out(1000);
        std::ranges::generate(out, [&] { return faults.next(); });
        return out;
    };
    const auto once = fates(7);
    EXPECT_EQ(once, fates(7));
    EXPECT_NE(once, fates(8));
    EXPECT_NEAR(std::ranges::count(once, ReplyFaults::Fate::Lost), 250, 50);
}

TEST(EchoFlipper, EachFrameComesBackToAnotherAddressHoweverTheEchoIsSplit)
{
    const Bytes echo{0xFE, 0xFE, 0x08, 0xEA, 0x03, 0xFD, 0xFE, 0xFE, 0xFE, 0xFF,
                     0xEA, 0x03, 0xFD, 0xFE, 0xFE, 0x00, 0xEA, 0x19, 0x00, 0xFD};
    const Bytes flipped{0xFE, 0xFE, 0x09, 0xEA, 0x03, 0xFD, 0xFE, 0xFE, 0xFE, 0xEF,
                        0xEA, 0x03, 0xFD, 0xFE, 0xFE, 0x01, 0xEA, 0x19, 0x00, 0xFD};
    for (std::size_t split = 0; split <= echo.size(); ++split) {
        Bytes line = echo;
        EchoFlipper flipper;
        flipper.flip(std::span(line).first(split));
        flipper.flip(std::span(line).subspan(split));
        EXPECT_EQ(line, flipped) << "split at " << split;
    }
}

TEST(DelayLine, HoldsEachChunkItsTimeAndKeepsTheirOrder)
{
    using namespace std::chrono_literals;
    const DelayLine::Clock::time_point t0{};
    DelayLine link(180ms, 200ms, 1);
    link.push(Bytes{1}, t0);
    link.push(Bytes{2, 3}, t0 + 1ms);
    EXPECT_TRUE(link.take(t0 + 179ms).empty());
    EXPECT_EQ(link.take(t0 + 201ms), (Bytes{1, 2, 3}));
}

} // namespace
} // namespace civsim
