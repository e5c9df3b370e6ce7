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
    // A radio's broadcast is heard by every other radio on the bus. Transceive broadcasts
    // are acted on silently, so this cannot loop.
    for (std::size_t i = first; i < replies.size(); ++i) {
        if (replies[i].dest != kBroadcast) {
            continue;
        }
        const Frame broadcast = replies[i];
        for (Radio& radio : radios_) {
            radio.handle(broadcast);
        }
    }
}

} // namespace civsim
