#include "monitor/frame_assembler.h"

namespace monitor {

std::span<const FrameAssembler::Piece> FrameAssembler::push(std::uint8_t b)
{
    doneCount_ = 0;
    const int before = parser_.parseState;
    switch (parser_.ParseByte(b)) {
    case civ::FrameParser::Event::Jam: {
        if (before == 1) {
            run_.push_back(civ::kPreamble);
        }
        if (before >= 2) {
            finish(Kind::Stray, frame_, frameWire_);
        } else if (!run_.empty()) {
            finish(Kind::Stray, run_, run_.size());
        }
        std::vector<std::uint8_t> jam{b};
        finish(Kind::Jam, jam, 1);
        break;
    }
    case civ::FrameParser::Event::FrameEnd:
        frame_.push_back(b);
        finish(Kind::Frame, frame_, frameWire_ + 1);
        break;
    case civ::FrameParser::Event::OverlongFrameEnd:
        finish(Kind::Overlong, frame_, frameWire_ + 1);
        break;
    case civ::FrameParser::Event::None:
        if (before == 0) {
            if (b != civ::kPreamble) {
                addToRun(b);
            }
        } else if (before == 1) {
            if (parser_.parseState == 2) {
                if (!run_.empty()) {
                    finish(Kind::Stray, run_, run_.size());
                }
                frame_.assign({civ::kPreamble, civ::kPreamble});
                frameWire_ = 2;
            } else {
                addToRun(civ::kPreamble);
                addToRun(b);
            }
        } else {
            if (frame_.size() < kMaxStored) {
                frame_.push_back(b);
            }
            ++frameWire_;
        }
        break;
    }
    return {done_.data(), doneCount_};
}

std::span<const FrameAssembler::Piece> FrameAssembler::closeRun()
{
    doneCount_ = 0;
    if (!run_.empty()) {
        finish(Kind::Stray, run_, run_.size());
    }
    return {done_.data(), doneCount_};
}

void FrameAssembler::finish(Kind kind, std::vector<std::uint8_t>& bytes, std::size_t wireLength)
{
    Piece& piece = done_[doneCount_++];
    piece.kind = kind;
    // assign keeps the piece's capacity: no allocation per frame once warmed up.
    piece.bytes.assign(bytes.begin(), bytes.end());
    piece.wireLength = wireLength;
    bytes.clear();
}

void FrameAssembler::addToRun(std::uint8_t b)
{
    run_.push_back(b);
    if (run_.size() == kMaxStored) {
        finish(Kind::Stray, run_, run_.size());
    }
}

} // namespace monitor
