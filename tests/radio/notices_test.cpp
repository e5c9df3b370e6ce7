#include "radio/notices.h"

#include <gtest/gtest.h>

namespace radio {
namespace {

TEST(Notices, TheMostImportantPresentOneIsShownAndClearingOneKeepsTheOthers)
{
    Notices notices;
    EXPECT_EQ(notices.shown(), "");
    EXPECT_TRUE(notices.set(Notice::Info, "info"));
    EXPECT_TRUE(notices.set(Notice::Refusal, "ng"));
    EXPECT_TRUE(notices.set(Notice::Silence, "silent"));
    EXPECT_EQ(notices.shown(), "ng");
    EXPECT_TRUE(notices.set(Notice::LostPort, "lost"));
    EXPECT_TRUE(notices.set(Notice::RefusedInput, "input"));
    EXPECT_EQ(notices.shown(), "lost");
    EXPECT_FALSE(notices.set(Notice::LostPort, "lost")) << "the same text is no change";

    const std::pair<Notice, const char*> clearings[] = {{Notice::LostPort, "input"},
                                                        {Notice::Silence, "input"},
                                                        {Notice::RefusedInput, "ng"},
                                                        {Notice::Refusal, "info"},
                                                        {Notice::Info, ""}};
    for (const auto& [kind, next] : clearings) {
        EXPECT_TRUE(notices.clear(kind));
        EXPECT_EQ(notices.shown(), next);
    }
    EXPECT_FALSE(notices.clear(Notice::Info));
}

} // namespace
} // namespace radio
