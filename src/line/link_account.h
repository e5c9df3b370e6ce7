// The link account and the events it tells: what left the port, what came back, what it means.
#pragma once

#include "civ/frame.h"
#include "civ/frame_view.h"
#include "line/frame_cutter.h"
#include "line/line_types.h"
#include "line/request_book.h"
#include "line/send_queue.h"
#include "line/talk_tally.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace line {

enum class PortState : std::uint8_t {
    NotChosen,   // no port in the list
    NeverOpened, // the chosen port failed to open; reason says why
    Opening,     // a network port still connecting
    Open,
    Lost, // it was open and went away; reason says why
};

struct PortStatus {
    PortState state = PortState::NotChosen;
    std::string port; // its location
    int rate = 0;     // bit/s; meaningless on a network port
    bool network = false;
    std::string reason; // for NeverOpened and Lost
    Millis since = 0;   // when the state began
};

enum class Direction : std::uint8_t {
    Sent,     // left the port
    Echo,     // our own frame heard back, in order, within the echo window the link has shown
    Received, // anything else heard on the line
    Dropped,  // taken from the ring while the port could not take it: it never left
};

// One thing on the line, in the order it happened.
struct FrameEvent {
    FrameEvent() = default;
    // Reads the view of a frame's bytes, the one time they are read.
    FrameEvent(Direction direction, Kind kind, std::vector<std::uint8_t> bytes);

    Direction direction = Direction::Received;
    Kind kind = Kind::Frame;
    std::vector<std::uint8_t> bytes; // as on the wire, leading extra FE included
    // Addresses, command, sub-command and where the data lies; all -1 for a jam and stray bytes.
    civ::FrameView view;
    std::size_t wireLength = 0; // bytes on the wire (an overlong frame's bytes are cut)
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
    // Echo: it came back in our frame's place with some bits changed.
    bool garbled = false;
    // A reply: requests of its kind that left before its own, whose replies were lost.
    std::vector<std::uint64_t> lost;

    std::span<const std::uint8_t> data() const { return view.data(bytes); }
};

// Other stations keeping the bus busy while our frames wait in the ring. Our echoes, our
// requests and the replies to them are not the others' talk.
struct HoldBack {
    // When others' talk first held our waiting frames; steady while the talk goes on.
    Millis since = 0;
    std::vector<int> talkers; // addresses heard while ours waited, the busiest first
    int framesHeard = 0;      // frames of others heard while ours waited
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
// by the link: queued() as a frame enters the ring, written() or dropped() once the ring has
// handed out its last byte, received() for every chunk read, tick() once per pump tick.
class LinkAccount {
public:
    // A request left unanswered this long past its wire time is given up on, or twice the
    // radio's round trip where that is longer.
    static constexpr Millis kAnswerWindowMs = 1500;
    // After this long waiting in the ring while others talk, the bus is busy; once others
    // have been quiet this long, it is not.
    static constexpr Millis kHeldBackMs = 1000;
    // Our frame's echo is awaited this long past its wire time until the link has shown one.
    static constexpr Millis kFirstEchoMs = 2000;

    // Port events.
    void portChosen(std::string port, int rate, bool network, Millis now);
    void portOpened(Millis now);
    void portOpening(Millis now); // a network port that completes its open later
    void portFailed(std::string reason, Millis now);
    void portLost(std::string reason, Millis now);
    const PortStatus& port() const { return port_; }

    // Addresses frames are judged by: ours, and the radio's.
    void setAddresses(int our, int radio);
    int radioAddress() const { return radio_; }

    // A frame accepted by the ring. Returns its id.
    std::uint64_t queued(std::span<const std::uint8_t> frame, const Origin& origin, Millis now);
    // The frame with this id left the ring, every piece of it taken by the port.
    void written(std::uint64_t id, Millis now);
    // The frame with this id left the ring, and the port did not take all of it.
    void dropped(std::uint64_t id, Millis now);
    // The ring was emptied (a reset): nothing queued will leave, and each is told dropped.
    void ringCleared(Millis now);
    void received(std::span<const std::uint8_t> bytes, Millis now);
    void tick(Millis now);

    // What happened since the last call, oldest first.
    std::vector<FrameEvent> takeEvents();

    // True while the frame with this id waits in the ring.
    bool waiting(std::uint64_t id) const;
    std::size_t framesWaiting() const { return queue_.size(); }
    // A request that left the port may still be answered: the bus is not free for another.
    // othersOnly: one of another program's.
    bool awaitingAnswer(Millis now, bool othersOnly = false) const
    {
        return requests_.awaiting(now, othersOnly);
    }
    std::optional<HoldBack> heldBack(Millis now) const;
    RadioStatus radio(int address) const;
    // Forgets what a radio left unanswered: a new Radio ID, rate or port starts afresh.
    void forgetSilence(int address);
    OriginCount count(const Origin& origin) const;

private:
    // Our frame as it should come back.
    struct Echo {
        civ::Frame frame;
        Origin origin;
        std::uint64_t id = 0;
        Millis wroteAt = 0;
        Millis wire = 0;
    };

    void setState(PortState state, std::string reason, Millis now);
    void forgetAnswers();
    void handed(SendQueue::Queued frame, bool left, Millis now);
    void take(FrameCutter::Piece piece);
    bool isEcho(FrameEvent& event);
    void tellEcho(FrameEvent& event, std::size_t pending, bool garbled);
    void answer(FrameEvent& event);
    void heardTalk(const FrameEvent& event);
    void quiet();
    void expire(Millis now);
    Millis wireTime(std::size_t bytes) const;
    // How long past its wire time our frame's echo is awaited, as the link has shown it.
    Millis echoWindow() const;
    OriginCount& counted(const Origin& origin);

    PortStatus port_;
    int our_ = 0xEA;
    int radio_ = 8;
    SendQueue queue_;
    RequestBook requests_;
    FrameCutter cutter_;
    TalkTally talk_;
    std::optional<Millis> busySince_; // see HoldBack::since
    Millis lastTalk_ = 0;
    std::deque<Echo> echoes_;
    // The echo's delay past its wire time as seen, once one has come back.
    std::optional<Millis> echoDelay_;
    std::vector<FrameEvent> events_;
    std::map<int, RadioStatus> radios_;
    using CountRow = std::pair<Origin, OriginCount>;
    std::vector<CountRow> counts_;
    // Reused between calls so that a busy line does not allocate per read.
    std::vector<FrameCutter::Piece> pieces_;
    std::vector<RequestBook::Unanswered> unanswered_;
};

} // namespace line
