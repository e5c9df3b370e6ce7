// What the share knows of the radio from the line's frames, sets included.
#include "civ/frame_builder.h"
#include "share/rigctl_radio_state.h"

#include <gtest/gtest.h>

namespace share {
namespace {

TEST(RadioState, SetsTheRadioConfirmedCountHoweverManyWaitedForTheirAnswers)
{
    RadioState radio;
    const auto heard = [&radio](std::uint64_t request, civ::Frame f) {
        const bool ours = f[3] == 0xE0;
        line::FrameEvent e(ours ? line::Direction::Sent : line::Direction::Received,
                           line::Kind::Frame, std::move(f));
        e.request = request;
        radio.heard(e, 0x08, 0xE0, 0);
    };
    heard(1, civ::buildFrame(0x08, 0xE0, 0x05, {0x00, 0x00, 0x10, 0x07, 0x00}));
    heard(2, civ::buildFrame(0x08, 0xE0, 0x06, {0x03, 0x01}));
    heard(3, civ::buildFrame(0x08, 0xE0, 0x1C, {0x00, 0x01}));
    for (const std::uint64_t request : {1, 3, 2}) {
        heard(request, civ::buildFrame(0xE0, 0x08, civ::kOk));
    }
    ASSERT_TRUE(radio.frequency() && radio.mode() && radio.ptt());
    EXPECT_EQ(std::tuple(radio.frequency()->value, radio.mode()->value.code, radio.ptt()->value),
              std::tuple(7'100'000, 0x03, true));
}

} // namespace
} // namespace share
