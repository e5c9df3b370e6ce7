// civ-sim's options: the line, the radios on it, and the faults and load it carries.
#pragma once

#include "bus_faults.h"
#include "radio.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace civsim {

enum class LineKind { Pty, Device, Tcp };

struct Options {
    LineKind line = LineKind::Pty;
    std::string device;
    std::string link;
    std::string listenHost;
    std::uint16_t listenPort = 0;
    int baud = 57600;
    // The radios' own line rate; 0: whatever the controller uses.
    int rate = 0;
    std::vector<RadioConfig> radios;
    bool echo = true;
    bool garbleEcho = false;
    double jamEverySeconds = 0;
    double noiseEverySeconds = 0;
    Collision collide = Collision::None;
    // Another station reports its frequency this often; 0: never.
    double chatterEverySeconds = 0;
    int replyDelayMs = 0;
    LinkFaults faults;
    bool transceive = false;
    double dialEverySeconds = 0;
    // Set-frequency range in Hz; outside it radios answer NG.
    std::uint64_t lowestHz = 0;
    std::uint64_t highestHz = std::numeric_limits<std::uint64_t>::max();
    bool off = false;
    bool flood = false;
    std::uint8_t controller = 0xEA;
    bool log = false;
};

struct ParseResult {
    enum class Action { Run, Help, Version, Error };

    Action action = Action::Run;
    Options options;
    std::string error;
};

// Arguments without the program name.
ParseResult parseOptions(const std::vector<std::string>& args);

std::string helpText();

} // namespace civsim
