#include "civ/commands.h"

#include "civ/bcd.h"

#include <cmath>
#include <cstddef>

namespace civ {

namespace {

// Rows of the mode pop-up that do not carry their own code.
constexpr int kLastPlainModeRow = 8;
constexpr int kSyncAmRow = 9;
constexpr int kSsbRow = 10;
constexpr int kModeRows = 11;
constexpr std::uint8_t kSyncAmMode = 0x0B;
constexpr std::uint8_t kSsbMode = 0x05;
constexpr int kFilterRows = 3;

Fault addressFault(int to, int our)
{
    if (!isEncodableAddress(to)) {
        return Fault::Destination;
    }
    if (!isEncodableAddress(our)) {
        return Fault::Source;
    }
    return Fault::None;
}

Command build(int to, int our, std::uint8_t cmd, const Frame& data)
{
    constexpr std::size_t kFraming = 6;
    Command c;
    c.frame.reserve(kFraming + data.size());
    for (const std::uint8_t byte : {kPreamble, kPreamble, static_cast<std::uint8_t>(to),
                                    static_cast<std::uint8_t>(our), cmd}) {
        c.frame.push_back(byte);
    }
    for (const std::uint8_t byte : data) {
        c.frame.push_back(byte);
    }
    c.frame.push_back(kEndOfMessage);
    return c;
}

Command refused(Fault fault)
{
    Command c;
    c.fault = fault;
    return c;
}

Command simple(int to, int our, std::uint8_t cmd)
{
    const Fault fault = addressFault(to, our);
    return fault == Fault::None ? build(to, our, cmd, {}) : refused(fault);
}

int byteCountOrDefault(int byteCount)
{
    return byteCount == 5 ? 5 : 4;
}

std::optional<std::uint8_t> modeOfRow(int modeRow)
{
    if (modeRow >= 0 && modeRow <= kLastPlainModeRow) {
        return static_cast<std::uint8_t>(modeRow);
    }
    if (modeRow == kSyncAmRow) {
        return kSyncAmMode;
    }
    if (modeRow == kSsbRow) {
        return kSsbMode;
    }
    return std::nullopt;
}

} // namespace

Command readFrequency(int to, int our)
{
    return simple(to, our, kCmdReadFrequency);
}

Command readMode(int to, int our)
{
    return simple(to, our, kCmdReadMode);
}

Command readId(int to, int our)
{
    const Fault fault = addressFault(to, our);
    return fault == Fault::None ? build(to, our, kCmdReadId, {0x00}) : refused(fault);
}

Command setFrequency(int to, int our, double mhz, int byteCount)
{
    if (const Fault fault = addressFault(to, our); fault != Fault::None) {
        return refused(fault);
    }
    const int bytes = byteCountOrDefault(byteCount);
    const double limitHz = bytes == 5 ? 1e10 : 1e8;
    const double hz = std::round(mhz * 1e6);
    // Written so that NaN and infinities fail too, before anything is converted to an integer.
    if (mhz < 0 || !(hz < limitHz)) {
        return refused(Fault::Frequency);
    }
    return build(to, our, kCmdSetFrequency, frequencyBcd(static_cast<std::int64_t>(hz), bytes));
}

Command setMode(int to, int our, int modeRow, int filterRow)
{
    if (const Fault fault = addressFault(to, our); fault != Fault::None) {
        return refused(fault);
    }
    const bool filterChosen = filterRow >= 0 && filterRow < kFilterRows;
    std::uint8_t filter = filterChosen ? static_cast<std::uint8_t>(filterRow + 1) : 0;
    if (modeRow == kSsbRow) {
        filter = 0;
    }
    return build(to, our, kCmdSetMode, {modeOfRow(modeRow).value_or(0), filter});
}

std::optional<int> modeRow(int modeCode)
{
    // The first row that sends the code: FM, not SSB, for 05.
    for (int row = 0; row < kModeRows; ++row) {
        if (modeOfRow(row) == modeCode) {
            return row;
        }
    }
    return std::nullopt;
}

std::optional<int> filterRow(int filterCode)
{
    return filterCode >= 1 && filterCode <= kFilterRows ? std::optional(filterCode - 1)
                                                        : std::nullopt;
}

Frame frequencyBcd(std::int64_t hz, int byteCount)
{
    const int bytes = byteCountOrDefault(byteCount);
    Frame out;
    out.reserve(static_cast<std::size_t>(bytes));
    for (int i = 0; i < bytes; ++i) {
        out.push_back(Convert(static_cast<int>(hz % 100)));
        hz /= 100;
    }
    return out;
}

} // namespace civ
