// A main window on an in-memory port, driven as the operator and its timers would drive it.
#pragma once

#include "app/app.h"
#include "memory_serial_connection.h"
#include "ui/icom_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

// FE FE to from cmd data FD
inline QByteArray frame(int to, int from, int cmd, std::initializer_list<int> data = {})
{
    return bytes({0xFE, 0xFE, to, from, cmd}) + bytes(data) + bytes({0xFD});
}

// A timer's action, as if it had fired.
inline void fire(QTimer* timer)
{
    QMetaObject::invokeMethod(timer, "timeout");
}

// A window on an in-memory port, its timers stopped: tests fire every tick themselves.
class WindowTest : public ::testing::Test {
protected:
    static App& app() { return *static_cast<App*>(QCoreApplication::instance()); }

    platform::Services services(QList<platform::PortEntry> ports)
    {
        platform::Services s;
        s.listPorts = [ports] { return ports; };
        s.newConnection = [this] {
            auto connection = std::make_unique<platform::MemorySerialConnection>();
            port = connection.get();
            return connection;
        };
        s.showMessage = [this](QWidget*, const QString& text, const QString& detail) {
            messages.append(text);
            details.append(detail);
            if (whileMessageShown) {
                whileMessageShown();
            }
        };
        s.debugFileName = debugFileName;
        return s;
    }

    IcomWindow& build(QList<platform::PortEntry> ports = {{"A", "/dev/A"}, {"B", "/dev/B"}})
    {
        return build(services(std::move(ports)));
    }

    IcomWindow& build(platform::Services s)
    {
        window = std::make_unique<IcomWindow>(app(), std::move(s));
        for (QTimer* timer : window->findChildren<QTimer*>()) {
            timer->stop();
        }
        return *window;
    }

    IcomWindow& buildAndInit()
    {
        build().init();
        return *window;
    }

    template <class T> T* control(const char* name) const
    {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QString text(const char* name) const { return control<QLabel>(name)->text(); }
    // The notice as the operator reads it in full, in its tooltip.
    QString statusMessage() const { return control<QLabel>("Notice")->toolTip(); }

    static void fire(QTimer* timer) { ::fire(timer); }
    void fire(const char* timer) const { fire(control<QTimer>(timer)); }
    void tick() const { fire("Timer1"); }
    // Arrives on the line and is read at the next tick.
    void feed(const QByteArray& in) const
    {
        port->feed(in);
        tick();
    }
    // What act puts on the line once the ring, paced by the ticks, has let it all out.
    QByteArray sent(const std::function<void()>& act) const
    {
        port->writes.clear();
        act();
        // The status line's third number: the bytes still queued.
        for (int n = 0; n < 200; ++n) {
            tick();
            if (text("StaticBuf").section(u' ', 2, 2) == QLatin1String("0")) {
                break;
            }
        }
        return port->writes.join();
    }

    std::unique_ptr<IcomWindow> window;
    platform::MemorySerialConnection* port = nullptr;
    QStringList messages;
    QStringList details;
    // Runs while a message box would be open.
    std::function<void()> whileMessageShown;
    QString debugFileName = QStringLiteral("DEBUG.TXT");
};
