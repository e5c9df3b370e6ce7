// Operator input through the window's reading of its fields and the frame builders, then
// through the transmit queue as the receive pump releases it.
#include "civ/commands.h"
#include "civ/frame.h"
#include "civ/transmit_queue.h"
#include "command_script.h"
#include "fuzz_check.h"
#include "platform/text_numbers.h"

#include <QLatin1String>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <span>
#include <type_traits>

namespace {

// Bytes outside 0..255 cannot reach the queue as long as a frame is made of these.
static_assert(std::is_same_v<civ::Frame::value_type, std::uint8_t>);

// Actions: f, m, F, M queue read frequency, read mode, set frequency, set mode; t is one
// receive-pump tick; e a frame end seen on the bus; x queues all four over and over until the
// queue refuses one. Other characters do nothing.
constexpr std::size_t kMaxActions = 64;
constexpr int kMaxFloods = 2;

// The window's controls as it reads them when it builds a command.
struct Inputs {
    int to = 0;
    int our = 0;
    double mhz = 0;
    int byteCount = 4;
    int modeRow = -1;
    int filterRow = -1;
};

Inputs readAsWindow(const CommandScript& script)
{
    Inputs in;
    in.to = platform::integerValue(script.radioId);
    in.our = platform::integerValue(script.ourId);
    const double typed = platform::numericValue(script.frequency);
    in.mhz = platform::integerValue(script.unitRow) == 0 ? typed / 1000 : typed;
    in.byteCount = script.byteCount == QLatin1String("5") ? 5 : 4;
    in.modeRow = platform::integerValue(script.modeRow);
    in.filterRow = platform::integerValue(script.filterRow);
    return in;
}

// One byte, and none of the codes that frame or jam the bus; FF is the broadcast address.
bool addressOnBus(int address)
{
    return (address >= 0 && address < 0xFC) || address == 0xFF;
}

void checkFrame(const civ::Frame& frame)
{
    const std::size_t n = frame.size();
    FUZZ_CHECK(n == 6 || n == 8 || n == 10 || n == 11);
    FUZZ_CHECK(frame[0] == civ::kPreamble && frame[1] == civ::kPreamble);
    FUZZ_CHECK(frame[n - 1] == civ::kEndOfMessage);
    for (std::size_t i = 2; i + 1 < n; ++i) {
        FUZZ_CHECK(frame[i] != civ::kJamCode && frame[i] != civ::kEndOfMessage &&
                   frame[i] != civ::kPreamble);
    }
}

void checkAddressFault(const civ::Command& command, const Inputs& in)
{
    if (!addressOnBus(in.to)) {
        FUZZ_CHECK(command.fault == civ::Fault::Destination);
    } else if (!addressOnBus(in.our)) {
        FUZZ_CHECK(command.fault == civ::Fault::Source);
    } else {
        FUZZ_CHECK(command.fault != civ::Fault::Destination && command.fault != civ::Fault::Source);
    }
    if (command) {
        FUZZ_CHECK(command.frame[2] == in.to && command.frame[3] == in.our);
    }
}

// The frequency must arrive as valid BCD of the typed value rounded to the hertz, and be
// refused only when it is out of range.
void checkFrequency(const civ::Command& command, const Inputs& in)
{
    const double limitHz = in.byteCount == 5 ? 1e10 : 1e8;
    const double hz = std::round(in.mhz * 1e6);
    const bool inRange = in.mhz >= 0 && hz < limitHz;
    if (command.fault == civ::Fault::Frequency) {
        FUZZ_CHECK(!inRange);
        return;
    }
    if (!command) {
        return;
    }
    FUZZ_CHECK(inRange);
    FUZZ_CHECK(command.frame.size() == static_cast<std::size_t>(6 + in.byteCount));
    std::int64_t decoded = 0;
    for (std::size_t i = 5 + static_cast<std::size_t>(in.byteCount); i-- > 5;) {
        const int high = command.frame[i] >> 4;
        const int low = command.frame[i] & 0x0F;
        FUZZ_CHECK(high <= 9 && low <= 9);
        decoded = decoded * 100 + high * 10 + low;
    }
    FUZZ_CHECK(static_cast<double>(decoded) == hz);
}

void checkMode(const civ::Command& command)
{
    if (!command) {
        return;
    }
    FUZZ_CHECK(command.frame.size() == 8);
    const int mode = command.frame[5];
    const int filter = command.frame[6];
    FUZZ_CHECK(mode <= 8 || mode == 0x0B);
    FUZZ_CHECK(filter <= 3);
}

// The queue beside a plain model of what it should hold.
class CheckedQueue {
public:
    // False when the queue refused the frame.
    bool send(const civ::Command& command)
    {
        if (!command) {
            return true;
        }
        checkFrame(command.frame);
        const int before = queue_.queued();
        const bool fits = command.frame.size() <= static_cast<std::size_t>(queue_.freeSpace());
        const bool accepted = queue_.SendSerialPacket(command.frame);
        FUZZ_CHECK(accepted == fits);
        if (accepted) {
            model_.insert(model_.end(), command.frame.begin(), command.frame.end());
        }
        FUZZ_CHECK(static_cast<std::size_t>(queue_.queued()) == model_.size());
        FUZZ_CHECK(accepted || queue_.queued() == before);
        return accepted;
    }

    void tick()
    {
        const civ::Frame out = queue_.DoSerialOut();
        FUZZ_CHECK(out.size() <= static_cast<std::size_t>(civ::TransmitQueue::kMaxRelease));
        FUZZ_CHECK(out.size() <= model_.size());
        for (std::size_t i = 0; i < out.size(); ++i) {
            FUZZ_CHECK(out[i] == model_[i]);
            // One frame at most per release: an end byte only last.
            FUZZ_CHECK(out[i] != civ::kEndOfMessage || i + 1 == out.size());
        }
        model_.erase(model_.begin(), model_.begin() + static_cast<std::ptrdiff_t>(out.size()));
        FUZZ_CHECK(static_cast<std::size_t>(queue_.queued()) == model_.size());
    }

    void fill(std::initializer_list<const civ::Command*> commands)
    {
        // Bounded, as all of them may be refused for their content: a frame takes at least six
        // slots, so the queue is full before the last round.
        for (int n = 0; n < civ::TransmitQueue::kSlots / 6; ++n) {
            for (const civ::Command* command : commands) {
                if (!send(*command)) {
                    return;
                }
            }
        }
    }

    void frameEndSeen() { queue_.frameEndSeen(); }

    void drain()
    {
        // Each release after the first waits out the delay, and releases at least one byte.
        const std::size_t bound =
            (model_.size() + 1) * (civ::TransmitQueue::kDelayAfterRelease + 1);
        for (std::size_t i = 0; i < bound && !model_.empty(); ++i) {
            tick();
        }
        FUZZ_CHECK(model_.empty() && queue_.queued() == 0);
    }

private:
    civ::TransmitQueue queue_;
    std::deque<std::uint8_t> model_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CommandScript script = parseCommandScript(std::span(data, size));
    const Inputs in = readAsWindow(script);

    const civ::Command readFrequency = civ::readFrequency(in.to, in.our);
    const civ::Command readMode = civ::readMode(in.to, in.our);
    const civ::Command setFrequency = civ::setFrequency(in.to, in.our, in.mhz, in.byteCount);
    const civ::Command setMode = civ::setMode(in.to, in.our, in.modeRow, in.filterRow);
    for (const civ::Command* command : {&readFrequency, &readMode, &setFrequency, &setMode}) {
        checkAddressFault(*command, in);
    }
    FUZZ_CHECK(readFrequency.fault != civ::Fault::Frequency);
    FUZZ_CHECK(readMode.fault != civ::Fault::Frequency);
    FUZZ_CHECK(setMode.fault != civ::Fault::Frequency);
    checkFrequency(setFrequency, in);
    checkMode(setMode);

    CheckedQueue queue;
    int floods = 0;
    const std::size_t actions = std::min(script.actions.size(), kMaxActions);
    for (std::size_t i = 0; i < actions; ++i) {
        switch (script.actions[i]) {
        case 'f':
            queue.send(readFrequency);
            break;
        case 'm':
            queue.send(readMode);
            break;
        case 'F':
            queue.send(setFrequency);
            break;
        case 'M':
            queue.send(setMode);
            break;
        case 't':
            queue.tick();
            break;
        case 'e':
            queue.frameEndSeen();
            break;
        case 'x':
            if (floods++ < kMaxFloods) {
                queue.fill({&readFrequency, &readMode, &setFrequency, &setMode});
            }
            break;
        default:
            break;
        }
    }
    queue.drain();
    return 0;
}
