#include "radio/notices.h"

#include <gtest/gtest.h>

namespace radio {
namespace {

TEST(Notices, TheMostImportantPresentOneIsShownAndClearingOneKeepsTheOthers)
{
    Notices notices;
    for (const Notice kind :
         {Notice::Info, Notice::Silence, Notice::Refusal, Notice::LostPort, Notice::RefusedInput}) {
        EXPECT_TRUE(notices.set(kind, std::to_string(int(kind))));
    }
    EXPECT_FALSE(notices.set(Notice::LostPort, "0")) << "the same text is no change";
    // Lost port, refused input, NG, silence, information.
    const std::pair<Notice, const char*> clearings[] = {{Notice::Silence, "0"},
                                                        {Notice::LostPort, "1"},
                                                        {Notice::RefusedInput, "2"},
                                                        {Notice::Refusal, "4"},
                                                        {Notice::Info, ""}};
    for (const auto& [kind, next] : clearings) {
        EXPECT_TRUE(notices.clear(kind));
        EXPECT_EQ(notices.shown(), next);
    }
    EXPECT_FALSE(notices.clear(Notice::Info));
}

} // namespace
} // namespace radio
