// A simulated radio: its settings, and what it answers on the bus.
#pragma once

#include "frame.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace civsim {

namespace cmd {
inline constexpr std::uint8_t kTransceiveFrequency = 0x00;
inline constexpr std::uint8_t kTransceiveMode = 0x01;
inline constexpr std::uint8_t kReadFrequency = 0x03;
inline constexpr std::uint8_t kReadMode = 0x04;
inline constexpr std::uint8_t kSetFrequency = 0x05;
inline constexpr std::uint8_t kSetMode = 0x06;
inline constexpr std::uint8_t kReadId = 0x19;
inline constexpr std::uint8_t kSelectVfo = 0x07;
inline constexpr std::uint8_t kSplit = 0x0F;
inline constexpr std::uint8_t kSettings = 0x1A;
inline constexpr std::uint8_t kTransmit = 0x1C;
inline constexpr std::uint8_t kVfoFrequency = 0x25;
inline constexpr std::uint8_t kVfoMode = 0x26;
} // namespace cmd

bool isKnownMode(std::uint8_t mode);
bool isKnownFilter(std::uint8_t filter);

struct RadioConfig {
    std::uint8_t address = 0x08;
    std::uint64_t frequency = 14'074'000;
    std::uint8_t mode = 0x01;
    std::uint8_t filter = 1;
    int frequencyBytes = 5;
    // The IC-735 and IC-706 families lack read ID.
    bool readId = true;
    // What older radios lack and refuse with NG: VFO select (07), split (0F), data mode
    // (1A 06), and the frequency and mode of either VFO (25, 26).
    bool vfo = true;
    bool split = true;
    bool data = true;
    bool vfoCommands = true;

    bool operator==(const RadioConfig&) const = default;
};

class Radio {
public:
    explicit Radio(const RadioConfig& config, bool transceive = false);

    // Frames the radio puts on the bus in response: a reply to a request addressed to it,
    // and a frequency broadcast when transceive is on. Other stations' traffic yields none.
    std::vector<Frame> handle(const Frame& frame);

    // Answer to a frequency read, also used for unsolicited reports.
    Frame frequencyReport(std::uint8_t dest) const;

    // Set-frequency commands outside LOW..HIGH Hz get NG.
    void limitTo(std::uint64_t low, std::uint64_t high);
    // Switched off, a radio answers nothing and follows nobody.
    void setPowered(bool on) { on_ = on; }
    bool powered() const { return on_; }
    // The operator turns the dial one step up, round to the bottom of the range at the top.
    // With transceive on, the radio tells everyone.
    std::optional<Frame> turnDial();

    std::uint8_t address() const { return address_; }
    std::uint64_t frequency() const { return frequency_; }
    std::uint8_t mode() const { return mode_; }
    std::uint8_t filter() const { return filter_; }
    int frequencyBytes() const { return frequencyBytes_; }
    bool transmitting() const { return transmitting_; }
    bool split() const { return split_; }
    bool dataMode() const { return data_; }

private:
    bool setFrequency(const Bytes& data);
    bool setMode(const Bytes& data);
    // In radio_vfo_ptt.cpp: the second VFO, split, data mode and the transmitter.
    bool selectVfo(const Bytes& data);
    // The commands answered with a frame of their own or NG (nothing).
    std::optional<Frame> answerTo(const Frame& frame);
    std::optional<Frame> transmit(const Frame& frame);
    // Split, data mode and the frequency and mode of either VFO; nothing for NG.
    std::optional<Frame> splitCommand(const Frame& frame);
    std::optional<Frame> dataMode(const Frame& frame);
    std::optional<Frame> vfoFrequency(const Frame& frame);
    std::optional<Frame> vfoMode(const Frame& frame);
    Frame reply(std::uint8_t dest, std::uint8_t command, Bytes data = {}) const;
    std::uint64_t highest() const;

    std::uint8_t address_;
    std::uint64_t frequency_;
    std::uint8_t mode_;
    std::uint8_t filter_;
    int frequencyBytes_;
    bool readId_;
    RadioConfig features_;
    bool transceive_;
    std::uint64_t low_ = 0;
    std::uint64_t high_ = std::numeric_limits<std::uint64_t>::max();
    bool on_ = true;
    // The VFO not selected; the selected one is frequency_, mode_ and filter_.
    struct Vfo {
        std::uint64_t frequency;
        std::uint8_t mode;
        std::uint8_t filter;
        bool data;
    };
    Vfo otherVfo_;
    bool onVfoB_ = false;
    bool transmitting_ = false;
    bool split_ = false;
    bool data_ = false; // of the selected VFO
};

} // namespace civsim
