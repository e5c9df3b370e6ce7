#include "discovery/radio_search.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace discovery {
namespace {

constexpr int kOur = 0xEA;

// Runs a whole search in which the radios at the answering addresses reply to their probe
// before the next tick.
struct Outcome {
    std::vector<int> found;
    std::vector<int> probed;
    std::vector<int> progress;
    int endTick = 0;
};

Outcome runSearch(RadioSearch& s, const std::set<int>& answering)
{
    Outcome run;
    s.start();
    int lastProbe = -1;
    for (int tick = 1; tick <= 300 && run.endTick == 0; ++tick) {
        if (answering.contains(lastProbe)) {
            s.replySeen(lastProbe, kOur);
        }
        lastProbe = -1;
        const RadioSearch::Step step = s.tick();
        if (step.found) {
            run.found.push_back(*step.found);
        }
        if (step.progress) {
            run.progress.push_back(*step.progress);
        }
        if (step.probe) {
            run.probed.push_back(*step.progress);
            lastProbe = *step.progress;
        }
        if (step.ended) {
            run.endTick = tick;
        }
    }
    return run;
}

TEST(RadioSearch, WaitsTwoTicksThenProbesZero)
{
    RadioSearch s;
    s.start();
    EXPECT_TRUE(s.running());
    for (int tick = 1; tick <= 2; ++tick) {
        const auto step = s.tick();
        EXPECT_FALSE(step.progress || step.found || step.probe || step.ended) << tick;
    }
    const auto step = s.tick();
    EXPECT_EQ(step.progress, 0);
    EXPECT_TRUE(step.probe);
    EXPECT_FALSE(step.found);
}

TEST(RadioSearch, AnswerIsReportedAtTheNextTick)
{
    RadioSearch s;
    s.start();
    for (int tick = 1; tick <= 3 + 7; ++tick) {
        EXPECT_FALSE(s.tick().found) << tick;
    }
    s.replySeen(7, kOur);
    const auto step = s.tick();
    EXPECT_EQ(step.found, 7);
    EXPECT_EQ(step.progress, 8);
    EXPECT_FALSE(s.tick().found);
}

TEST(RadioSearch, FindsRadiosInOrderAndEnds)
{
    RadioSearch s;
    const Outcome run = runSearch(s, {0x04, 0x5C});
    EXPECT_EQ(run.found, (std::vector<int>{4, 92}));
    EXPECT_EQ(run.endTick, RadioSearch::kTicksPerSearch);
    EXPECT_FALSE(s.running());
    EXPECT_EQ(s.findRadiosState, RadioSearch::kFirstState);
}

TEST(RadioSearch, LastAddressIsFoundOnTheEndingTick)
{
    RadioSearch s;
    s.start();
    for (int tick = 1; tick < RadioSearch::kTicksPerSearch; ++tick) {
        s.tick();
    }
    s.replySeen(0xFF, kOur);
    const auto step = s.tick();
    EXPECT_TRUE(step.ended);
    EXPECT_EQ(step.found, 255);
    EXPECT_FALSE(step.progress);
    EXPECT_FALSE(step.probe);
}

TEST(RadioSearch, SecondSearchBehavesTheSame)
{
    RadioSearch s;
    const Outcome first = runSearch(s, {0x04, 0x5C});
    const Outcome second = runSearch(s, {0x04, 0x5C});
    EXPECT_EQ(second.found, first.found);
    EXPECT_EQ(second.probed, first.probed);
    EXPECT_EQ(second.endTick, RadioSearch::kTicksPerSearch);
}

TEST(RadioSearch, ReservedCodesShowProgressButAreNotProbed)
{
    RadioSearch s;
    const Outcome run = runSearch(s, {});
    std::vector<int> all(256);
    for (int a = 0; a < 256; ++a) {
        all[static_cast<std::size_t>(a)] = a;
    }
    EXPECT_EQ(run.progress, all);
    EXPECT_EQ(run.probed.size(), 253U);
    for (const int reserved : {0xFC, 0xFD, 0xFE}) {
        EXPECT_EQ(std::count(run.probed.begin(), run.probed.end(), reserved), 0) << reserved;
    }
}

TEST(RadioSearch, NothingIsFoundForReservedCodes)
{
    RadioSearch s;
    s.start();
    for (int tick = 1; tick <= 3 + 0xFC; ++tick) {
        s.tick();
    }
    for (int expected = 0xFC; expected <= 0xFE; ++expected) {
        s.replySeen(0x10, kOur);
        EXPECT_FALSE(s.tick().found) << expected;
    }
    s.replySeen(0xFF, kOur);
    EXPECT_EQ(s.tick().found, 0xFF);
}

TEST(RadioSearch, OwnEchoDoesNotCount)
{
    RadioSearch s;
    s.start();
    for (int tick = 1; tick <= 3 + kOur; ++tick) {
        s.tick();
    }
    s.replySeen(kOur, kOur);
    EXPECT_FALSE(s.tick().found);
}

TEST(RadioSearch, RepliesWhileWaitingAreIgnored)
{
    RadioSearch s;
    s.start();
    s.replySeen(0x04, kOur);
    s.tick();
    s.replySeen(0x04, kOur);
    s.tick();
    s.replySeen(0x04, kOur);
    const auto step = s.tick();
    EXPECT_EQ(step.progress, 0);
    EXPECT_FALSE(step.found);
    EXPECT_FALSE(s.tick().found);
}

TEST(RadioSearch, LateReplyCountsForTheNextAddress)
{
    RadioSearch s;
    s.start();
    for (int tick = 1; tick <= 3 + 4; ++tick) {
        s.tick();
    }
    // Address 4's answer misses its tick and lands after the probe of 5.
    EXPECT_FALSE(s.tick().found);
    s.replySeen(0x04, kOur);
    EXPECT_EQ(s.tick().found, 5);
}

TEST(RadioSearch, RepliesOutsideASearchAreIgnored)
{
    RadioSearch s;
    runSearch(s, {});
    s.replySeen(0x04, kOur);
    EXPECT_FALSE(s.gotFreqReply);
}

} // namespace
} // namespace discovery
