#include "radio.h"

#include <gtest/gtest.h>

namespace civsim {
namespace {

constexpr std::uint8_t kController = 0xE0;

Bytes ask(Radio& radio, std::uint8_t cmd, Bytes data = {}, std::uint8_t from = kController)
{
    const auto replies = radio.handle(Frame{radio.address(), from, cmd, std::move(data)});
    EXPECT_EQ(replies.size(), 1u);
    return replies.empty() ? Bytes{} : replies[0].encode();
}

const Bytes kOkFrom08{0xFE, 0xFE, 0xE0, 0x08, 0xFB, 0xFD};
const Bytes kNgFrom08{0xFE, 0xFE, 0xE0, 0x08, 0xFA, 0xFD};

TEST(Radio, ReadsAnswerWithConfiguredState)
{
    Radio radio(RadioConfig{});
    EXPECT_EQ(ask(radio, 0x03),
              (Bytes{0xFE, 0xFE, 0xE0, 0x08, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD}));
    EXPECT_EQ(ask(radio, 0x04), (Bytes{0xFE, 0xFE, 0xE0, 0x08, 0x04, 0x01, 0x01, 0xFD}));

    ask(radio, 0x05, {0x00, 0x40, 0x07, 0x07});
    EXPECT_EQ(radio.frequency(), 7'074'000u) << "a five-byte radio takes four bytes too";

    Radio old(RadioConfig{0x04, 7'040'000, 0x03, 2, 4});
    EXPECT_EQ(ask(old, 0x03), (Bytes{0xFE, 0xFE, 0xE0, 0x04, 0x03, 0x00, 0x00, 0x04, 0x07, 0xFD}));
    EXPECT_EQ(ask(old, 0x04, {}, 0x94), (Bytes{0xFE, 0xFE, 0x94, 0x04, 0x04, 0x03, 0x02, 0xFD}))
        << "the reply goes to whoever asked";
}

TEST(Radio, SetFrequencyIsReadBack)
{
    Radio radio(RadioConfig{});
    EXPECT_EQ(ask(radio, 0x05, {0x50, 0x34, 0x12, 0x96, 0x12}), kOkFrom08);
    EXPECT_EQ(radio.frequency(), 1'296'123'450u);
    EXPECT_EQ(ask(radio, 0x03),
              (Bytes{0xFE, 0xFE, 0xE0, 0x08, 0x03, 0x50, 0x34, 0x12, 0x96, 0x12, 0xFD}));

    ask(radio, 0x05, {0x00, 0x40, 0x07, 0x07});
    EXPECT_EQ(radio.frequency(), 7'074'000u) << "a five-byte radio takes four bytes too";

    Radio old(RadioConfig{0x04, 7'040'000, 0x03, 2, 4});
    ask(old, 0x05, {0x00, 0x50, 0x02, 0x21});
    EXPECT_EQ(old.frequency(), 21'025'000u);
}

TEST(Radio, MalformedFrequencyIsRefusedAndIgnored)
{
    Radio radio(RadioConfig{});
    EXPECT_EQ(ask(radio, 0x05, {0x00, 0x4A, 0x07, 0x14, 0x00}), kNgFrom08); // not BCD
    EXPECT_EQ(ask(radio, 0x05, {0x00, 0x40, 0x07}), kNgFrom08);             // too short
    EXPECT_EQ(ask(radio, 0x05, {0x00, 0x40, 0x07, 0x14, 0x00, 0x00}), kNgFrom08);
    EXPECT_EQ(ask(radio, 0x05), kNgFrom08);
    EXPECT_EQ(radio.frequency(), 14'074'000u);

    Radio old(RadioConfig{0x08, 7'040'000, 0x03, 2, 4});
    EXPECT_EQ(ask(old, 0x05, {0x00, 0x00, 0x04, 0x07, 0x00}), kNgFrom08);
    EXPECT_EQ(old.frequency(), 7'040'000u);
}

TEST(Radio, SetModeValidatesModeAndFilter)
{
    Radio radio(RadioConfig{});
    EXPECT_EQ(ask(radio, 0x06, {0x03, 0x03}), kOkFrom08);
    EXPECT_EQ(ask(radio, 0x06, {0x0B}), kOkFrom08);
    EXPECT_EQ(radio.mode(), 0x0B);
    EXPECT_EQ(radio.filter(), 3) << "a mode without filter keeps the filter";

    EXPECT_EQ(ask(radio, 0x06, {0x09}), kNgFrom08);
    EXPECT_EQ(ask(radio, 0x06, {0x11, 0x01}), kNgFrom08);
    EXPECT_EQ(ask(radio, 0x06, {0x01, 0x00}), kNgFrom08);
    EXPECT_EQ(ask(radio, 0x06, {0x01, 0x04}), kNgFrom08);
    EXPECT_EQ(ask(radio, 0x06, {0x01, 0x01, 0x01}), kNgFrom08);
    EXPECT_EQ(ask(radio, 0x06), kNgFrom08);
    EXPECT_EQ(ask(radio, 0x04), (Bytes{0xFE, 0xFE, 0xE0, 0x08, 0x04, 0x0B, 0x03, 0xFD}));
}

TEST(Radio, UnsupportedCommandsAreRefused)
{
    Radio radio(RadioConfig{});
    EXPECT_EQ(ask(radio, 0x1A, {0x05}), kNgFrom08);
    EXPECT_EQ(ask(radio, 0x00, {0x00, 0x00, 0x00, 0x07, 0x00}), kNgFrom08);
    EXPECT_EQ(ask(radio, 0x03, {0x00}), kNgFrom08) << "a read takes no data";
    EXPECT_EQ(radio.frequency(), 14'074'000u);
}

TEST(Radio, IgnoresFramesForOtherStations)
{
    Radio radio(RadioConfig{});
    EXPECT_TRUE(radio.handle(Frame{0x70, 0xE0, 0x03, {}}).empty());
    EXPECT_TRUE(radio.handle(Frame{0x70, 0xE0, 0x05, {0x00, 0x00, 0x00, 0x07, 0x00}}).empty());
    EXPECT_TRUE(radio.handle(Frame{0xE0, 0x08, 0xFB, {}}).empty());
    EXPECT_EQ(radio.frequency(), 14'074'000u);
}

TEST(Radio, ActsOnBroadcastsSilently)
{
    Radio radio(RadioConfig{});
    EXPECT_TRUE(radio.handle(Frame{0x00, 0xE0, 0x05, {0x00, 0x00, 0x00, 0x07, 0x00}}).empty());
    EXPECT_EQ(radio.frequency(), 7'000'000u);
    EXPECT_TRUE(radio.handle(Frame{0x00, 0xE0, 0x06, {0x00, 0x02}}).empty());
    EXPECT_EQ(radio.mode(), 0x00);
    EXPECT_EQ(radio.filter(), 2);
    EXPECT_TRUE(radio.handle(Frame{0x00, 0xE0, 0x03, {}}).empty());
    EXPECT_TRUE(radio.handle(Frame{0x00, 0xE0, 0x06, {0x09}}).empty());
    EXPECT_TRUE(radio.handle(Frame{0x00, 0x94, 0x00, {0x00, 0x00, 0x10, 0x07, 0x00}}).empty());
    EXPECT_EQ(radio.frequency(), 7'100'000u) << "follows another radio's transceive report";
}

TEST(Radio, TransceiveBroadcastsNewFrequency)
{
    Radio radio(RadioConfig{}, true);
    const auto out = radio.handle(Frame{0x08, 0xE0, 0x05, {0x00, 0x00, 0x00, 0x07, 0x00}});
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].encode(), kOkFrom08);
    EXPECT_EQ(out[1].encode(),
              (Bytes{0xFE, 0xFE, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0xFD}));

    const auto refused = radio.handle(Frame{0x08, 0xE0, 0x05, {0x0F, 0x00, 0x00, 0x07, 0x00}});
    ASSERT_EQ(refused.size(), 1u) << "no broadcast for a refused set";
    EXPECT_EQ(refused[0].encode(), kNgFrom08);
}

} // namespace
} // namespace civsim
