#pragma once

#include <QString>
#include <array>
#include <charconv>

namespace serial {

// "head tail queued delay", as shown under the transmit queue. Built at every tick, so in one
// buffer and one allocation.
inline QString queueStatusText(int head, int tail, int queued, int sendDelay)
{
    std::array<char, 48> text{};
    char* end = text.data();
    for (const int number : {head, tail, queued, sendDelay}) {
        if (end != text.data()) {
            *end++ = ' ';
        }
        end = std::to_chars(end, text.data() + text.size(), number).ptr;
    }
    return QString::fromLatin1(text.data(), end - text.data());
}

} // namespace serial
