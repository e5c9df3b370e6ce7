// The narrow door the additions reach the line through, and the taps that tell what happens.
#pragma once

#include "civ/frame.h"
#include "line/link_account.h"

#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <optional>
#include <string>

namespace line {

// What the door tells as it happens, in order, from the pump's tick.
class Taps : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    // Only bytes the port took.
    void written(const QByteArray& bytes);
    void received(const QByteArray& chunk);
    // Each frame, jam, stray run and dropped frame as the account tells it.
    void frame(const line::FrameEvent& event);
    // After each pump tick, once its reads and writes are done.
    void ticked();
    // The port, the rate or an address changed in the main window.
    void settingsChanged();
};

// The line as the main window has set it up.
struct Settings {
    std::string port; // location; empty when none is chosen
    bool network = false;
    int baudCode = 8; // row of the rate pop-up
    int rate = 9600;  // bit/s; meaningless on a network port
    int ourId = 0xEA; // -1 when the field does not hold a valid address
    int radioId = 8;  // likewise
};

// The one way the additions reach the line: its taps, a frame sent with its origin, the
// settings, and the account's answers, read only.
class Door {
public:
    virtual ~Door() = default;

    virtual Taps& taps() = 0;
    // Now, on the clock the account's times are on.
    virtual Millis now() const = 0;
    virtual Settings settings() const = 0;

    // Another program's frame (see fromOtherProgram()) takes the fast lane: it leaves as soon
    // as the bus is quiet and no request awaits its answer. Any other goes through the ring
    // and its pacing, as the window's own frames. The frame's id while it waits (see
    // waiting()), nothing when there is no room.
    virtual std::optional<std::uint64_t> send(const civ::Frame& frame, const Origin& origin) = 0;

    // The account's answers.
    virtual const PortStatus& port() const = 0;
    virtual bool waiting(std::uint64_t id) const = 0;
    virtual std::optional<HoldBack> heldBack(Millis now) const = 0;
    virtual OriginCount count(const Origin& origin) const = 0;
};

} // namespace line
