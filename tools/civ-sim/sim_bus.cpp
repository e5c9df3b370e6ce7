// The bus: the controller's bytes echoed and delivered, and what each radio hears of the others.
#include "sim_bus.h"

#include <utility>

namespace civsim {

SimBus::SimBus(std::vector<Radio> radios, bool echo)
    : radios_(std::move(radios))
    , echo_(echo)
{}

SimBus::Output SimBus::receive(std::span<const std::uint8_t> bytes)
{
    Output out;
    if (echo_) {
        out.echo.assign(bytes.begin(), bytes.end());
    }
    for (const std::uint8_t byte : bytes) {
        if (auto frame = parser_.push(byte)) {
            deliver(*frame, out.replies);
            out.received.push_back(std::move(*frame));
        }
    }
    return out;
}

void SimBus::deliver(const Frame& frame, std::vector<Frame>& replies)
{
    const std::size_t first = replies.size();
    for (Radio& radio : radios_) {
        for (Frame& reply : radio.handle(frame)) {
            replies.push_back(std::move(reply));
        }
    }
    hearBroadcasts(std::span(replies).subspan(first));
}

void SimBus::hearBroadcasts(std::span<const Frame> frames)
{
    // A radio's broadcast is heard by every other radio on the bus. Transceive broadcasts
    // are acted on silently, so this cannot loop.
    for (const Frame& frame : frames) {
        if (frame.dest != kBroadcast) {
            continue;
        }
        for (Radio& radio : radios_) {
            radio.handle(frame);
        }
    }
}

std::vector<Frame> SimBus::turnDials()
{
    std::vector<Frame> reports;
    for (Radio& radio : radios_) {
        if (auto report = radio.turnDial()) {
            reports.push_back(std::move(*report));
        }
    }
    hearBroadcasts(reports);
    return reports;
}

void SimBus::togglePower()
{
    for (Radio& radio : radios_) {
        radio.setPowered(!radio.powered());
    }
}

} // namespace civsim
