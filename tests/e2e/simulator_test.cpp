// The window against the simulated radio, on a pseudo-terminal and over TCP, with and without
// echo, with a five-byte and a four-byte radio: polled, set and read back; and the link's
// pairing on buses that lose, delay and garble.
#include "civ/commands.h"
#include "simulator.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

constexpr int kUs = 0xEA;
constexpr int kOk = 0xFB;

struct Bus {
    const char* name;
    QStringList args;
    int radio;
    int frequencyBytes;
    bool echo;
};

void PrintTo(const Bus& bus, std::ostream* out)
{
    *out << bus.name;
}

class SimulatedRadio : public SimulatorTest, public ::testing::WithParamInterface<Bus> {
protected:
    QString text(const char* name) const
    {
        return window->findChild<QLabel*>(QLatin1String(name))->text();
    }

    // A poll, and ticks until the radio answered both of its requests.
    bool poll()
    {
        const int freq = heard(kUs, GetParam().radio, 0x03);
        const int mode = heard(kUs, GetParam().radio, 0x04);
        fire("ReqTimer");
        return tickUntil([&] {
            return heard(kUs, GetParam().radio, 0x03) > freq &&
                   heard(kUs, GetParam().radio, 0x04) > mode;
        });
    }
};

} // namespace

TEST_P(SimulatedRadio, IsPolledSetAndReadBack)
{
    const Bus& bus = GetParam();
    const QString line = startSimulator(bus.args);
    ASSERT_FALSE(line.isEmpty()) << sim.readAllStandardError().toStdString();
    openWindow(line);
    window->findChild<QLineEdit*>(QStringLiteral("EditRadioID"))
        ->setText(QString::number(bus.radio));

    // The first poll goes out at once, while a network port may still be connecting.
    ASSERT_TRUE(poll());
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074"));
    EXPECT_EQ(text("ModeDisplay"), QStringLiteral("USB"));
    EXPECT_EQ(text("FilterDisplay"), QStringLiteral("WIDE"));
    EXPECT_EQ(heard(bus.radio, kUs, 0x03) > 0, bus.echo) << "our requests echo only if on";

    window->findChild<QComboBox*>(QStringLiteral("PopupFreqBytes"))
        ->setCurrentIndex(bus.frequencyBytes - 4);
    window->findChild<QLineEdit*>(QStringLiteral("EditFreq"))->setText(QStringLiteral("7040.5"));
    window->findChild<QToolButton*>(QStringLiteral("SetFreq1"))->click();
    ASSERT_TRUE(tickUntil([&] { return heard(kUs, bus.radio, kOk) == 1; }));
    window->findChild<QComboBox*>(QStringLiteral("PopupMode"))->setCurrentIndex(3);
    window->findChild<QComboBox*>(QStringLiteral("PopupFilter"))->setCurrentIndex(1);
    ASSERT_TRUE(tickUntil([&] { return heard(kUs, bus.radio, kOk) == 3; }));

    ASSERT_TRUE(poll());
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("7040.5"));
    EXPECT_EQ(text("ModeDisplay"), QStringLiteral("CW"));
    EXPECT_EQ(text("FilterDisplay"), QStringLiteral("MEDIUM"));
    EXPECT_EQ(heard(kUs, bus.radio, 0xFA), 0);
    EXPECT_TRUE(messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SimulatedRadio,
    ::testing::Values(Bus{"PtyEchoFiveBytes", {}, 0x08, 5, true},
                      Bus{"PtyNoEchoFourBytes",
                          {"--echo", "off", "--radio", "0x5C,freq=14074000,bytes=4"},
                          0x5C,
                          4,
                          false},
                      Bus{"TcpEcho", {"--listen", "127.0.0.1:0"}, 0x08, 5, true}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

// civ-sim's fault; polls apart on the link's clock; replies paired; the radio's own round trip
// through that bus; the echo garbled.
using Misbehaviour = std::tuple<QStringList, line::Millis, int, line::Millis, bool>;
class MisbehavingBus : public SimulatorTest, public ::testing::WithParamInterface<Misbehaviour> {};

} // namespace

TEST_P(MisbehavingBus, EachReplyIsPairedWithItsOwnPollAndEachEchoIsOurs)
{
    const auto& [args, apart, answered, fastest, garbled] = GetParam();
    const QString port = startSimulator(args);
    ASSERT_FALSE(port.isEmpty()) << sim.readAllStandardError().toStdString();
    openWindow(port);
    line::Door& door = window->door();
    // Behind a real network delay a busy machine adds to each round trip; the exact pairing is
    // the account's table's to prove, here it must only never be a reply of another poll's.
    const line::Millis late = args.contains(QStringLiteral("--net-delay")) ? 3 * apart : apart;
    int paired = 0;
    int echoes = 0;
    QObject::connect(
        &door.taps(), &line::Taps::frame, window.get(), [&](const line::FrameEvent& e) {
            echoes += e.direction == line::Direction::Echo && e.garbled == garbled ? 1 : 0;
            if (e.direction == line::Direction::Received && e.request) {
                ++paired; // paired with another poll, it would be a poll's spacing off
                EXPECT_TRUE(*e.roundTrip >= fastest && *e.roundTrip < fastest + late)
                    << *e.roundTrip;
            }
            EXPECT_FALSE(e.clash) << "our own echo is no other station";
        });
    const auto pass = [&](line::Millis ms) {
        const line::Millis from = door.now();
        return tickUntil([&] { return door.now() - from >= ms; });
    };
    for (int poll = 0; poll < 10; ++poll) {
        ASSERT_TRUE(door.send(civ::readFrequency(8, kUs).frame, {line::Source::Check, 0, {}}));
        ASSERT_TRUE(pass(apart));
    }
    ASSERT_TRUE(pass(line::LinkAccount::kAnswerWindowMs));
    EXPECT_EQ(std::tuple(paired, echoes), std::tuple(answered, 10));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MisbehavingBus,
    ::testing::Values(
        Misbehaviour{{"--lose-every", "2"}, 300, 5, 0, false},
        Misbehaviour{{"--reply-delay", "600"}, 200, 10, 600, false},
        Misbehaviour{{"--listen", "127.0.0.1:0", "--net-delay", "180-200"}, 500, 10, 360, false},
        Misbehaviour{{"--flip-echo-bit"}, 200, 10, 0, true}));
