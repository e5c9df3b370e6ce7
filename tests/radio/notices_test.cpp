// The status bar's notices: the most important shown, clearing one keeping the others.
#include "radio/notices.h"

#include <gtest/gtest.h>

namespace radio {
namespace {

TEST(Notices, TheMostImportantPresentOneIsShownAndClearingOneKeepsTheOthers)
{
    Notices notices;
    for (const Notice kind : {Notice::Info, Notice::Silence, Notice::Refusal, Notice::Port,
                              Notice::RefusedInput, Notice::Busy}) {
        EXPECT_TRUE(notices.set(kind, {std::to_string(int(kind)), "radio"}));
    }
    EXPECT_FALSE(notices.set(Notice::Port, {"0", "radio"})) << "the same text is no change";
    // Port, busy bus, silence, NG, refused input, information.
    const std::pair<Notice, const char*> clearings[] = {
        {Notice::Silence, "0"}, {Notice::Port, "1"},         {Notice::Busy, "3"},
        {Notice::Refusal, "4"}, {Notice::RefusedInput, "5"}, {Notice::Info, ""}};
    for (const auto& [kind, next] : clearings) {
        EXPECT_TRUE(notices.clear(kind));
        EXPECT_EQ(notices.shown().text, next);
    }
    EXPECT_FALSE(notices.clear(Notice::Info));
}

} // namespace
} // namespace radio
