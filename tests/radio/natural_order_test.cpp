#include "platform/natural_order.h"

#include <gtest/gtest.h>

namespace {

struct OrderCase {
    const char* name;
    const char* first;
    const char* second;
};

class NaturalOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(NaturalOrder, FirstComesBeforeSecond)
{
    const OrderCase& c = GetParam();
    EXPECT_TRUE(platform::naturalLess(c.first, c.second));
    EXPECT_FALSE(platform::naturalLess(c.second, c.first));
}

INSTANTIATE_TEST_SUITE_P(
    PortNames, NaturalOrder,
    ::testing::Values(OrderCase{"NumbersByValue", "/dev/ttyS2", "/dev/ttyS10"},
                      OrderCase{"SameLength", "/dev/ttyUSB0", "/dev/ttyUSB1"},
                      OrderCase{"TextBeforeNumber", "/dev/ttyACM9", "/dev/ttyS0"},
                      OrderCase{"LeadingZerosAddNothing", "/dev/ttyS007", "/dev/ttyS10"},
                      OrderCase{"PrefixFirst", "/dev/ttyS", "/dev/ttyS0"},
                      OrderCase{"LaterRunsCount", "/dev/pts/3a2", "/dev/pts/3a10"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NaturalOrderEquality, AStringIsNotBeforeItself)
{
    EXPECT_FALSE(platform::naturalLess("/dev/ttyS10", "/dev/ttyS10"));
}

} // namespace
