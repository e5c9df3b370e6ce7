#include "line/frame_fields.h"

#include "civ/frame.h"

#include <algorithm>
#include <array>

namespace line {

namespace {

constexpr std::array<int, 15> kWithSubCommand{0x07, 0x0E, 0x13, 0x14, 0x15, 0x16, 0x19, 0x1A,
                                              0x1B, 0x1C, 0x1E, 0x21, 0x25, 0x26, 0x27};
constexpr std::array<int, 19> kReadable{0x02, 0x03, 0x04, 0x0C, 0x15, 0x19, 0x14, 0x16, 0x1A, 0x1B,
                                        0x1C, 0x1E, 0x21, 0x25, 0x26, 0x0F, 0x10, 0x11, 0x12};

} // namespace

FrameFields frameFields(std::span<const std::uint8_t> bytes)
{
    std::size_t begin = 0;
    while (begin < bytes.size() && bytes[begin] == civ::kPreamble) {
        ++begin;
    }
    std::size_t end = bytes.size();
    if (end > begin && bytes[end - 1] == civ::kEndOfMessage) {
        --end;
    }
    const auto fields = bytes.subspan(begin, end - begin);
    FrameFields out;
    const auto at = [&fields](std::size_t i) { return i < fields.size() ? fields[i] : -1; };
    out.to = at(0);
    out.from = at(1);
    out.command = at(2);
    std::size_t dataBegin = std::min<std::size_t>(3, fields.size());
    out.afterCommand = fields.subspan(dataBegin);
    if (hasSubCommand(out.command)) {
        out.subCommand = at(3);
        dataBegin = std::min<std::size_t>(4, fields.size());
    }
    out.data = fields.subspan(dataBegin);
    return out;
}

bool hasSubCommand(int command)
{
    return std::ranges::find(kWithSubCommand, command) != kWithSubCommand.end();
}

bool isRead(const FrameFields& request)
{
    return request.data.empty() && std::ranges::find(kReadable, request.command) != kReadable.end();
}

} // namespace line
