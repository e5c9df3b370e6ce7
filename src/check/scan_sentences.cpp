// The report's sentences for the search and the deeper search, and the window's activity line.
#include "check/sentences.h"
#include "civ/address.h"

namespace check::sentences {

namespace {

std::string duration(Millis t)
{
    const Millis seconds = (t + 500) / 1000;
    if (seconds < 90) {
        return "about " + std::to_string(seconds) + " seconds";
    }
    return "about " + std::to_string((seconds + 30) / 60) + " minutes";
}

std::string others(const std::vector<int>& more)
{
    return more.empty() ? "" : " Also answering: " + addresses(more) + ".";
}

const char* const kServerRate =
    " On a network port the bit rate that counts is the one set at the server for its serial "
    "port (the rate in ser2net's settings, for instance): it must match the radio's CI-V Baud "
    "Rate.";

} // namespace

std::string found(int rate, int address, const std::vector<int>& more)
{
    const std::string to = std::to_string(address);
    return "A radio answered a read frequency" + atRate(rate) + " from address " +
           civ::addressText(address) + "." + others(more) +
           (rate > 0 ? " Set Baud Rate to " + std::to_string(rate) + " and Radio ID to " + to
                     : " Set Radio ID to " + to) +
           ".";
}

std::string beyondRates(int rate, int address, const std::vector<int>& more)
{
    return "A radio answered a read frequency" + atRate(rate) + " from address " +
           civ::addressText(address) + "." + others(more) +
           " The program's rates stop at 57600 bit/s: set the radio's CI-V Baud Rate (on USB, "
           "its CI-V USB Baud Rate) to 57600 or lower, then Baud Rate here to match and Radio "
           "ID to " +
           std::to_string(address) + ".";
}

std::string collision(int rate)
{
    return "Several radios answered the read ID to all radios at once" + atRate(rate) +
           ": their answers trampled each other (a jam code, or bytes that make no frame), so "
           "no address can be read from them." +
           (rate > 0 ? " Set Baud Rate to " + std::to_string(rate) + " and use" : " Use") +
           " Find All Radios in the main window, which asks each address in turn, or the "
           "deeper search below.";
}

std::string unconfirmed(int rate, const std::vector<int>& addresses)
{
    return "Read ID was answered" + atRate(rate) + " from " + sentences::addresses(addresses) +
           ", but a read frequency to " + (addresses.size() == 1 ? "it" : "them") +
           " was not: no radio to set. Two radios answering at once can merge into an address "
           "neither has. Use Find All Radios in the main window" +
           (rate > 0 ? " at " + std::to_string(rate) + " bit/s" : "") +
           ", or the deeper search below.";
}

std::string nothing(Echo echo, bool network, Millis deepMsPerRate)
{
    std::string s =
        network ? "No radio answered the read ID. " : "No radio answered the read ID at any rate. ";
    s += "Older radios (the IC-735 and IC-706 families among them) ignore read ID: the deeper "
         "search sends a read frequency to every address, which finds them; it takes " +
         duration(deepMsPerRate) + (network ? "" : " per rate") +
         ". Otherwise what remains: that the radio is switched on; the cable, in the radio's "
         "CI-V (REMOTE) jack or USB socket and in this computer; and the radio's CI-V settings "
         "(CI-V Baud Rate, CI-V Address, and on USB the CI-V USB port and echo settings).";
    if (network) {
        s += kServerRate;
    }
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

std::string deepStart(int rate, Millis msPerRate, bool network)
{
    const bool oneRate = rate > 0 || network;
    return "Deeper search: a read frequency to every address" +
           (oneRate ? atRate(rate) : std::string(" at each usual rate in turn")) + ", " +
           duration(msPerRate) + (oneRate ? "." : " per rate.");
}

std::string deepSilent(int rate)
{
    return "No address answered" + atRate(rate) + ".";
}

std::string deepNothing(Echo echo, bool network)
{
    std::string s = "The deeper search found no radio. Check that the radio is on and its "
                    "CI-V cable is plugged in at both ends.";
    if (network) {
        s += kServerRate;
    }
    if (echo == Echo::Own) {
        s += " Our own bytes come back, so the fault is on the radio's side of the cable.";
    }
    return s;
}

std::string activityEcho()
{
    return "Listening for our own bytes";
}

std::string activityPoll(int address, int poll, int polls)
{
    return "Polling the radio at " + civ::addressText(address) + ": poll " + std::to_string(poll) +
           " of " + std::to_string(polls);
}

std::string activityScan(int rate, int index, int count)
{
    return rate > 0 ? "Trying " + std::to_string(rate) + " bit/s (rate " + std::to_string(index) +
                          " of " + std::to_string(count) + ")"
                    : "Sending a read ID to all radios";
}

std::string activityDeep(int rate, int address, int last)
{
    return "Deeper search" + atRate(rate) + ": address " + std::to_string(address) + " of " +
           std::to_string(last);
}

} // namespace check::sentences
