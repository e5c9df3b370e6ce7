#include "check/sentences.h"

#include "civ/reply_decoder.h"

#include <array>
#include <cstdio>

namespace check::sentences {

namespace {

std::string address(int a)
{
    return "0x" + civ::hexByte(a) + " (" + std::to_string(a) + ")";
}

std::string bits(int rate)
{
    return std::to_string(rate) + " bit/s";
}

} // namespace

std::string badAddress(const char* field)
{
    return std::string("Set ") + field +
           " to a bus address from 0 to 255, except 252 to 254, and start again.";
}

std::string noPort()
{
    return "There is no serial port to check. Plug in the interface or the radio's USB cable "
           "and choose the port under Serial Port, which lists the ports present when it opens.";
}

std::string opened(const std::string& port, int rate)
{
    return "The port " + port + " opened" + (rate > 0 ? " at " + bits(rate) : "") + ".";
}

std::string openFailed(const std::string& port, platform::OpenError error,
                       const std::string& reason)
{
    const std::string head = "The port " + port + " could not be opened: ";
    switch (error) {
    case platform::OpenError::NotFound:
        return head + "it does not exist. Plug in the interface or the radio's USB cable; if it "
                      "was plugged in again it may have a new name: choose it again under "
                      "Serial Port, which lists the ports present when it opens.";
    case platform::OpenError::PermissionDenied:
        return head + "you may not use it. Add yourself to the group that owns it (usually "
                      "dialout: sudo adduser $USER dialout), log out and in again, and start "
                      "the check again.";
    case platform::OpenError::Busy:
        return head + "another program is using it. Close that program (a logger, flrig, "
                      "rigctld or another copy of this one) and start the check again.";
    case platform::OpenError::None:
    case platform::OpenError::Other:
        break;
    }
    return head + reason + ". Unplug the interface, plug it in again and start the check again.";
}

std::string echo(Echo echo)
{
    switch (echo) {
    case Echo::Own:
        return "Our own bytes came back: a one-wire CI-V interface (the radio's CI-V jack "
               "through a CT-17 style cable), working as it should.";
    case Echo::Nothing:
        return "Nothing came back of our own bytes: the radio's USB port with CI-V echo off, or "
               "a two-wire adapter. On a one-wire CI-V cable this would mean that the cable or "
               "the interface passes nothing.";
    case Echo::Garbled:
        return "Something other than our own bytes came back: a garbled echo, from wrong line "
               "settings, a bad cable or a collision with another station.";
    case Echo::Unknown:
        break;
    }
    return {};
}

std::string answered(int address, int rate, int answers, int polls, const RoundTrips& times,
                     int refused, int readPeriodMs)
{
    std::string s = "The radio at address " + sentences::address(address) + " answered " +
                    std::to_string(answers) + " of " + std::to_string(polls) + " polls at " +
                    bits(rate) + ". Round trip: minimum " + std::to_string(times.minimum) +
                    " ms, median " + std::to_string(times.median) + " ms, maximum " +
                    std::to_string(times.maximum) + " ms (the port is read every " +
                    std::to_string(readPeriodMs) + " ms, so no finer than that).";
    if (refused > 0) {
        s += " " + std::to_string(refused) +
             " answers were NG: the radio refused the frequency request.";
    }
    return s + " Baud Rate and Radio ID are right.";
}

std::string silent(int address, int rate, int polls, bool network)
{
    return "The radio at address " + sentences::address(address) + " did not answer " +
           std::to_string(polls) + " polls at " + bits(rate) + ". Looking for a radio at " +
           (network ? "any address." : "every rate and address.");
}

std::string networkPort()
{
    return "This is a network port: its line rate is set at the server, so only the current "
           "rate can be tried from here.";
}

std::string rateRefused(int rate, const std::string& reason)
{
    return "The port could not be opened at " + bits(rate) + ": " + reason + ".";
}

std::string found(int rate, int address)
{
    return "A radio answered at " + bits(rate) + " from address " + sentences::address(address) +
           ". Set Baud Rate to " + std::to_string(rate) + " and Radio ID to " +
           std::to_string(address) + ".";
}

std::string nothing(Echo echo, bool network)
{
    std::string s = network ? "No radio answered. " : "No radio answered at any rate. ";
    s += "What remains: that the radio is switched on; the cable, in the radio's CI-V (REMOTE) "
         "jack or USB socket and in this computer; and the radio's CI-V settings (CI-V Baud "
         "Rate, CI-V Address, and on USB the CI-V USB port and echo settings).";
    switch (echo) {
    case Echo::Own:
        return s + " Our own bytes came back, so the port and the interface work up to the "
                   "radio's side of the cable.";
    case Echo::Nothing:
        return s + " Nothing came back of our own bytes either: on a one-wire cable that points "
                   "at the cable or the interface; on the radio's USB port, at the radio.";
    case Echo::Garbled:
        return s + " Our own bytes came back garbled: suspect the cable, the line settings or "
                   "another station on the bus.";
    case Echo::Unknown:
        break;
    }
    return s;
}

std::string cancelled()
{
    return "Check cancelled; the port is back at the rate Baud Rate shows.";
}

} // namespace check::sentences
