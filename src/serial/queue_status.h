// The line of numbers shown under the transmit queue, rewritten at every tick.
#pragma once

#include <QString>
#include <algorithm>
#include <array>
#include <charconv>

namespace serial {

// "head tail queued delay", as shown under the transmit queue. Written at every tick, so
// without allocating: the label keeps a share of the text it shows, and two texts take turns,
// the one it does not hold rewritten in place.
class QueueStatusText {
public:
    const QString& next(int head, int tail, int queued, int sendDelay)
    {
        std::array<char, 48> digits{};
        char* end = digits.data();
        for (const int number : {head, tail, queued, sendDelay}) {
            if (end != digits.data()) {
                *end++ = ' ';
            }
            end = std::to_chars(end, digits.data() + digits.size(), number).ptr;
        }
        QString& text = texts_[turn_];
        turn_ = 1 - turn_;
        text.resize(end - digits.data());
        std::transform(digits.data(), end, text.data(), [](char c) { return QLatin1Char(c); });
        return text;
    }

private:
    std::array<QString, 2> texts_;
    std::size_t turn_ = 0;
};

} // namespace serial
