#include "civ/commands.h"

#include <gtest/gtest.h>
#include <limits>

namespace civ {
namespace {

constexpr int kTo = 0x08;
constexpr int kOur = 234;

struct FreqCase {
    double mhz;
    int byteCount;
    Frame frame;
};

class SetFrequencyTest : public ::testing::TestWithParam<FreqCase> {};

TEST_P(SetFrequencyTest, EncodesFrame)
{
    const Command c = setFrequency(kTo, kOur, GetParam().mhz, GetParam().byteCount);
    EXPECT_TRUE(c);
    EXPECT_EQ(c.frame, GetParam().frame);
}

INSTANTIATE_TEST_SUITE_P(
    Frequencies, SetFrequencyTest,
    ::testing::Values(
        FreqCase{14.07, 4, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x07, 0x14, 0xFD}},
        FreqCase{14.07, 5, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x07, 0x14, 0x00, 0xFD}},
        FreqCase{14070.0 / 1000, 4, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x07, 0x14, 0xFD}},
        FreqCase{7, 4, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x00, 0x07, 0xFD}},
        FreqCase{145.5, 5, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x50, 0x45, 0x01, 0xFD}},
        FreqCase{1296.2, 5, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x20, 0x96, 0x12, 0xFD}},
        FreqCase{14.074123, 4, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x23, 0x41, 0x07, 0x14, 0xFD}},
        FreqCase{0, 4, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x00, 0x00, 0xFD}},
        FreqCase{-0.0, 4, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x00, 0x00, 0xFD}},
        // Rounded, not truncated and not nudged by 50 Hz.
        FreqCase{7.0000004, 4, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x00, 0x07, 0xFD}},
        FreqCase{7.0000006, 4, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x01, 0x00, 0x00, 0x07, 0xFD}},
        FreqCase{14.07004, 4, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x40, 0x00, 0x07, 0x14, 0xFD}},
        FreqCase{99.999999, 4, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x99, 0x99, 0x99, 0x99, 0xFD}},
        FreqCase{
            9999.999999, 5, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x99, 0x99, 0x99, 0x99, 0x99, 0xFD}},
        // Anything but five means the four-byte form.
        FreqCase{14.07, 0, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x07, 0x14, 0xFD}},
        FreqCase{14.07, -1, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x07, 0x14, 0xFD}},
        FreqCase{14.07, 6, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x07, 0x14, 0xFD}}));

// Every hertz step from a kHz typed value must survive the double arithmetic.
TEST(SetFrequency, KhzEntriesRoundTripExactly)
{
    for (int khz = 1800; khz <= 30000; khz += 7) {
        const Frame frame = setFrequency(kTo, kOur, khz / 1000.0, 4).frame;
        ASSERT_EQ(frame.size(), 10U);
        const std::int64_t hz = static_cast<std::int64_t>(khz) * 1000;
        EXPECT_EQ(Frame(frame.begin() + 5, frame.end() - 1), frequencyBcd(hz, 4)) << khz;
    }
}

struct FaultCase {
    int to;
    int our;
    double mhz;
    int byteCount;
    Fault fault;
};

class SetFrequencyFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SetFrequencyFaultTest, RefusesWithEmptyFrame)
{
    const auto& p = GetParam();
    const Command c = setFrequency(p.to, p.our, p.mhz, p.byteCount);
    EXPECT_FALSE(c);
    EXPECT_EQ(c.fault, p.fault);
    EXPECT_TRUE(c.frame.empty());
}

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Faults, SetFrequencyFaultTest,
                         ::testing::Values(FaultCase{-1, kOur, 14.07, 4, Fault::Destination},
                                           FaultCase{256, kOur, 14.07, 4, Fault::Destination},
                                           FaultCase{0xFC, kOur, 14.07, 4, Fault::Destination},
                                           FaultCase{0xFD, kOur, 14.07, 4, Fault::Destination},
                                           FaultCase{0xFE, kOur, 14.07, 4, Fault::Destination},
                                           FaultCase{0xFE, 0xFE, -1, 4, Fault::Destination},
                                           FaultCase{kTo, -1, 14.07, 4, Fault::Source},
                                           FaultCase{kTo, 300, 14.07, 4, Fault::Source},
                                           FaultCase{kTo, 0xFC, 14.07, 4, Fault::Source},
                                           FaultCase{kTo, 0xFD, kNan, 4, Fault::Source},
                                           FaultCase{kTo, kOur, -0.000001, 4, Fault::Frequency},
                                           FaultCase{kTo, kOur, kNan, 5, Fault::Frequency},
                                           FaultCase{kTo, kOur, kInf, 5, Fault::Frequency},
                                           FaultCase{kTo, kOur, -kInf, 5, Fault::Frequency},
                                           FaultCase{kTo, kOur, 1e300, 5, Fault::Frequency},
                                           FaultCase{kTo, kOur, 100, 4, Fault::Frequency},
                                           FaultCase{kTo, kOur, 99.9999996, 4, Fault::Frequency},
                                           FaultCase{kTo, kOur, 145.5, 4, Fault::Frequency},
                                           FaultCase{kTo, kOur, 10000, 5, Fault::Frequency},
                                           FaultCase{kTo, kOur, 9999.9999996, 5,
                                                     Fault::Frequency}));

TEST(ReadCommands, EncodeFrames)
{
    EXPECT_EQ(readFrequency(kTo, kOur).frame, (Frame{0xFE, 0xFE, 0x08, 0xEA, 0x03, 0xFD}));
    EXPECT_EQ(readMode(0x5C, 0xE0).frame, (Frame{0xFE, 0xFE, 0x5C, 0xE0, 0x04, 0xFD}));
    EXPECT_EQ(readFrequency(0, 0xFB).frame, (Frame{0xFE, 0xFE, 0x00, 0xFB, 0x03, 0xFD}));
}

TEST(ReadCommands, RefuseUnencodableAddresses)
{
    for (const auto& c : {readFrequency(0xFD, kOur), readMode(256, kOur)}) {
        EXPECT_EQ(c.fault, Fault::Destination);
        EXPECT_TRUE(c.frame.empty());
    }
    for (const auto& c : {readFrequency(kTo, 0xFE), readMode(kTo, -5)}) {
        EXPECT_EQ(c.fault, Fault::Source);
        EXPECT_TRUE(c.frame.empty());
    }
}

struct ModeCase {
    int modeRow;
    int filterRow;
    std::uint8_t mode;
    std::uint8_t filter;
};

class SetModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(SetModeTest, EncodesModeAndFilter)
{
    const auto& p = GetParam();
    const Command c = setMode(kTo, kOur, p.modeRow, p.filterRow);
    EXPECT_TRUE(c);
    EXPECT_EQ(c.frame, (Frame{0xFE, 0xFE, 0x08, 0xEA, 0x06, p.mode, p.filter, 0xFD}));
}

INSTANTIATE_TEST_SUITE_P(Rows, SetModeTest,
                         ::testing::Values(ModeCase{0, 0, 0x00, 0x01}, ModeCase{1, 1, 0x01, 0x02},
                                           ModeCase{3, 2, 0x03, 0x03}, ModeCase{8, -1, 0x08, 0x00},
                                           ModeCase{9, 0, 0x0B, 0x01}, ModeCase{10, 2, 0x05, 0x00},
                                           ModeCase{10, -1, 0x05, 0x00},
                                           ModeCase{-1, 1, 0x00, 0x02}, ModeCase{11, 0, 0x00, 0x01},
                                           ModeCase{2, 3, 0x02, 0x00}, ModeCase{2, -2, 0x02, 0x00},
                                           ModeCase{2, 255, 0x02, 0x00}));

TEST(SetMode, RefusesUnencodableAddresses)
{
    EXPECT_EQ(setMode(0xFC, kOur, 1, 0).fault, Fault::Destination);
    EXPECT_EQ(setMode(kTo, 0xFD, 1, 0).fault, Fault::Source);
    EXPECT_TRUE(setMode(kTo, 0xFD, 1, 0).frame.empty());
}

TEST(FrequencyBcd, DigitPairsLeastSignificantFirst)
{
    EXPECT_EQ(frequencyBcd(1296200000, 5), (Frame{0x00, 0x00, 0x20, 0x96, 0x12}));
    EXPECT_EQ(frequencyBcd(14074123, 4), (Frame{0x23, 0x41, 0x07, 0x14}));
    EXPECT_EQ(frequencyBcd(14074123, 3), (Frame{0x23, 0x41, 0x07, 0x14}));
    EXPECT_EQ(frequencyBcd(9999999999, 5), (Frame{0x99, 0x99, 0x99, 0x99, 0x99}));
}

} // namespace
} // namespace civ
