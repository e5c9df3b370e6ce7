// Bytes from the bus into frames; jams, garbage and overlong frames dropped.
#include "bus_parser.h"

namespace civsim {

namespace {
// Preamble (2) and end byte (1) around the body.
constexpr std::size_t kMaxBodyBytes = BusParser::kMaxFrameBytes - 3;
// Destination, source and command.
constexpr std::size_t kMinBodyBytes = 3;
} // namespace

std::optional<Frame> BusParser::push(std::uint8_t byte)
{
    if (byte == kJam) {
        if (state_ == State::Body) {
            drop();
        }
        state_ = State::Idle;
        return std::nullopt;
    }

    switch (state_) {
    case State::Idle:
        if (byte == kPreamble) {
            state_ = State::Preamble;
        }
        return std::nullopt;

    case State::Preamble:
        state_ = byte == kPreamble ? State::Body : State::Idle;
        body_.clear();
        return std::nullopt;

    case State::Body:
        break;
    }

    if (byte == kPreamble) {
        // Extra preamble bytes are allowed; one inside a body starts a new frame.
        if (!body_.empty()) {
            drop();
            state_ = State::Preamble;
        }
        return std::nullopt;
    }

    if (byte == kEndOfMessage) {
        state_ = State::Idle;
        if (body_.size() < kMinBodyBytes) {
            drop();
            return std::nullopt;
        }
        Frame frame{body_[0], body_[1], body_[2], Bytes(body_.begin() + 3, body_.end())};
        body_.clear();
        return frame;
    }

    body_.push_back(byte);
    if (body_.size() > kMaxBodyBytes) {
        drop();
        state_ = State::Idle;
    }
    return std::nullopt;
}

void BusParser::drop()
{
    body_.clear();
    ++dropped_;
}

} // namespace civsim
