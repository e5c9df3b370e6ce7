#include "app/app.h"
#include "check/check_window.h"
#include "event_loop.h"
#include "ui/icom_window.h"
#include "ui/menu_bar.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <gtest/gtest.h>

// The program at 9600 bit/s and Radio ID 8, the simulated radio at 19200 and 0x94; the window's
// timers run as in the program.
TEST(CheckInterfaceEndToEnd, FindsRateAndAddressAndTheirUseGetsThePollAnswered)
{
    QProcess sim;
    sim.start(QStringLiteral(CIV_SIM_PATH), {"--rate", "19200", "--radio", "0x94"});
    ASSERT_TRUE(pumpUntil([&] { return sim.canReadLine(); }));
    const QString port = QString::fromLocal8Bit(sim.readLine()).trimmed();

    auto& app = *static_cast<App*>(QCoreApplication::instance());
    app.ourSerialPort = 0;
    platform::Services services = platform::systemServices({port});
    QStringList messages;
    services.showMessage = [&](QWidget*, const QString& text, const QString&) {
        messages.append(text);
    };
    IcomWindow window(app, services);
    window.init();
    window.menuBar1()->checkInterfaceAction()->trigger();
    auto* check = window.findChild<check::CheckWindow*>();
    ASSERT_NE(check, nullptr);
    auto* report = check->findChild<QPlainTextEdit*>(QStringLiteral("CheckReport"));
    auto* freq = window.findChild<QLabel*>(QStringLiteral("FreqDisplay"));

    // Return takes the default button: Start, then "Use these settings" once a radio is found.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(check, &enter);
    ASSERT_TRUE(pumpUntil([&] { return report->toPlainText().contains("Set Baud Rate"); }, 60000))
        << report->toPlainText().toStdString();
    EXPECT_TRUE(report->toPlainText().contains(
        "A radio answered a read frequency at 19200 bit/s from address 0x94 (148). Set Baud Rate "
        "to 19200 and Radio ID to 148."));
    EXPECT_EQ(freq->text(), QStringLiteral("-"));

    QCoreApplication::sendEvent(check, &enter);
    EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("EditRadioID"))->text(), "148");
    EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("BaudPopup"))->currentText(), "19200");
    EXPECT_TRUE(pumpUntil([&] { return freq->text() == QStringLiteral("14074"); }, 30000));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
    sim.terminate();
    sim.waitForFinished();
}
