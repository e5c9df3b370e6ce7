// A frame's meaning to the window: for us, from our radio, OK, NG, a report, or nothing.
#pragma once

namespace radio {

// What a complete frame means to the window, given our address and the radio's.
enum class Heard {
    Nothing,    // for another station, or another radio's report
    Reply,      // to us, from another station
    RadioReply, // to us, from the radio in "Radio ID"
    Ok,         // the radio accepted a set command
    Ng,         // the radio refused one
    Report      // the radio telling everyone of a new frequency or mode
};

Heard classify(int to, int from, int command, int our, int radio);

} // namespace radio
