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

// A window on an in-memory port, its timers stopped: tests run every tick themselves.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { app().ourSerialPort = 0; }

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

    // The window's own parts, for tests that set up or read what the operator cannot.
    static civ::TransmitQueue& ring(IcomWindow& w) { return w.transmitQueue; }
    static discovery::RadioSearch& search(IcomWindow& w) { return w.radioSearch; }
    civ::TransmitQueue& ring() const { return ring(*window); }

    // Bytes waiting in the transmit ring, oldest first.
    QByteArray queuedBytes() const
    {
        QByteArray out;
        const civ::TransmitQueue& q = ring();
        for (int i = q.serialBufTail; i != q.serialBufHead; i = (i + 1) % q.kSlots) {
            out.append(static_cast<char>(q.serialBuf[static_cast<std::size_t>(i)]));
        }
        return out;
    }

    // Straight to the parser, as the pump would hand them over.
    void feed(const QByteArray& in)
    {
        for (const char b : in) {
            window->ParseByte(static_cast<unsigned char>(b));
        }
    }

    std::unique_ptr<IcomWindow> window;
    platform::MemorySerialConnection* port = nullptr;
    QStringList messages;
    QStringList details;
    QString debugFileName = QStringLiteral("DEBUG.TXT");
};
