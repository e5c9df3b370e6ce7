#include "share/civ_port_cutter.h"

namespace share {

namespace {
// FE FE to from cmd FD: no shorter frame carries a command.
constexpr std::size_t kMinFrame = 6;
} // namespace

std::vector<civ::Frame> CivPortCutter::cut(std::span<const std::uint8_t> bytes)
{
    std::vector<civ::Frame> out;
    for (const std::uint8_t b : bytes) {
        switch (state_) {
        case State::Between:
        case State::Garbage:
            if (b == civ::kPreamble) {
                partial_ = {b};
                state_ = State::Preamble;
            } else if (state_ == State::Between) {
                drop(State::Garbage);
            }
            break;
        case State::Preamble:
            if (b == civ::kPreamble) {
                partial_.push_back(b);
                state_ = State::Body;
            } else {
                drop(State::Garbage);
            }
            break;
        case State::Body:
            if (b == civ::kPreamble && partial_.size() == 2) {
                break; // an extra leading FE, as some programs send
            }
            if (b == civ::kPreamble) {
                drop(State::Preamble);
                partial_ = {b};
            } else if (b == civ::kJamCode) {
                drop(State::Skipping);
            } else if (b == civ::kEndOfMessage) {
                partial_.push_back(b);
                finish(out);
            } else if (partial_.size() + 1 >= kMaxFrame) {
                drop(State::Skipping);
            } else {
                partial_.push_back(b);
            }
            break;
        case State::Skipping:
            if (b == civ::kPreamble) {
                partial_ = {b};
                state_ = State::Preamble;
            } else if (b == civ::kEndOfMessage) {
                state_ = State::Between;
            }
            break;
        }
    }
    return out;
}

void CivPortCutter::drop(State next)
{
    ++dropped_;
    partial_.clear();
    state_ = next;
}

void CivPortCutter::finish(std::vector<civ::Frame>& out)
{
    // A sender of 00 would be the broadcast address: no station sends from it.
    if (partial_.size() < kMinFrame || partial_[3] == civ::kBroadcast) {
        drop(State::Between);
        return;
    }
    out.push_back(std::move(partial_));
    partial_.clear();
    state_ = State::Between;
}

} // namespace share
