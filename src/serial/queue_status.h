#pragma once

#include <QString>

namespace serial {

// "head tail queued delay", as shown under the transmit queue.
inline QString queueStatusText(int head, int tail, int queued, int sendDelay)
{
    return QStringLiteral("%1 %2 %3 %4").arg(head).arg(tail).arg(queued).arg(sendDelay);
}

} // namespace serial
