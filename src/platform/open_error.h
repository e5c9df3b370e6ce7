// The kinds of failed open: not found, not permitted, busy, or other.
#pragma once

namespace platform {

// Why the last open failed, as far as the system tells. Plain C++, for the widget-free cores.
enum class OpenError {
    None,
    NotFound,         // no such device
    PermissionDenied, // the user may not open it
    Busy,             // another program holds it
    Other
};

} // namespace platform
