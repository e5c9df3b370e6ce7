// The commands the window sends, as frames, or the input that made one impossible.
#pragma once

#include "civ/bcd.h"
#include "civ/frame.h"

#include <cstdint>
#include <optional>
#include <string>

namespace civ {

// Which input made a command impossible to encode.
enum class Fault { None, Destination, Source, Frequency };

struct Command {
    Frame frame;
    Fault fault = Fault::None;

    explicit operator bool() const { return fault == Fault::None; }
};

// What was wrong, as one sentence: "Radio ID must be a bus address ...".
std::string faultRule(Fault fault);

Command readFrequency(int to, int our);
Command readMode(int to, int our);
// Radios answer it also when it goes to kBroadcast, each with its own address.
Command readId(int to, int our);

// mhz is the operator's frequency; it is rounded to the nearest hertz. byteCount is 4 or 5:
// the four-byte form cannot carry 100 MHz and more, the five-byte form 10000 MHz and more.
Command setFrequency(int to, int our, double mhz, int byteCount);

// Rows of the mode and filter pop-ups; -1 for no selection.
Command setMode(int to, int our, int modeRow, int filterRow);
// The pop-up rows that send a radio's mode and filter codes; none for a code no row sends.
std::optional<int> modeRow(int modeCode);
std::optional<int> filterRow(int filterCode);

} // namespace civ
