// The window's commands built from its fields, and the pop-up rows for a radio's mode codes.
#include "civ/commands.h"

#include "civ/address.h"
#include "civ/frame_builder.h"
#include "civ/modes.h"

#include <array>
#include <cmath>

namespace civ {

namespace {

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

Command build(int to, int our, std::uint8_t cmd, std::span<const std::uint8_t> body)
{
    return {buildFrame(static_cast<std::uint8_t>(to), static_cast<std::uint8_t>(our), cmd, body),
            Fault::None};
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

} // namespace

std::string faultRule(Fault fault)
{
    switch (fault) {
    case Fault::Destination:
        return addressRule("Radio ID");
    case Fault::Source:
        return addressRule("Our ID");
    case Fault::Frequency:
        return "Freq must be from 0 to 99.999999 MHz with 4 bytes, or to 9999.999999 MHz with 5 "
               "bytes.";
    case Fault::None:
        break;
    }
    return {};
}

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
    constexpr std::array<std::uint8_t, 1> kReadIdSub{0x00};
    return fault == Fault::None ? build(to, our, kCmdReadId, kReadIdSub) : refused(fault);
}

Command setFrequency(int to, int our, double mhz, int byteCount)
{
    if (const Fault fault = addressFault(to, our); fault != Fault::None) {
        return refused(fault);
    }
    const int bytes = byteCount == 5 ? 5 : 4;
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
    const auto rows = modeRows();
    const bool filterChosen = filterRow >= 0 && filterRow < static_cast<int>(filters().size());
    const std::uint8_t filter = filterChosen ? static_cast<std::uint8_t>(filterRow + 1) : 0;
    if (modeRow < 0 || modeRow >= static_cast<int>(rows.size())) {
        return build(to, our, kCmdSetMode, std::array<std::uint8_t, 2>{0x00, filter});
    }
    const ModeRow& row = rows[static_cast<std::size_t>(modeRow)];
    return build(to, our, kCmdSetMode,
                 std::array<std::uint8_t, 2>{row.code, row.withFilter ? filter : std::uint8_t{0}});
}

std::optional<int> modeRow(int modeCode)
{
    // The first row that sends the code: FM, not SSB, for 05.
    const auto rows = modeRows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (rows[row].code == modeCode) {
            return static_cast<int>(row);
        }
    }
    return std::nullopt;
}

std::optional<int> filterRow(int filterCode)
{
    const auto known = filters();
    for (std::size_t row = 0; row < known.size(); ++row) {
        if (known[row].code == filterCode) {
            return static_cast<int>(row);
        }
    }
    return std::nullopt;
}

} // namespace civ
