// Frames into the transmit ring whole or not at all, and out again one per release.
#include "civ/transmit_queue.h"

#include <cstddef>

namespace civ {

namespace {

int advance(int index)
{
    return index + 1 == TransmitQueue::kSlots ? 0 : index + 1;
}

} // namespace

bool TransmitQueue::SendSerialPacket(std::span<const std::uint8_t> frame)
{
    // A partly queued frame would garble the bus, so it goes in whole or not at all.
    if (frame.size() > static_cast<std::size_t>(freeSpace())) {
        return false;
    }
    for (const std::uint8_t byte : frame) {
        serialBuf[static_cast<std::size_t>(serialBufHead)] = byte;
        serialBufHead = advance(serialBufHead);
    }
    return true;
}

Frame TransmitQueue::DoSerialOut()
{
    if (sendDelay >= 1) {
        --sendDelay;
        return {};
    }
    Frame out;
    while (serialBufTail != serialBufHead) {
        const std::uint8_t byte = serialBuf[static_cast<std::size_t>(serialBufTail)];
        out.push_back(byte);
        serialBufTail = advance(serialBufTail);
        if (byte == kEndOfMessage || out.size() == static_cast<std::size_t>(kMaxRelease)) {
            break;
        }
    }
    sendDelay = kDelayAfterRelease;
    return out;
}

void TransmitQueue::reset()
{
    serialBufHead = 0;
    serialBufTail = 0;
    sendDelay = 0;
}

int TransmitQueue::queued() const
{
    const int n = serialBufHead - serialBufTail;
    return n < 0 ? n + kSlots : n;
}

} // namespace civ
