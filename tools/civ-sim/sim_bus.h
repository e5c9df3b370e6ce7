// The simulated bus: the radios on it, the echo, and the frames they hear and answer.
#pragma once

#include "bus_parser.h"
#include "frame.h"
#include "radio.h"

#include <span>
#include <vector>

namespace civsim {

// The radios on one bus, seen from the line the controller talks on.
class SimBus {
public:
    struct Output {
        // The controller's own bytes as a one-wire interface hands them back.
        Bytes echo;
        // Complete frames assembled from the line, for logging.
        std::vector<Frame> received;
        // What the radios send in response, in order, to follow the echo.
        std::vector<Frame> replies;
    };

    SimBus(std::vector<Radio> radios, bool echo);

    Output receive(std::span<const std::uint8_t> bytes);

    // Every radio's dial moves a step. Returns the reports that go on the line; the other
    // radios hear them too.
    std::vector<Frame> turnDials();
    void togglePower();

    // True while a frame from the line is half received; radios hold off sending then.
    bool receiving() const { return parser_.inFrame(); }
    const std::vector<Radio>& radios() const { return radios_; }

private:
    void deliver(const Frame& frame, std::vector<Frame>& replies);
    void hearBroadcasts(std::span<const Frame> frames);

    std::vector<Radio> radios_;
    bool echo_;
    BusParser parser_;
};

} // namespace civsim
