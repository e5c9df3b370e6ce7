// The cutter's bytes one at a time: preambles, frames ended or cut short, jams and stray runs.
#include "line/frame_cutter.h"

#include "civ/frame.h"

namespace line {

namespace {

// FE FE to from: a frame that ends here has no command.
constexpr std::size_t kFieldsBeforeCommand = 2;

} // namespace

void FrameCutter::push(std::span<const std::uint8_t> bytes, Millis now, std::vector<Piece>& out)
{
    for (const std::uint8_t b : bytes) {
        pushByte(b, now, out);
    }
}

void FrameCutter::closeRun(std::vector<Piece>& out)
{
    if (run_.empty()) {
        return;
    }
    out.push_back({Kind::Stray, run_, run_.size(), runAt_});
    run_.clear();
}

void FrameCutter::pushByte(std::uint8_t b, Millis now, std::vector<Piece>& out)
{
    if (b == civ::kJamCode) {
        jam(b, now, out);
        return;
    }
    switch (stage_) {
    case Stage::Between:
        if (b == civ::kPreamble) {
            stage_ = Stage::OneFe;
            loneFeAt_ = now;
        } else {
            addToRun(b, now, out);
        }
        break;
    case Stage::OneFe:
        if (b == civ::kPreamble) {
            closeRun(out);
            startFrame(loneFeAt_);
        } else {
            addToRun(civ::kPreamble, loneFeAt_, out);
            addToRun(b, now, out);
            stage_ = Stage::Between;
        }
        break;
    case Stage::Preamble:
    case Stage::Fields:
        if (b == civ::kEndOfMessage) {
            endFrame(b, now, out);
            break;
        }
        // CI-V data never holds FE: FE FE after the addresses begins the next frame.
        if (stage_ == Stage::Fields && b == civ::kPreamble && afterFe_) {
            restart(out);
            break;
        }
        afterFe_ = b == civ::kPreamble;
        if (afterFe_) {
            loneFeAt_ = now;
        }
        // Extra FE before the addresses belong to the frame; after them a lone FE is data.
        if (stage_ == Stage::Preamble && b != civ::kPreamble) {
            stage_ = Stage::Fields;
        }
        if (stage_ == Stage::Fields) {
            ++fields_;
        }
        if (fields_ <= kHeadFields) {
            frame_.push_back(b);
        }
        ++frameWire_;
        break;
    }
}

void FrameCutter::restart(std::vector<Piece>& out)
{
    // The first FE of the new preamble is not the cut frame's, when it was kept at all.
    if (fields_ <= kHeadFields) {
        frame_.pop_back();
    }
    out.push_back({Kind::Stray, std::move(frame_), frameWire_ - 1, frameAt_});
    startFrame(loneFeAt_);
}

void FrameCutter::startFrame(Millis firstFeAt)
{
    frame_.assign({civ::kPreamble, civ::kPreamble});
    frameWire_ = 2;
    fields_ = 0;
    frameAt_ = firstFeAt;
    afterFe_ = false;
    stage_ = Stage::Preamble;
}

void FrameCutter::addToRun(std::uint8_t b, Millis at, std::vector<Piece>& out)
{
    if (run_.empty()) {
        runAt_ = at;
    }
    run_.push_back(b);
    // A line of noise with no frame in it still shows, in bounded rows.
    if (run_.size() == kHeadFields) {
        closeRun(out);
    }
}

void FrameCutter::jam(std::uint8_t b, Millis now, std::vector<Piece>& out)
{
    switch (stage_) {
    case Stage::Between:
        break;
    case Stage::OneFe:
        addToRun(civ::kPreamble, loneFeAt_, out);
        break;
    case Stage::Preamble:
    case Stage::Fields:
        out.push_back({Kind::Stray, frame_, frameWire_, frameAt_});
        frame_.clear();
        break;
    }
    closeRun(out);
    out.push_back({Kind::Jam, {b}, 1, now});
    stage_ = Stage::Between;
}

void FrameCutter::endFrame(std::uint8_t fd, Millis now, std::vector<Piece>& out)
{
    ++frameWire_;
    if (fields_ <= kFieldsBeforeCommand) {
        frame_.push_back(fd);
        finishFrame(Kind::Headless, now, out);
    } else if (fields_ > kHeadFields) {
        finishFrame(Kind::Overlong, now, out);
    } else {
        frame_.push_back(fd);
        finishFrame(Kind::Frame, now, out);
    }
}

void FrameCutter::finishFrame(Kind kind, Millis now, std::vector<Piece>& out)
{
    out.push_back({kind, frame_, frameWire_, now});
    frame_.clear();
    stage_ = Stage::Between;
}

} // namespace line
