#include "simulated_bus.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

namespace {

class EchoedBus : public SimulatedBus, public ::testing::WithParamInterface<const char*> {};

} // namespace

TEST_P(EchoedBus, PollSetFrequencyAndSetModeReachTheRadio)
{
    const bool echo = QLatin1String(GetParam()) == QLatin1String("on");
    ASSERT_NO_FATAL_FAILURE(start({QStringLiteral("--echo"), QString::fromLatin1(GetParam())}));

    ASSERT_NO_FATAL_FAILURE(pollAndWait(kDefaultRadio));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074"));
    EXPECT_EQ(text("ModeDisplay"), QStringLiteral("USB"));
    EXPECT_EQ(text("FilterDisplay"), QStringLiteral("WIDE"));
    EXPECT_EQ(tap.count(kOurAddress, kDefaultRadio, 0x03) > 0, echo)
        << "our own requests come back only on an echoing bus";

    // The simulated radio takes its frequency in five bytes.
    control<QComboBox>("PopupFreqBytes")->setCurrentIndex(1);
    control<QLineEdit>("EditFreq")->setText(QStringLiteral("7040"));
    window->SetFreq1_Action();
    ASSERT_TRUE(tickUntil([&] { return tap.count(kDefaultRadio, kOurAddress, kAck) == 1; }));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074")) << "an acknowledgement is no reading";
    ASSERT_NO_FATAL_FAILURE(pollAndWait(kDefaultRadio));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("7040"));

    // Each pop-up sends the pair it shows: CW with the wide filter, then CW medium.
    control<QComboBox>("PopupMode")->setCurrentIndex(3);
    control<QComboBox>("PopupFilter")->setCurrentIndex(1);
    ASSERT_TRUE(tickUntil([&] { return tap.count(kDefaultRadio, kOurAddress, kAck) == 3; }));
    EXPECT_EQ(text("ModeDisplay"), QStringLiteral("USB"));
    EXPECT_EQ(text("FilterDisplay"), QStringLiteral("WIDE"));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("7040"));
    ASSERT_NO_FATAL_FAILURE(pollAndWait(kDefaultRadio));
    EXPECT_EQ(text("ModeDisplay"), QStringLiteral("CW"));
    EXPECT_EQ(text("FilterDisplay"), QStringLiteral("MEDIUM"));
    EXPECT_EQ(tap.count(kDefaultRadio, kOurAddress, kNak), 0);
    EXPECT_TRUE(messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Echo, EchoedBus, ::testing::Values("on", "off"));

TEST_F(SimulatedBus, FourByteRadioIsReadAndSetInFourBytes)
{
    constexpr int kRadio = 0x5C;
    ASSERT_NO_FATAL_FAILURE(
        start({QStringLiteral("--radio"), QStringLiteral("0x5C,freq=50313000,mode=FM,filter=3,"
                                                         "bytes=4")}));
    control<QLineEdit>("EditRadioID")->setText(QStringLiteral("92"));

    ASSERT_NO_FATAL_FAILURE(pollAndWait(kRadio));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("50313"));
    EXPECT_EQ(text("ModeDisplay"), QStringLiteral("FM"));
    EXPECT_EQ(text("FilterDisplay"), QStringLiteral("NARROW"));

    control<QComboBox>("PopupFreqBytes")->setCurrentIndex(0);
    control<QLineEdit>("EditFreq")->setText(QStringLiteral("28074.5"));
    window->SetFreq1_Action();
    ASSERT_TRUE(tickUntil([&] { return tap.count(kRadio, kOurAddress, kAck) == 1; }));
    ASSERT_NO_FATAL_FAILURE(pollAndWait(kRadio));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("28074.5"));

    for (const BusTap::Frame& f : tap.frames) {
        if (f.from == kRadio && f.cmd == 0x03) {
            EXPECT_EQ(f.data.size(), 4);
        }
    }
}

TEST_F(SimulatedBus, JamCodeShowsTheWarningUntilTheJammerTimerFires)
{
    ASSERT_NO_FATAL_FAILURE(start({QStringLiteral("--jam-every"), QStringLiteral("0.1")}));
    auto* jamming = control<QLabel>("StaticJamming");
    auto* jammerTimer = control<QTimer>("JammerTimer");
    const auto shown = [&] { return jamming->isVisibleTo(window.get()); };
    EXPECT_FALSE(shown());

    for (int jam = 1; jam <= 2; ++jam) {
        SCOPED_TRACE(jam);
        ASSERT_TRUE(tickUntil(shown));
        EXPECT_GE(tap.read.count('\xFC'), jam);
        ASSERT_TRUE(jammerTimer->isActive());
        EXPECT_TRUE(jammerTimer->isSingleShot());
        jammerTimer->stop();
        window->JammerTimer_Action();
        EXPECT_FALSE(shown());
    }

    // The jam code falls between frames, so a poll still gets through.
    ASSERT_NO_FATAL_FAILURE(pollAndWait(kDefaultRadio));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074"));
}
