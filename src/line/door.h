#pragma once

#include "civ/frame.h"
#include "line/link_account.h"
#include "platform/open_error.h"

#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <optional>
#include <string>

class QWidget;

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

// The one way the additions reach the line. The main window implements it.
class Door {
public:
    virtual ~Door() = default;

    virtual Taps& taps() = 0;
    virtual const LinkAccount& account() const = 0;
    // Now, on the clock the account's times are on.
    virtual Millis now() const = 0;
    virtual Settings settings() const = 0;
    // The main window, as parent and neighbour of the additions' windows.
    virtual QWidget* mainWidget() = 0;

    // Through the same ring and pacing as the window's own frames. The frame's id while it
    // waits (see LinkAccount::waiting), nothing when the ring has no room.
    virtual std::optional<std::uint64_t> send(const civ::Frame& frame, const Origin& origin) = 0;

    // For the interface check. False when a search holds the poll already.
    virtual bool pausePoll() = 0;
    // The chosen port again at another rate, without the failure box.
    virtual platform::OpenError reopen(int rate) = 0;
    // The port back at the chosen rate, the poll resumed.
    virtual void restore() = 0;
    virtual void useSettings(int baudCode, int radioId) = 0;
};

} // namespace line
