// The link to the bus: the port, the receive pump's parts, the paced ring and the account.
#pragma once

#include "civ/frame_parser.h"
#include "line/door.h"
#include "line/frame_ring.h"
#include "line/link_account.h"
#include "platform/serial_connection.h"

#include <QByteArray>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace line {

// The program's one link to the bus, without widgets: it owns the connection, the frame parser,
// the transmit ring with its frames, the fast lane of other programs' frames, the account and
// the taps, and is the door the additions use. One frame at a time: neither the ring nor the
// lane writes while another program's request awaits its answer, the lane not while any does,
// and a ring frame that is due goes before the lane's. The main window runs its parts from its
// timer, in the order the pump takes, and shows what they report.
class Link final : public Door {
public:
    // The pump's period: the main window's Timer1.
    static constexpr int kTickMs = 50;
    // Bytes of other programs' frames waiting for the bus at most.
    static constexpr std::size_t kFastLaneBytes = 2048;

    // What one read brought.
    struct Chunk {
        QByteArray bytes;
        // The port went away, or a late open did not complete; the account knows already.
        std::optional<platform::ConnectionFailure> failure;
    };

    Link(std::unique_ptr<platform::SerialConnection> connection, std::function<Millis()> clock);

    // The port: closed, then opened at location and rate. False when it did not open.
    bool open(const QString& location, int rate);
    // The chosen port again, at another rate.
    platform::OpenError reopen(int rate);
    platform::OpenError openError() const { return connection_->openError(); }
    // Why the last open failed, in the operator's words.
    QString openReason() const;

    // The pump's parts, in the order a tick runs them: read(), each byte to parse(), release()
    // once, then finishTick(). A frame end seen by the parser restarts the ring's short wait.
    // release() also writes the fast lane's next frame once the bus is free; send() writes it
    // at once when it is free already.
    Chunk read();
    civ::FrameParser::Event parse(int byte);
    void release();
    // The account's tick; its events are told. Returns when, on the account's clock.
    Millis finishTick();
    // Tells the account's events to the taps; false when there were none.
    bool publish();
    // After the caller has shown the tick's results.
    void ticked() { emit taps_.ticked(); }

    // The frame the parser holds, or held at its last end.
    const civ::FrameParser& parser() const { return parser_; }
    void resetParser() { parser_.reset(); }
    // Empties the ring: what waited in it is told dropped.
    void resetRing();
    const civ::TransmitQueue& ring() const { return ring_.queue(); }

    // The line as the operator chose it; the additions are told. An address that is not valid
    // is -1, to the account as well.
    void choose(const Settings& settings);
    void forgetSilence(int address) { account_.forgetSilence(address); }
    const LinkAccount& account() const { return account_; }

    // The door.
    Taps& taps() override { return taps_; }
    Millis now() const override { return clock_(); }
    Settings settings() const override { return settings_; }
    std::optional<std::uint64_t> send(const civ::Frame& frame, const Origin& origin) override;
    const PortStatus& port() const override { return account_.port(); }
    bool waiting(std::uint64_t id) const override { return account_.waiting(id); }
    std::optional<HoldBack> heldBack(Millis now) const override { return account_.heldBack(now); }
    OriginCount count(const Origin& origin) const override { return account_.count(origin); }

private:
    struct FastFrame {
        std::uint64_t id = 0;
        civ::Frame frame;
    };

    void tell(const std::vector<FrameRing::Left>& left, Millis now);
    std::optional<std::uint64_t> sendFast(const civ::Frame& frame, const Origin& origin);
    // Nothing on the bus, in the parser or half released, and no request awaiting its answer.
    bool busFree() const;
    void writeFast();

    std::unique_ptr<platform::SerialConnection> connection_;
    std::function<Millis()> clock_;
    civ::FrameParser parser_;
    FrameRing ring_;
    LinkAccount account_;
    Taps taps_;
    Settings settings_;
    // Reused at every release, so that a busy ring does not allocate per frame.
    std::vector<FrameRing::Left> left_;
    std::deque<FastFrame> fast_;
    std::size_t fastBytes_ = 0;
    // From a lane frame's write to the tick no other program's request awaits its answer.
    bool fastExchange_ = false;
};

} // namespace line
