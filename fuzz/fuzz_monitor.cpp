// Arbitrary traffic in both directions through a real link account into the bus monitor's log,
// every row described as the window would show it. The input is chunks, each after a control
// byte: its low bit picks the direction (1: queued and written), the other bits give the
// chunk's length.
#include "fuzz_check.h"
#include "monitor/frame_description.h"
#include "monitor/frame_log.h"
#include "monitor/row_text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

namespace {

// Small, so the fuzzer reaches the dropping of old rows.
constexpr std::size_t kCapacity = 300;

void checkRow(const line::FrameEvent& added, const monitor::Entry& e)
{
    FUZZ_CHECK(e.bytes == added.bytes && e.kind == added.kind);
    FUZZ_CHECK(e.view.to == added.view.to && e.view.dataEnd == added.view.dataEnd);
    FUZZ_CHECK(e.direction == added.direction && e.clash == added.clash);
    FUZZ_CHECK(e.wireLength >= e.bytes.size() && e.roundTrip == added.roundTrip);
    FUZZ_CHECK(!e.client || *e.client == added.origin);
    const monitor::Cells cells = monitor::cells(e);
    FUZZ_CHECK(!cells[static_cast<std::size_t>(monitor::Column::Command)].empty());
    // What the fuzzer queues need not be a frame; what the account cuts from the line is.
    const civ::FrameView& head = e.view;
    FUZZ_CHECK(e.direction != line::Direction::Received || e.kind != line::Kind::Frame ||
               (head.to >= 0 && head.from >= 0 && head.command >= 0));
    const bool addressed = e.kind == line::Kind::Frame || e.kind == line::Kind::Headless ||
                           e.kind == line::Kind::Overlong;
    FUZZ_CHECK(!addressed ||
               cells[static_cast<std::size_t>(monitor::Column::From)].empty() == (head.from < 0));
    FUZZ_CHECK(!monitor::textLine(cells, monitor::TextFormat::Csv).empty());
    monitor::RowFilter filter;
    filter.address = static_cast<std::uint8_t>(std::max<int>(head.to, 0));
    FUZZ_CHECK(!addressed || head.to < 0 || filter.matches(e));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    line::LinkAccount account;
    monitor::FrameLog log(kCapacity);
    const line::Origin typed{line::Source::Typed, 0, {}};
    line::Millis clock = 0;
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t control = data[i++];
        const std::size_t length = std::min<std::size_t>(control >> 1, size - i);
        const std::span chunk(data + i, length);
        i += length;
        clock += control % 7;
        if ((control & 1) != 0) {
            account.written(account.queued(chunk, typed, clock), clock);
        } else {
            account.received(chunk, clock);
        }
        if (control % 5 == 0) {
            account.tick(clock);
        }
        for (const line::FrameEvent& event : account.takeEvents()) {
            log.add(event);
            FUZZ_CHECK(log.endId() - log.firstId() <= kCapacity);
            checkRow(event, log.entry(log.endId() - 1));
        }
    }
    return 0;
}
