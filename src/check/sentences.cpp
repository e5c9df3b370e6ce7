// The report's sentences for the port, the echo, the polls and the end, and the words they share.
#include "check/sentences.h"

#include "civ/address.h"
#include "line/link_account.h"

namespace check::sentences {

namespace {

// A reply this slow or slower is worth a word.
constexpr Millis kSlowMs = 300;

std::string ms(Millis t)
{
    return std::to_string(t) + " ms";
}

} // namespace

std::string addresses(const std::vector<int>& list)
{
    std::string s;
    for (std::size_t i = 0; i < list.size(); ++i) {
        s += (i == 0 ? "" : i + 1 == list.size() ? " and " : ", ") + civ::addressText(list[i]);
    }
    return s;
}

std::string atRate(int rate)
{
    return rate > 0 ? " at " + std::to_string(rate) + " bit/s" : "";
}

std::string count(int n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string badAddress(const char* field)
{
    return civ::addressRule(field) + " Set it in the main window and start again.";
}

std::string noPort()
{
    return "There is no serial port to check. Plug in the interface or the radio's USB cable "
           "and choose the port under Serial Port, which lists the ports present when it opens.";
}

std::string opened(const std::string& port, int rate)
{
    return "The port " + port + " opened" + atRate(rate) + ".";
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

std::string lost(const std::string& port, const std::string& reason)
{
    return "Lost " + port + ": " + reason + ". Choose the port again once it is back.";
}

std::string dropped(const std::string& port)
{
    return "The port " + port +
           " stopped taking bytes: the check's frame never left. Unplug "
           "the interface, plug it in again, choose the port again and start the check again.";
}

std::string busy(const line::HoldBack& held, Millis waited, bool nothingLeft)
{
    std::string who = held.talkers.empty() ? "other stations" : addresses(held.talkers);
    return std::string(nothingLeft ? "None of the check's frames could leave"
                                   : "The check's frames stopped leaving") +
           ": for " + ms(waited) + " the bus was never quiet, with " +
           count(held.framesHeard, "frame", "frames") + " from " + who +
           ". The program sends only in a pause between other stations' frames, so nothing can "
           "be said of the echo or the radio. Stop what keeps the bus busy (CI-V Transceive on "
           "another radio, or another program polling it) and start the check again.";
}

std::string stuck(Millis waited)
{
    return "The check's frame has not left in " + ms(waited) +
           ", though no other station talks. Close the window's other tools, choose the port "
           "again and start the check again.";
}

std::string settingsChanged()
{
    return "Check stopped: the port, Baud Rate or an address was changed in the main window "
           "while it ran. Start it again to check the new settings.";
}

std::string echo(Echo echo)
{
    switch (echo) {
    case Echo::Own:
        return "Our own bytes came back: a one-wire CI-V interface (the radio's CI-V jack "
               "through a CT-17 style cable), working as it should.";
    case Echo::Nothing:
        return "Our frame left the port and nothing came back of it: the radio's USB port with "
               "CI-V echo off, or a two-wire adapter. On a one-wire CI-V cable this would mean "
               "that the cable or the interface passes nothing.";
    case Echo::Garbled:
        return "Something other than our own bytes came back: a garbled echo, from wrong line "
               "settings, a bad cable or a collision with another station.";
    case Echo::Unknown:
        break;
    }
    return {};
}

std::string answered(const Answers& a)
{
    const RoundTrips& t = a.times;
    std::string s = "The radio at address " + civ::addressText(a.address) + " answered " +
                    std::to_string(a.answers) + " of " + count(a.polls, "poll", "polls") +
                    atRate(a.rate) + ", round trip about " + ms(t.median) + " (" +
                    std::to_string(t.minimum) + " to " + ms(t.maximum) +
                    "; the port is read every " + ms(a.readPeriodMs) + ", so no finer than that).";
    if (t.median >= kSlowMs) {
        s += " That is slow: radios answer within about 100 ms. A network link, a USB hub or "
             "a radio busy with other controllers adds to it; past " +
             ms(line::LinkAccount::kAnswerWindowMs) + " the program counts a poll as lost.";
    }
    if (a.refused > 0) {
        s += ' ';
        s += count(a.refused, "answer was", "answers were") +
             " NG: the radio refused the frequency request.";
    }
    const std::string right = a.rate > 0 ? "Baud Rate and Radio ID are right" : "Radio ID is right";
    if (a.answers == a.polls) {
        return s + " " + right + ".";
    }
    std::string lost;
    for (std::size_t i = 0; i < a.lost.size(); ++i) {
        lost += (i == 0 ? "" : i + 1 == a.lost.size() ? " and " : ", ") + std::to_string(a.lost[i]);
    }
    return s + " " + right + ", but " + std::to_string(a.polls - a.answers) + " of " +
           count(a.polls, "poll", "polls") + " went unanswered (" +
           (a.lost.size() == 1 ? "poll " : "polls ") + lost +
           "): a loose plug, a long cable near the antenna, another station talking "
           "over ours, or a radio busy with its own menus. Polls that go unanswered now and "
           "then grey the main window's display.";
}

std::string silent(int address, int rate, int polls)
{
    return "The radio at address " + civ::addressText(address) + " did not answer " +
           count(polls, "poll", "polls") + atRate(rate) + ". Sending a read ID to all radios" +
           (rate > 0 ? " at each rate of the Baud Rate pop-up, the usual ones first, and at "
                       "115200 bit/s."
                     : ".");
}

std::string rateRefused(int rate, const std::string& reason)
{
    return "The port could not be opened at " + std::to_string(rate) + " bit/s: " + reason +
           ". Going on with the next rate.";
}

std::string cancelled()
{
    return "Check cancelled; the port is back at the rate Baud Rate shows.";
}

} // namespace check::sentences
