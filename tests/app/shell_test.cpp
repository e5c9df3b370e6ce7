// Start-up as the operator meets it: the about message first, then the window at work.
#include "platform/services.h"
#include "window_fixture.h"

#include <QApplication>
#include <QTcpServer>
#include <QTcpSocket>

TEST_F(WindowTest, OpenShowsTheAboutMessageThenPutsTheWindowToWork)
{
    QStringList seen;
    platform::Services s = services({{"A", "/dev/A"}, {"B", "/dev/B"}});
    // --rigctld's port takes clients from the start, while the message is up.
    quint16 listenPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        listenPort = probe.serverPort();
    }
    app().networkServer = share::ListenAddress{"localhost", listenPort};
    s.showMessage = [&](QWidget*, const QString& text, const QString&) {
        const QWidgetList windows = QApplication::topLevelWidgets();
        const bool windowExists = std::any_of(windows.cbegin(), windows.cend(), [](QWidget* w) {
            return qobject_cast<IcomWindow*>(w) != nullptr;
        });
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, listenPort);
        seen << (windowExists ? "after the window" : "before the window") << text
             << (client.waitForConnected(5000) ? "listening" : "not listening");
    };
    app().setServices(s);
    app().Open();
    app().networkServer.reset();
    EXPECT_EQ(seen, QStringList({"before the window",
                                 "Tarvik Icom Version 1.0.0\n"
                                 "A simple program to test out an Icom CI-V Interface",
                                 "listening"}));

    IcomWindow& w = app().mainWindow();
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("OurIDEditField"))->text(), "234");
    EXPECT_EQ(w.findChild<QComboBox*>(QStringLiteral("BaudPopup"))->currentText(), "9600");
    EXPECT_EQ(w.findChild<QComboBox*>(QStringLiteral("SerialPopup"))->currentText(), "A");
    // Opened by the pop-up's open event at the first row's rate, then by init's two choices;
    // building ran no change handler, so nothing else was opened or queued.
    EXPECT_EQ(port->openedRates, QList<int>({300, 300, 9600}));
    // Nothing waits, the pacing starts from 0 and the poll is on.
    auto* const status = w.findChild<QLabel*>(QStringLiteral("StaticBuf"));
    fire(w.findChild<QTimer*>(QStringLiteral("Timer1")));
    EXPECT_EQ(status->text(), QStringLiteral("0 0 0 10"));
    fire(w.findChild<QTimer*>(QStringLiteral("ReqTimer")));
    fire(w.findChild<QTimer*>(QStringLiteral("Timer1")));
    EXPECT_EQ(status->text(), QStringLiteral("12 0 12 9"));
    // Built in, so it shows before installing too.
    EXPECT_FALSE(w.windowIcon().isNull());
}

TEST(PortList, NamedPortsComeFirstInTheOrderGiven)
{
    const QList<platform::PortEntry> ports =
        platform::systemPorts({QStringLiteral("tcp://b:2"), QStringLiteral("tcp://a:1")});
    ASSERT_GE(ports.size(), 2);
    EXPECT_EQ(ports[0].location, QStringLiteral("tcp://b:2"));
    EXPECT_EQ(ports[1].location, QStringLiteral("tcp://a:1"));
}
