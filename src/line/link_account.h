#pragma once

#include "civ/frame.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace line {

// Milliseconds on the caller's clock: the account reads no clock of its own.
using Millis = std::int64_t;

// Who put a frame on the ring.
enum class Source : std::uint8_t {
    Window,  // the main window's polls, sets and bus search
    Check,   // Check Interface
    Typed,   // a frame typed into the Bus Monitor
    Network, // a client of the network server
    CivPort, // the program on the CI-V port for other programs
};

struct Origin {
    Source source = Source::Window;
    // Tells clients of one source apart (0 for the window, the check and typed frames).
    std::uint32_t client = 0;
    // What the operator is shown: "127.0.0.1:40512", "/tmp/civ"; empty for the first three.
    std::string label;

    friend bool operator==(const Origin&, const Origin&) = default;
};

enum class PortState : std::uint8_t {
    NotChosen,   // no port in the list
    NeverOpened, // the chosen port failed to open; reason says why
    Opening,     // a network port still connecting
    Open,
    Lost, // it was open and went away; reason says why
};

struct PortStatus {
    PortState state = PortState::NotChosen;
    std::string port;   // its location
    int rate = 0;       // bit/s; meaningless on a network port
    bool network = false;
    std::string reason; // for NeverOpened and Lost
    Millis since = 0;   // when the state began
};

enum class Direction : std::uint8_t {
    Sent,     // left the port
    Echo,     // our own frame heard back, in order, right after it was written
    Received, // anything else heard on the line
    Dropped,  // taken from the ring while the port could not take it: it never left
};

enum class Kind : std::uint8_t {
    Frame,
    Jam,      // the jam code
    Stray,    // bytes outside any frame, or a frame the jam code cut short
    Overlong, // a frame longer than the program's parser holds; bytes keep its head
    Headless, // FE FE to from FD: no command byte
};

// One thing on the line, in the order it happened.
struct FrameEvent {
    Direction direction = Direction::Received;
    Kind kind = Kind::Frame;
    std::vector<std::uint8_t> bytes; // as on the wire, leading extra FE included
    std::size_t wireLength = 0;      // bytes on the wire (an overlong frame's bytes are cut)
    // Sent, Echo, Dropped: when written (or dropped). Received: when its last byte arrived;
    // for stray bytes, when the first arrived.
    Millis at = 0;
    // Sent, Echo, Dropped: who queued it. A reply: who sent the request it answers.
    Origin origin;
    // Sent and Dropped: the id send() was given for it. A reply: the id of its request.
    std::optional<std::uint64_t> request;
    // A reply: since its request left the port.
    std::optional<Millis> roundTrip;
    // Received from Our ID without being our echo: another station uses our address.
    bool clash = false;

    // Addresses and command of a frame, when it has them (-1 otherwise).
    int to() const;
    int from() const;
    int command() const;
};

// Other stations keeping the bus busy while our frames wait in the ring.
struct HoldBack {
    Millis since = 0;              // when the oldest waiting frame was queued
    std::vector<int> talkers;      // addresses heard meanwhile, the busiest first
    int framesHeard = 0;           // frames of others heard meanwhile
};

// Per radio address: whether it answers, counted in polls that left the port.
struct RadioStatus {
    int unanswered = 0;                // requests in a row that went unanswered
    std::optional<Millis> silentSince; // when the first of them left the port
    std::optional<Millis> lastHeard;   // when the radio last sent anything
};

// Frames sent and answered per origin.
struct OriginCount {
    int sent = 0;
    int answered = 0;
    int refused = 0; // answered NG
};

// The one account of the line: what left the port, what came back and what it means. Driven
// by the pump: queued() as a frame enters the ring, written() or dropped() as the ring hands
// it out, received() for every chunk read, tick() once per pump tick.
class LinkAccount {
public:
    // A request left unanswered this long past its wire time is given up on.
    static constexpr Millis kAnswerWindowMs = 1500;
    // After this long waiting in the ring while others talk, the bus is busy.
    static constexpr Millis kHeldBackMs = 1000;

    // Port events.
    void portChosen(std::string port, int rate, bool network, Millis now);
    void portOpened(Millis now);
    void portOpening(Millis now); // a network port that completes its open later
    void portFailed(std::string reason, Millis now);
    void portLost(std::string reason, Millis now);
    const PortStatus& port() const { return port_; }

    // Addresses frames are judged by: ours, and the radio's.
    void setAddresses(int our, int radio);

    // A frame accepted by the ring. Returns its id.
    std::uint64_t queued(std::span<const std::uint8_t> frame, const Origin& origin, Millis now);
    // Bytes the ring handed out and the port took; a long frame may come in pieces.
    void written(std::span<const std::uint8_t> bytes, Millis now);
    // Bytes the ring handed out that the port did not take.
    void dropped(std::span<const std::uint8_t> bytes, Millis now);
    // The ring was emptied (a reset): nothing queued will leave.
    void ringCleared(Millis now);
    void received(std::span<const std::uint8_t> bytes, Millis now);
    void tick(Millis now);

    // What happened since the last call, oldest first.
    std::vector<FrameEvent> takeEvents();

    // True while the frame with this id waits in the ring.
    bool waiting(std::uint64_t id) const;
    std::size_t framesWaiting() const { return queue_.size(); }
    std::optional<HoldBack> heldBack(Millis now) const;
    RadioStatus radio(int address) const;
    // Forgets what a radio left unanswered: a new Radio ID, rate or port starts afresh.
    void forgetSilence(int address);
    OriginCount count(const Origin& origin) const;

private:
    struct Queued {
        std::uint64_t id = 0;
        civ::Frame frame;
        Origin origin;
        std::size_t written = 0;
        Millis queuedAt = 0;
    };
    struct Request {
        std::uint64_t id = 0;
        civ::Frame frame;
        Origin origin;
        Millis leftAt = 0;
        Millis expiresAt = 0;
    };
    struct Assembly; // the receive-side frame cutter, in link_account.cpp

    PortStatus port_;
    int our_ = 0xEA;
    int radio_ = 8;
    std::uint64_t nextId_ = 1;
    std::deque<Queued> queue_;
    std::deque<Request> outstanding_;
    std::deque<civ::Frame> unechoed_;
    std::vector<FrameEvent> events_;
    std::map<int, RadioStatus> radios_;
    std::vector<std::pair<Origin, OriginCount>> counts_;
};

} // namespace line
