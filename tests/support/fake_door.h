// The narrow door without a link, for the additions' cores.
#pragma once

#include "line/door.h"

#include <ranges>
#include <utility>
#include <vector>

// What is sent is kept, the account's answers come from an account the test drives, and the
// test emits the taps itself.
class FakeDoor final : public line::Door {
public:
    line::Taps& taps() override { return taps_; }
    line::Millis now() const override { return now_; }
    line::Settings settings() const override { return settings_; }
    std::optional<std::uint64_t> send(const civ::Frame& frame, const line::Origin& origin) override
    {
        if (full) {
            return std::nullopt;
        }
        sent.emplace_back(frame, origin);
        return sent.size();
    }
    const line::PortStatus& port() const override { return account_.port(); }
    bool waiting(std::uint64_t id) const override { return account_.waiting(id); }
    std::optional<line::HoldBack> heldBack(line::Millis now) const override
    {
        return account_.heldBack(now);
    }
    line::OriginCount count(const line::Origin& origin) const override
    {
        return account_.count(origin);
    }

    std::vector<civ::Frame> frames() const
    {
        const auto keys = sent | std::views::keys;
        return {keys.begin(), keys.end()};
    }

    line::Taps taps_;
    line::LinkAccount account_;
    line::Settings settings_{"/dev/pts/1", false, 8, 9600, 0xE0, 8};
    line::Millis now_ = 0;
    std::vector<std::pair<civ::Frame, line::Origin>> sent;
    bool full = false;
};
