// Frames as tests write them: "FE FE 94 E0 03 FD".
#pragma once

#include "civ/frame.h"

#include <sstream>
#include <string>

inline civ::Frame hex(const std::string& text)
{
    std::istringstream in(text);
    civ::Frame out;
    for (unsigned b = 0; in >> std::hex >> b;) {
        out.push_back(static_cast<std::uint8_t>(b));
    }
    return out;
}
