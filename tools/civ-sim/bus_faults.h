// The line's faults: replies lost or cut short, flipped echoes, collisions and chatter.
#pragma once

#include "frame.h"

#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <vector>

namespace civsim {

// What the line carries when several radios answer a read ID to all radios at once.
enum class Collision {
    None, // they take turns, as radios that wait for a quiet bus do
    Jam,  // each hears the other and sends the jam code
    Merge // open-collector outputs: a 0 bit from either wins, byte by byte
};

// What a real bus and a slow network link do to the traffic, as the options ask.
struct LinkFaults {
    int loseEvery = 0;                 // every Nth reply to the controller is lost; 0: none
    double loseChance = 0;             // each reply is lost with this chance
    int cutEvery = 0;                  // every Nth reply is cut short, then sent whole
    bool flipEchoBit = false;          // each echoed frame comes back to another address
    int netDelayMs = 0;                // each way on the network listener, at least...
    int netDelayMaxMs = 0;             // ...and at most
    std::optional<std::uint32_t> seed; // of the random faults; none: another each run
};

// Decides, reply by reply, what becomes of the radios' replies to the controller.
class ReplyFaults {
public:
    enum class Fate { Sent, Lost, Cut };

    ReplyFaults(const LinkFaults& faults, std::uint32_t seed);
    Fate next();

private:
    int loseEvery_;
    int cutEvery_;
    std::bernoulli_distribution lose_;
    std::uint64_t replies_ = 0;
    std::mt19937 rng_;
};

// What a reply cut short puts on the line: its first bytes, without the end byte.
Bytes cutShort(const Bytes& frame);

// Flips the lowest bit of each frame's destination in the echo, as a bad line would, so that
// it still forms a frame; the frames may come in pieces.
class EchoFlipper {
public:
    void flip(std::span<std::uint8_t> echo);

private:
    int preambleBytes_ = 0;
};

// Takes the read ID answers out of `replies` when two or more would collide, and returns the
// bytes the line carries instead; nothing when they do not collide.
std::optional<Bytes> collide(std::vector<Frame>& replies, Collision mode);

// The n-th report of another station's frequency to all, as a radio with CI-V Transceive on
// sends while its dial turns.
Frame chatterReport(std::uint8_t station, std::uint64_t n);

} // namespace civsim
