#include "options.h"

#include <gtest/gtest.h>
#include <sstream>

namespace civsim {
namespace {

using Action = ParseResult::Action;

ParseResult parse(const std::string& line)
{
    std::vector<std::string> args;
    std::istringstream words(line);
    for (std::string word; words >> word;) {
        args.push_back(word);
    }
    return parseOptions(args);
}

TEST(Options, DefaultsToOneUsbRadioOnAPty)
{
    const ParseResult r = parseOptions({});
    ASSERT_EQ(r.action, Action::Run) << r.error;
    const Options& o = r.options;
    EXPECT_EQ(o.line, LineKind::Pty);
    EXPECT_EQ(o.radios, (std::vector<RadioConfig>{{0x08, 14'074'000, 0x01, 1, 5}}));
    EXPECT_TRUE(o.echo);
    EXPECT_FALSE(o.flood || o.transceive || o.log);
    EXPECT_EQ(o.controller, 0xEA);
    EXPECT_EQ(o.baud, 57600);
}

TEST(Options, ParsesEveryOption)
{
    const ParseResult r = parse("--radio 0x94,freq=7040000,mode=CW,filter=2,bytes=4 "
                                "--radio=12,mode=0x0b,freq=1296000000 --echo off --jam-every 2.5 "
                                "--noise-every=0.5 --reply-delay 150 --transceive --flood "
                                "--controller 0xE0 --log --baud 9600 --device /dev/ttyUSB0");
    ASSERT_EQ(r.action, Action::Run) << r.error;
    const Options& o = r.options;
    EXPECT_EQ(o.line, LineKind::Device);
    EXPECT_EQ(o.device, "/dev/ttyUSB0");
    EXPECT_EQ(o.baud, 9600);
    EXPECT_EQ(o.radios, (std::vector<RadioConfig>{{0x94, 7'040'000, 0x03, 2, 4},
                                                  {12, 1'296'000'000, 0x0B, 1, 5}}));
    EXPECT_FALSE(o.echo);
    EXPECT_DOUBLE_EQ(o.jamEverySeconds, 2.5);
    EXPECT_DOUBLE_EQ(o.noiseEverySeconds, 0.5);
    EXPECT_EQ(o.replyDelayMs, 150);
    EXPECT_TRUE(o.transceive && o.flood && o.log);
    EXPECT_EQ(o.controller, 0xE0);
}

TEST(Options, ParsesListenAddress)
{
    const ParseResult v4 = parse("--listen 127.0.0.1:0");
    ASSERT_EQ(v4.action, Action::Run) << v4.error;
    EXPECT_EQ(v4.options.line, LineKind::Tcp);
    EXPECT_EQ(v4.options.listenHost, "127.0.0.1");
    EXPECT_EQ(v4.options.listenPort, 0);

    const ParseResult v6 = parse("--listen [::1]:4532");
    ASSERT_EQ(v6.action, Action::Run) << v6.error;
    EXPECT_EQ(v6.options.listenHost, "::1");
    EXPECT_EQ(v6.options.listenPort, 4532);
}

TEST(Options, HelpAndVersion)
{
    EXPECT_EQ(parseOptions({"--flood", "--help"}).action, Action::Help);
    EXPECT_EQ(parseOptions({"--version"}).action, Action::Version);
    const std::string help = helpText();
    for (const char* option : {"--device", "--baud", "--listen", "--radio", "--echo", "--jam-every",
                               "--noise-every", "--reply-delay", "--transceive", "--flood",
                               "--controller", "--log", "--link", "--help", "--version"}) {
        EXPECT_NE(help.find(std::string("civ-sim ") + option), std::string::npos)
            << option << " has no example";
    }
}

TEST(Options, RejectsBadInput)
{
    for (const char* line : {"--radio 256",
                             "--radio 0xFC",
                             "--radio 0xFD",
                             "--radio 0xFE",
                             "--radio 0",
                             "--radio eight",
                             "--radio 8,freq=100000000,bytes=4",
                             "--radio 8,bytes=4,freq=100000000",
                             "--radio 8,freq=10000000000",
                             "--radio 8,freq=14.074",
                             "--radio 8,mode=9",
                             "--radio 8,mode=DIGI",
                             "--radio 8,filter=0",
                             "--radio 8,filter=4",
                             "--radio 8,bytes=6",
                             "--radio 8,volume=3",
                             "--radio 8,freq",
                             "--radio 8 --radio 0x08",
                             "--radio",
                             "--echo maybe",
                             "--baud 12345",
                             "--listen 4532",
                             "--listen 127.0.0.1:70000",
                             "--device /dev/ttyS0 --listen 127.0.0.1:0",
                             "--link /tmp/bus --listen 127.0.0.1:0",
                             "--link=",
                             "--jam-every 0",
                             "--noise-every -1",
                             "--jam-every often",
                             "--reply-delay -5",
                             "--controller 0xFE",
                             "--flood=yes",
                             "--bogus",
                             "stray"}) {
        const ParseResult r = parse(line);
        EXPECT_EQ(r.action, Action::Error) << line;
        EXPECT_FALSE(r.error.empty()) << line;
    }
}

} // namespace
} // namespace civsim
