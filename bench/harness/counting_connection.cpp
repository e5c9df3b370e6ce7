// The counting connection's tallies: frames written by command, frequency polls, bytes read.
#include "counting_connection.h"

#include "civ/frame.h"

namespace bench {

void CountingConnection::write(QByteArrayView bytes)
{
    const double now = msOfDay(std::chrono::system_clock::now());
    for (const char c : bytes) {
        if (parser_.ParseByte(static_cast<unsigned char>(c)) == civ::FrameParser::Event::FrameEnd) {
            ++written_[parser_.parseCmd];
            if (parser_.parseCmd == civ::kCmdReadFrequency && parser_.parseMsgLength == 0) {
                frequencyPolls_.push_back(now);
            }
        }
    }
    real_->write(bytes);
}

QByteArray CountingConnection::readAvailable()
{
    QByteArray bytes = real_->readAvailable();
    bytesRead_ += bytes.size();
    if (keep_) {
        kept_ += bytes;
    }
    return bytes;
}

int CountingConnection::written(int cmd) const
{
    const auto it = written_.find(cmd);
    return it == written_.end() ? 0 : it->second;
}

} // namespace bench
