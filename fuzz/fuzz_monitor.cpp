// Arbitrary traffic in both directions through the bus monitor's log, every row described as
// the window would show it. The input is chunks, each after a control byte: its low bit picks
// the direction (1: sent), the other bits give the chunk's length.
#include "fuzz_check.h"
#include "monitor/frame_log.h"
#include "monitor/row_text.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace {

// Above the most rows one chunk can make, so every row is checked before it can drop out.
constexpr std::size_t kCapacity = 300;
constexpr std::size_t kMaxChunk = 127;

void checkRow(const monitor::Entry& e)
{
    FUZZ_CHECK(!e.bytes.empty() && e.bytes.size() <= monitor::FrameAssembler::kMaxStored);
    FUZZ_CHECK(e.wireLength >= e.bytes.size());
    const bool jamInside =
        std::find(e.bytes.begin(), e.bytes.end(), civ::kJamCode) != e.bytes.end();
    switch (e.kind) {
    case monitor::Kind::Frame: {
        FUZZ_CHECK(e.bytes.size() >= 6 && e.wireLength == e.bytes.size() && !jamInside);
        FUZZ_CHECK(e.bytes[0] == civ::kPreamble && e.bytes[1] == civ::kPreamble);
        FUZZ_CHECK(e.bytes.back() == civ::kEndOfMessage);
        const auto data = std::span(e.bytes).subspan(5, e.bytes.size() - 6);
        FUZZ_CHECK(std::find(data.begin(), data.end(), civ::kEndOfMessage) == data.end());
        break;
    }
    case monitor::Kind::Jam:
        FUZZ_CHECK(e.bytes.size() == 1 && e.bytes[0] == civ::kJamCode);
        break;
    case monitor::Kind::Stray:
        // Only the head of a long frame cut short by a jam code is kept.
        FUZZ_CHECK(e.wireLength == e.bytes.size() ||
                   e.bytes.size() == monitor::FrameAssembler::kMaxStored);
        FUZZ_CHECK(!jamInside);
        break;
    case monitor::Kind::Overlong:
        FUZZ_CHECK(e.bytes.size() == monitor::FrameAssembler::kMaxStored);
        FUZZ_CHECK(e.wireLength > e.bytes.size() && !jamInside);
        break;
    }
    FUZZ_CHECK(e.kind == monitor::Kind::Frame || e.direction != monitor::Direction::Echo);
    FUZZ_CHECK(!e.roundTrip ||
               (e.direction == monitor::Direction::Received && e.roundTrip->count() >= 0));
    const monitor::Cells cells = monitor::cells(e);
    FUZZ_CHECK(!cells[static_cast<std::size_t>(monitor::Column::Command)].empty());
    FUZZ_CHECK(!monitor::textLine(cells, monitor::TextFormat::Csv).empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    monitor::FrameLog log(kCapacity);
    std::array<std::size_t, 2> fed{};
    std::array<std::size_t, 2> shown{};
    std::uint64_t checked = 0;
    auto checkNewRows = [&] {
        FUZZ_CHECK(log.firstId() <= checked && log.endId() - log.firstId() <= kCapacity);
        for (; checked < log.endId(); ++checked) {
            const monitor::Entry e = log.entry(checked);
            checkRow(e);
            shown[e.direction == monitor::Direction::Sent ? 1 : 0] += e.wireLength;
        }
    };

    std::chrono::milliseconds clock{0};
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t control = data[i++];
        const std::size_t length = std::min<std::size_t>(control >> 1, size - i);
        const std::span chunk(data + i, length);
        i += length;
        clock += std::chrono::milliseconds(control % 7);
        const monitor::Stamp at{std::chrono::steady_clock::time_point(clock),
                                std::chrono::system_clock::time_point(clock)};
        const bool sent = (control & 1) != 0;
        if (sent) {
            log.sent(chunk, at);
        } else {
            log.received(chunk, at);
        }
        fed[sent ? 1 : 0] += length;
        if (control % 5 == 0) {
            log.closeRuns(at);
        }
        checkNewRows();
    }
    static_assert(kMaxChunk * 2 < kCapacity);

    // A jam code ends whatever is in progress, so now every byte fed is in some row.
    const std::uint8_t jam = civ::kJamCode;
    log.received(std::span(&jam, 1), {});
    log.sent(std::span(&jam, 1), {});
    checkNewRows();
    FUZZ_CHECK(shown[0] == fed[0] + 1 && shown[1] == fed[1] + 1);
    return 0;
}
