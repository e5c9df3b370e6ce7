// What the end-to-end tests do not reach: the simulator's options, and the refusals of its
// radio.
#include "options.h"
#include "radio.h"

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
    const ParseResult r = parse("--radio 0x94,freq=7040000,mode=CW,filter=2,bytes=4 --radio=12 "
                                "--echo off --jam-every 2.5 --reply-delay 150 --controller 0xE0");
    ASSERT_EQ(r.action, ParseResult::Action::Run) << r.error;
    EXPECT_EQ(r.options.radios, (std::vector<RadioConfig>{{0x94, 7'040'000, 0x03, 2, 4},
                                                          {12, 14'074'000, 0x01, 1, 5}}));
    EXPECT_FALSE(r.options.echo);
    EXPECT_EQ(r.options.controller, 0xE0);
    for (const char* bad :
         {"--radio 0xFD", "--radio 8,freq=100000000,bytes=4", "--radio 8,mode=9",
          "--radio 8,filter=4", "--radio 8 --radio 0x08", "--echo maybe", "--baud 12345",
          "--listen 127.0.0.1:70000", "--device /dev/ttyS0 --listen 127.0.0.1:0", "--jam-every 0",
          "--controller 0xFE", "--bogus"}) {
        const ParseResult refused = parse(bad);
        EXPECT_EQ(refused.action, ParseResult::Action::Error) << bad;
        EXPECT_FALSE(refused.error.empty()) << bad;
    }
}

TEST(Radio, AnswersNgToWhatItCannotDoAndOnlyReadIdToBroadcasts)
{
    Radio radio({0x08, 14'074'000, 0x01, 1, 5});
    const Frame ng{0xEA, 0x08, 0xFA, {}};
    EXPECT_EQ(radio.handle({0x08, 0xEA, 0x05, {0x00, 0x40, 0x07}}), std::vector<Frame>{ng});
    EXPECT_EQ(radio.handle({0x08, 0xEA, 0x06, {0x09, 0x01}}), std::vector<Frame>{ng});
    EXPECT_TRUE(radio.handle({0x00, 0xEA, 0x05, {0x00, 0x00, 0x00, 0x07, 0x00}}).empty());
    EXPECT_EQ(radio.handle({0x00, 0xEA, 0x19, {0x00}}),
              (std::vector<Frame>{{0xEA, 0x08, 0x19, {0x00, 0x08}}}));
}

TEST(Radio, RefusesVfoAndTransmitCommandsItDoesNotHave)
{
    Radio radio({0x58, 14'074'000, 0x01, 1, 5});
    for (const Frame& bad : {Frame{0x58, 0xE0, 0x07, {0x02}}, Frame{0x58, 0xE0, 0x1C, {0x01}},
                             Frame{0x58, 0xE0, 0x1C, {0x00, 0x02}}}) {
        EXPECT_EQ(radio.handle(bad), (std::vector<Frame>{{0xE0, 0x58, 0xFA, {}}}));
    }
    EXPECT_TRUE(radio.handle({0x00, 0xE0, 0x1C, {0x00, 0x01}}).empty());
    EXPECT_FALSE(radio.transmitting());
}

} // namespace
} // namespace civsim
