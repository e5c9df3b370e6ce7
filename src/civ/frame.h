// A CI-V frame's bytes, and the codes and command numbers the program knows.
#pragma once

#include <cstdint>
#include <vector>

namespace civ {

using Frame = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kPreamble = 0xFE;
inline constexpr std::uint8_t kEndOfMessage = 0xFD;
inline constexpr std::uint8_t kJamCode = 0xFC;

inline constexpr std::uint8_t kBroadcast = 0x00;

inline constexpr std::uint8_t kCmdReportFrequency = 0x00;
inline constexpr std::uint8_t kCmdReportMode = 0x01;
inline constexpr std::uint8_t kCmdReadFrequency = 0x03;
inline constexpr std::uint8_t kCmdReadMode = 0x04;
inline constexpr std::uint8_t kCmdSetFrequency = 0x05;
inline constexpr std::uint8_t kCmdSetMode = 0x06;
inline constexpr std::uint8_t kCmdSelectVfo = 0x07;
inline constexpr std::uint8_t kSubVfoA = 0x00;
inline constexpr std::uint8_t kSubVfoB = 0x01;
inline constexpr std::uint8_t kSubVfoExchange = 0xB0;
// Split: data 00 off, 01 on; read without data.
inline constexpr std::uint8_t kCmdSplit = 0x0F;
inline constexpr std::uint8_t kCmdReadId = 0x19;
inline constexpr std::uint8_t kCmdSettings = 0x1A;
// Data mode: data flag and filter, 00 00 off.
inline constexpr std::uint8_t kSubDataMode = 0x06;
// Frequency and mode of the selected (sub-command 00) or the unselected (01) VFO.
inline constexpr std::uint8_t kCmdVfoFrequency = 0x25;
inline constexpr std::uint8_t kCmdVfoMode = 0x26;
inline constexpr std::uint8_t kSubSelectedVfo = 0x00;
inline constexpr std::uint8_t kSubOtherVfo = 0x01;
inline constexpr std::uint8_t kCmdTransmit = 0x1C;
inline constexpr std::uint8_t kSubPtt = 0x00;
inline constexpr std::uint8_t kNg = 0xFA;
inline constexpr std::uint8_t kOk = 0xFB;

// The codes every receiver acts on wherever they occur: no field inside a frame may hold one.
constexpr bool isReservedByte(int b)
{
    return b == kJamCode || b == kEndOfMessage || b == kPreamble;
}

} // namespace civ
