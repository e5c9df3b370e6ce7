#pragma once

#include "platform/serial_connection.h"

#include <QByteArray>
#include <QList>
#include <memory>

// The bus as the window's port saw it: every byte written and read, and the frames read.
struct BusTap {
    struct Frame {
        int to = 0;
        int from = 0;
        int cmd = 0;
        QByteArray data;
    };

    void received(QByteArrayView chunk);
    // Frames read so far with these fields; -1 matches any.
    int count(int from, int to, int cmd) const;

    QByteArray written;
    QByteArray read;
    QList<Frame> frames;

private:
    QByteArray partial_;
};

// The real connection, with a copy of its traffic left in a BusTap.
class TappedConnection final : public platform::SerialConnection {
public:
    TappedConnection(std::unique_ptr<platform::SerialConnection> inner, BusTap& tap)
        : inner_(std::move(inner))
        , tap_(tap)
    {}

    bool open(const QString& location, int baudRate) override
    {
        return inner_->open(location, baudRate);
    }
    void close() override { inner_->close(); }
    bool isOpen() const override { return inner_->isOpen(); }
    QByteArray readAvailable() override;
    void write(QByteArrayView bytes) override;
    QString errorString() const override { return inner_->errorString(); }
    platform::OpenError openError() const override { return inner_->openError(); }
    std::optional<platform::ConnectionFailure> takeFailure() override
    {
        return inner_->takeFailure();
    }

private:
    std::unique_ptr<platform::SerialConnection> inner_;
    BusTap& tap_;
};
