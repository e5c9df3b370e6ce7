// Reading a frame's fields, once, for everything that looks at a frame.
#include "civ/frame_view.h"

#include "civ/frame.h"

#include <algorithm>
#include <array>
#include <limits>

namespace civ {

namespace {

constexpr std::array<int, 16> kWithSubCommand{0x07, 0x0E, 0x13, 0x14, 0x15, 0x16, 0x18, 0x19,
                                              0x1A, 0x1B, 0x1C, 0x1E, 0x21, 0x25, 0x26, 0x27};
constexpr std::array<int, 19> kReadable{0x02, 0x03, 0x04, 0x0C, 0x15, 0x19, 0x14, 0x16, 0x1A, 0x1B,
                                        0x1C, 0x1E, 0x21, 0x25, 0x26, 0x0F, 0x10, 0x11, 0x12};

} // namespace

FrameView viewFrame(std::span<const std::uint8_t> bytes)
{
    // Offsets are kept in 16 bits; no frame the program handles comes near that.
    bytes =
        bytes.first(std::min<std::size_t>(bytes.size(), std::numeric_limits<std::uint16_t>::max()));
    std::size_t at = 0;
    while (at < bytes.size() && bytes[at] == kPreamble) {
        ++at;
    }
    std::size_t end = bytes.size();
    if (end > at && bytes[end - 1] == kEndOfMessage) {
        --end;
    }
    FrameView view;
    const auto next = [&]() -> std::int16_t { return at < end ? bytes[at++] : -1; };
    view.to = next();
    view.from = next();
    view.command = next();
    if (hasSubCommand(view.command)) {
        view.subCommand = next();
    }
    view.dataAt = static_cast<std::uint16_t>(at);
    view.dataEnd = static_cast<std::uint16_t>(end);
    return view;
}

bool hasSubCommand(int command)
{
    return std::ranges::find(kWithSubCommand, command) != kWithSubCommand.end();
}

bool isRead(const FrameView& request)
{
    return !request.hasData() && std::ranges::find(kReadable, request.command) != kReadable.end();
}

} // namespace civ
