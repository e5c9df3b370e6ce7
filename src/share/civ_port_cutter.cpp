// The CI-V port's bytes one at a time: preambles, frames finished, and garbage counted.
#include "share/civ_port_cutter.h"

#include "civ/frame_builder.h"
#include "civ/frame_view.h"

namespace share {

std::vector<CivPortCutter::Cut> CivPortCutter::cut(std::span<const std::uint8_t> bytes)
{
    std::vector<Cut> out;
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
                state_ = State::Run;
            } else {
                drop(State::Garbage);
            }
            break;
        case State::Run:
        case State::Body:
            if (b == civ::kPreamble && state_ == State::Body) {
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
                // Extra leading FE, as some programs send, stay in the run before the addresses.
                partial_.push_back(b);
                state_ = b == civ::kPreamble ? State::Run : State::Body;
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

void CivPortCutter::finish(std::vector<Cut>& out)
{
    const civ::FrameView view = civ::viewFrame(partial_);
    // A sender of 00 would be the broadcast address: no station sends from it.
    if (view.command < 0 || view.from == civ::kBroadcast) {
        drop(State::Between);
        return;
    }
    out.push_back(
        {civ::buildFrame(static_cast<std::uint8_t>(view.to), static_cast<std::uint8_t>(view.from),
                         static_cast<std::uint8_t>(view.command), view.body(partial_)),
         view.from});
    partial_.clear();
    state_ = State::Between;
}

} // namespace share
