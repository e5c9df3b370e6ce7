// A frame's meaning to the window, from its addresses and command.
#include "radio/heard.h"

#include "civ/frame.h"

namespace radio {

Heard classify(int to, int from, int command, int our, int radio)
{
    // A report is never a reply, not even when our own address is the broadcast one.
    if (to == civ::kBroadcast &&
        (command == civ::kCmdReportFrequency || command == civ::kCmdReportMode)) {
        return from == radio ? Heard::Report : Heard::Nothing;
    }
    if (to != our) {
        return Heard::Nothing;
    }
    if (from != radio) {
        return Heard::Reply;
    }
    switch (command) {
    case civ::kOk:
        return Heard::Ok;
    case civ::kNg:
        return Heard::Ng;
    default:
        return Heard::RadioReply;
    }
}

} // namespace radio
