#pragma once

#include "line/door.h"

#include <utility>
#include <vector>

// The narrow door without a window: what is sent is kept, the test emits the taps itself.
class FakeDoor final : public line::Door {
public:
    line::Taps& taps() override { return taps_; }
    const line::LinkAccount& account() const override { return account_; }
    line::Millis now() const override { return now_; }
    line::Settings settings() const override { return settings_; }
    QWidget* mainWidget() override { return nullptr; }
    std::optional<std::uint64_t> send(const civ::Frame& frame, const line::Origin& origin) override
    {
        if (full) {
            return std::nullopt;
        }
        sent.emplace_back(frame, origin);
        return sent.size();
    }
    bool pausePoll() override { return false; }
    platform::OpenError reopen(int) override { return platform::OpenError::None; }
    void restore() override {}
    void useSettings(int, int) override {}

    std::vector<civ::Frame> frames() const
    {
        std::vector<civ::Frame> out;
        for (const auto& [frame, origin] : sent) {
            out.push_back(frame);
        }
        return out;
    }

    line::Taps taps_;
    line::LinkAccount account_;
    line::Settings settings_{"/dev/pts/1", false, 8, 9600, 0xE0, 8};
    line::Millis now_ = 0;
    std::vector<std::pair<civ::Frame, line::Origin>> sent;
    bool full = false;
};
