// Port names in natural order: digit runs compare by value.
#include "platform/natural_order.h"

#include <gtest/gtest.h>

TEST(NaturalOrder, DigitRunsCompareByValue)
{
    const std::pair<const char*, const char*> ordered[] = {{"/dev/ttyS2", "/dev/ttyS10"},
                                                           {"/dev/ttyACM9", "/dev/ttyS0"},
                                                           {"/dev/ttyS007", "/dev/ttyS10"},
                                                           {"/dev/pts/3a2", "/dev/pts/3a10"}};
    for (const auto& [first, second] : ordered) {
        EXPECT_TRUE(platform::naturalLess(first, second)) << first << " before " << second;
        EXPECT_FALSE(platform::naturalLess(second, first)) << second << " after " << first;
    }
}
