// Check Interface on the real window against civ-sim: what it finds and says of each bus.
#include "app/app.h"
#include "app/tools.h"
#include "check/check_window.h"
#include "event_loop.h"
#include "platform/system_services.h"
#include "share/sharing.h"
#include "simulator.h"
#include "ui/icom_window.h"
#include "ui/menu_bar.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The window's clock and timers run this many times faster than the wall: the check's waits
// for a silent bus pass sooner, while civ-sim answers on the pty as fast as ever. A bus whose
// own timing matters (chatter between our ticks) keeps the wall's pace.
constexpr int kSpeedUp = 5;

// The program at 9600 bit/s and Radio ID 8 on a bus civ-sim plays; the window's timers keep
// their proportions, on a faster clock.
class CheckOnSimulator : public SimulatorTest {
protected:
    void TearDown() override
    {
        tools.reset();
        sharing.reset();
        SimulatorTest::TearDown();
    }

    void open(const QStringList& simArgs, int speedUp = kSpeedUp)
    {
        const QString port = startSimulator(simArgs);
        ASSERT_FALSE(port.isEmpty());
        openWindow(port, [speedUp, start = std::chrono::steady_clock::now()] {
            using namespace std::chrono;
            return speedUp * duration_cast<milliseconds>(steady_clock::now() - start).count();
        });
        sharing = std::make_unique<share::Sharing>(window->door());
        tools = std::make_unique<Tools>(*window, *sharing, nullptr);
        // The check learns the tick's length as the program has it, before the clock speeds up.
        window->menuBar1()->checkInterfaceAction()->trigger();
        for (QTimer* timer : window->findChildren<QTimer*>()) {
            timer->setInterval(timer->interval() / speedUp);
        }
        check = window->findChild<check::CheckWindow*>();
        ASSERT_NE(check, nullptr);
        report = check->findChild<QPlainTextEdit*>(QStringLiteral("CheckReport"));
        baud = window->findChild<QComboBox*>(QStringLiteral("BaudPopup"));
    }

    template <class T> T* in(const char* name) const
    {
        return check->findChild<T*>(QLatin1String(name));
    }

    // Return takes the default button: Start, and "Use these settings" once a radio is found.
    void pressReturn()
    {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(check, &enter);
    }

    bool reportHas(const char* phrase, int deadlineMs = 60000)
    {
        return pumpUntil([&] { return report->toPlainText().contains(phrase); }, deadlineMs);
    }

    // Keeps every notice the main window showed meanwhile.
    bool ended()
    {
        const auto* notice = window->findChild<QLabel*>(QStringLiteral("Notice"));
        return pumpUntil(
            [&] {
                told.append(notice->toolTip());
                return in<QPushButton>("StartButton")->isEnabled();
            },
            60000);
    }

    std::unique_ptr<share::Sharing> sharing;
    std::unique_ptr<Tools> tools;
    check::CheckWindow* check = nullptr;
    QPlainTextEdit* report = nullptr;
    QComboBox* baud = nullptr;
    QStringList told;
};

TEST_F(CheckOnSimulator, SaysWhichRateItTriesAndTheFindingItsUseGetsThePollAnswered)
{
    open({"--rate", "19200", "--radio", "0x94"});
    pressReturn();
    EXPECT_TRUE(pumpUntil(
        [&] { return in<QLabel>("CheckActivity")->text().startsWith("Trying 19200 bit/s"); },
        60000));
    ASSERT_TRUE(reportHas("Set Baud Rate to 19200 and Radio ID to 148."))
        << report->toPlainText().toStdString();

    pressReturn();
    EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("EditRadioID"))->text(), "148");
    EXPECT_EQ(baud->currentText(), "19200");
    // The window's own poll, answered at the new settings.
    const int answered = window->door().count(line::Origin{}).answered;
    EXPECT_TRUE(
        pumpUntil([&] { return window->door().count(line::Origin{}).answered > answered; }, 30000));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}

TEST_F(CheckOnSimulator, BaudRateChangedMidwayStopsTheCheckAndLeavesThePortAtThatRate)
{
    open({"--rate", "19200"});
    pressReturn();
    ASSERT_TRUE(reportHas("did not answer"));
    baud->setCurrentIndex(10); // 19200, where the radio is
    ASSERT_TRUE(ended());
    EXPECT_TRUE(report->toPlainText().contains("Check stopped: the port, Baud Rate"));
    EXPECT_FALSE(in<QPushButton>("UseSettingsButton")->isEnabled());
    EXPECT_EQ(baud->currentText(), "19200");
    // The radio hears the window's poll only if the port went back at the rate shown.
    const int answered = window->door().count(line::Origin{}).answered;
    EXPECT_TRUE(
        pumpUntil([&] { return window->door().count(line::Origin{}).answered > answered; }, 30000));
}

struct BusCase {
    const char* name;
    QStringList simArgs;
    const char* phrase;
    bool deepSearchOffered;
    int speedUp = kSpeedUp;
};

class CheckOnBus : public CheckOnSimulator, public ::testing::WithParamInterface<BusCase> {};

// What civ-sim plays for a person, through the window's ring, pacing and reopen: nothing to
// use, and the deeper search offered where something answered.
TEST_P(CheckOnBus, ReportsTheBusWithoutASettingToUse)
{
    open(GetParam().simArgs, GetParam().speedUp);
    pressReturn();
    ASSERT_TRUE(ended());
    EXPECT_TRUE(report->toPlainText().contains(GetParam().phrase))
        << report->toPlainText().toStdString();
    EXPECT_FALSE(in<QPushButton>("UseSettingsButton")->isEnabled());
    EXPECT_EQ(in<QPushButton>("DeepSearchButton")->isEnabled(), GetParam().deepSearchOffered);
    // The check's polls to Radio ID go unanswered at the rates it tries while the main window's
    // poll is paused: none of that is the main window's silence.
    EXPECT_TRUE(told.filter(QStringLiteral("No answer")).isEmpty())
        << told.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Buses, CheckOnBus,
    ::testing::Values(
        BusCase{"MergedReadIdAnswers",
                {"--radio", "0x94", "--radio", "0xA4", "--collide", "merge"},
                "from 0x84 (132), but a read frequency to it was not",
                true},
        BusCase{"ChatterKeepsTheBusBusy",
                {"--chatter-every", "0.08"},
                "frames from 0x70 (112)",
                false,
                1},
        BusCase{"RadioAtTheUsbRate",
                {"--rate", "115200"},
                "at 115200 bit/s from address 0x08 (8). The program's rates stop at 57600",
                false},
        // Each reply for its own poll, however many are lost or late.
        BusCase{"EverySecondReplyLost",
                {"--lose-every", "2"},
                "Radio ID are right, but 5 of 10 polls went unanswered (polls",
                false},
        // 600 ms on the window's faster clock.
        BusCase{"LateReplies",
                {"--reply-delay", QString::number(600 / kSpeedUp)},
                "counts a poll as lost. Baud Rate and Radio ID are right.",
                false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
