// The harness's port: the real one, with the program's traffic counted as it passes.
#pragma once

#include "civ/frame_parser.h"
#include "platform/serial_connection.h"
#include "wall_clock.h"

#include <map>
#include <memory>
#include <vector>

namespace bench {

// The real connection, with a tally of the frames the program writes through it.
class CountingConnection final : public platform::SerialConnection {
public:
    explicit CountingConnection(std::unique_ptr<platform::SerialConnection> real)
        : real_(std::move(real))
    {}

    bool open(const QString& location, int baudRate) override
    {
        return real_->open(location, baudRate);
    }
    void close() override { real_->close(); }
    bool isOpen() const override { return real_->isOpen(); }
    QByteArray readAvailable() override;
    void write(QByteArrayView bytes) override;
    QString errorString() const override { return real_->errorString(); }
    platform::OpenError openError() const override { return real_->openError(); }
    std::optional<platform::ConnectionFailure> takeFailure() override
    {
        return real_->takeFailure();
    }

    long long bytesRead() const { return bytesRead_; }
    // Every byte read, kept when asked for, to hold the debug file against.
    const QByteArray& kept() const { return kept_; }
    void keepReadBytes() { keep_ = true; }
    // Frames written, by command byte.
    int written(int cmd) const;
    // When each frequency poll was handed to the port.
    const std::vector<double>& frequencyPollTimes() const { return frequencyPolls_; }

private:
    std::unique_ptr<platform::SerialConnection> real_;
    civ::FrameParser parser_;
    std::map<int, int> written_;
    std::vector<double> frequencyPolls_;
    long long bytesRead_ = 0;
    QByteArray kept_;
    bool keep_ = false;
};

} // namespace bench
