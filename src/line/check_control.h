// What the interface check may do to the main window's line beyond the door.
#pragma once

#include "platform/open_error.h"

namespace line {

// The interface check's own needs: the poll held while it runs, the chosen port at other
// rates, and the main window's settings put back or changed. The main window implements it.
class CheckControl {
public:
    virtual ~CheckControl() = default;

    // False when a search holds the poll already.
    virtual bool pausePoll() = 0;
    // The chosen port again at another rate, without the failure box.
    virtual platform::OpenError reopen(int rate) = 0;
    // The port back at the chosen rate, the poll resumed.
    virtual void restore() = 0;
    virtual void useSettings(int baudCode, int radioId) = 0;
};

} // namespace line
