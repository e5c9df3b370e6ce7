#include "civ/reply_decoder.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace civ {
namespace {

struct FreqCase {
    std::vector<int> msg;
    double khz;
};

class ParseFreqTest : public ::testing::TestWithParam<FreqCase> {};

TEST_P(ParseFreqTest, DecodesKhz)
{
    EXPECT_NEAR(ParseFreq(GetParam().msg), GetParam().khz, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Replies, ParseFreqTest,
                         ::testing::Values(FreqCase{{0x00, 0x40, 0x07, 0x14, 0x00}, 14074},
                                           FreqCase{{0x00, 0x40, 0x07, 0x14}, 14074},
                                           FreqCase{{0x50, 0x34, 0x12, 0x07, 0x00}, 7123.45},
                                           FreqCase{{0x00, 0x00, 0x50, 0x45, 0x01}, 145500},
                                           FreqCase{{0x00, 0x00, 0x20, 0x96, 0x12}, 1296200},
                                           FreqCase{{0x23, 0x41, 0x07, 0x14}, 14074.123},
                                           FreqCase{{0x14}, 1400000}, FreqCase{{}, 0}));

TEST(ParseMode, CombinesModeAndFilter)
{
    EXPECT_EQ(ParseMode(std::vector<int>{0x03, 0x02}), 3 + 2 * 256);
    EXPECT_EQ(ParseMode(std::vector<int>{0x01}), 1);
    EXPECT_EQ(ParseMode(std::vector<int>{0x05, 0x01, 0x99}), 5 + 256);
}

TEST(ModeName, KnownAndUnknownCodes)
{
    const std::vector<std::pair<int, const char*>> known = {
        {0, "LSB"}, {1, "USB"},     {2, "AM"},         {3, "CW"},           {4, "RTTY"},
        {5, "FM"},  {6, "FM-WIDE"}, {7, "CW-REVERSE"}, {8, "RTTY-REVERSE"}, {11, "SYNC-AM"}};
    for (const auto& [code, name] : known) {
        EXPECT_EQ(modeName(code), name) << code;
    }
    for (const int code : {-1, 9, 10, 12, 255, 256}) {
        EXPECT_FALSE(modeName(code).has_value()) << code;
    }
}

TEST(FilterName, KnownAndUnknownCodes)
{
    EXPECT_EQ(filterName(1), "WIDE");
    EXPECT_EQ(filterName(2), "MEDIUM");
    EXPECT_EQ(filterName(3), "NARROW");
    for (const int code : {-1, 0, 4, 255}) {
        EXPECT_FALSE(filterName(code).has_value()) << code;
    }
}

struct FormatCase {
    double khz;
    const char* text;
};

class FormatKhzTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatKhzTest, PlainDecimal)
{
    EXPECT_EQ(formatKhz(GetParam().khz), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatKhzTest,
    ::testing::Values(FormatCase{14074, "14074"}, FormatCase{7123.450000000001, "7123.45"},
                      FormatCase{145500, "145500"}, FormatCase{14074.123, "14074.123"},
                      FormatCase{1400000, "1400000"}, FormatCase{0, "0"},
                      FormatCase{14073.999999999998, "14074"}, FormatCase{0.5, "0.5"},
                      FormatCase{0.000001, "0.000001"}, FormatCase{0.0000001, "0"},
                      FormatCase{1e20, "100000000000000000000"}, FormatCase{-0.0, "0"},
                      FormatCase{-1e-9, "0"}, FormatCase{-2.5, "-2.5"}));

TEST(FormatKhz, DecodedRepliesPrintCleanly)
{
    EXPECT_EQ(formatKhz(ParseFreq(std::vector<int>{0x50, 0x34, 0x12, 0x07, 0x00})), "7123.45");
    EXPECT_EQ(formatKhz(ParseFreq(std::vector<int>{0x23, 0x41, 0x07, 0x14})), "14074.123");
}

TEST(FormatKhz, LargestDoubleHasNoExponent)
{
    const std::string text = formatKhz(std::numeric_limits<double>::max());
    EXPECT_EQ(text.size(), 309U);
    EXPECT_EQ(text.find_first_not_of("0123456789"), std::string::npos);
}

} // namespace
} // namespace civ
