#include "simulated_bus.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kReadFrequency = 0x03;
// Ticks without a byte, once our probe came back, after which it counts as unanswered. The
// simulator writes its echo and the reply in one go, so a short quiet spell is enough.
constexpr int kQuietTicks = 2;
// The queue releases a frame at least every eleven ticks.
constexpr int kReleaseTicks = 11;

class SimulatedSearch : public SimulatedBus {
protected:
    void press()
    {
        control<QPushButton>("FindRadiosButton")->click();
        // The test runs the steps itself.
        control<QTimer>("FindRadiosTimer")->stop();
    }

    // One search step at bus speed: its probe goes out and comes back, then the bus gets
    // until an answer is read or it has been quiet for a few ticks.
    void step()
    {
        const int echoes = tap.count(our, -1, kReadFrequency);
        const qsizetype written = tap.written.size();
        window->FindRadiosTimer_Action();
        if (window->transmitQueue.queued() == 0) {
            return;
        }
        // Waiting for the queue's countdown needs no time on the line.
        ASSERT_TRUE(tickUntil([&] { return tap.written.size() > written; }, kReleaseTicks, 0));
        const qsizetype seen = tap.frames.size();
        ASSERT_TRUE(tickUntil([&] { return tap.count(our, -1, kReadFrequency) > echoes; }))
            << "our probe did not come back";
        const auto answered = [&] {
            for (qsizetype i = seen; i < tap.frames.size(); ++i) {
                if (tap.frames.at(i).from != our) {
                    return true;
                }
            }
            return false;
        };
        for (int quiet = 0; quiet < kQuietTicks && !answered();) {
            const qsizetype read = tap.read.size();
            tick();
            quiet = tap.read.size() == read ? quiet + 1 : 0;
        }
    }

    void search()
    {
        press();
        for (int n = 1; n <= 259; ++n) {
            ASSERT_FALSE(control<QPushButton>("FindRadiosButton")->isEnabled()) << n;
            ASSERT_NO_FATAL_FAILURE(step());
        }
        EXPECT_TRUE(control<QPushButton>("FindRadiosButton")->isEnabled());
    }

    QString found() const
    {
        return window->findChild<QPlainTextEdit*>("EditField1")->toPlainText();
    }

    int our = kOurAddress;
};

} // namespace

TEST_F(SimulatedSearch, FindsExactlyTheRadiosOnTheBusAndNotItsOwnEcho)
{
    ASSERT_NO_FATAL_FAILURE(start({QStringLiteral("--radio"), QStringLiteral("0x04"),
                                   QStringLiteral("--radio"), QStringLiteral("0x5C")}));
    ASSERT_NO_FATAL_FAILURE(search());
    EXPECT_EQ(found(), QStringLiteral(" Found radio at address 4\n Found radio at address 92\n"));
    // Every address but the three reserved codes was probed, and the probe to our own address
    // came back to us.
    EXPECT_EQ(tap.written.size(), 253 * 6);
    EXPECT_EQ(tap.count(our, our, kReadFrequency), 1);
}

TEST_F(SimulatedSearch, AStationAtOurOwnAddressIsNoRadio)
{
    // The only station shares our changed address, so nothing on the bus answers a probe.
    ASSERT_NO_FATAL_FAILURE(start({QStringLiteral("--radio"), QStringLiteral("0xE0")}));
    our = 0xE0;
    control<QLineEdit>("OurIDEditField")->setText(QString::number(our));
    ASSERT_NO_FATAL_FAILURE(search());
    EXPECT_EQ(found(), QString());
    EXPECT_EQ(tap.count(our, our, kReadFrequency), 1);
    EXPECT_EQ(tap.count(0xE0, kOurAddress, kReadFrequency), 1) << "the probe to 234 went out";
}

TEST_F(SimulatedSearch, ALateAnswerCountsForTheNextAddress)
{
    constexpr int kRadio = 0x04;
    ASSERT_NO_FATAL_FAILURE(start({QStringLiteral("--radio"), QStringLiteral("0x04"),
                                   QStringLiteral("--reply-delay"), QStringLiteral("500")}));
    press();
    for (int n = 1; n <= 6; ++n) {
        ASSERT_NO_FATAL_FAILURE(step());
    }

    // The probe to 4 goes out and comes back; the next step follows before the answer.
    const qsizetype written = tap.written.size();
    window->FindRadiosTimer_Action();
    ASSERT_TRUE(tickUntil([&] { return tap.written.size() > written; }));
    ASSERT_TRUE(tickUntil([&] { return tap.count(our, kRadio, kReadFrequency) == 1; }));
    ASSERT_EQ(tap.count(kRadio, our, kReadFrequency), 0) << "answered within the step after all";
    window->FindRadiosTimer_Action();
    EXPECT_EQ(found(), QString());
    EXPECT_EQ(control<QLabel>("StaticFindRadios")->text(), QStringLiteral("Looking for radio 5"));

    ASSERT_TRUE(tickUntil([&] { return tap.count(kRadio, our, kReadFrequency) == 1; }));
    window->FindRadiosTimer_Action();
    EXPECT_EQ(found(), QStringLiteral(" Found radio at address 5\n"));
    EXPECT_EQ(control<QLabel>("StaticFindRadios")->text(), QStringLiteral("Looking for radio 6"));
}
